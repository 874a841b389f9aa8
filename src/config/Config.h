#pragma once
#include <cstdint>
#include <pugixml.hpp>
#include <string>
#include <vector>

class Logger;

constexpr const char* kConfigFileName = "conf.xml";

// Loads conf.xml into `document` and returns its Configuration element, or the
// empty node when the file is missing or malformed (nothing is logged then).
pugi::xml_node GetConfig(Logger& logger, pugi::xml_document& document);

// GetConfig's reading of a conf.xml at `path`, for tools that read a folder's
// settings: pugixml's default options, encoding detected from the bytes.
pugi::xml_parse_result loadConfigFile(const std::string& path, pugi::xml_document& document);
// The same reading of conf.xml bytes already in memory (Init's copy in the log).
pugi::xml_parse_result loadConfigText(const std::string& bytes, pugi::xml_document& document);
// The settings element of a loaded conf.xml, or the empty node.
pugi::xml_node configurationOf(const pugi::xml_document& document);

// Copies the raw text of conf.xml into the log as one entry (empty if unreadable).
void WriteConfToLog(Logger& logger);

// atoi32 of an element's text; 0 for a missing element or one without digits.
int32_t atoiText(const pugi::xml_node& element);

// One entry per BonusAccount / DepositAccount, in document order, from its CurrencyCode.
std::vector<int32_t> bonusCurrencyCodes(const pugi::xml_node& configuration);
std::vector<int32_t> depositCurrencyCodes(const pugi::xml_node& configuration);
