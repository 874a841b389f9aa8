#include "api/OrderBody.h"

#include <cmath>
#include <cstring>

#include "api/GuestInfo.h"
#include "api/JsonText.h"
#include "check/Accessors.h"
#include "check/CheckXml.h"
#include "text/DecimalText.h"

namespace {

// Fixed category names, sent as UTF-8 whatever the check's own encoding.
constexpr const char* kModifierName = "Модификатор";
constexpr const char* kComboName = "Комбо-блюдо";

using Alloc = rapidjson::Document::AllocatorType;

void addString(OrderBody& o, const char* key, const std::string& text) {
    Alloc& a = o.json.GetAllocator();
    o.json.AddMember(
        rapidjson::StringRef(key),
        rapidjson::Value(text.data(), static_cast<rapidjson::SizeType>(text.size()), a), a);
}

void addNumber(OrderBody& o, const char* key, double value) {
    o.json.AddMember(rapidjson::StringRef(key), rapidjson::Value(value), o.json.GetAllocator());
}

void resetRequest(OrderBody& o) {
    rapidjson::Document fresh(rapidjson::kObjectType);
    o.json.Swap(fresh);
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

void fillOrderHead(CheckXml& reader, OrderBody& o) {
    o.checkLines = reader.checkData.child("CHECKLINES");
    resetRequest(o);
    addString(o, "OrganizationId", getAttributeString(reader.check, "restaurantcode"));
    addString(o, "OrderId", stripBraces(reader.checkData, "orderguid"));
    if (!o.checkLines) {
        addNumber(o, "OrderSum", 0.0);
        addNumber(o, "OrderSumWithDiscount", 0.0);
        return;
    }
    double total = 0.0;
    for (const pugi::xml_node& line : linesOf(o.checkLines)) {
        const std::string type = getAttributeString(line, "type");
        if (isCounted(line, type)) total += static_cast<double>(getAttributeFloat(line, "sum"));
    }
    addNumber(o, "OrderSumWithDiscount", total);
}

void fillOrderLines(CheckXml& reader, const std::string& clientId, OrderBody& o) {
    fillOrderHead(reader, o);
    addString(o, "ParentOrderId", stripBraces(reader.checkData, "orderguid"));
    addString(o, "ClientId", clientId);
    addString(o, "OrderNumber", getAttributeString(reader.checkData, "checknum"));

    Alloc& a = o.json.GetAllocator();
    rapidjson::Value order(rapidjson::kArrayType);
    if (!o.checkLines) {
        o.json.AddMember("Order", order, a);
        return;
    }
    const std::vector<pugi::xml_node> lines = linesOf(o.checkLines);

    double orderSum = 0.0;
    for (const pugi::xml_node& line : lines) {
        const std::string type = getAttributeString(line, "type");
        if (!isCounted(line, type)) continue;
        const double q = quantityRule(static_cast<double>(getAttributeFloat(line, "quantity")));
        const double price = static_cast<double>(getAttributeFloat(line, "price"));
        orderSum += price * q;
    }
    addNumber(o, "OrderSum", orderSum);

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
    o.json.AddMember("Order", order, a);
}

void fillOrderStub(CheckXml& reader, const std::string& clientId, OrderBody& o) {
    resetRequest(o);
    addString(o, "OrganizationId", getAttributeString(reader.check, "restaurantcode"));
    addString(o, "OrderId", "");
    addString(o, "ParentOrderId", "");
    addString(o, "ClientId", clientId);
    addString(o, "OrderNumber", "");
    addNumber(o, "OrderSum", 0.0);
    addNumber(o, "OrderSumWithDiscount", 0.0);
    o.json.AddMember("Order", rapidjson::Value(rapidjson::kArrayType), o.json.GetAllocator());
}

void writeOrderBody(const OrderBody& o, std::vector<char>& body) {
    assignBodyText(body, writeJsonText(o.json));
}

void buildGetDiscountBody(CheckXml& reader, const std::string& clientId, std::vector<char>& body) {
    OrderBody order;
    if (!reader.checkData) {
        fillOrderStub(reader, clientId, order);
    } else {
        fillOrderLines(reader, clientId, order);
    }
    writeOrderBody(order, body);
}
