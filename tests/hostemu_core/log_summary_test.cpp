// hostemu summary and redact over logs written the way the DLL writes them.
#include <gtest/gtest.h>
#include <pthread.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <regex>

#include "cli/Output.h"
#include "logread/LogCalls.h"
#include "redact/LogRedact.h"
#include "redact/RedactRun.h"
#include "replay/ReplayVerdict.h"
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
std::string refusedLookup(int hour) {
    const std::string at = day(hour, 0, 5);
    return lookupHead(at, "{\"CardToken\":1002}") +
           entry(at, "SendRequest : RETURN vector<char> dwExitCode != 0 1") +
           entry(at,
                 "SendRequest : Windows error 12029: The attempt to connect to the server "
                 "failed.") +
           entry(day(hour, 0, 15),
                 "SendRequestWrapper : RESPONSE WAS NULL, TRY CONNECT TO GOOGLE") +
           entry(day(hour, 0, 15), "SendRequestWrapper : GOOGLE NOT WORKING, ERROR!") +
           entry(day(hour, 0, 15), "SendRequestWrapper : AND INFO WAS NULL") + "[" +
           day(hour, 0, 15) + "] SendRequestWrapper : Info - \r\nNULL";
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
    EXPECT_EQ(summary::stampSeconds("01-01-1970 00:00:00"), 0);
    EXPECT_EQ(
        summary::stampSeconds("03-01-2024 00:00:00") - summary::stampSeconds("02-28-2024 23:59:59"),
        86400 + 1);  // a leap year
    EXPECT_EQ(
        summary::stampSeconds("12-07-2026 10:00:05") - summary::stampSeconds("12-07-2026 09:59:55"),
        10);
    for (const char* bad : {"", "13-01-2024 00:00:00", "1-01-2024 00:00:00", "01-01-2024 24:00:00",
                            "01-01-2024T00:00:00"})
        EXPECT_EQ(summary::stampSeconds(bad), -1) << bad;
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
    const long long midnight = summary::stampSeconds("12-07-2026 00:00:00");
    for (const auto& f : forms)
        EXPECT_EQ(summary::stampSeconds(f.stamp), f.seconds < 0 ? -1 : midnight + f.seconds)
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
    EXPECT_EQ(replay::whyNoCalls(dotted, replay::splitCalls(dotted, "", false)),
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
          "<title>11:00 to 12:00: 2 calls</title>"})
        EXPECT_NE(page.find(part), std::string::npos) << part;
    // Self-contained: nothing is fetched from elsewhere.
    for (const char* outside : {"<script", "<link", "src=", "@import", "url("})
        EXPECT_EQ(page.find(outside), std::string::npos) << outside;
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
    EXPECT_EQ(s.results["GetCardInfoEx"][1], 1);
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
    // Unknown members: numbers and booleans kept, texts and arrays removed; known ones kept.
    EXPECT_NE(out.find("\"Email\":\"guest1@example.invalid\",\"Visits\":14,\"VIP\":true}"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("\"LoyaltyLevel\":\"Gold\",\"BonusBalance\":\"12.5\""), std::string::npos);
    EXPECT_NE(out.find("<html><body>502 Bad Gateway</body></html>"), std::string::npos);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'),
              std::count(out.begin(), out.end(), '\r'));  // still CR LF throughout

    EXPECT_EQ(redact::tallyText(tally),
              "  API tokens: 8 replaced (1 value)\n"
              "  e-mail addresses: 2 replaced (1 value)\n"
              "  names: 8 replaced (3 values)\n"
              "  phone and card numbers: 6 replaced (2 values)\n"
              "  reply members of unknown meaning that held text: 4 removed\n");

    // The redacted log reads as the same calls with the same results.
    const auto before = replay::splitCalls(kDay, "", true),
               after = replay::splitCalls(out, "", true);
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].kind, before[i].kind);
        EXPECT_EQ(after[i].result, before[i].result);
        EXPECT_EQ(after[i].notReplayable, before[i].notReplayable);
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
        {"{\"Guest\":{\"Name\":\"X\"},\"Count\":-3,\"Ok\":false,\"Gone\":null}",
         "{\"Count\":-3,\"Ok\":false}"},
        {"{\"Message\":\"Привет, Иванов\",\"PrintMessage\":\"\"}",
         "{\"Message\":\"Comment-1\",\"PrintMessage\":\"\"}"},
        {"[\"Иванов\",1]", "[]"},
        {"{\"Status\":1,\"FIO\":\"Ива", "(reply removed: not JSON as a whole)"},
        {"{\"Status\":1} trailing", "(reply removed: not JSON as a whole)"},
        {"<html>Proxy login</html>", "<html>Proxy login</html>"},
    };
    for (const Case& c : cases) {
        redact::Tally tally;
        const std::string log = entry(day(1, 0, 0), "ANSWER FROM URL v1/GuestInfo/t \n" + c.reply);
        const std::vector<replay::LogEntry> e = replay::splitEntries(redacted(log, tally));
        ASSERT_EQ(e.size(), 1u) << c.reply;
        EXPECT_EQ(e[0].body, c.redacted) << c.reply;
    }
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
