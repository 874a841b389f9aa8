#pragma once
#include <string>
#include <vector>

class CheckXml;
class HttpClient;
class Logger;
struct CardInfoRecord;

// Sends the check's order to "v1/GetDiscount/". -1: a reply is in `reply` and
// the caller goes on; any other value is the caller's result (logged here).
// `recordSlot` designates the record that receives a time-out note.
int SendGetDiscount(HttpClient& httpClient, CheckXml& reader, const std::string& token,
                    const std::string& clientId, CardInfoRecord** recordSlot,
                    std::vector<char>& reply, Logger& log);
