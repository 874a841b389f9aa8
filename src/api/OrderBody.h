#pragma once
#include <rapidjson/document.h>

#include <pugixml.hpp>
#include <string>
#include <vector>

class CheckXml;

// An order request's body while it is built, with the check lines it is built
// from. The builders below own it; the check reader only reads the check.
struct OrderBody {
    rapidjson::Document json{rapidjson::kObjectType};
    pugi::xml_node checkLines;  // CHECKDATA/CHECKLINES, or empty
};

// Drops an identifier's braces: the closing one is removed from the attribute
// inside the check document itself (so a second read sees "{ABC"), and the
// text is returned from its second character. Throws AttributeNotFound.
std::string stripBraces(const pugi::xml_node& node, const char* attribute);

// "OrganizationId", "OrderId" and "OrderSumWithDiscount" (or both sums as 0.0
// when the check has no lines) into a fresh body; sets its checkLines.
void fillOrderHead(CheckXml& reader, OrderBody& order);

// The whole order body: head, client and order number, "OrderSum", "Order".
void fillOrderLines(CheckXml& reader, const std::string& clientId, OrderBody& order);

// The body for a check without CHECKDATA.
void fillOrderStub(CheckXml& reader, const std::string& clientId, OrderBody& order);

// The body as compact text plus one zero byte. Throws BodyError when a
// number cannot be written as JSON.
void writeOrderBody(const OrderBody& order, std::vector<char>& body);

// The GetDiscount request's body: the order, or the stub for a check
// without CHECKDATA.
void buildGetDiscountBody(CheckXml& reader, const std::string& clientId, std::vector<char>& body);
