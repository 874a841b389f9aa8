// The log's table of events: every row formatted with sample values reads back
// as that row with those values, and the frame reads back what it wrote.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

#include "log/LogEvents.h"
#include "log/LogFormat.h"

namespace {

using logevent::Event;

// Sample values by parameter name; each parameter the table names has one.
const std::map<std::string, std::string> kSamples = {
    {"version", "37"},
    {"conf", "<Configuration>\n<SSL>true</SSL>\n</Configuration>"},
    {"input", "<CHECK chmode=\"1\"/>\n"},
    {"result", "-3"},
    {"reply", "{\"Status\":2,\"ErrorMessage\":\"no : RETURN 1\"}"},
    {"code", "12029"},
    {"missing", "Node CHECKDATA not found"},
    {"what", "Member Status is not a number (x) RETURN 2"},
    {"mode", "14"},
    {"body", "{\"Phone\":79161234567}"},
    {"id", "501"},
    // Not ending in a digit: "{path}{code}" gives the code all the digits at
    // its end (the reader knows the path from the request's announcement).
    {"path", "v1/GuestInfo/tok-a"},
    {"headers", "Content-Type:application/json;\r\n"},
    {"exitCode", "1"},
    {"text", "The attempt to connect to the server failed."},
    {"status", "407"},
    {"limit", "1048576"},
};

TEST(LogEvents, EveryRowReadsBackAsItselfWithItsValues) {
    std::set<std::string> texts;
    for (const logevent::Row& row : logevent::rows()) {
        const std::string what = std::string(row.tag ? row.tag : "(flow)") + " : " + row.text;
        EXPECT_EQ(&logevent::row(row.event), &row) << what;
        EXPECT_TRUE(texts.insert(what).second) << "twice: " << what;
        std::vector<logevent::Arg> args;
        std::vector<std::pair<std::string, std::string>> expected;
        for (const char* p = row.text; (p = std::strchr(p, '{')) != nullptr; ++p) {
            const char* close = std::strchr(p, '}');
            const std::string name(p + 1, close);
            ASSERT_TRUE(kSamples.count(name)) << "no sample for {" << name << "} in " << what;
            expected.emplace_back(name, kSamples.at(name));
        }
        // The formatter takes named parameters in any order.
        std::string text;
        switch (expected.size()) {
            case 0: text = logevent::format(row.event); break;
            case 1:
                text =
                    logevent::format(row.event, {{expected[0].first.c_str(), expected[0].second}});
                break;
            case 2:
                text =
                    logevent::format(row.event, {{expected[1].first.c_str(), expected[1].second},
                                                 {expected[0].first.c_str(), expected[0].second}});
                break;
            default: FAIL() << "more parameters than the test gives: " << what;
        }
        for (const char* tag : {row.tag, logtag::kGetCardInfoEx, logtag::kTransactionsEx}) {
            if (tag == nullptr) continue;
            const logevent::Match m = logevent::match(tag, text);
            ASSERT_TRUE(m) << what << "\n" << text;
            EXPECT_EQ(m.row->event, row.event) << what << "\nmatched " << m.row->text;
            EXPECT_EQ(m.args, expected) << what;
            if (row.tag) break;  // a row of its own tag
        }
    }
}

TEST(LogEvents, NumbersOfAnyLengthAndTextsAroundThemReadBackAsWritten) {
    struct Case {
        const char* tag;
        const char* line;
        Event event;
        const char* name;
        const char* value;
    } cases[] = {
        {logtag::kGetCardInfoEx, "num != 0 && num != 2 RETURN 99999999999999999999999",
         Event::NumNotLookup, "result", "99999999999999999999999"},
        {logtag::kSendRequest, "Windows error 99999999999999999999: ", Event::WindowsError, "code",
         "99999999999999999999"},
        {logtag::kSendRequest, "HTTP status 4294967297", Event::HttpStatus, "status", "4294967297"},
        // A path ending in digits before the code: the code is the last run of digits.
        {logtag::kSendRequest, "ERROR WHILE SENDING hRequest == NULL v1/GuestInfo/tok12007",
         Event::NoRequestHandle, "code", "12007"},
        // The most specific row wins over "ERROR {missing} RETURN 1".
        {logtag::kTransactionsEx, "ERROR ClientId not found RETURN 1", Event::ClientIdNotFound, "",
         ""},
        {logtag::kTransactionsEx, "ERROR Attribute sum not found RETURN 1",
         Event::CheckContentMissing, "missing", "Attribute sum not found"},
        {logtag::kInit, "Started", Event::InitStarted, "", ""},
        {logtag::kTransactionsEx, "Started", Event::PostingStarted, "", ""},
        {logtag::kSendGetDiscount, "Started", Event::DiscountStarted, "", ""},
    };
    for (const Case& c : cases) {
        const logevent::Match m = logevent::match(c.tag, c.line);
        ASSERT_TRUE(m) << c.line;
        EXPECT_EQ(m.row->event, c.event) << c.line;
        EXPECT_EQ(m.arg(c.name), c.value) << c.line;
    }
    // Not a number where one stands, a tag of another row, text left over.
    for (const auto& [tag, line] : std::vector<std::pair<const char*, const char*>>{
             {logtag::kSendRequest, "HTTP status "},
             {logtag::kSendRequest, "HTTP status 40x"},
             {logtag::kGetCardInfoEx, "HTTP status 404"},
             {logtag::kInit, "Started!"},
             {logtag::kSendRequest, "Windows error 5"}}) {
        EXPECT_FALSE(logevent::match(tag, line)) << tag << " : " << line;
    }
}

TEST(LogFormat, HeadsFrameTheStampAndReadBack) {
    const std::string stamp = "12-07-2026 18:23:36";
    struct Case {
        std::string written;
        logformat::EntryKind kind;
        const char* tag;
        const char* body;
    } cases[] = {
        {logformat::messageHead(stamp, "GetCardInfoEx") + "Ended successfully! RETURN 0\n",
         logformat::EntryKind::Message, "GetCardInfoEx", "Ended successfully! RETURN 0"},
        {logformat::answerHead(stamp, "v1/GuestInfo/t") + "{\"Status\":1}\n",
         logformat::EntryKind::Answer, "v1/GuestInfo/t", "{\"Status\":1}"},
        {logformat::parsedXmlHead(stamp, "if(s < start_check_data )") + "<CHECK/>\n",
         logformat::EntryKind::ParsedXml, "if(s < start_check_data )", "<CHECK/>"},
        {logformat::dumpHead(stamp, "SendRequestWrapper") + logformat::kDumpOfNoRecord,
         logformat::EntryKind::Dump, "SendRequestWrapper", "NULL"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(logformat::framedStampLength(c.written, 0), stamp.size() + 3) << c.written;
        ASSERT_TRUE(logformat::entryStartsAt(c.written, 0));
        const logformat::EntryParts e =
            logformat::parseEntry(c.written.substr(logformat::framedStampLength(c.written, 0)));
        EXPECT_EQ(e.kind, c.kind) << c.written;
        EXPECT_EQ(e.tag, c.tag);
        EXPECT_EQ(e.body, c.body);
    }
    // Every form of stamp a till's log may hold, and the empty one.
    for (const char* s : {"[12-07-2026 18:23:36] ", "[12-07-2026 6:23:36 PM] ",
                          "[12-07-2026 06:23:36 AM] ", "[12-07-2026 9:05:09] ", "[] "})
        EXPECT_EQ(logformat::framedStampLength(s, 0), std::strlen(s)) << s;
    for (const char* s : {"[12-07-2026 18:23] ", "[12-07-2026 13:23:36 PM] ", "[x] ", "[]"})
        EXPECT_EQ(logformat::framedStampLength(s, 0), 0u) << s;
}

}  // namespace
