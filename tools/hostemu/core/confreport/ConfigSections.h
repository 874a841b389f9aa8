#pragma once
// The parts of the configuration report. Each reads conf.xml (and the check)
// with the module's own reading rules and explains the outcome.
#include <pugixml.hpp>
#include <string>

#include "check/CheckXml.h"
#include "confreport/CheckRefusals.h"

class Report;

// ApiAddress and SSL: where the requests go.
void reportService(const pugi::xml_node& configuration, Report& report);

// Every PlaceOfService, with the mistakes visible without a check.
void reportPlaces(const pugi::xml_node& configuration, Report& report);

// What the check is and what the DLL will do with it. `initResult` and
// `readerLog` are initCheckXml's result and the lines the reader logged;
// `refusals` what a call with it would end with before sending, each a warning.
void reportCheck(CheckXml& reader, const pugi::xml_node& configuration, CheckInit initResult,
                 const std::string& readerLog, const std::vector<CheckRefusal>& refusals,
                 Report& report);

// Which place and token the DLL picks for the check's order category, and why.
void reportTokenChoice(CheckXml& reader, const pugi::xml_node& configuration, Report& report);

// Bonus and deposit accounts: currency codes and record slots.
void reportAccounts(const pugi::xml_node& configuration, Report& report);
