#pragma once
#include <string>
#include <vector>

class CheckXml;
class HttpClient;
class Logger;

// Sends the check's order to "v1/GetDiscount/". -1: a reply is in `reply` and
// the caller goes on; any other value (1) is the caller's result (logged here).
int SendGetDiscount(HttpClient& httpClient, CheckXml& reader, const std::string& token,
                    const std::string& clientId, std::vector<char>& reply, Logger& log);
