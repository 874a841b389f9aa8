#include "confreport/ConfigReport.h"

#include <pugixml.hpp>

#include "check/CheckXml.h"
#include "cli/Output.h"
#include "config/Config.h"
#include "confreport/ConfigSections.h"
#include "confreport/Report.h"
#include "confreport/Utf16ConfNote.h"
#include "confreport/XmlFault.h"
#include "encoding/Encodings.h"
#include "files/FileBytes.h"
#include "log/LogEvents.h"

namespace {

// Loads conf.xml as GetConfig does and
// returns its Configuration element, or the empty node with a warning.
pugi::xml_node loadConfiguration(const std::string& path, pugi::xml_document& document,
                                 Report& report) {
    report.section(report.text(Msg::config_conf_section));
    report.line(path);
    const pugi::xml_parse_result loaded = loadConfigFile(path, document);
    if (!loaded) {
        report.warn(report.text(Msg::config_not_loaded,
                                {{"why", xmlFaultText(loaded, report.catalog())},
                                 {"offset", std::to_string(loaded.offset)},
                                 {"line", logevent::format(logevent::Event::NoTokenFound)}}));
        return pugi::xml_node();
    }
    std::string bytes;
    if (readWholeFile(path, bytes) && isUtf16(bytes)) report.warn(utf16ConfNote(report.catalog()));
    const pugi::xml_node configuration = configurationOf(document);
    if (!configuration) {
        const std::string top = document.document_element().name();
        report.warn(report.text(Msg::config_wrong_top, {{"top", top}}));
    }
    return configuration;
}

}  // namespace

ExitStatus configReport(const std::string& configPath, CheckXml& reader,
                        std::optional<CheckInit> initResult, const std::string& readerLog,
                        Output& output, const std::vector<CheckRefusal>& refusals) {
    Report report(output.catalog());
    pugi::xml_document document;
    const pugi::xml_node configuration = loadConfiguration(configPath, document, report);
    if (configuration) {
        reportService(configuration, report);
        reportPlaces(configuration, report);
    }
    if (!initResult) {
        report.warn(report.text(Msg::config_no_scratch));
    } else {
        reportCheck(reader, configuration, *initResult, readerLog, refusals, report);
        if (configuration) reportTokenChoice(reader, configuration, report);
    }
    if (configuration) reportAccounts(configuration, report);
    report.print(output);
    return report.warnings() == 0 ? exitstatus::kDone : exitstatus::kFound;
}
