#pragma once
#include <cstdint>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "check/XmlErrors.h"

class CheckXml;

// Typed reads of one attribute of `node`. A missing attribute (or an empty
// node) throws AttributeNotFound(name); a present one is converted by pugixml
// with default 0, so non-numeric text reads as 0.
int32_t getAttributeInt(const pugi::xml_node& node, const char* name);
int64_t getAttributeInt64(const pugi::xml_node& node, const char* name);
float getAttributeFloat(const pugi::xml_node& node, const char* name);
// Points into the node's document; the empty text for an empty value.
const char* getAttributeString(const pugi::xml_node& node, const char* name);

// The "account" of the last CHECKDATA/CHECKPAYMENTS/PAYMENT whose "code" is one
// of `currencyCodes` and whose "interface" is the host's selected interface;
// empty if none. A PAYMENT without "code" throws AttributeNotFound("code").
std::string getPaymentAccount(CheckXml& reader, const std::vector<int32_t>& currencyCodes);
