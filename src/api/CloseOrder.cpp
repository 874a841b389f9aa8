#include "api/CloseOrder.h"

#include <rapidjson/document.h>

#include <algorithm>
#include <optional>

#include "api/GuestInfo.h"
#include "api/OrderBody.h"
#include "check/Accessors.h"
#include "check/CheckXml.h"
#include "check/XmlErrors.h"
#include "http/Exchange.h"
#include "log/Logger.h"

namespace {

constexpr const char* kTag = "SendRequest from checkXml";

bool contains(const std::vector<int32_t>& codes, int32_t code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

bool has(const pugi::xml_node& node, const char* attribute) {
    return static_cast<bool>(node.attribute(attribute));
}

// The element names the guest through an account of the interface the host selected.
bool namesGuestOnSelectedInterface(const pugi::xml_node& node, const std::string& selected) {
    return has(node, "account") && has(node, "interface") &&
           std::string(node.attribute("account").value()) != "0" && !selected.empty() &&
           selected == node.attribute("interface").value();
}

std::vector<pugi::xml_node> children(const pugi::xml_node& parent, const char* name) {
    std::vector<pugi::xml_node> out;
    for (pugi::xml_node n = parent.child(name); n; n = n.next_sibling(name)) out.push_back(n);
    return out;
}

// One holder's GuestInfo exchange; the client id, or none when the exchange
// gave nothing usable.
std::optional<std::string> askServiceAboutHolder(int64_t cardCode, const std::string& token,
                                                 HttpClient& httpClient, Logger& log) {
    const std::string path = "v1/GuestInfo/" + token;
    const std::string body = buildGuestInfoBody(cardCode);
    ByteBuffer reply;
    try {
        log.logMessage(kTag, "TRY GET ClientId from API WITH " + body);
        reply = httpClient.SendRequest("POST", kJsonHeaders, path.c_str(), body.c_str(),
                                       kAcceptAnything, log);
    } catch (const TimeoutExceeded&) {
        log.logMessage(kTag, "Error TimeoutExceeded RETURN 0");
        return std::nullopt;
    } catch (...) {
        return std::nullopt;
    }
    if (isEmptyReply(reply)) return std::nullopt;
    rapidjson::Document json;
    json.Parse(replyText(reply).c_str());
    if (json.HasParseError() || !json.IsObject()) return std::nullopt;
    auto status = json.FindMember("Status");
    if (status == json.MemberEnd() || !status->value.IsInt() || status->value.GetInt() != 1) {
        return std::nullopt;
    }
    auto clientId = json.FindMember("ClientId");
    if (clientId == json.MemberEnd() || !clientId->value.IsString()) return std::nullopt;
    return std::string(clientId->value.GetString(), clientId->value.GetStringLength());
}

}  // namespace

void getJsonResponseForCloseOrder(CheckXml& reader, std::vector<int32_t> bonusCurrencyCodes,
                                  std::vector<int32_t> depositCurrencyCodes,
                                  std::vector<char>& body, std::string& clientIdOut,
                                  const std::string& token, HttpClient& httpClient, Logger& log) {
    clientIdOut.clear();
    std::optional<std::string> clientId;
    std::optional<std::string> depositClientId;
    float bonusSum = 0.0f;  // sums are kept in single precision, as the host adds them
    float depositSum = 0.0f;

    const pugi::xml_node payments = reader.checkData.child("CHECKPAYMENTS");
    if (!payments) throw NodeNotFound("CHECKPAYMENTS");
    log.logMessage(kTag, "TRY GET ClientId from CHECKPAYMENTS");
    const std::vector<pugi::xml_node> paymentList = children(payments, "PAYMENT");

    for (const pugi::xml_node& payment : paymentList) {
        const int32_t code = getAttributeInt(payment, "code");
        if (contains(bonusCurrencyCodes, code) &&
            namesGuestOnSelectedInterface(payment, reader.selectedInterface)) {
            clientId = payment.attribute("account").value();
            if (has(payment, "sum")) bonusSum += getAttributeFloat(payment, "sum");
        }
        if (contains(depositCurrencyCodes, code)) {
            if (has(payment, "account")) depositClientId = payment.attribute("account").value();
            if (has(payment, "sum")) depositSum += getAttributeFloat(payment, "sum");
        }
    }
    log.logMessage(kTag, "MAYBE break here");
    if (!depositClientId && depositSum != 0.0f) throw DepositAccountMissing();

    if (clientId && *clientId != "0") {
        log.logMessage(kTag, "ClientId IS " + *clientId);
    } else {
        const pugi::xml_node discounts = reader.checkData.child("CHECKDISCOUNTS");
        if (discounts) {
            log.logMessage(kTag, "TRY GET ClientId from CHECKDISCOUNTS");
            for (const pugi::xml_node& discount : children(discounts, "DISCOUNT")) {
                if (namesGuestOnSelectedInterface(discount, reader.selectedInterface)) {
                    clientId = discount.attribute("account").value();
                }
                getAttributeFloat(discount, "sum");  // a DISCOUNT must carry its sum
            }
        }
        if (!(clientId && *clientId != "0")) {
            if (reader.cardCodes.empty()) throw NodeNotFound("CHECKDISCOUNTS AND THEN HOLDERS");
            for (int64_t cardCode : reader.cardCodes) {
                if (auto found = askServiceAboutHolder(cardCode, token, httpClient, log)) {
                    clientId = std::move(found);
                }
            }
        }
        if (!clientId) {
            log.logMessage(kTag, "ClientId is NULL");
            throw ClientIdNotFound();
        }
    }
    clientIdOut = *clientId;
    fillOrderLines(reader, clientIdOut);

    for (const pugi::xml_node& payment : paymentList) {
        const int32_t code = getAttributeInt(payment, "code");
        if (contains(bonusCurrencyCodes, code) && has(payment, "interface") &&
            !reader.selectedInterface.empty() &&
            reader.selectedInterface == payment.attribute("interface").value() &&
            has(payment, "sum") && bonusSum == 0.0f) {
            bonusSum += getAttributeFloat(payment, "sum");
        }
        // Only deposit payments of no sum can lack "account" here: the close then
        // sends the client id with no deposit write-off.
        if (contains(depositCurrencyCodes, code) && has(payment, "sum") && depositSum == 0.0f) {
            depositSum += getAttributeFloat(payment, "sum");
        }
    }

    rapidjson::Document& json = reader.requestJson;
    auto& a = json.GetAllocator();
    const std::string& deposit = depositClientId ? *depositClientId : clientIdOut;
    json.AddMember("DepositClientId",
                   rapidjson::Value(deposit.data(), static_cast<rapidjson::SizeType>(deposit.size()), a), a);
    json.AddMember("DepositWriteOff", depositClientId ? static_cast<double>(depositSum) : 0.0, a);
    const std::string orderDate = getAttributeString(reader.checkData, "closedatetime");
    json.AddMember("OrderDate",
                   rapidjson::Value(orderDate.data(), static_cast<rapidjson::SizeType>(orderDate.size()), a), a);
    json.AddMember("BonusWriteOff", static_cast<double>(bonusSum), a);
    log.logMessage(kTag, "RESULT ClientId IS " + clientIdOut);
    writeRequestJson(reader, body);
}

void getJsonResponseForReturnOrder(CheckXml& reader, std::vector<char>& body) {
    fillOrderHead(reader);
    writeRequestJson(reader, body);
}
