#include "api/CloseOrder.h"

#include <rapidjson/document.h>

#include <algorithm>
#include <optional>

#include "api/GuestInfo.h"
#include "api/JsonText.h"
#include "api/OrderBody.h"
#include "api/ReplyAccess.h"
#include "check/Accessors.h"
#include "check/CheckXml.h"
#include "check/XmlErrors.h"
#include "http/Exchange.h"
#include "http/ServicePaths.h"
#include "log/LogEvents.h"
#include "log/Logger.h"

namespace {

constexpr const char* kTag = logtag::kHolderLookup;
using logevent::Event;

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

}  // namespace

std::optional<std::string> askServiceAboutHolder(int64_t cardCode, const std::string& token,
                                                 HttpClient& httpClient, Logger& log) {
    const std::string path = servicepath::kGuestInfo + token;
    const std::string body = buildGuestInfoBody(cardCode);
    ExchangeResult exchange;
    try {
        log.log(Event::AskHolder, {{"body", body}});
        exchange = httpClient.SendRequest("POST", kJsonHeaders, path.c_str(), body.c_str(),
                                          kAcceptAnything, log);
    } catch (...) {
        return std::nullopt;
    }
    if (exchange.outcome == ExchangeOutcome::TimedOut) {
        log.log(kTag, Event::TimeoutExceeded);
        return std::nullopt;
    }
    const ByteBuffer& reply = exchange.reply;
    if (isEmptyReply(reply)) return std::nullopt;
    rapidjson::Document json;
    parseJson(json, replyText(reply).c_str());
    if (!statusIsOne(json)) return std::nullopt;
    auto clientId = json.FindMember("ClientId");
    if (clientId == json.MemberEnd() || !clientId->value.IsString()) return std::nullopt;
    return std::string(clientId->value.GetString(), clientId->value.GetStringLength());
}

PaymentRole paymentRole(const CheckXml& reader, const pugi::xml_node& payment,
                        const std::vector<int32_t>& bonusCodes,
                        const std::vector<int32_t>& depositCodes) {
    const int32_t code = getAttributeInt(payment, "code");
    PaymentRole role;
    role.bonus = contains(bonusCodes, code);
    role.deposit = contains(depositCodes, code);
    role.namesGuest = namesGuestOnSelectedInterface(payment, reader.selectedInterface);
    return role;
}

namespace {

// What the payments say: who pays with bonus, whose deposit pays, and how much.
struct Payments {
    std::vector<pugi::xml_node> list;
    std::optional<std::string> clientId;
    std::optional<std::string> depositClientId;
    float bonusSum = 0.0f;  // sums are kept in single precision, as the host adds them
    float depositSum = 0.0f;
};

// An empty or all-blank "account" names nobody, like a missing one: a close
// sent with it would write off nobody's deposit.
bool namesAccount(const pugi::xml_node& payment) {
    const std::string account = payment.attribute("account").value();
    return account.find_first_not_of(" \t\r\n") != std::string::npos;
}

// The first pass: the last bonus payment that names the guest on the selected
// interface, the last deposit payment's account, and both sums.
Payments readPayments(const CheckXml& reader, const std::vector<int32_t>& bonusCodes,
                      const std::vector<int32_t>& depositCodes, Logger& log) {
    const pugi::xml_node payments = reader.checkData.child("CHECKPAYMENTS");
    if (!payments) throw NodeNotFound("CHECKPAYMENTS");
    log.log(Event::HolderFromPayments);
    Payments out;
    out.list = children(payments, "PAYMENT");
    for (const pugi::xml_node& payment : out.list) {
        const PaymentRole role = paymentRole(reader, payment, bonusCodes, depositCodes);
        if (role.bonus && role.namesGuest) {
            out.clientId = payment.attribute("account").value();
            if (has(payment, "sum")) out.bonusSum += getAttributeFloat(payment, "sum");
        }
        if (role.deposit) {
            if (namesAccount(payment)) out.depositClientId = payment.attribute("account").value();
            if (has(payment, "sum")) out.depositSum += getAttributeFloat(payment, "sum");
        }
    }
    log.log(Event::HolderMaybeBreak);
    return out;
}

bool named(const std::optional<std::string>& clientId) { return clientId && *clientId != "0"; }

// The client id when no payment names the guest: the last discount of the
// selected interface, else the last card holder the service knows.
std::string findClientId(const CheckXml& reader, std::optional<std::string> clientId,
                         const HolderLookup& holders, Logger& log) {
    if (named(clientId)) {
        log.log(Event::HolderClientId, {{"id", *clientId}});
        return *clientId;
    }
    if (const pugi::xml_node discounts = reader.checkData.child("CHECKDISCOUNTS")) {
        log.log(Event::HolderFromDiscounts);
        for (const pugi::xml_node& discount : children(discounts, "DISCOUNT")) {
            if (namesGuestOnSelectedInterface(discount, reader.selectedInterface)) {
                clientId = discount.attribute("account").value();
            }
            getAttributeFloat(discount, "sum");  // a DISCOUNT must carry its sum
        }
    }
    if (!named(clientId)) {
        if (reader.cardCodes.empty()) throw NodeNotFound("CHECKDISCOUNTS AND THEN HOLDERS");
        for (int64_t cardCode : reader.cardCodes) {
            if (auto found = holders(cardCode)) {
                clientId = std::move(found);
            }
        }
    }
    if (!clientId) {
        log.log(Event::HolderClientIdNull);
        throw ClientIdNotFound();
    }
    return *clientId;
}

// The second pass: a sum still 0 takes the first payment of its kind that
// carries one (for bonus, on the selected interface, named or not).
void completeSums(const CheckXml& reader, const std::vector<int32_t>& bonusCodes,
                  const std::vector<int32_t>& depositCodes, Payments& payments) {
    for (const pugi::xml_node& payment : payments.list) {
        const int32_t code = getAttributeInt(payment, "code");
        if (contains(bonusCodes, code) && has(payment, "interface") &&
            !reader.selectedInterface.empty() &&
            reader.selectedInterface == payment.attribute("interface").value() &&
            has(payment, "sum") && payments.bonusSum == 0.0f) {
            payments.bonusSum += getAttributeFloat(payment, "sum");
        }
        // Only deposit payments of no sum can name no account here: the close then
        // sends the client id with no deposit write-off.
        if (contains(depositCodes, code) && has(payment, "sum") && payments.depositSum == 0.0f) {
            payments.depositSum += getAttributeFloat(payment, "sum");
        }
    }
}

rapidjson::Value text(const std::string& s, rapidjson::Document::AllocatorType& a) {
    return rapidjson::Value(s.data(), static_cast<rapidjson::SizeType>(s.size()), a);
}

// The four members a close adds to the order body.
void addClosingMembers(const CheckXml& reader, const std::string& clientId,
                       const Payments& payments, OrderBody& order) {
    rapidjson::Document& json = order.json;
    auto& a = json.GetAllocator();
    const std::string& deposit = payments.depositClientId ? *payments.depositClientId : clientId;
    json.AddMember("DepositClientId", text(deposit, a), a);
    json.AddMember("DepositWriteOff",
                   payments.depositClientId ? static_cast<double>(payments.depositSum) : 0.0, a);
    json.AddMember("OrderDate", text(getAttributeString(reader.checkData, "closedatetime"), a), a);
    json.AddMember("BonusWriteOff", static_cast<double>(payments.bonusSum), a);
}

}  // namespace

void buildCloseOrderBody(CheckXml& reader, std::vector<int32_t> bonusCurrencyCodes,
                         std::vector<int32_t> depositCurrencyCodes, std::vector<char>& body,
                         std::string& clientIdOut, const std::string& token, HttpClient& httpClient,
                         Logger& log) {
    buildCloseOrderBody(
        reader, std::move(bonusCurrencyCodes), std::move(depositCurrencyCodes), body, clientIdOut,
        [&](int64_t cardCode) { return askServiceAboutHolder(cardCode, token, httpClient, log); },
        log);
}

void buildCloseOrderBody(CheckXml& reader, std::vector<int32_t> bonusCurrencyCodes,
                         std::vector<int32_t> depositCurrencyCodes, std::vector<char>& body,
                         std::string& clientIdOut, const HolderLookup& holders, Logger& log) {
    clientIdOut.clear();
    Payments payments = readPayments(reader, bonusCurrencyCodes, depositCurrencyCodes, log);
    if (!payments.depositClientId && payments.depositSum != 0.0f) throw DepositAccountMissing();
    clientIdOut = findClientId(reader, payments.clientId, holders, log);
    OrderBody order;
    fillOrderLines(reader, clientIdOut, order);
    completeSums(reader, bonusCurrencyCodes, depositCurrencyCodes, payments);
    addClosingMembers(reader, clientIdOut, payments, order);
    log.log(Event::HolderResult, {{"id", clientIdOut}});
    writeOrderBody(order, body);
}

void buildReturnOrderBody(CheckXml& reader, std::vector<char>& body) {
    OrderBody order;
    fillOrderHead(reader, order);
    writeOrderBody(order, body);
}
