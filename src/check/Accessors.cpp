#include "check/Accessors.h"

#include <algorithm>
#include <cstring>

#include "check/CheckXml.h"

namespace {
pugi::xml_attribute requireAttribute(const pugi::xml_node& node, const char* name) {
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) throw AttributeNotFound(name);
    return attribute;
}
}  // namespace

int32_t getAttributeInt(const pugi::xml_node& node, const char* name) {
    return requireAttribute(node, name).as_int();
}

int64_t getAttributeInt64(const pugi::xml_node& node, const char* name) {
    return requireAttribute(node, name).as_llong();
}

float getAttributeFloat(const pugi::xml_node& node, const char* name) {
    return requireAttribute(node, name).as_float();
}

const char* getAttributeString(const pugi::xml_node& node, const char* name) {
    return requireAttribute(node, name).as_string();
}

std::string getPaymentAccount(CheckXml& reader, const std::vector<int32_t>& currencyCodes) {
    std::string account;
    for (pugi::xml_node payment : reader.checkData.child("CHECKPAYMENTS").children("PAYMENT")) {
        int32_t code = getAttributeInt(payment, "code");
        if (std::find(currencyCodes.begin(), currencyCodes.end(), code) == currencyCodes.end())
            continue;
        pugi::xml_attribute paymentAccount = payment.attribute("account");
        pugi::xml_attribute paymentInterface = payment.attribute("interface");
        if (!paymentAccount || !paymentInterface) continue;
        if (std::strcmp(paymentAccount.as_string(), "0") == 0) continue;
        if (reader.selectedInterface.empty()) continue;
        if (reader.selectedInterface != paymentInterface.as_string()) continue;
        // Later payments override earlier ones.
        account = paymentAccount.as_string();
    }
    return account;
}
