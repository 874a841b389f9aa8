#pragma once
#include <pugixml.hpp>
#include <string>
#include <vector>

class CheckXml;

// Drops an identifier's braces: the closing one is removed from the attribute
// inside the check document itself (so a second read sees "{ABC"), and the
// text is returned from its second character. Throws AttributeNotFound.
std::string stripBraces(const pugi::xml_node& node, const char* attribute);

// "OrganizationId", "OrderId" and "OrderSumWithDiscount" (or both sums as 0.0
// when the check has no lines) into a fresh requestJson; sets checkLines.
void fillOrderHead(CheckXml& reader);

// The whole order body: head, client and order number, "OrderSum", "Order".
void fillOrderLines(CheckXml& reader, const std::string& clientId);

// The body for a check without CHECKDATA, written into `body`.
void fillOrderStub(CheckXml& reader, const std::string& clientId, std::vector<char>& body);

// requestJson as compact text plus one zero byte. Throws BodyError when a
// number cannot be written as JSON.
void writeRequestJson(CheckXml& reader, std::vector<char>& body);

void getJsonResponseForGetDiscount(CheckXml& reader, const std::string& clientId,
                                   std::vector<char>& body);
