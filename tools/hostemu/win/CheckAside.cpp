#include "CheckAside.h"

#include "ScratchFolder.h"
#include "check/CheckXml.h"
#include "config/Config.h"
#include "files/FileBytes.h"
#include "log/Logger.h"

std::optional<CheckInit> readCheckAside(CheckXml& reader, const std::string& text,
                                        std::string& readerLog) {
    ScratchFolder scratch;
    if (!scratch.ready()) return std::nullopt;
    Logger log;
    const CheckInit result =
        initCheckXml(reader, text.c_str(), static_cast<uint32_t>(text.size() + 1), "hostemu", log);
    readWholeFile(kLogFileName, readerLog);
    return result;
}

std::vector<CheckRefusal> refusalsAside(CheckXml& reader, const std::string& configPath) {
    pugi::xml_document document;
    loadConfigFile(configPath, document);
    ScratchFolder scratch;
    if (!scratch.ready()) return {};
    return checkRefusals(reader, configurationOf(document));
}
