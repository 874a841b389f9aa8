// hostemu summary and redact over logs written the way the DLL writes them.
#include <gtest/gtest.h>
#include <pthread.h>
#include <rapidjson/document.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <regex>

#include "cli/Output.h"
#include "encoding/Encodings.h"
#include "log/LogFormat.h"
#include "logread/LogCalls.h"
#include "redact/LogRedact.h"
#include "redact/RedactRun.h"
#include "replay/ReplayVerdict.h"
#include "show/LogShow.h"
#include "summary/LogSummary.h"
#include "summary/SummaryRun.h"
#include "text/TextCodec.h"

namespace {

std::string entry(const std::string& stamp, const std::string& text) {
    std::string out = "[" + stamp + "] ";
    for (char c : text + "\n") out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

std::string day(int hour, int minute, int second) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "12-07-2026 %02d:%02d:%02d", hour, minute, second);
    return buf;
}

const char kToken[] = "tok-5c1e-secret";
const std::string kGuest =
    "{\"Status\":1,\"ClientId\":\"501\",\"LastName\":\"Петрова\","
    "\"FirstName\":\"Анна\",\"MiddleName\":\"Сергеевна\",\"LoyaltyLevel\":"
    "\"Gold\",\"BonusBalance\":\"12.5\",\"DiscountId\":3,\"BonusId\":7,"
    "\"NotPayType\":0,\"Email\":\"anna@mail.example\",\"Visits\":14,"
    "\"VIP\":true,\"Notes\":\"likes the window seat\",\"Tags\":[\"a\"]}";

std::string init(int hour) {
    return entry(day(hour, 0, 0), "Init : Started") +
           entry(day(hour, 0, 0), "Init : CURRENT VERSION: 37") +
           entry(day(hour, 0, 0),
                 std::string("WriteConfToLog : <Configuration><ApiAddress>h</ApiAddress>"
                             "<PlaceOfService><PlaceCode>1</PlaceCode><LoyltyApiToken "
                             "Default=\"true\">") +
                     kToken + "</LoyltyApiToken></PlaceOfService></Configuration>") +
           entry(day(hour, 0, 0), "Init : Ended");
}

std::string lookupHead(const std::string& at, const std::string& body) {
    return entry(at, "GetCardInfoEx : GetCardInfoEx from File1 Started!") +
           entry(at,
                 "GetCardInfoEx : InputBuf was\n\n<HOLDERS><ITEM cardcode=\"0079161234567\"/>"
                 "</HOLDERS><CHECK chmode=\"0\"/>") +
           entry(at, "GetConfig : TRY GET configuration") +
           entry(at, std::string("SendRequestWrapper : TRY SEND REQUEST TO v1/GuestInfo/") +
                         kToken + " WITH " + body);
}

// A found guest: reply, record dump with the joined name, RETURN 0.
std::string foundLookup(int hour) {
    const std::string at = day(hour, 0, 0);
    return lookupHead(at, "{\"Phone\":79161234567}") +
           entry(at, std::string("ANSWER FROM URL v1/GuestInfo/") + kToken + " \n" + kGuest) +
           entry(at, "GetCardInfoEx RESULT INFO : Info - \nAccess_amount: 1250;\nCard_owner: " +
                         utf8ToCp1251("Петрова Анна Сергеевна") + ";\nComment: ;\n") +
           entry(day(hour, 0, 1), "GetCardInfoEx : Ended successfully! RETURN 0");
}

// The service refuses the connection; the probe fails.
std::string refusedLookup(int hour, int minute = 0) {
    const std::string at = day(hour, minute, 5);
    return lookupHead(at, "{\"CardToken\":1002}") +
           entry(at, "SendRequest : RETURN vector<char> dwExitCode != 0 1") +
           entry(at,
                 "SendRequest : Windows error 12029: The attempt to connect to the server "
                 "failed.") +
           entry(day(hour, minute, 15),
                 "SendRequestWrapper : RESPONSE WAS NULL, TRY CONNECT TO GOOGLE") +
           entry(day(hour, minute, 15), "SendRequestWrapper : GOOGLE NOT WORKING, ERROR!") +
           entry(day(hour, minute, 15), "SendRequestWrapper : AND INFO WAS NULL") + "[" +
           day(hour, minute, 15) + "] SendRequestWrapper : Info - \r\nNULL";
}

// A return answered by a gateway's error page.
std::string gatewayReturn(int hour) {
    const std::string at = day(hour, 30, 0);
    const std::string page = "<html><body>502 Bad Gateway</body></html>";
    return entry(at, "ClearTheLog : Failed!") + entry(at, "TransactionsEx : Started") +
           entry(at, "TransactionsEx : InputBuf was\n\n<CHECK chmode=\"2\"/>") +
           entry(at, std::string("SendRequestWrapper : TRY SEND REQUEST TO v1/ReturnOrder/") +
                         kToken + " WITH {\"OrderId\":\"G-1\"}") +
           entry(day(hour, 30, 2),
                 std::string("ANSWER FROM URL v1/ReturnOrder/") + kToken + " \n" + page) +
           entry(day(hour, 30, 2), "SendRequest : HTTP status 502") +
           entry(day(hour, 30, 2),
                 "TransactionsEx : ERROR in !ok || jsonResultRequest[\"Status\"]."
                 "GetInt() != 1 RETURNS 1" +
                     page);
}

std::string lookupEnding(const std::string& at, const std::string& line, bool configLoaded = true) {
    return entry(at, "GetCardInfoEx : GetCardInfoEx from File1 Started!") +
           entry(at, "GetCardInfoEx : InputBuf was\n\n<CHECK chmode=\"0\"/>") +
           (configLoaded ? entry(at, "GetConfig : TRY GET configuration") : "") +
           entry(at, "GetCardInfoEx : " + line);
}

const std::string kDay = init(9) + foundLookup(10) + refusedLookup(11) + gatewayReturn(11) +
                         foundLookup(13) +
                         lookupEnding(day(14, 0, 0), "Cant get token! RETURN 1", false);

}  // namespace

TEST(LogSummary, StampsAsSeconds) {
    EXPECT_EQ(logformat::stampSeconds("01-01-1970 00:00:00"), 0);
    EXPECT_EQ(logformat::stampSeconds("03-01-2024 00:00:00") -
                  logformat::stampSeconds("02-28-2024 23:59:59"),
              86400 + 1);  // a leap year
    EXPECT_EQ(logformat::stampSeconds("12-07-2026 10:00:05") -
                  logformat::stampSeconds("12-07-2026 09:59:55"),
              10);
    // Before 1970 and after 2038: a till's clock may say anything.
    EXPECT_EQ(logformat::stampSeconds("12-31-1969 23:59:59"), -1);
    EXPECT_EQ(logformat::stampSeconds("01-01-1900 00:00:00"), -2208988800LL);
    EXPECT_EQ(logformat::stampSeconds("01-19-2038 03:14:08"), 2147483648LL);
    for (const char* bad : {"", "13-01-2024 00:00:00", "1-01-2024 00:00:00", "01-01-2024 24:00:00",
                            "01-01-2024T00:00:00"})
        EXPECT_EQ(logformat::stampSeconds(bad), logformat::kNoStamp) << bad;
}

namespace {

// The log's "MM-DD-YYYY HH:MM:SS" stamps in the form a host process's locale
// gave earlier brisvane.dll versions: 12-hour with AM/PM, or 24-hour; the
// hour without its leading zero.
std::string localeStamps(const std::string& log, bool twelveHour) {
    static const std::regex stamp(R"(\[(\d\d-\d\d-\d{4}) (\d\d)(:\d\d:\d\d)\] )");
    std::string out;
    auto from = log.cbegin();
    for (std::sregex_iterator m(log.begin(), log.end(), stamp), end; m != end; ++m) {
        out.append(from, (*m)[0].first);
        const int h = std::stoi((*m)[2].str());
        const int shown = twelveHour ? (h % 12 == 0 ? 12 : h % 12) : h;
        out += "[" + (*m)[1].str() + " " + std::to_string(shown) + (*m)[3].str() +
               (twelveHour ? (h < 12 ? " AM" : " PM") : "") + "] ";
        from = (*m)[0].second;
    }
    return out.append(from, log.cend());
}

// Stamps of the JSON report back to "MM-DD-YYYY HH:MM:SS".
std::string canonicalStamps(const std::string& json) {
    static const std::regex stamp(R"((\d\d-\d\d-\d{4} )(\d{1,2})(:\d\d:\d\d)( [AP]M)?)");
    std::string out;
    auto from = json.cbegin();
    for (std::sregex_iterator m(json.begin(), json.end(), stamp), end; m != end; ++m) {
        out.append(from, (*m)[0].first);
        int h = std::stoi((*m)[2].str());
        if ((*m)[4].matched) h = h % 12 + ((*m)[4].str() == " PM" ? 12 : 0);
        char hh[4];
        std::snprintf(hh, sizeof hh, "%02d", h);
        out += (*m)[1].str() + hh + (*m)[3].str();
        from = (*m)[0].second;
    }
    return out.append(from, json.cend());
}

}  // namespace

// Logs of earlier DLLs under a host's locale: the same calls, order and
// durations as the DLL's own stamps give; a file whose stamps cannot be read
// says so.
TEST(LogSummary, StampsOfEveryFormATillsLogMayHold) {
    const std::string own = summary::jsonReport({{"till.log", summary::summarize(kDay)}});
    const std::size_t calls = replay::splitCalls(kDay, "", false).size();
    ASSERT_EQ(calls, 6u);
    for (const bool twelveHour : {true, false}) {
        const std::string log = localeStamps(kDay, twelveHour);
        ASSERT_NE(log.find(twelveHour ? "[12-07-2026 2:00:00 PM] " : "[12-07-2026 9:00:00] "),
                  std::string::npos);
        EXPECT_EQ(canonicalStamps(summary::jsonReport({{"till.log", summary::summarize(log)}})),
                  own)
            << (twelveHour ? "AM/PM" : "24-hour");
        EXPECT_EQ(replay::splitCalls(log, "", false).size(), calls);
    }
    const struct {
        const char* stamp;
        long long seconds;  // from 12-07-2026 00:00:00
    } forms[] = {
        {"12-07-2026 12:00:05 AM", 5},    {"12-07-2026 12:00:05 PM", 12 * 3600 + 5},
        {"12-07-2026 3:24:17 PM", 55457}, {"12-07-2026 11:59:59 PM", 86399},
        {"12-07-2026 9:05:09", 32709},    {"12-07-2026 09:05:09 AM", 32709},
        {"12-07-2026 0:00:00", 0},        {"12-07-2026 13:00:00 PM", -1},
        {"12-07-2026 0:00:00 AM", -1},    {"12-07-2026 3:24:17 pm", -1},
        {"12-07-2026 3:4:17", -1},        {"12-07-2026 123:04:17", -1},
        {"12-07-2026 3:24:17 PM ", -1},
    };
    const long long midnight = logformat::stampSeconds("12-07-2026 00:00:00");
    for (const auto& f : forms)
        EXPECT_EQ(logformat::stampSeconds(f.stamp),
                  f.seconds < 0 ? logformat::kNoStamp : midnight + f.seconds)
            << f.stamp;

    // A call across noon in 12-hour stamps lasts its 10 s.
    const std::string noon =
        entry("12-07-2026 11:59:55 AM", "GetCardInfoEx : GetCardInfoEx from File1 Started!") +
        entry("12-07-2026 12:00:05 PM", "GetCardInfoEx : Cant get token! RETURN 1");
    const summary::Summary s = summary::summarize(noon);
    ASSERT_EQ(s.longest.size(), 1u);
    EXPECT_EQ(s.longest[0].seconds, 10);

    // Stamps of no form read here: said, not "no call".
    const std::string dotted = entry("07.12.2026 15:24:17", "Init : Started") +
                               entry("07.12.2026 15:24:17", "Init : Ended");
    EXPECT_EQ(replay::whyNoCalls(dotted, replay::splitCalls(dotted, "", false), kEnglishCatalog),
              "its lines look like brisvane.log entries, but their time stamps (such as "
              "\"[07.12.2026 15:24:17]\") are of no form hostemu reads (MM-DD-YYYY with H:MM:SS "
              "or HH:MM:SS, with or without AM/PM)");
    EXPECT_EQ(replay::unreadableStamp("[note] not an entry\nplain text\n"), "");
}

TEST(LogSummary, ADayAsJson) {
    const summary::Summary s = summary::summarize(kDay);
    EXPECT_EQ(
        summary::jsonReport({{"till.log", s}}),
        "{\"first\":\"12-07-2026 09:00:00\",\"last\":\"12-07-2026 14:00:00\","
        "\"calls\":{\"GetCardInfoEx\":4,\"Init\":1,\"TransactionsEx\":1},"
        "\"results\":{\"GetCardInfoEx\":{\"0\":2,\"1\":2},\"TransactionsEx\":{\"1\":1}},"
        "\"resultsNotLogged\":0,"
        "\"errors\":{\"HTTP status 502\":1,\"Windows error 12029\":1,"
        "\"no conf.xml (missing or not XML)\":1},"
        "\"meanings\":{\"HTTP status 502\":\"Bad Gateway\",\"Windows error 12029\":\"The "
        "attempt to connect to the server failed.\"},"
        "\"exchanges\":{\"total\":4,\"failed\":2},\"probes\":{\"failed\":1,\"succeeded\":0},"
        "\"longest\":[{\"call\":3,\"export\":\"GetCardInfoEx\",\"start\":\"12-07-2026 11:00:05\","
        "\"seconds\":10,\"result\":1},{\"call\":4,\"export\":\"TransactionsEx\",\"start\":"
        "\"12-07-2026 11:30:00\",\"seconds\":2,\"result\":1},{\"call\":2,\"export\":"
        "\"GetCardInfoEx\",\"start\":\"12-07-2026 10:00:00\",\"seconds\":1,\"result\":0},"
        "{\"call\":5,\"export\":\"GetCardInfoEx\",\"start\":\"12-07-2026 13:00:00\","
        "\"seconds\":1,\"result\":0}],"
        "\"restarts\":1,\"versions\":[\"37\"],"
        "\"outages\":[{\"from\":\"12-07-2026 11:00:05\",\"to\":\"12-07-2026 11:30:02\","
        "\"failed\":2,\"causes\":[\"Windows error 12029\",\"HTTP status 502\"]}]}\n");
    EXPECT_NE(summary::jsonReport({{"init.log", summary::summarize(init(9))}})
                  .find("\"errors\":{},\"meanings\":{},"),
              std::string::npos);
}

TEST(LogSummary, FailuresByCause) {
    const std::string at = day(15, 0, 0);
    auto sent = [&](const std::string& fate) {
        return entry(at, "GetCardInfoEx : GetCardInfoEx from File1 Started!") +
               entry(at, "GetCardInfoEx : InputBuf was\n\n<CHECK chmode=\"0\"/>") +
               entry(at, "GetConfig : TRY GET configuration") +
               entry(at,
                     "SendRequestWrapper : TRY SEND REQUEST TO v1/GuestInfo/t WITH "
                     "{\"CardToken\":5}") +
               fate;
    };
    const std::string answer = entry(at, "ANSWER FROM URL v1/GuestInfo/t \n{\"Status\":2}");
    struct Case {
        std::string log;
        std::string errors;  // the JSON member
    };
    const Case cases[] = {
        {sent(entry(at,
                    "SendRequest : ERROR WHILE SENDING WaitForSingleObject(hThread, dwTimeout ) "
                    "== WAIT_TIMEOUT v1/GuestInfo/t") +
              entry(at, "SendRequestWrapper : GOOGLE NOT WORKING, ERROR!") +
              entry(at, "SendRequestWrapper : AND INFO WAS NULL") + "[" + at +
              "] SendRequestWrapper : Info - \r\nNULL"),
         "{\"time-out\":1}"},
        {sent(entry(at,
                    "SendRequest : ERROR WHILE SENDING bRead == FALSE  ||  dwBytesRead == 0 "
                    "v1/GuestInfo/t") +
              entry(at,
                    "SendRequest : Windows error 12030: The connection with the server has "
                    "been terminated.") +
              entry(at, "GetCardInfoEx : ERROR v1/GuestInfo/ 12030")),
         "{\"Windows error 12030\":1}"},
        {sent(entry(at,
                    "SendRequest : ERROR WHILE SENDING bRead == FALSE  ||  dwBytesRead == 0 "
                    "v1/GuestInfo/t") +
              entry(at, "GetCardInfoEx : ERROR v1/GuestInfo/ 0")),
         "{\"empty reply\":1}"},
        {sent(entry(at, "SendRequest : ERROR WHILE SENDING hRequest == NULL v1/GuestInfo/t12157") +
              entry(at, "GetCardInfoEx : ERROR v1/GuestInfo/ 12157")),
         "{\"Windows error 12157\":1}"},
        {sent(entry(at, "ANSWER FROM URL v1/GuestInfo/t \n<html>portal</html>") +
              entry(at, "GetCardInfoEx : Error: not ok jsonGuestInfo RETURN 1")),
         "{\"unusable reply\":1}"},
        {sent(entry(at, "ANSWER FROM URL v1/GuestInfo/t \n{\"Status\":1}") +
              entry(at, "GetCardInfoEx : ERROR service reply not usable: ClientId RETURN 1")),
         "{\"unusable reply\":1}"},
        {sent(answer + entry(at, "GetCardInfoEx : Error: status == 2 RETURN 1")),
         "{\"refused by the service\":1}"},
        {sent(answer + entry(at, "GetCardInfoEx : Error: Карта заблокирована RETURN 0")), "{}"},
        {lookupEnding(at, "Cant get token! RETURN 1"), "{\"no token for the check\":1}"},
        {lookupEnding(at, "Cant get chmod RETURN 1"), "{\"check not usable\":1}"},
        {lookupEnding(at, "ERROR card record is NULL RETURN 1"),
         "{\"no card record from the host\":1}"},
        {lookupEnding(at, "ERROR unexpected failure RETURN 1"), "{\"other failure\":1}"},
        {entry(at, "ClearTheLog : Failed!") + entry(at, "TransactionsEx : Started") +
             entry(at, "TransactionsEx : InputBuf was\n\n<CHECK chmode=\"0\"/>") +
             entry(at,
                   "TransactionsEx : ERROR in !ok || jsonResultRequest[\"Status\"].GetInt() "
                   "!= 1 RETURNS 1"),
         "{\"nothing to send in this working mode\":1}"},
    };
    for (const Case& c : cases) {
        const std::string json = summary::jsonReport({{"l", summary::summarize(c.log)}});
        const std::size_t at = json.find("\"errors\":");
        const std::size_t end = json.find("},", at);
        EXPECT_EQ(json.substr(at + 9, end + 1 - at - 9), c.errors) << c.log;
    }
}

TEST(LogSummary, SeveralLogsAndTheirTotal) {
    const std::string second = init(8) + foundLookup(12);
    const std::vector<summary::NamedSummary> logs = {{"a.log", summary::summarize(kDay)},
                                                     {"b.log", summary::summarize(second)}};
    const std::string text = summary::textReport(logs);
    for (const char* line :
         {"a.log\n  Period: 12-07-2026 09:00:00 to 12-07-2026 14:00:00\n",
          "  Calls: Init 1, GetCardInfoEx 4, TransactionsEx 1\n",
          "    GetCardInfoEx: 2 returned 0, 2 returned 1\n",
          "    1  Windows error 12029: The attempt to connect to the server failed.\n",
          "  Connectivity probe: 1 failed, 0 succeeded\n",
          "    10 s  call 3 GetCardInfoEx at 12-07-2026 11:00:05, returned 1\n",
          "  Restarts (Init): 1; versions: 37 (first 12-07-2026 09:00:00)\n",
          "    12-07-2026 11:00:05 to 12-07-2026 11:30:02: 2 exchanges failed (Windows error "
          "12029, HTTP status 502)\n",
          "b.log\n  Period: 12-07-2026 08:00:00 to 12-07-2026 12:00:01\n",
          "Total of 2 logs\n  Period: 12-07-2026 08:00:00 to 12-07-2026 14:00:00\n",
          "  Calls: Init 2, GetCardInfoEx 5, TransactionsEx 1\n",
          "    GetCardInfoEx: 3 returned 0, 2 returned 1\n",
          "    10 s  call 3 GetCardInfoEx at 12-07-2026 11:00:05, returned 1  (a.log)\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    const std::string json = summary::jsonReport(logs);
    EXPECT_EQ(json.rfind("{\"first\":\"12-07-2026 08:00:00\",\"last\":\"12-07-2026 14:00:00\","
                         "\"calls\":{\"GetCardInfoEx\":5,\"Init\":2,\"TransactionsEx\":1}",
                         0),
              0u)
        << json;
    EXPECT_NE(json.find(",\"logs\":[{\"file\":\"a.log\",\"first\":"), std::string::npos);
    EXPECT_NE(json.find("{\"file\":\"b.log\",\"first\":\"12-07-2026 08:00:00\""),
              std::string::npos);

    const std::string page = summary::htmlReport(logs);
    for (const char* part :
         {"<td data-calls=\"GetCardInfoEx\">4</td>", "<td data-calls=\"GetCardInfoEx\">5</td>",
          "<td data-error=\"Windows error 12029\">1</td>", "<section id=\"total\">",
          "<svg class=\"timeline\"", "<rect class=\"outage\"",
          "<title>11:00 to 12:00: 2 calls, 2 failed calls, 2 exchanges failed (GetCardInfoEx: 1 "
          "call, 1 failed call; TransactionsEx: 1 call, 1 failed call)</title>"})
        EXPECT_NE(page.find(part), std::string::npos) << part;
    // Self-contained: nothing is fetched from elsewhere.
    for (const char* outside : {"<script", "<link", "src=", "@import", "url("})
        EXPECT_EQ(page.find(outside), std::string::npos) << outside;
}

TEST(LogSummary, TheConsoleShowsTheLongestOutagesThePageAndJsonAll) {
    // Seven outages of two failed lookups each, 3, 10, 1, 7, 2, 9 and 5 minutes long.
    std::string log = init(0);
    const int minutes[] = {3, 10, 1, 7, 2, 9, 5};
    for (int k = 1; k <= 7; ++k)
        log += refusedLookup(k) + refusedLookup(k, minutes[k - 1]) + foundLookup(k);
    const std::vector<summary::NamedSummary> logs = {{"month.log", summary::summarize(log)}};
    const std::string text = summary::textReport(logs);
    const std::string head =
        "  Outages (every exchange failed): 7, the longest 5 (all of them: "
        "--json or --html)\n";
    const std::size_t at = text.find(head);
    ASSERT_NE(at, std::string::npos) << text;
    std::string listed;
    for (int hour : {2, 6, 4, 7, 1}) {
        char line[160];
        std::snprintf(line, sizeof line,
                      "    12-07-2026 %02d:00:05 to 12-07-2026 %02d:%02d:05: 2 exchanges failed "
                      "(Windows error 12029)\n",
                      hour, hour, minutes[hour - 1]);
        listed += line;
    }
    EXPECT_EQ(text.substr(at + head.size()), listed);
    const std::string json = summary::jsonReport(logs);
    const std::string page = summary::htmlReport(logs);
    for (const char* shortest : {"12-07-2026 03:00:05", "12-07-2026 05:00:05"}) {
        EXPECT_EQ(text.find(shortest, at), std::string::npos) << shortest;
        EXPECT_NE(json.find(std::string("{\"from\":\"") + shortest), std::string::npos);
        EXPECT_NE(page.find(std::string("<tr data-outage><td>") + shortest), std::string::npos);
    }
    // A few outages are all shown, the longest first.
    std::string few = init(0);
    for (int k = 1; k <= 3; ++k)
        few += refusedLookup(k) + refusedLookup(k, minutes[k - 1]) + foundLookup(k);
    const std::string fewText = summary::textReport({{"few.log", summary::summarize(few)}});
    const std::size_t fewAt =
        fewText.find("  Outages (every exchange failed): 3, the longest first\n");
    ASSERT_NE(fewAt, std::string::npos) << fewText;
    EXPECT_LT(fewText.find("    12-07-2026 02:00:05", fewAt),
              fewText.find("    12-07-2026 01:00:05", fewAt));
    EXPECT_LT(fewText.find("    12-07-2026 01:00:05", fewAt),
              fewText.find("    12-07-2026 03:00:05", fewAt));
    EXPECT_NE(fewText.find("    12-07-2026 03:00:05", fewAt), std::string::npos);
    EXPECT_NE(summary::textReport({{"a.log", summary::summarize(kDay)}})
                  .find("  Outages (every exchange failed): 1\n    12-07-2026 11:00:05 to "),
              std::string::npos);
}

TEST(LogSummary, ThePageOpensWithTheWholePeriodAndCountsOnRoundNumbers) {
    // The day of kDay, nothing the next day, one failed lookup the day after.
    const std::string log =
        kDay + lookupEnding("12-09-2026 10:00:00", "Cant get token! RETURN 1", false);
    const std::string page = summary::htmlReport({{"a.log", summary::summarize(log)}});
    const std::size_t overview = page.find("<svg class=\"overview\"");
    ASSERT_NE(overview, std::string::npos);
    EXPECT_LT(overview, page.find("<svg class=\"timeline\""));
    const std::string chart = page.substr(overview, page.find("</svg>", overview) - overview);
    // Init apart; failed calls and failed exchanges each their own bar.
    for (const char* day :
         {"<title>12-07-2026: 5 calls, 3 failed calls, 2 exchanges failed (GetCardInfoEx: 4 "
          "calls, 2 failed calls; TransactionsEx: 1 call, 1 failed call)</title>",
          "<title>12-08-2026: 0 calls, 0 failed calls, 0 exchanges failed</title>",
          "<title>12-09-2026: 1 call, 1 failed call, 0 exchanges failed (GetCardInfoEx: 1 call, 1 "
          "failed call)</title>"})
        EXPECT_NE(chart.find(day), std::string::npos) << day << "\n" << chart;

    // The count axis of a chart: its labels in order.
    auto ticks = [](const std::string& svg) {
        std::vector<int> v;
        const std::string mark = "text-anchor=\"end\">";
        for (std::size_t p = svg.find(mark); p != std::string::npos; p = svg.find(mark, p + 1))
            v.push_back(std::atoi(svg.c_str() + p + mark.size()));
        return v;
    };
    EXPECT_EQ(ticks(chart), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    // As wide as a day's chart: a few days are not squeezed into a corner.
    EXPECT_NE(chart.find("width=\"818\""), std::string::npos);
    // kDay's busiest hour holds two calls.
    const std::size_t day = page.find("<svg class=\"timeline\"");
    EXPECT_EQ(ticks(page.substr(day, page.find("</svg>", day) - day)), (std::vector<int>{0, 1, 2}));
    // More calls: steps of 1, 2 or 5 times a power of ten, at most five of them.
    std::string busy = init(9);
    for (int i = 0; i < 12; ++i) busy += foundLookup(10);
    const std::string busyPage = summary::htmlReport({{"b.log", summary::summarize(busy)}});
    const std::size_t busyDay = busyPage.find("<svg class=\"timeline\"");
    EXPECT_EQ(ticks(busyPage.substr(busyDay, busyPage.find("</svg>", busyDay) - busyDay)),
              (std::vector<int>{0, 5, 10, 15}));
}

namespace {

// A lookup refused twice: once, and again after the probe found the internet.
std::string retriedLookup(int minute) {
    const std::string at = day(16, minute, 0), later = day(16, minute, 20);
    auto refused = [](const std::string& when) {
        return entry(when, "SendRequest : RETURN vector<char> dwExitCode != 0 1") +
               entry(when,
                     "SendRequest : Windows error 12029: The attempt to connect to the server "
                     "failed.");
    };
    return lookupHead(at, "{\"CardToken\":7}") + refused(at) +
           entry(later, "SendRequestWrapper : RESPONSE WAS NULL, TRY CONNECT TO GOOGLE") +
           entry(later,
                 "SendRequestWrapper : GOOGLE WORKS, TRY ANOTHER ONE TO v1/GuestInfo/t "
                 "WITH Content-Type: application/json") +
           refused(later) + entry(later, "SendRequestWrapper : RESPONSE WAS NULL AGAIN, ERROR!") +
           entry(later, "SendRequestWrapper : AND INFO WAS NULL") + "[" + later +
           "] SendRequestWrapper : Info - \r\nNULL";
}

std::string onDate(std::string log, const std::string& date) {
    for (std::size_t p = log.find("12-07-2026"); p != std::string::npos;
         p = log.find("12-07-2026", p + 1))
        log.replace(p, 10, date);
    return log;
}

// Every `data-name="key">n<` of a page, or of its charts' bars, summed by key.
std::map<std::string, long long> figures(const std::string& page, const std::string& attribute) {
    std::map<std::string, long long> out;
    const std::regex figure(attribute + R"re((?:="([^"]*)")?>(?:<[^>]*>)?(\d+)<)re");
    for (std::sregex_iterator m(page.begin(), page.end(), figure), end; m != end; ++m)
        out[(*m)[1].str()] += std::stoll((*m)[2].str());
    return out;
}

long long bars(const std::string& page, const std::string& series, const std::string& chart) {
    long long n = 0;
    const std::regex bar("<rect class=\"" + series + "\" data-n=\"(\\d+)\"");
    for (std::size_t p = page.find("<svg class=\"" + chart + "\""); p != std::string::npos;
         p = page.find("<svg class=\"" + chart + "\"", p + 1)) {
        const std::string svg = page.substr(p, page.find("</svg>", p) - p);
        for (std::sregex_iterator m(svg.begin(), svg.end(), bar), end; m != end; ++m)
            n += std::stoll((*m)[1].str());
    }
    return n;
}

}  // namespace

// Every figure the page shows is the JSON's: the tables' and sentences'
// counts, and the charts' bars added up (calls Init apart, failed calls,
// failed exchanges with their retries).
TEST(LogSummary, ThePageShowsTheFiguresOfTheJson) {
    std::string retried = init(9);
    for (int i = 0; i < 10; ++i) retried += retriedLookup(i);
    const struct {
        const char* name;
        std::string log;
        long long calls, failedCalls, failedExchanges, outOfOrder;
        const char *first, *last;
    } cases[] = {
        {"a day", kDay, 5, 3, 2, 0, "12-07-2026 09:00:00", "12-07-2026 14:00:00"},
        {"ten lookups refused after a retry", retried, 10, 10, 20, 0, "12-07-2026 09:00:00",
         "12-07-2026 16:09:20"},
        {"a clock set back a minute", init(9) + foundLookup(14) + refusedLookup(13, 59), 2, 1, 1, 1,
         "12-07-2026 09:00:00", "12-07-2026 14:00:01"},
        {"two logs joined the wrong way round", onDate(kDay, "12-08-2026") + kDay, 10, 6, 4, 1,
         "12-07-2026 09:00:00", "12-08-2026 14:00:00"},
        {"a clock in 1969", onDate(kDay, "12-07-1969"), 5, 3, 2, 0, "12-07-1969 09:00:00",
         "12-07-1969 14:00:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const summary::Summary s = summary::summarize(c.log);
        const std::string page = summary::htmlReport({{"a.log", s}});
        const std::string json = summary::jsonReport({{"a.log", s}});
        rapidjson::Document d;
        d.Parse(json.c_str());
        ASSERT_FALSE(d.HasParseError()) << json;
        EXPECT_EQ(d["first"].GetString(), std::string(c.first));
        EXPECT_EQ(d["last"].GetString(), std::string(c.last));
        EXPECT_EQ(figures(page, "<span data-first")[""], 0);  // a stamp, not a count
        EXPECT_NE(page.find("<span data-first>" + std::string(c.first) + "</span>"),
                  std::string::npos);
        EXPECT_NE(page.find("<span data-last>" + std::string(c.last) + "</span>"),
                  std::string::npos);
        // The outages lie within the period.
        for (const auto& o : d["outages"].GetArray()) {
            EXPECT_GE(logformat::stampSeconds(o["from"].GetString()),
                      logformat::stampSeconds(c.first));
            EXPECT_LE(logformat::stampSeconds(o["to"].GetString()),
                      logformat::stampSeconds(c.last));
        }
        const long long outOfOrder =
            d.HasMember("stampsOutOfOrder") ? d["stampsOutOfOrder"].GetInt64() : 0;
        EXPECT_EQ(outOfOrder, c.outOfOrder);
        EXPECT_EQ(figures(page, "data-stamps-out-of-order")[""], outOfOrder);

        std::map<std::string, long long> calls, results, errors;
        for (const auto& m : d["calls"].GetObject()) calls[m.name.GetString()] = m.value.GetInt();
        for (const auto& k : d["results"].GetObject())
            for (const auto& r : k.value.GetObject())
                results[std::string(k.name.GetString()) + " " + r.name.GetString()] =
                    r.value.GetInt();
        for (const auto& e : d["errors"].GetObject()) errors[e.name.GetString()] = e.value.GetInt();
        EXPECT_EQ(figures(page, "data-calls"), calls);
        EXPECT_EQ(figures(page, "data-result"), results);
        EXPECT_EQ(figures(page, "data-error"), errors);
        EXPECT_EQ(figures(page, "data-exchanges")[""], d["exchanges"]["total"].GetInt());
        EXPECT_EQ(figures(page, "data-failed-exchanges")[""], d["exchanges"]["failed"].GetInt());
        EXPECT_EQ(figures(page, "data-probes-failed")[""], d["probes"]["failed"].GetInt());
        EXPECT_EQ(figures(page, "data-probes-succeeded")[""], d["probes"]["succeeded"].GetInt());
        EXPECT_EQ(figures(page, "data-restarts")[""], d["restarts"].GetInt());
        std::size_t outages = 0;
        for (std::size_t p = page.find("<tr data-outage>"); p != std::string::npos;
             p = page.find("<tr data-outage>", p + 1))
            ++outages;
        EXPECT_EQ(outages, d["outages"].Size());

        // The charts: each day's and each hour's bars add up to the JSON's counts.
        long long failedCalls = 0;
        for (const auto& r : results)
            if (r.first.substr(r.first.find(' ') + 1) != "0") failedCalls += r.second;
        EXPECT_EQ(calls["GetCardInfoEx"] + calls["TransactionsEx"], c.calls);
        EXPECT_EQ(failedCalls, c.failedCalls);
        EXPECT_EQ(d["exchanges"]["failed"].GetInt(), c.failedExchanges);
        for (const char* chart : {"overview", "timeline"}) {
            SCOPED_TRACE(chart);
            EXPECT_EQ(bars(page, "calls", chart), c.calls);
            EXPECT_EQ(bars(page, "failed-calls", chart), c.failedCalls);
            EXPECT_EQ(bars(page, "failed-exchanges", chart), c.failedExchanges);
        }
    }
}

namespace {

class TempFiles : public ::testing::Test {
  protected:
    std::string file(const std::string& name, const std::string& bytes) {
        const std::string path = ::testing::TempDir() + "hostemu-logtools-" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        made_.push_back(path);
        return path;
    }
    std::string read(const std::string& path) {
        std::ifstream f(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    }
    void TearDown() override {
        for (const std::string& p : made_) std::remove(p.c_str());
    }
    std::vector<std::string> made_;
};

bool sameName(const std::string& a, const std::string& b) { return a == b; }

}  // namespace

TEST_F(TempFiles, SummaryExitStatus) {
    const std::string good = file("good.log", kDay);
    const std::string page = file("page.html", "");
    struct Case {
        std::vector<std::string> logs;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {{good}, 0, ""},
        {{good, file("empty.log", "")}, 2, "holds no call"},
        {{file("cut.log", entry(day(1, 0, 0), "SendRequest : HTTP status 502"))},
         2,
         "holds no call"},
        {{file("dotted.log", entry("07.12.2026 15:24:17", "Init : Started"))},
         2,
         "dotted.log: its lines look like brisvane.log entries, but their time stamps (such as "
         "\"[07.12.2026 15:24:17]\")"},
        {{good, good + ".missing"}, 2, "cannot read log file"},
    };
    for (const Case& c : cases) {
        StringOutput out;
        EXPECT_EQ(runSummary(c.logs, false, page, out), c.status) << c.logs.back();
        EXPECT_NE(out.errText().find(c.err), std::string::npos) << out.errText();
    }
    StringOutput json;
    ASSERT_EQ(runSummary({good}, true, page, json), 0);
    EXPECT_EQ(json.outText().rfind("{\"first\":", 0), 0u);  // nothing but the object
    EXPECT_EQ(read(page).rfind("<!DOCTYPE html>", 0), 0u);
}

TEST_F(TempFiles, ShowPrintsACallWithItsResultAndCauseOnTop) {
    const std::string log = file("day.log", kDay);
    struct Case {
        long long call;
        std::string head;  // the heading and the first entry
        std::vector<std::string> has, lacks;
    };
    const Case cases[] = {
        {2,
         "Call 2: GetCardInfoEx, 12-07-2026 10:00:00 to 12-07-2026 10:00:01\n  result: 0\n"
         "  cause: none\n[12-07-2026 10:00:00] GetCardInfoEx : GetCardInfoEx from File1 Started!\n",
         {"Card_owner: Петрова Анна Сергеевна;\n",  // the record's Windows-1251, decoded
          "[12-07-2026 10:00:01] GetCardInfoEx : Ended successfully! RETURN 0\n"},
         {"\r", "Init : Started",
          "TRY SEND REQUEST TO v1/GuestInfo/tok-5c1e-secret WITH "
          "{\"CardToken\":1002}"}},
        {3,
         "Call 3: GetCardInfoEx, 12-07-2026 11:00:05 to 12-07-2026 11:00:15\n"
         "  result: 1 (failed)\n  cause: Windows error 12029 (The attempt to connect to the "
         "server failed.)\n[12-07-2026 11:00:05] GetCardInfoEx :",
         // The dump of no record ends without a line end; the next call is not glued on.
         {"SendRequestWrapper : Info - \nNULL\n"},
         {"ClearTheLog", "TransactionsEx"}},
        {4,
         "Call 4: TransactionsEx, 12-07-2026 11:30:00 to 12-07-2026 11:30:02\n"
         "  result: 1 (failed)\n  cause: HTTP status 502 (Bad Gateway)\n",
         {"TransactionsEx : Started\n", "<html><body>502 Bad Gateway</body></html>\n"},
         {"SendRequestWrapper : Info"}},
        {6,
         "Call 6: GetCardInfoEx, 12-07-2026 14:00:00\n  result: 1 (failed)\n"
         "  cause: no conf.xml (missing or not XML)\n",
         {"GetCardInfoEx : Cant get token! RETURN 1\n"},
         {}},
    };
    for (const Case& c : cases) {
        StringOutput out;
        ASSERT_EQ(runShow(log, c.call, out), 0) << out.errText();
        const std::string& text = out.outText();
        EXPECT_EQ(text.rfind(c.head, 0), 0u) << text;
        for (const std::string& part : c.has) EXPECT_NE(text.find(part), std::string::npos) << part;
        for (const std::string& part : c.lacks)
            EXPECT_EQ(text.find(part), std::string::npos) << part;
    }
    // Without --call: every call, each under its heading, one blank line between.
    StringOutput all;
    ASSERT_EQ(runShow(log, 0, all), 0);
    std::size_t headings = 0;
    for (std::size_t at = 0; (at = all.outText().find("\nCall ", at)) != std::string::npos; ++at)
        ++headings;
    EXPECT_EQ(all.outText().rfind("Call 1: Init, 12-07-2026 09:00:00\n  result: ended\n", 0), 0u);
    EXPECT_EQ(headings, 5u);
    EXPECT_NE(all.outText().find("NULL\n\nCall 4: TransactionsEx"), std::string::npos);
    // In Russian the headings change; the log's own lines stay byte for byte.
    StringOutput russian(kRussianCatalog);
    ASSERT_EQ(runShow(log, 0, russian), 0);
    for (const char* part :
         {"Вызов 1: Init, 07.12.2026 09:00:00\n  результат: завершён\n  причина: нет\n[",
          // The heading's dates day first, the log's stamps as written.
          "Вызов 2: GetCardInfoEx, с 07.12.2026 10:00:00 по 07.12.2026 10:00:01\n  результат: "
          "0\n  причина: нет\n[12-07-2026 10:00:00] GetCardInfoEx : GetCardInfoEx from File1",
          "Вызов 3: GetCardInfoEx, с 07.12.2026 11:00:05 по 07.12.2026 11:00:15\n  результат: 1 "
          "(ошибка)\n  причина: "}) {
        EXPECT_NE(russian.outText().find(part), std::string::npos) << part;
    }
    auto logLines = [](const std::string& text) {  // the lines that are not headings
        std::string kept;
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t end = text.find('\n', at);
            const std::string line = text.substr(at, end - at);
            if (line.rfind("Call ", 0) != 0 && line.rfind("Вызов ", 0) != 0 &&
                line.rfind("  ", 0) != 0)
                kept += line + "\n";
            at = end == std::string::npos ? text.size() : end + 1;
        }
        return kept;
    };
    EXPECT_EQ(logLines(russian.outText()), logLines(all.outText()));
    EXPECT_NE(logLines(all.outText()).find("Петрова"), std::string::npos);

    struct Bad {
        std::string file;
        long long call;
        std::string err;
    };
    const Bad bad[] = {
        {log, 7, "hostemu: the log holds 6 calls; there is no call 7\n"},
        {file("empty.log", ""), 0, "is no brisvane.log: the file is empty"},
        {file("notes.txt", "shopping list\r\n"), 0, "is no brisvane.log"},
        {log + ".missing", 0, "hostemu: cannot read log file"},
    };
    for (const Bad& b : bad) {
        StringOutput out;
        EXPECT_EQ(runShow(b.file, b.call, out), 2) << b.file;
        EXPECT_NE(out.errText().find(b.err), std::string::npos) << out.errText();
        EXPECT_EQ(out.outText(), "");
    }
}

namespace {

std::string redacted(const std::string& log, redact::Tally& tally) {
    return redact::redactLog(log, tally);
}

}  // namespace

namespace {

// Runs `work` on a thread with the 1 MiB stack that Windows gives a program's
// threads by default; false when the thread could not be made.
bool onWindowsSizedStack(const std::function<void()>& work) {
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0) return false;
    pthread_attr_setstacksize(&attr, 1 << 20);
    pthread_t thread;
    auto run = [](void* w) -> void* {
        (*static_cast<const std::function<void()>*>(w))();
        return nullptr;
    };
    const bool made =
        pthread_create(&thread, &attr, run, const_cast<std::function<void()>*>(&work)) == 0;
    pthread_attr_destroy(&attr);
    if (made) pthread_join(thread, nullptr);
    return made;
}

}  // namespace

// A guest reply nested 512 Ki arrays deep (1 MiB, the reply limit), which the
// DLL survives and logs: summary, redact and the replay's reader read it on a
// stack of the Windows default size.
// What a failed exchange's lines name reaches the heading whatever the body
// was, numbers as the log writes them, hostemu's own words in the reader's language.
TEST_F(TempFiles, ShowNamesStatusesAndNumbersAsLoggedInEachLanguage) {
    const std::string at = day(10, 0, 0);
    const std::string sent = std::string("v1/GuestInfo/") + kToken;
    const std::string noReply =
        entry(at, "SendRequestWrapper : RESPONSE WAS NULL, TRY CONNECT TO GOOGLE") +
        entry(at, "SendRequestWrapper : GOOGLE NOT WORKING, ERROR!") +
        entry(at, "SendRequestWrapper : AND INFO WAS NULL") + "[" + at +
        "] SendRequestWrapper : Info - \r\nNULL";
    const std::string log = file(
        "odd.log",
        lookupHead(at, "{\"Phone\":1}") +
            entry(at, "SendRequest : ERROR WHILE SENDING bRead == FALSE  ||  dwBytesRead == 0 " +
                          sent) +
            entry(at, "SendRequest : HTTP status 401") + noReply + lookupHead(at, "{\"Phone\":2}") +
            entry(at,
                  "SendRequest : ERROR WHILE SENDING WaitForSingleObject(hThread, "
                  "dwTimeout ) == WAIT_TIMEOUT " +
                      sent) +
            entry(at, "SendRequestWrapper : Error TimeoutExceeded RETURN 0") + noReply +
            lookupHead(at, "{\"Phone\":3}") +
            entry(at, "SendRequest : RETURN vector<char> dwExitCode != 0 1") +
            entry(at, "SendRequest : Windows error 99999999999999999999: Text.") +
            entry(at, "GetCardInfoEx : Error: status != 1 RETURN 99999999999999999999999") +
            lookupHead(at, "{\"Phone\":4}") +
            entry(at, "ANSWER FROM URL " + sent + " \n{\"Status\":1}") +
            entry(at, "SendRequest : HTTP status 4294967297") +
            entry(at, "GetCardInfoEx : Ended successfully! RETURN 0"));
    struct Case {
        long long call;
        const Catalog* catalog;
        std::vector<std::string> has, lacks;
    } cases[] = {
        {1,
         &kEnglishCatalog,
         {"  result: 1 (failed)\n  cause: HTTP status 401 (Unauthorized)\n"},
         {"empty reply"}},
        {2, &kEnglishCatalog, {"  cause: time-out\n"}, {}},
        {2, &kRussianCatalog, {"  причина: время ожидания ответа истекло\n"}, {"time-out"}},
        {3,
         &kEnglishCatalog,
         {"  result: 99999999999999999999999 (failed)\n"
          "  cause: Windows error 99999999999999999999 (Text.)\n"},
         {}},
        {4,
         &kRussianCatalog,
         {"  результат: 0\n  причина: нет (сбои по ходу вызова: код HTTP 4294967297)\n"},
         {}},
    };
    for (const Case& c : cases) {
        StringOutput out(*c.catalog);
        ASSERT_EQ(runShow(log, c.call, out), 0) << out.errText();
        for (const std::string& part : c.has)
            EXPECT_NE(out.outText().find(part), std::string::npos) << part << out.outText();
        for (const std::string& part : c.lacks)
            EXPECT_EQ(out.outText().find(part), std::string::npos) << part;
    }
}

TEST(LogRedact, DeepReplyOnAWindowsSizedStack) {
    const std::size_t depth = 512 * 1024;
    const std::string reply = std::string(depth, '[') + std::string(depth, ']');
    const std::string at = day(10, 0, 0);
    const std::string log =
        init(9) + lookupHead(at, "{\"Phone\":79161234567}") +
        entry(at, std::string("ANSWER FROM URL v1/GuestInfo/") + kToken + " \n" + reply) +
        entry(at, "GetCardInfoEx : Error: not ok jsonGuestInfo RETURN 1");
    summary::Summary s;
    std::string copy;
    redact::Tally tally;
    std::size_t calls = 0;
    ASSERT_TRUE(onWindowsSizedStack([&] {
        s = summary::summarize(log);
        copy = redacted(log, tally);
        calls = replay::splitCalls(copy, "", false).size();
    }));
    EXPECT_EQ(s.knownCalls(), 2);
    EXPECT_EQ(s.results[summary::Kind::Lookup]["1"], 1);
    EXPECT_EQ(calls, 2u);
    EXPECT_EQ(copy.find(kToken), std::string::npos);
    EXPECT_NE(copy.find(" \r\n[]\r\n"), std::string::npos);  // a root array keeps its kind only
}

TEST(LogRedact, NothingPersonalLeftAndTheCallsStayTheSame) {
    redact::Tally tally;
    const std::string out = redacted(kDay, tally);
    for (const std::string& secret :
         {std::string(kToken), std::string("79161234567"), std::string("1002"),
          std::string("Петрова"), utf8ToCp1251("Петрова"), utf8ToCp1251("Анна"),
          std::string("anna@mail.example"), std::string("window seat")})
        EXPECT_EQ(out.find(secret), std::string::npos) << secret;
    // Consistent: the same guest's number and name carry the same stand-ins throughout.
    EXPECT_EQ(out.find("cardcode=\"0079161234567\""), std::string::npos);
    EXPECT_NE(out.find("cardcode=\"0010000000001\""), std::string::npos) << out;
    EXPECT_NE(out.find("{\"Phone\":10000000001}"), std::string::npos);
    EXPECT_NE(out.find("{\"CardToken\":1003}"), std::string::npos);  // 1002 would be itself
    EXPECT_NE(
        out.find("\"LastName\":\"Name-1\",\"FirstName\":\"Name-2\",\"MiddleName\":\"Name-3\""),
        std::string::npos);
    EXPECT_NE(out.find("Card_owner: Name-1 Name-2 Name-3;"), std::string::npos);
    // Unknown members: booleans kept, numbers, texts and arrays removed; known ones kept.
    EXPECT_NE(out.find("\"Email\":\"guest1@example.invalid\",\"VIP\":true}"), std::string::npos)
        << out;
    EXPECT_NE(out.find("\"LoyaltyLevel\":\"Gold\",\"BonusBalance\":\"12.5\""), std::string::npos);
    EXPECT_EQ(out.find("Bad Gateway"), std::string::npos);  // a page may quote anything
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'),
              std::count(out.begin(), out.end(), '\r'));  // still CR LF throughout

    EXPECT_EQ(redact::tallyText(tally, kEnglishCatalog),
              "  API tokens: 8 replaced (1 value)\n"
              "  e-mail addresses: 2 replaced (1 value)\n"
              "  names: 8 replaced (3 values)\n"
              "  phone and card numbers: 6 replaced (2 values)\n"
              "  reply members of unknown meaning that held text or a number: 6 removed\n"
              "  replies cut or not JSON as a whole: 2 removed\n");

    // The redacted log reads as the same calls with the same results.
    const auto before = replay::splitCalls(kDay, "", true),
               after = replay::splitCalls(out, "", true);
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].kind, before[i].kind);
        EXPECT_EQ(after[i].result, before[i].result);
        EXPECT_TRUE(after[i].notReplayable == before[i].notReplayable);
        EXPECT_EQ(after[i].entries.size(), before[i].entries.size());
    }
    // Redacting twice changes nothing more.
    redact::Tally again;
    EXPECT_EQ(redacted(out, again).size(), out.size());
}

TEST(LogRedact, Replies) {
    struct Case {
        std::string reply, redacted;
    };
    const Case cases[] = {
        {"{\"Status\":1,\"SumDiscount\":30.50,\"MaxBonus\":1e2}",
         "{\"Status\":1,\"SumDiscount\":30.50,\"MaxBonus\":1e2}"},  // numbers as written
        {"{ \"FIO\" : \"Иванов\", \"Phone\": 79990001122, \"Birthday\": \"1990-01-02\" }",
         "{\"FIO\":\"Name-1\",\"Phone\":10000000001,\"Birthday\":\"birthday-1\"}"},
        {"{\"Guest\":{\"Name\":\"X\"},\"Count\":-3,\"Ok\":false,\"Gone\":null}", "{\"Ok\":false}"},
        {"{\"Message\":\"Привет, Иванов\",\"PrintMessage\":\"\"}",
         "{\"Message\":\"Comment-1\",\"PrintMessage\":\"\"}"},
        {"[\"Иванов\",1]", "[]"},
        {"{\"Status\":1,\"FIO\":\"Ива", "(reply removed: not JSON as a whole)"},
        {"{\"Status\":1} trailing", "(reply removed: not JSON as a whole)"},
        {"<html>Proxy login</html>", "(reply removed: not JSON as a whole)"},
    };
    for (const Case& c : cases) {
        redact::Tally tally;
        const std::string log = entry(day(1, 0, 0), "ANSWER FROM URL v1/GuestInfo/t \n" + c.reply);
        const std::vector<replay::LogEntry> e = replay::splitEntries(redacted(log, tally));
        ASSERT_EQ(e.size(), 1u) << c.reply;
        EXPECT_EQ(e[0].body, c.redacted) << c.reply;
    }
}

// Damaged logs and texts redact cannot place: whatever it did not recognise
// as safe is gone from the copy, which still holds every call.
TEST(LogRedact, NothingPersonalSurvivesOnADamagedOrStrangeLog) {
    auto ends = [](const std::string& log, const char* lineEnd) {
        std::string out;
        for (std::size_t i = 0; i < log.size(); ++i) {
            if (log.compare(i, 2, "\r\n") == 0) {
                out += lineEnd;
                ++i;
            } else {
                out += log[i];
            }
        }
        return out;
    };
    const std::string zeros(512, '\0');
    // A guest no other place of these logs names.
    const std::string other =
        "{\"Status\":1,\"ClientId\":\"77\",\"LastName\":\"Смирнова\",\"FirstName\":"
        "\"Ольга\",\"MiddleName\":\"\",\"Email\":\"olga@mail.example\"}";
    const std::string otherLookup =
        lookupHead(day(12, 0, 0), "{\"Phone\":79035556677}") +
        entry(day(12, 0, 0),
              std::string("ANSWER FROM URL v1/GuestInfo/") + kToken + " \n" + other) +
        entry(day(12, 0, 1), "GetCardInfoEx : Ended successfully! RETURN 0");
    const std::string numbers = kGuest.substr(0, kGuest.size() - 1) +
                                ",\"Telephone\":79035556677,\"CardNo\":4276000011112222}";
    struct Case {
        const char* shape;
        std::string log;
    } cases[] = {
        {"zero bytes before a reply",
         init(9) + lookupHead(day(10, 0, 0), "{\"Phone\":79161234567}") + zeros +
             entry(day(10, 0, 0), std::string("ANSWER FROM URL v1/GuestInfo/") + kToken + " \n" +
                                      kGuest + numbers.substr(numbers.find(",\"Tele"))) +
             entry(day(10, 0, 1), "GetCardInfoEx : Ended successfully! RETURN 0")},
        {"zero bytes, then text", init(9) + foundLookup(10) + zeros +
                                      "ьга, 79035556677, olga@mail.example\r\n" + foundLookup(13)},
        {"CR alone", ends(kDay + otherLookup, "\r")},
        {"mixed line ends", kDay + ends(otherLookup, "\r")},
        {"numbers under unknown names",
         init(9) + lookupHead(day(10, 0, 0), "{\"Phone\":79161234567}") +
             entry(day(10, 0, 0),
                   std::string("ANSWER FROM URL v1/GuestInfo/") + kToken + " \n" + numbers) +
             entry(day(10, 0, 1), "GetCardInfoEx : Ended successfully! RETURN 0")},
        {"names in UTF-8 and Windows-1251 on lines the module does not write",
         kDay + entry(day(15, 0, 0), "GetCardInfoEx : for Смирнова, 79035556677") +
             entry(day(15, 0, 0), utf8ToCp1251("Ольга") + " : olga@mail.example") +
             entry(day(15, 0, 0), "Note olga@mail.example\n" + utf8ToCp1251("Смирнова"))},
        {"a page quoting the token and a name",
         kDay + lookupHead(day(15, 0, 0), "{\"Phone\":79161234567}") +
             entry(day(15, 0, 0), "ANSWER FROM URL v1/GuestInfo/" + std::string(kToken) +
                                      " \n<p>Ольга " + kToken + "</p>")},
    };
    const std::string secrets[] = {kToken,
                                   "Петрова",
                                   "Анна",
                                   "Смирнова",
                                   "Ольга",
                                   "anna@mail.example",
                                   "olga@mail.example",
                                   "window seat",
                                   "79161234567",
                                   "79035556677",
                                   "4276000011112222"};
    for (const Case& c : cases) {
        redact::Tally tally;
        const std::string out = redacted(c.log, tally);
        for (const std::string& secret : secrets) {
            EXPECT_EQ(out.find(secret), std::string::npos) << c.shape << ": " << secret;
            EXPECT_EQ(out.find(utf8ToCp1251(secret)), std::string::npos)
                << c.shape << ": " << secret;
        }
        EXPECT_FALSE(tally.leftOver) << c.shape;
        // Sums up the same.
        auto json = [](const std::string& log) {
            return summary::jsonReport({{"log", summary::summarize(log)}});
        };
        EXPECT_EQ(json(out), json(c.log)) << c.shape;
    }
}

// "FullName" holds the same text the record joins from the parts: the copy's
// record dump shows the parts' stand-ins joined, as the DLL rebuilds it.
TEST(LogRedact, TheRecordShowsThePartsStandInsWhereFullNameCameFirst) {
    const std::string at = day(10, 0, 0);
    const std::string reply =
        "{\"Status\":1,\"FullName\":\"Петрова Анна Сергеевна\",\"LastName\":\"Петрова\","
        "\"FirstName\":\"Анна\",\"MiddleName\":\"Сергеевна\"}";
    const std::string log =
        lookupHead(at, "{\"Phone\":79161234567}") +
        entry(at, std::string("ANSWER FROM URL v1/GuestInfo/") + kToken + " \n" + reply) +
        entry(at, "GetCardInfoEx RESULT INFO : Info - \nCard_owner: " +
                      utf8ToCp1251("Петрова Анна Сергеевна") + ";\n") +
        entry(at, "GetCardInfoEx : Ended successfully! RETURN 0");
    redact::Tally tally;
    const std::vector<replay::LogEntry> e = replay::splitEntries(redacted(log, tally));
    ASSERT_EQ(e.size(), 7u);
    EXPECT_EQ(e[4].body,
              "{\"Status\":1,\"FullName\":\"Name-1\",\"LastName\":\"Name-2\",\"FirstName\":"
              "\"Name-3\",\"MiddleName\":\"Name-4\"}");
    EXPECT_EQ(e[5].body, "Card_owner: Name-2 Name-3 Name-4;\n\n");
}

TEST_F(TempFiles, RedactNeverWritesOverItsLog) {
    const std::string log = file("in.log", kDay);
    StringOutput refused;
    EXPECT_EQ(runRedact(log, log, sameName, refused), 2);
    EXPECT_NE(refused.errText().find("is the log itself"), std::string::npos);
    EXPECT_EQ(read(log), kDay);

    const std::string copy = file("out.log", "");
    StringOutput done;
    ASSERT_EQ(runRedact(log, copy, sameName, done), 0);
    EXPECT_EQ(read(log), kDay);
    EXPECT_EQ(read(copy).find(kToken), std::string::npos);
    EXPECT_NE(done.outText().find("  API tokens: 8 replaced (1 value)\n"), std::string::npos);
    StringOutput missing;
    EXPECT_EQ(runRedact(log + ".missing", copy, sameName, missing), 2);

    // A token that every stamp holds cannot be replaced everywhere: no copy.
    std::string stampToken = kDay;
    for (std::size_t p = stampToken.find(kToken); p != std::string::npos;
         p = stampToken.find(kToken, p))
        stampToken.replace(p, sizeof kToken - 1, "2026");
    const std::string none = file("none.log", "");
    StringOutput leaky;
    EXPECT_EQ(runRedact(file("stamps.log", stampToken), none, sameName, leaky), 2);
    EXPECT_NE(leaky.errText().find(none + " not written: "), std::string::npos) << leaky.errText();
    EXPECT_EQ(read(none), "");
}

// redact's report in Russian: the kinds in the same order, the counts in
// their plural forms; the names of the files as given.
TEST_F(TempFiles, RedactReportsInTheReadersLanguage) {
    const std::string log = file("in.log", kDay), copy = file("out.log", "");
    StringOutput russian(kRussianCatalog);
    ASSERT_EQ(runRedact(log, copy, sameName, russian), 0);
    const std::string out = russian.outText();
    EXPECT_EQ(out.rfind("Записана обезличенная копия " + copy + " (", 0), 0u) << out;
    EXPECT_NE(out.find(" журнала " + log + " ("), std::string::npos) << out;
    EXPECT_NE(out.find("). Заменено:\n"
                       "  токены API: заменено 8 (1 значение)\n"
                       "  адреса электронной почты: заменено 2 (1 значение)\n"
                       "  имена: заменено 8 (3 значения)\n"
                       "  номера телефонов и карт: заменено 6 (2 значения)\n"
                       "  поля ответов неизвестного назначения с текстом или числом: удалено 6\n"
                       "  ответы, оборванные или не в формате JSON целиком: удалено 2\n"),
              std::string::npos)
        << out;
    StringOutput refused(kRussianCatalog);
    EXPECT_EQ(runRedact(log, log, sameName, refused), 2);
    EXPECT_EQ(refused.errText(),
              "hostemu: " + log + " — это сам журнал; укажите для копии другой файл\n");

    struct Case {
        redact::Tally tally;
        std::string russian, english;
    };
    redact::Tally head;
    head.droppedHead = 3;
    head.unreadableReplies = 1;
    redact::Tally birthdays;
    birthdays.places[Msg::redact_kind_birthdays] = 5;
    birthdays.values[Msg::redact_kind_birthdays] = 5;
    birthdays.droppedHead = 21;
    const Case cases[] = {
        {redact::Tally(), "  заменять нечего\n", "  nothing to replace\n"},
        {head,
         "  ответы, оборванные или не в формате JSON целиком: удалено 1\n"
         "  текст до первой записи (журнал начинается посреди записи): удалено 3 байта\n",
         "  replies cut or not JSON as a whole: 1 removed\n"
         "  text before the first entry (the log starts within one): 3 bytes removed\n"},
        {birthdays,
         "  даты рождения: заменено 5 (5 значений)\n"
         "  текст до первой записи (журнал начинается посреди записи): удалено 21 байт\n",
         "  birthdays: 5 replaced (5 values)\n"
         "  text before the first entry (the log starts within one): 21 bytes removed\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(redact::tallyText(c.tally, kRussianCatalog), c.russian);
        EXPECT_EQ(redact::tallyText(c.tally, kEnglishCatalog), c.english);
    }
}

TEST(LogRedact, WhatARecordShowsIsReplacedWhereverItStands) {
    // The guest's name also stands in the check (Windows-1251) and in a line that
    // quotes the reply (UTF-8); a longer word that merely starts with it stays.
    const std::string log =
        foundLookup(10) +
        entry(day(10, 0, 2), "PARSE XML FROM GetCardInfoEx \n<CHECK guest=\"" +
                                 utf8ToCp1251("Петрова Анна Сергеевна") + "\" note=\"" +
                                 utf8ToCp1251("Аннабель") +
                                 "\" tel=\"79161234567\" n=\"791612345670\"/>") +
        entry(day(10, 0, 3), "GetCardInfoEx : ERROR service reply not usable: Анна RETURN 1");
    redact::Tally tally;
    const std::vector<replay::LogEntry> e = replay::splitEntries(redacted(log, tally));
    ASSERT_EQ(e.size(), 9u);
    EXPECT_EQ(e[7].body, "<CHECK guest=\"Name-1 Name-2 Name-3\" note=\"" +
                             utf8ToCp1251("Аннабель") +
                             "\" tel=\"10000000001\" n=\"791612345670\"/>");
    EXPECT_EQ(e[8].body, "ERROR service reply not usable: Name-2 RETURN 1");
}

// The summary in Russian: the words change, the log's own texts (Windows'
// texts of the errors), the numbers and the JSON do not.
TEST_F(TempFiles, SummaryInRussian) {
    const std::string a = file("ru-a.log", kDay), b = file("ru-b.log", init(8) + foundLookup(12));
    const std::string page = file("ru-page.html", "");
    StringOutput english, russian(kRussianCatalog);
    ASSERT_EQ(runSummary({a, b}, false, page, english), 0);
    const std::string englishPage = read(page);
    ASSERT_EQ(runSummary({a, b}, false, page, russian), 0);
    const std::string text = russian.outText(), html = read(page);
    for (const std::string& part : std::vector<std::string>{
             "  Период: 07.12.2026 09:00:00 — 07.12.2026 14:00:00\n",
             "  Вызовы: Init 1, GetCardInfoEx 4, TransactionsEx 1\n",
             "    GetCardInfoEx: 2 с результатом 0, 2 с результатом 1\n", "  Сбои по причинам:\n",
             "    1  ошибка Windows 12029: The attempt to connect to the server failed.\n",
             "  Проверка доступа в интернет: не прошла — 1, прошла — 0\n",
             "    10 с  вызов 3 GetCardInfoEx, начало: 07.12.2026 11:00:05, результат 1\n",
             "  Перезапуски (Init): 1; версии: 37 (впервые 07.12.2026 09:00:00)\n",
             "    07.12.2026 11:00:05 — 07.12.2026 11:30:02: 2 неудачных обмена (ошибка Windows "
             "12029, код HTTP 502)\n",
             "Всего журналов: 2\n", "Страница: " + page + "\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    for (const char* part :
         {"<html lang=\"ru\">", "<title>Сводка по brisvane.log</title>",
          "<th>Функция</th><th>Вызовы</th><th>Результаты</th>",
          "<span data-result=\"GetCardInfoEx 0\">2</span> с результатом 0",
          "<td data-error=\"Windows error 12029\">1</td>",
          "<title>11:00–12:00: 2 вызова, 2 неудачных вызова, 2 неудачных обмена (",
          "<h3>Перебои связи (все обмены неудачны)</h3>",
          // Dates day first on the page too: the heading of a day, the chart's
          // labels, the period, an outage's row.
          "<h3>07.12.2026</h3>", ">07.12</text>", "<span data-first>07.12.2026 09:00:00</span>",
          "<tr data-outage><td>07.12.2026 11:00:05</td><td>07.12.2026 11:30:02</td>"})
        EXPECT_NE(html.find(part), std::string::npos) << part;
    EXPECT_NE(englishPage.find("<html lang=\"en\">"), std::string::npos);
    for (const char* part :
         {"<h3>12-07-2026</h3>", ">12-07</text>", "<span data-first>12-07-2026 09:00:00</span>"})
        EXPECT_NE(englishPage.find(part), std::string::npos) << part;
    EXPECT_EQ(text.find(" returned "), std::string::npos) << text;
    StringOutput json(kRussianCatalog), englishJson;
    ASSERT_EQ(runSummary({a, b}, true, "", json), 0);
    ASSERT_EQ(runSummary({a, b}, true, "", englishJson), 0);
    EXPECT_EQ(json.outText(), englishJson.outText());
    // Causes hostemu names itself are translated; the key a program reads is not.
    const std::string refused =
        file("ru-refused.log",
             init(9) + lookupEnding("12-07-2026 10:00:00", "Cant get token! RETURN 1", true));
    StringOutput causes(kRussianCatalog);
    ASSERT_EQ(runSummary({refused}, false, page, causes), 0);
    EXPECT_NE(causes.outText().find("    1  нет токена для этого чека\n"), std::string::npos)
        << causes.outText();
    EXPECT_NE(read(page).find("<td>нет токена для этого чека</td><td data-error=\"no token for "
                              "the check\">1</td>"),
              std::string::npos);
    StringOutput empty(kRussianCatalog);
    EXPECT_EQ(runSummary({file("ru-empty.log", "")}, false, "", empty), 2);
    EXPECT_NE(empty.errText().find("нет вызовов (ни один Init"), std::string::npos)
        << empty.errText();
}

TEST(LogSummary, CountedNounsInEachLanguage) {
    const struct {
        const Catalog* catalog;
        int n;
        const char* text;
    } cases[] = {
        {&kEnglishCatalog, 1, "1 call"},        {&kEnglishCatalog, 2, "2 calls"},
        {&kEnglishCatalog, 0, "0 calls"},       {&kRussianCatalog, 1, "1 вызов"},
        {&kRussianCatalog, 21, "21 вызов"},     {&kRussianCatalog, 2, "2 вызова"},
        {&kRussianCatalog, 34, "34 вызова"},    {&kRussianCatalog, 5, "5 вызовов"},
        {&kRussianCatalog, 0, "0 вызовов"},     {&kRussianCatalog, 11, "11 вызовов"},
        {&kRussianCatalog, 12, "12 вызовов"},   {&kRussianCatalog, 114, "114 вызовов"},
        {&kRussianCatalog, 111, "111 вызовов"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(summary::counted(*c.catalog, PluralMsg::summary_calls, c.n), c.text) << c.n;
}

// Numbers beyond an int: shown as the log writes them, counted apart, and the
// JSON still loads.
TEST(LogSummary, NumbersThatDoNotFitAsWritten) {
    const std::string log =
        init(9) + lookupEnding(day(10, 0, 0), "Cant get token! RETURN 99999999999", false) +
        lookupEnding(day(10, 0, 1), "Cant get token! RETURN -000000000000000000001", false);
    const summary::Summary s = summary::summarize(log);
    const std::string json = summary::jsonReport({{"a.log", s}});
    rapidjson::Document d;
    d.Parse(json.c_str());
    ASSERT_FALSE(d.HasParseError()) << json;
    EXPECT_EQ(d["numbersAsWritten"].GetInt(), 1) << json;
    EXPECT_TRUE(d["results"]["GetCardInfoEx"].HasMember("-1")) << json;
    EXPECT_TRUE(d["results"]["GetCardInfoEx"].HasMember("99999999999")) << json;
    const std::string text = summary::textReport({{"a.log", s}});
    EXPECT_NE(text.find("returned 99999999999"), std::string::npos) << text;
    EXPECT_NE(text.find("    Results, Windows errors and HTTP statuses beyond a 32-bit number, "
                        "shown as the log writes them: 1\n"),
              std::string::npos)
        << text;
    EXPECT_NE(summary::htmlReport({{"a.log", s}}).find("<span data-numbers-as-written>1</span>"),
              std::string::npos);
    EXPECT_EQ(summary::jsonReport({{"a.log", summary::summarize(kDay)}}).find("AsWritten"),
              std::string::npos);
}

// Bytes that are not UTF-8 are shown as "\xNN" in every report: the JSON loads.
TEST(LogSummary, BytesThatAreNotUtf8AreShownAsSuch) {
    const struct {
        const char *written, *shown;
    } cases[] = {
        {"37", "37"},
        {"Петрова", "Петрова"},
        {"37\xff", "37\\xFF"},
        {"\xc3(", "\\xC3("},                  // a lead byte without its follower
        {"\xc0\xaf", "\\xC0\\xAF"},           // an overlong form
        {"\xed\xa0\x80", "\\xED\\xA0\\x80"},  // a surrogate
        {"\xe2\x82", "\\xE2\\x82"},           // cut short at the end
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shownUtf8(c.written), c.shown) << c.shown;
        std::string log = init(9);
        log.replace(log.find("VERSION: 37") + 9, 2, c.written);
        const summary::Summary s = summary::summarize(log);
        rapidjson::Document d;
        const std::string json = summary::jsonReport({{"a.log", s}});
        d.Parse(json.c_str());
        ASSERT_FALSE(d.HasParseError()) << json;
        EXPECT_EQ(d["versions"][0].GetString(), std::string(c.shown));
        EXPECT_TRUE(isUtf8(summary::textReport({{"a.log", s}})));
        EXPECT_TRUE(isUtf8(summary::htmlReport({{"a.log", s}})));
    }
}

// Outages that overlap across tills are the service's or the network's; one
// seen at a single till is that till's own.
TEST(LogSummary, OutagesSeenAtSeveralTillsAtOnce) {
    const std::vector<summary::NamedSummary> logs = {
        {"a.log", summary::summarize(kDay)},
        {"b.log", summary::summarize(init(8) + refusedLookup(11, 20))},
        {"c.log", summary::summarize(init(8) + refusedLookup(16))}};
    const std::string text = summary::textReport(logs);
    for (const char* line :
         {"  Outages seen at several tills at once (the service's or the network's): 1\n"
          "    12-07-2026 11:00:05 to 12-07-2026 11:30:02: at 2 tills (a.log, b.log)\n"
          "  Outages seen at one till only (that till's own): 1\n"})
        EXPECT_NE(text.find(line), std::string::npos) << text;
    const std::string json = summary::jsonReport(logs);
    EXPECT_NE(json.find("\"sharedOutages\":[{\"from\":\"12-07-2026 11:00:05\",\"to\":\"12-07-2026 "
                        "11:30:02\",\"logs\":[\"a.log\",\"b.log\"]}],\"ownOutages\":1,"),
              std::string::npos)
        << json;
    const std::string page = summary::htmlReport(logs);
    EXPECT_NE(page.find("<span data-own-outages>1</span>"), std::string::npos);
    EXPECT_NE(page.find("<tr data-shared-outage><td>12-07-2026 11:00:05</td><td>12-07-2026 "
                        "11:30:02</td><td>2</td><td>a.log, b.log</td></tr>"),
              std::string::npos);
}
