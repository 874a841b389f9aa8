#pragma once
#include <optional>
#include <string>
#include <vector>

class CheckXml;
class HttpClient;
class Logger;

// The result a call ends with when the discount request fails.
inline constexpr int kDiscountFailedResult = 1;

// The GetDiscount body of the check's order for `clientId`, or none after
// logging why it cannot be built. SendGetDiscount builds its body with it;
// hostemu's config runs it to tell what a call with the check would log.
std::optional<std::vector<char>> buildGetDiscountRequest(CheckXml& reader,
                                                         const std::string& clientId, Logger& log);

// Sends the check's order to "v1/GetDiscount/": the reply to go on with, or
// none when there is none (logged here; the caller ends with
// kDiscountFailedResult).
std::optional<std::vector<char>> SendGetDiscount(HttpClient& httpClient, CheckXml& reader,
                                                 const std::string& token,
                                                 const std::string& clientId, Logger& log);
