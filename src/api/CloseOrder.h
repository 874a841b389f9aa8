#pragma once
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <vector>

class CheckXml;
class HttpClient;
class Logger;

// No loyalty client could be found for a paid check.
class ClientIdNotFound : public std::exception {};

// The check was paid from a deposit, yet no deposit payment names its account:
// posting it would report the close done with nothing written off.
class DepositAccountMissing : public std::exception {};

// What one PAYMENT of the check is to a close: a bonus payment, a deposit
// payment (one code may be in both lists), and whether it names the guest
// (an "account" other than "0" on the interface the host selected). Throws
// AttributeNotFound for a PAYMENT without "code".
struct PaymentRole {
    bool bonus = false;
    bool deposit = false;
    bool namesGuest = false;
};
PaymentRole paymentRole(const CheckXml& reader, const pugi::xml_node& payment,
                        const std::vector<int32_t>& bonusCodes,
                        const std::vector<int32_t>& depositCodes);

// One card holder's GuestInfo exchange: the client id, or none when the
// exchange gave nothing usable.
std::optional<std::string> askServiceAboutHolder(int64_t cardCode, const std::string& token,
                                                 HttpClient& httpClient, Logger& log);

// Who card holder `cardCode` is to the service: its client id, or none.
using HolderLookup = std::function<std::optional<std::string>(int64_t cardCode)>;

// Builds the CloseOrder body into `body` and hands back the client id found in
// the check's payments, its discounts, or by asking the service about each
// card holder. Throws NodeNotFound, AttributeNotFound, ClientIdNotFound and,
// before any request is made, DepositAccountMissing.
void buildCloseOrderBody(CheckXml& reader, std::vector<int32_t> bonusCurrencyCodes,
                         std::vector<int32_t> depositCurrencyCodes, std::vector<char>& body,
                         std::string& clientIdOut, const std::string& token, HttpClient& httpClient,
                         Logger& log);
// The same with the holders looked up by `holders` (hostemu's config answers
// without asking the service).
void buildCloseOrderBody(CheckXml& reader, std::vector<int32_t> bonusCurrencyCodes,
                         std::vector<int32_t> depositCurrencyCodes, std::vector<char>& body,
                         std::string& clientIdOut, const HolderLookup& holders, Logger& log);

// The ReturnOrder body: the order head only. Throws AttributeNotFound.
void buildReturnOrderBody(CheckXml& reader, std::vector<char>& body);
