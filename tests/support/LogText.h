#pragma once
// What the tests know of brisvane.log's layout, written once: the line end,
// the stamp, an entry as the module writes it, a reply dump, the dump of an
// absent record, the transport's and the wrapper's failure entries, and where
// entries start; with them the small helpers every test suite needs (files,
// quoting for the fake service's scenarios, lines).
#include <cstddef>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

namespace logtext {

// The log is written in text mode: the Windows runtime stores LF as CR LF.
#ifdef _WIN32
inline const std::string kEol = "\r\n";
#else
inline const std::string kEol = "\n";
#endif

// A stamp as the log writes it: [MM-DD-YYYY HH:MM:SS]
inline const char* kStampPattern =
    R"(\[[0-1][0-9]-[0-3][0-9]-[0-9]{4} [0-2][0-9]:[0-5][0-9]:[0-6][0-9]\])";

// The log with every stamp replaced by "[S]".
inline std::string stampless(const std::string& log) {
    return std::regex_replace(log, std::regex(kStampPattern), "[S]");
}

// One entry as stampless() shows it.
inline std::string entry(const std::string& tag, const std::string& message) {
    return "[S] " + tag + " : " + message + kEol;
}

// The dump of a reply as stampless() shows it.
inline std::string answer(const std::string& path, const std::string& reply) {
    return "[S] ANSWER FROM URL " + path + " " + kEol + reply + kEol;
}

// The dump of an absent card record: no line feed after "NULL", so the next
// entry goes on on the same line.
inline std::string nullDump(const std::string& tag) {
    return "[S] " + tag + " : Info - " + kEol + "NULL";
}

// A whole file's bytes, and a file written with exactly these bytes; `name`
// is a narrow string or a std::filesystem::path.
template <class Name>
std::string readFile(const Name& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
template <class Name>
void writeFile(const Name& name, const std::string& text) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << text;
}

// conf.xml for the service at `address` over plain HTTP: `places` and
// `extra` (accounts) go inside Configuration as written.
inline std::string confXml(const std::string& address, const std::string& places,
                           const std::string& extra = "") {
    return "<Configuration><ApiAddress>" + address + "</ApiAddress><SSL>false</SSL>" + places +
           extra + "</Configuration>";
}
// One PlaceOfService; `fallback` marks its token as the one for every other place.
inline std::string place(const std::string& code, const std::string& token, bool fallback = false) {
    return "<PlaceOfService><PlaceCode>" + code + "</PlaceCode><LoyltyApiToken" +
           (fallback ? " Default=\"true\">" : ">") + token + "</LoyltyApiToken></PlaceOfService>";
}
// One BonusAccount or DepositAccount element.
inline std::string account(const std::string& kind, int currency, int subAccount) {
    return "<" + kind + "><CurrencyCode>" + std::to_string(currency) +
           "</CurrencyCode><CardSubAccount>" + std::to_string(subAccount) + "</CardSubAccount></" +
           kind + ">";
}

// A JSON string literal holding `text` (for the fake service's scenarios).
inline std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

// The fake service's behaviour that answers with `body`.
inline std::string replyWith(const std::string& body) {
    return "{\"body\": " + jsonString(body) + "}";
}

// The lines of `log`, split at the module's line ends.
inline std::vector<std::string> lines(const std::string& log) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t end; (end = log.find(kEol, start)) != std::string::npos;
         start = end + kEol.size())
        out.push_back(log.substr(start, end - start));
    if (start < log.size()) out.push_back(log.substr(start));
    return out;
}

// The sender's messages for an exchange that got no reply, and for one that
// ran into the time limit.
inline std::string noReplyMessage(const std::string& path) {
    return "ERROR WHILE SENDING bRead == FALSE  ||  dwBytesRead == 0 " + path;
}
inline std::string timeoutMessage(const std::string& path) {
    return "ERROR WHILE SENDING WaitForSingleObject(hThread, dwTimeout ) == WAIT_TIMEOUT " + path;
}

// The wrapper's entries once an attempt got no reply: the probe, and then
// either its giving up (probe failed) or the second attempt's announcement.
inline std::string probeEntries(bool worked, const std::string& path) {
    return entry("SendRequestWrapper", "RESPONSE WAS NULL, TRY CONNECT TO GOOGLE") +
           (worked ? entry("SendRequestWrapper", "GOOGLE WORKS, TRY ANOTHER ONE TO " + path +
                                                     " WITH Content-Type:application/json;")
                   : entry("SendRequestWrapper", "GOOGLE NOT WORKING, ERROR!"));
}
// How the wrapper ends without a reply when no record was given.
inline std::string giveUpEntries(bool afterSecondAttempt) {
    return (afterSecondAttempt ? entry("SendRequestWrapper", "RESPONSE WAS NULL AGAIN, ERROR!")
                               : std::string()) +
           entry("SendRequestWrapper", "AND INFO WAS NULL") + nullDump("SendRequestWrapper");
}
// Whether the log shows a probe that succeeded (a probe the test does not
// control may go either way).
inline bool probeWorked(const std::string& log) {
    return log.find("GOOGLE WORKS, TRY ANOTHER ONE TO ") != std::string::npos;
}

// Where the entries of a log text start: at each "[MM-DD-YYYY HH:MM:SS] ".
inline std::vector<std::size_t> logEntryStarts(const std::string& log) {
    static const char shape[] = "[dd-dd-dddd dd:dd:dd] ";
    const std::size_t n = sizeof shape - 1;
    std::vector<std::size_t> starts;
    for (std::size_t p = log.find('['); p != std::string::npos && p + n <= log.size();
         p = log.find('[', p + 1)) {
        bool match = true;
        for (std::size_t i = 0; i < n && match; ++i)
            match =
                shape[i] == 'd' ? (log[p + i] >= '0' && log[p + i] <= '9') : log[p + i] == shape[i];
        if (match) starts.push_back(p);
    }
    return starts;
}

}  // namespace logtext
