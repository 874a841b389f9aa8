#include "api/OrderBody.h"

#include <cmath>
#include <cstring>

#include "api/GuestInfo.h"
#include "api/JsonText.h"
#include "check/Accessors.h"
#include "check/CheckXml.h"

namespace {

// Fixed category names, sent as UTF-8 whatever the check's own encoding.
constexpr const char* kModifierName = "Модификатор";
constexpr const char* kComboName = "Комбо-блюдо";

using Alloc = rapidjson::Document::AllocatorType;

void addString(CheckXml& r, const char* key, const std::string& text) {
    Alloc& a = r.requestJson.GetAllocator();
    r.requestJson.AddMember(
        rapidjson::StringRef(key),
        rapidjson::Value(text.data(), static_cast<rapidjson::SizeType>(text.size()), a), a);
}

void addNumber(CheckXml& r, const char* key, double value) {
    r.requestJson.AddMember(rapidjson::StringRef(key), rapidjson::Value(value),
                            r.requestJson.GetAllocator());
}

void resetRequest(CheckXml& r) {
    rapidjson::Document fresh(rapidjson::kObjectType);
    r.requestJson.Swap(fresh);
}

// Modifiers and dishes that belong to another line are listed but not priced.
bool isCounted(const pugi::xml_node& line, const std::string& type) {
    if (type == "modify") return false;
    if (type == "dish" && line.attribute("parent")) return false;
    return true;
}

double quantityRule(double q) { return std::fabs(q) < 1e-7 ? 1.0 : q; }

std::vector<pugi::xml_node> linesOf(const pugi::xml_node& checkLines) {
    std::vector<pugi::xml_node> lines;
    for (pugi::xml_node n = checkLines.first_child(); n; n = n.next_sibling()) {
        if (n.type() == pugi::node_element) lines.push_back(n);
    }
    return lines;
}

}  // namespace

std::string stripBraces(const pugi::xml_node& node, const char* attribute) {
    std::string text = getAttributeString(node, attribute);
    if (text.empty()) return text;
    if (text.back() == '}') {
        text.pop_back();
        node.attribute(attribute).set_value(text.c_str());
    }
    // A lone "}" leaves nothing to drop: never step past the end of the text.
    return text.empty() ? text : text.substr(1);
}

void fillOrderHead(CheckXml& reader) {
    reader.checkLines = reader.checkData.child("CHECKLINES");
    resetRequest(reader);
    addString(reader, "OrganizationId", getAttributeString(reader.check, "restaurantcode"));
    addString(reader, "OrderId", stripBraces(reader.checkData, "orderguid"));
    if (!reader.checkLines) {
        addNumber(reader, "OrderSum", 0.0);
        addNumber(reader, "OrderSumWithDiscount", 0.0);
        return;
    }
    double total = 0.0;
    for (const pugi::xml_node& line : linesOf(reader.checkLines)) {
        const std::string type = getAttributeString(line, "type");
        if (isCounted(line, type)) total += static_cast<double>(getAttributeFloat(line, "sum"));
    }
    addNumber(reader, "OrderSumWithDiscount", total);
}

void fillOrderLines(CheckXml& reader, const std::string& clientId) {
    fillOrderHead(reader);
    addString(reader, "ParentOrderId", stripBraces(reader.checkData, "orderguid"));
    addString(reader, "ClientId", clientId);
    addString(reader, "OrderNumber", getAttributeString(reader.checkData, "checknum"));

    Alloc& a = reader.requestJson.GetAllocator();
    rapidjson::Value order(rapidjson::kArrayType);
    if (!reader.checkLines) {
        reader.requestJson.AddMember("Order", order, a);
        return;
    }
    const std::vector<pugi::xml_node> lines = linesOf(reader.checkLines);

    double orderSum = 0.0;
    for (const pugi::xml_node& line : lines) {
        const std::string type = getAttributeString(line, "type");
        if (!isCounted(line, type)) continue;
        const double q = quantityRule(static_cast<double>(getAttributeFloat(line, "quantity")));
        const double price = static_cast<double>(getAttributeFloat(line, "price"));
        orderSum += price * q;
    }
    addNumber(reader, "OrderSum", orderSum);

    for (const pugi::xml_node& line : lines) {
        // The order of reads decides which missing attribute is reported first.
        const std::string productId = stripBraces(line, "id");
        const std::string productName = getAttributeString(line, "name");
        double amount = 0.0;
        parseLeadingDouble(getAttributeString(line, "quantity"), amount);
        amount = quantityRule(amount);
        const std::string type = getAttributeString(line, "type");
        std::string categoryId, categoryName;
        if (type == "combo" || type == "modify") {
            categoryId = type;
            categoryName = type == "combo" ? kComboName : kModifierName;
        } else {
            categoryId = stripBraces(line, "servprint_id");
            categoryName = getAttributeString(line, "servprint");
        }
        double price = 0.0, priceWithDiscount = 0.0;
        if (isCounted(line, type)) {
            price = static_cast<double>(getAttributeFloat(line, "price"));
            priceWithDiscount = static_cast<double>(getAttributeFloat(line, "sum")) / amount;
        }
        rapidjson::Value item(rapidjson::kObjectType);
        auto str = [&a](const std::string& s) {
            return rapidjson::Value(s.data(), static_cast<rapidjson::SizeType>(s.size()), a);
        };
        item.AddMember("ProductId", str(productId), a);
        item.AddMember("ProductName", str(productName), a);
        item.AddMember("CategoryId", str(categoryId), a);
        item.AddMember("CategoryName", str(categoryName), a);
        item.AddMember("Price", price, a);
        item.AddMember("PriceWithDiscount", priceWithDiscount, a);
        item.AddMember("Amount", amount, a);
        order.PushBack(item, a);
    }
    reader.requestJson.AddMember("Order", order, a);
}

void fillOrderStub(CheckXml& reader, const std::string& clientId, std::vector<char>& body) {
    resetRequest(reader);
    addString(reader, "OrganizationId", getAttributeString(reader.check, "restaurantcode"));
    addString(reader, "OrderId", "");
    addString(reader, "ParentOrderId", "");
    addString(reader, "ClientId", clientId);
    addString(reader, "OrderNumber", "");
    addNumber(reader, "OrderSum", 0.0);
    addNumber(reader, "OrderSumWithDiscount", 0.0);
    reader.requestJson.AddMember("Order", rapidjson::Value(rapidjson::kArrayType),
                                 reader.requestJson.GetAllocator());
    writeRequestJson(reader, body);
}

void writeRequestJson(CheckXml& reader, std::vector<char>& body) {
    assignBodyText(body, writeJsonText(reader.requestJson));
}

void getJsonResponseForGetDiscount(CheckXml& reader, const std::string& clientId,
                                   std::vector<char>& body) {
    if (!reader.checkData) {
        fillOrderStub(reader, clientId, body);
        return;
    }
    fillOrderLines(reader, clientId);
    writeRequestJson(reader, body);
}
