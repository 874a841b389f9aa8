#include "config/Config.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "log/CFile.h"
#include "log/LogEvents.h"
#include "log/Logger.h"
#include "text/DecimalText.h"

pugi::xml_parse_result loadConfigFile(const std::string& path, pugi::xml_document& document) {
    return document.load_file(path.c_str());
}

pugi::xml_parse_result loadConfigText(const std::string& bytes, pugi::xml_document& document) {
    return document.load_buffer(bytes.data(), bytes.size());
}

pugi::xml_node configurationOf(const pugi::xml_document& document) {
    return document.child("Configuration");
}

pugi::xml_node GetConfig(Logger& logger, pugi::xml_document& document) {
    pugi::xml_parse_result result = loadConfigFile(kConfigFileName, document);
    if (!result) return pugi::xml_node();
    logger.log(logevent::Event::ConfigRead);
    return configurationOf(document);
}

void WriteConfToLog(Logger& logger) {
    // Text mode, as the runtime reads it: CR LF comes in as LF.
    std::string content;
    if (CFile in = openCFile(kConfigFileName, "r")) {
        char chunk[4096];
        std::size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, in.get())) > 0) content.append(chunk, got);
    }
    logger.log(logevent::Event::ConfCopy, {{"conf", content}});
}

int32_t atoiText(const pugi::xml_node& element) { return atoi32(element.text().get()); }

namespace {
std::vector<int32_t> currencyCodes(const pugi::xml_node& configuration, const char* account) {
    std::vector<int32_t> codes;
    for (pugi::xml_node node = configuration.child(account); node;
         node = node.next_sibling(account)) {
        codes.push_back(atoiText(node.child("CurrencyCode")));
    }
    return codes;
}
}  // namespace

std::vector<int32_t> bonusCurrencyCodes(const pugi::xml_node& configuration) {
    return currencyCodes(configuration, "BonusAccount");
}

std::vector<int32_t> depositCurrencyCodes(const pugi::xml_node& configuration) {
    return currencyCodes(configuration, "DepositAccount");
}
