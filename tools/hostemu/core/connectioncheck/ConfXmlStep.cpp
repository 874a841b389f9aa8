// conf.xml: present, XML, with a Configuration element.
#include "config/Config.h"
#include "confreport/Utf16ConfNote.h"
#include "confreport/XmlFault.h"
#include "connectioncheck/CheckStep.h"
#include "encoding/Encodings.h"
#include "files/FileBytes.h"

StepVerdict confXmlStep(CheckContext& c) {
    const std::string& path = c.configPath;
    const pugi::xml_parse_result loaded = loadConfigFile(path, c.document);
    if (!loaded) {
        const std::string failure =
            loaded.status == pugi::status_file_not_found
                ? c.text(Msg::check_conf_missing, {{"path", path}})
                : c.text(Msg::check_conf_not_xml, {{"why", xmlFaultText(loaded, *c.catalog)},
                                                   {"offset", std::to_string(loaded.offset)}});
        return StepVerdict::failed("conf.xml", failure, failure);
    }
    c.configuration = configurationOf(c.document);
    if (!c.configuration) {
        const std::string failure = c.text(Msg::check_conf_no_configuration);
        return StepVerdict::failed("conf.xml", failure, failure);
    }
    StepVerdict r = StepVerdict::ok("conf.xml", path);
    std::string bytes;
    if (readWholeFile(path, bytes) && isUtf16(bytes)) r.more.push_back(utf16ConfNote(*c.catalog));
    return r;
}
