// The replay's log reader, its server-side request parser and its verdicts on
// replayed calls.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "SampleLog.h"
#include "files/FileBytes.h"
#include "log/Logger.h"
#include "logread/RecordDump.h"
#include "replay/ReplayVerdict.h"
#include "replay/RequestParser.h"

TEST(RequestParser, ReadsWholeRequestsOnly) {
    struct Case {
        std::string in;
        replay::Parse parse;
        std::string path, body;
    };
    const std::string big(replay::kMaxRequestBytes + 1, 'x');
    const Case cases[] = {
        {"POST /v1/GuestInfo/t HTTP/1.1\r\nContent-Length: 4\r\n\r\nabcd", replay::Parse::Done,
         "v1/GuestInfo/t", "abcd"},
        {"POST /p HTTP/1.1\r\nCONTENT-LENGTH:2\r\nX: y\r\n\r\nabcd", replay::Parse::Done, "p",
         "ab"},
        {"HEAD / HTTP/1.1\r\nHost: h\r\n\r\n", replay::Parse::Done, "", ""},
        {"POST /p HTTP/1.1\r\nContent-Length: 4\r\n\r\nab", replay::Parse::Incomplete, "", ""},
        {"POST /p HTTP/1.1\r\nContent-Le", replay::Parse::Incomplete, "", ""},
        {"GARBAGE\r\n\r\n", replay::Parse::Bad, "", ""},
        {"POST /p HTTP/1.1\r\nContent-Length: 2000000\r\n\r\n", replay::Parse::Bad, "", ""},
        {"POST /p HTTP/1.1\r\nContent-Length: -1\r\n\r\n", replay::Parse::Bad, "", ""},
        {big, replay::Parse::Bad, "", ""},
    };
    for (const Case& c : cases) {
        std::string path, body;
        EXPECT_EQ(replay::parseRequest(c.in, path, body), c.parse) << c.in.substr(0, 60);
        if (c.parse == replay::Parse::Done) {
            EXPECT_EQ(path, c.path);
            EXPECT_EQ(body, c.body);
        }
    }
}

TEST(ReplayVerdict, SaysWhetherACallDidTheSame) {
    const std::vector<replay::Call> calls =
        replay::splitCalls(kLookupLog, "<Configuration/>", true);
    ASSERT_EQ(calls.size(), 1u);
    const replay::Call& call = calls[0];
    ASSERT_TRUE(call.notReplayable.empty());
    const std::vector<replay::Received> same = {{"v1/GuestInfo/t", "{\"CardToken\":1001}"}};
    const std::vector<replay::LogEntry> entries = replay::splitEntries(kLookupLog);

    replay::Tally tally;
    EXPECT_EQ(replay::judgeReplayedCall(call, 0, same, entries, "", kEnglishCatalog, tally),
              "call 1  GetCardInfoEx(1001)  result 0: same\n");
    EXPECT_EQ(replay::judgeReplayedCall(call, 1, {}, entries, "", kEnglishCatalog, tally),
              "call 1  GetCardInfoEx(1001)  result 1: DIFFERS: result 1, recorded 0\n"
              "    the service received 0 requests, the log shows 1; the first missing: "
              "v1/GuestInfo/t {\"CardToken\":1001}\n");
    std::vector<replay::LogEntry> changed = entries;
    changed.back().text = "GetCardInfoEx : \xCE\xEA RETURN 0\n";
    EXPECT_EQ(replay::judgeReplayedCall(call, 0, same, changed, "", kEnglishCatalog, tally),
              "call 1  GetCardInfoEx(1001)  result 0: DIFFERS: log entry 5 of the call differs:\n"
              "      recorded \"GetCardInfoEx : GetCardInfoEx RETURN 0\"\n"
              "      replayed \"GetCardInfoEx : \xD0\x9E\xD0\xBA RETURN 0\"\n");
    EXPECT_EQ(replay::notReplayableLine(call, "why", kEnglishCatalog, tally),
              "call 1  GetCardInfoEx(1001): not replayable: why\n");
    EXPECT_EQ(replay::tallyLine(tally, kEnglishCatalog),
              "4 calls: 1 same, 2 differ, 1 not replayable\n");
    tally = replay::Tally{1, 0, 0, 0};
    EXPECT_EQ(replay::tallyLine(tally, kEnglishCatalog),
              "1 call: 1 same, 0 differ, 0 not replayable\n");
    EXPECT_EQ(replay::asReadInTextMode("a\r\nb\rc\r"), "a\nb\rc\r");
}

// A verdict's words follow the catalog; the log's entries and the request
// bodies are quoted as they are in either language.
TEST(ReplayVerdict, SpeaksTheReadersLanguage) {
    const std::vector<replay::Call> calls =
        replay::splitCalls(kLookupLog, "<Configuration/>", true);
    ASSERT_EQ(calls.size(), 1u);
    const replay::Call& call = calls[0];
    const std::vector<replay::LogEntry> entries = replay::splitEntries(kLookupLog);
    const std::vector<replay::LogEntry> fewer(entries.begin(), entries.end() - 1);
    const std::vector<replay::Received> same = {{"v1/GuestInfo/t", "{\"CardToken\":1001}"}},
                                        other = {{"v1/GuestInfo/t", "{\"CardToken\":1002}"}};
    struct Case {
        const Catalog* catalog;
        int result;
        std::vector<replay::Received> received;
        const std::vector<replay::LogEntry>* entries;
        std::string verdict;  // after "call 1  GetCardInfoEx(1001)"
    };
    const Case cases[] = {
        {&kRussianCatalog, 0, same, &entries, "  результат 0: совпадает\n"},
        {&kRussianCatalog,
         1,
         {},
         &entries,
         "  результат 1: РАСХОДИТСЯ: результат 1, в журнале 0\n"
         "    сервер воспроизведения получил запросов: 0, в журнале их 1; первый недостающий: "
         "v1/GuestInfo/t {\"CardToken\":1001}\n"},
        {&kRussianCatalog, 0, other, &entries,
         "  результат 0: РАСХОДИТСЯ: запрос 1: v1/GuestInfo/t с телом {\"CardToken\":1002}, в "
         "журнале — {\"CardToken\":1001}\n"},
        // A call that wrote fewer entries: the missing one is said in words.
        {&kRussianCatalog, 0, same, &fewer,
         "  результат 0: РАСХОДИТСЯ: запись журнала 5 этого вызова отличается:\n"
         "      в журнале           \"GetCardInfoEx : GetCardInfoEx RETURN 0\"\n"
         "      при воспроизведении (записи нет)\n"},
        {&kEnglishCatalog, 0, same, &fewer,
         "  result 0: DIFFERS: log entry 5 of the call differs:\n"
         "      recorded \"GetCardInfoEx : GetCardInfoEx RETURN 0\"\n"
         "      replayed \"(none)\"\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.verdict);
        replay::Tally tally;
        const std::string head = c.catalog == &kRussianCatalog ? "вызов" : "call";
        EXPECT_EQ(replay::judgeReplayedCall(call, c.result, c.received, *c.entries, "", *c.catalog,
                                            tally),
                  head + " 1  GetCardInfoEx(1001)" + c.verdict);
    }
    replay::Tally tally;
    EXPECT_EQ(
        replay::notReplayableLine(
            call,
            replay::sayReason(kRussianCatalog, {Msg::replay_request_fate_unknown,
                                                {{"number", "2"}, {"path", "v1/GetDiscount/t"}}}),
            kRussianCatalog, tally),
        "вызов 1  GetCardInfoEx(1001): воспроизвести нельзя: по журналу не видно, чем "
        "закончился запрос 2 (v1/GetDiscount/t)\n");
    // The count takes its Russian plural form.
    const std::pair<replay::Tally, std::string> tallies[] = {
        {{1, 0, 0, 0}, "1 вызов: совпадают — 1, расходятся — 0, воспроизвести нельзя — 0\n"},
        {{1, 0, 1, 1}, "3 вызова: совпадают — 1, расходятся — 1, воспроизвести нельзя — 1\n"},
        {{20, 1, 0, 0},
         "21 вызов: совпадают — 20, расходятся — 0, воспроизвести нельзя — 0, совпадают, кроме "
         "проверки доступа в интернет, — 1\n"},
        {{11, 0, 0, 0}, "11 вызовов: совпадают — 11, расходятся — 0, воспроизвести нельзя — 0\n"},
    };
    for (const auto& [t, text] : tallies) EXPECT_EQ(replay::tallyLine(t, kRussianCatalog), text);
    EXPECT_EQ(replay::whyNoCalls("hello\n", {}, kRussianCatalog),
              "в файле нет ни одной записи brisvane.log");
    EXPECT_EQ(replay::whyNoSuchCall(std::vector<replay::Call>(4), 7, kRussianCatalog),
              "в журнале 4 вызова, вызова 7 нет");
}

TEST(LogEntries, KeepStampsAndByteSpans) {
    const std::string log =
        "before\r\n[12-07-2026 10:00:00] A : one\r\ntwo\r\n"
        "[] B : Info - \nNULL[12-07-2026 10:00:01] C : three";
    const std::vector<replay::LogEntry> entries = replay::splitEntries(log);
    ASSERT_EQ(entries.size(), 3u);
    const std::pair<std::string, std::string> expected[] = {
        {"12-07-2026 10:00:00", "[12-07-2026 10:00:00] A : one\r\ntwo\r\n"},
        {"", "[] B : Info - \nNULL"},
        {"12-07-2026 10:00:01", "[12-07-2026 10:00:01] C : three"},
    };
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].stamp, expected[i].first);
        EXPECT_EQ(log.substr(entries[i].begin, entries[i].end - entries[i].begin),
                  expected[i].second);
    }
    EXPECT_EQ(entries[0].text, "A : one\ntwo\n");
}

namespace {

// The log's entries read in pieces of `piece` bytes, as a file is.
std::vector<replay::LogEntry> inPieces(const std::string& log, std::size_t piece) {
    replay::EntryReader reader(replay::bytesOf(log), piece);
    std::vector<replay::LogEntry> entries;
    replay::LogEntry e;
    while (reader.next(e)) entries.push_back(e);
    return entries;
}

// Whether a log read in pieces, however small, gives the entries it gives read whole.
void expectSameInPieces(const std::string& log, const char* shape) {
    const std::vector<replay::LogEntry> whole = replay::splitEntries(log);
    for (std::size_t piece : {1, 2, 5, 17, 64}) {
        const std::vector<replay::LogEntry> read = inPieces(log, piece);
        ASSERT_EQ(read.size(), whole.size()) << shape << ", pieces of " << piece;
        for (std::size_t i = 0; i < read.size(); ++i) {
            const replay::LogEntry &a = read[i], &b = whole[i];
            EXPECT_TRUE(a.begin == b.begin && a.end == b.end && a.damagedAfter == b.damagedAfter &&
                        a.stamp == b.stamp && a.seconds == b.seconds && a.text == b.text &&
                        a.kind == b.kind && a.tag == b.tag && a.body == b.body &&
                        a.event.row == b.event.row && a.event.args == b.event.args)
                << shape << ", pieces of " << piece << ", entry " << i;
        }
    }
}

}  // namespace

// Entries start wherever the module could have started one; a stretch of a
// power cut's zero bytes (and what follows them) is no entry's, and never
// joins two calls into one. Read in pieces, as summary reads a file, a log
// gives the same entries wherever the pieces end.
TEST(LogEntries, DamagedShapesKeepEveryCallApart) {
    const std::string lookup = kLookupLog;
    auto ends = [](std::string text, const char* lineEnd) {
        std::string out;
        for (char c : text) out += c == '\n' ? std::string(lineEnd) : std::string(1, c);
        return out;
    };
    auto zeros = [](std::size_t n) { return std::string(n, '\0'); };
    const std::string cut = lookup.substr(0, lookup.find("{\"Status\""));
    // "<C>Ѐ</C>" in UTF-16: two zero bytes in a row.
    const char conf[] =
        "[12-07-2026 09:00:00] WriteConfToLog : \xFF\xFE<\0C\0>\0\0\x04<\0/\0C\0>\0\n";
    const std::string init = "[12-07-2026 09:00:00] Init : Started\n" +
                             std::string(conf, sizeof conf - 1) +
                             "[12-07-2026 09:00:00] Init : Ended\n";
    struct Case {
        const char* shape;
        std::string log;
        std::size_t entries, calls, stretches, damagedBytes;
    } cases[] = {
        {"zero bytes before a call", lookup + zeros(512) + lookup, 10, 2, 1, 512},
        {"zero bytes within a reply", cut + zeros(300) + lookup, 9, 2, 1, 300},
        {"zero bytes, then text", lookup + zeros(64) + "ows tail\r\n" + lookup, 10, 2, 1, 74},
        {"zero bytes at the end", ends(lookup, "\r\n") + zeros(100), 5, 1, 1, 100},
        {"CR alone", ends(lookup + lookup, "\r"), 10, 2, 0, 0},
        {"mixed line ends", ends(lookup, "\r\n") + ends(lookup, "\r") + lookup, 15, 3, 0, 0},
        {"a UTF-16 conf.xml copy's own zero bytes", init + lookup, 8, 2, 0, 0},
    };
    expectSameInPieces(
        "before\r\n[12-07-2026 10:00:00] A : one\r\n"
        "[] B : Info - \r\nNULL[12-07-2026 10:00:01] C : three",
        "text before, no stamp, after NULL");
    for (const Case& c : cases) {
        expectSameInPieces(c.log, c.shape);
        const std::vector<replay::LogEntry> entries = replay::splitEntries(c.log);
        EXPECT_EQ(entries.size(), c.entries) << c.shape;
        const replay::Damage damage = replay::damageOf(entries);
        EXPECT_EQ(damage.stretches, c.stretches) << c.shape;
        EXPECT_EQ(damage.bytes, c.damagedBytes) << c.shape;
        const std::vector<replay::Call> calls = replay::splitCalls(c.log, "", false);
        EXPECT_EQ(calls.size(), c.calls) << c.shape;
        if (calls.empty()) continue;
        // The call after the damage whole, its line ends as the module wrote them.
        EXPECT_EQ(calls.back().kind, replay::Call::Kind::Lookup) << c.shape;
        EXPECT_EQ(calls.back().resultText, "0") << c.shape;
        EXPECT_EQ(calls.back().attempts.size(), 1u) << c.shape;
        for (const replay::Attempt& a : calls.back().attempts)
            EXPECT_EQ(a.reply, "{\"Status\":1}") << c.shape;
    }
}

namespace {

std::string stamped(const std::vector<std::string>& messages) {
    std::string log;
    for (const std::string& m : messages) log += "[12-07-2026 10:00:00] " + m + "\n";
    return log;
}

}  // namespace

TEST(ReplayCompare, TakesAFailedSendForTheSameWhateverItsCodeAndLanguage) {
    const std::string failed = "SendRequest : RETURN vector<char> dwExitCode != 0 1";
    const std::string unresolved =
        "SendRequest : Windows error 12007: The server name could not "
        "be resolved.";
    const std::string refused = "SendRequest : Windows error 12029: No connection could be made.";
    const std::string russian =
        "SendRequest : Windows error 12007: \xCD\xE5 \xF3\xE4\xE0\xE5\xF2"
        "\xF1\xFF.";
    const std::string readFailed =
        "SendRequest : ERROR WHILE SENDING bRead == FALSE  ||  "
        "dwBytesRead == 0 v1/GuestInfo/t";
    struct Case {
        std::vector<std::string> recorded, replayed;
        bool same;
        std::size_t index;  // of the first differing entry
    };
    const Case cases[] = {
        {{failed, unresolved, "GetCardInfoEx : ERROR v1/GuestInfo/ 12007"},
         {failed, refused, "GetCardInfoEx : ERROR v1/GuestInfo/ 12029"},
         true,
         0},
        {{failed, unresolved}, {failed, russian}, true, 0},
        {{failed, unresolved, "TransactionsEx : Error code: 12007"},
         {failed, refused, "TransactionsEx : Error code: 12029"},
         true,
         0},
        // Only a repetition of the failure's own code is the till's.
        {{failed, unresolved, "GetCardInfoEx : ERROR v1/GuestInfo/ 12007"},
         {failed, refused, "GetCardInfoEx : ERROR v1/GuestInfo/ 5"},
         false,
         2},
        {{failed, unresolved, "GetCardInfoEx : ERROR v1/GuestInfo/ 112007"},
         {failed, refused, "GetCardInfoEx : ERROR v1/GuestInfo/ 12029"},
         false,
         2},
        {{failed, unresolved, "GetCardInfoEx : RETURN 0"},
         {failed, refused, "GetCardInfoEx : RETURN 1"},
         false,
         2},
        {{"GetCardInfoEx : ERROR v1/GuestInfo/ 12007"},
         {"GetCardInfoEx : ERROR v1/GuestInfo/ 12029"},
         false,
         0},
        // A failed read is replayed as an empty reply: no cause of its own.
        {{readFailed, "SendRequest : Windows error 12030: The connection was ended.", "X : y"},
         {readFailed, "X : y"},
         true,
         0},
        {{failed, unresolved, "X : y"}, {failed, "X : y"}, false, 1},
        {{failed, "SendRequest : Windows error : no code"}, {failed, refused}, false, 1},
    };
    for (const Case& c : cases) {
        const replay::EntryComparison r =
            replay::compareEntries(replay::splitEntries(stamped(c.recorded)),
                                   replay::splitEntries(stamped(c.replayed)), "", "");
        EXPECT_EQ(r.verdict == replay::EntryComparison::Verdict::Same, c.same) << c.recorded.back();
        if (!c.same) {
            EXPECT_EQ(r.index, c.index) << c.recorded.back();
        }
    }
}

TEST(ReplayLog, ReadsAUtf16ConfXmlCopyBack) {
    const std::string text =
        "<Configuration>\n<ApiAddress>h.test</ApiAddress>\n"
        "<SSL>true</SSL><Name>\xD0\x9A</Name>\n</Configuration>\n";
    std::string utf16 = "\xFF\xFE";  // as Notepad saves "Unicode": 'К' is 1A 04
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\xD0\x9A") == 0) {
            utf16 += std::string("\x1A\x04", 2);
            ++i;
        } else {
            utf16 += std::string(1, text[i]) + '\0';
        }
    }
    // The log is written in text mode: a CR before every LF byte.
    std::string copy;
    for (char ch : utf16) copy += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    const std::string log =
        "[12-07-2026 10:00:00] Init : Started\r\n"
        "[12-07-2026 10:00:00] WriteConfToLog : " +
        copy + "\r\n[12-07-2026 10:00:00] Init : Ended\r\n";
    const std::vector<replay::Call> calls = replay::splitCalls(log, "", false);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(calls[0].notReplayable.empty());
    EXPECT_EQ(calls[0].config(), text);
    std::string given;
    replay::Reason why;
    ASSERT_TRUE(replay::pointConfigAt(calls[0].config(), "127.0.80.1", given, why))
        << replay::sayReason(kEnglishCatalog, why);
    EXPECT_NE(given.find("<ApiAddress>127.0.80.1</ApiAddress>"), std::string::npos);
    // Init's copy in the replay is the UTF-8 text it was given.
    const std::string replayed =
        stamped({"Init : Started", "WriteConfToLog : " + given, "Init : Ended"});
    EXPECT_EQ(replay::compareEntries(calls[0].entries, replay::splitEntries(replayed), given,
                                     calls[0].config())
                  .verdict,
              replay::EntryComparison::Verdict::Same);
    // Text with zero bytes is never handed on unredirected.
    EXPECT_FALSE(replay::pointConfigAt(utf16, "127.0.80.1", given, why));
}

// A conf.xml that Notepad saved as "Unicode", CR LF line ends and all: the DLL
// reads it in text mode, which turns CR LF into LF only where the two bytes
// stand side by side, so a UTF-16 file keeps its CRs and a UTF-8 one loses
// them. The replay writes the file in the recorded encoding and Init's copy is
// the same.
TEST(ReplayLog, InitOfAUtf16ConfXmlReplaysTheSame) {
    const std::string text =
        "<Configuration>\r\n<ApiAddress>h.test</ApiAddress>\r\n<SSL>true</SSL>"
        "<Name>\xD0\x9C\xF0\x9F\x8D\xB2</Name>\r\n</Configuration>\r\n";
    // Init as the DLL logs the file: read in text mode, a CR before every LF byte.
    auto initLog = [](const std::string& fileBytes) {
        std::string copy;
        for (char ch : replay::asReadInTextMode(fileBytes))
            copy += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
        return "[12-07-2026 10:00:00] Init : Started\r\n[12-07-2026 10:00:00] WriteConfToLog : " +
               copy + "\r\n[12-07-2026 10:00:00] Init : Ended\r\n";
    };
    for (const char* mark : {"\xFF\xFE", "\xFE\xFF"}) {
        const std::string file = replay::confFileBytes(text, mark);
        ASSERT_EQ(file.size(), 2 + 2 * (text.size() - 6) + 2 + 4)
            << "М takes one unit, the bowl two";
        const std::vector<replay::Call> calls = replay::splitCalls(initLog(file), "", false);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].config(), text);
        EXPECT_EQ(calls[0].configByteOrderMark, mark);
        std::string given;
        replay::Reason why;
        ASSERT_TRUE(replay::pointConfigAt(calls[0].config(), "127.0.80.1", given, why))
            << replay::sayReason(kEnglishCatalog, why);
        const std::string replayed =
            initLog(replay::confFileBytes(given, calls[0].configByteOrderMark));
        EXPECT_EQ(replay::compareEntries(calls[0].entries, replay::splitEntries(replayed), given,
                                         calls[0].config())
                      .verdict,
                  replay::EntryComparison::Verdict::Same);
    }
    // A UTF-8 copy is written as it is.
    EXPECT_EQ(replay::splitCalls(initLog(text), "", false)[0].configByteOrderMark, "");
    EXPECT_EQ(replay::confFileBytes(text, ""), text);
}

TEST(ReplayVerdict, ExitsWithWhatTheReplayShowed) {
    EXPECT_EQ(replay::whyNoCalls("", {}, kEnglishCatalog), "the file is empty");
    EXPECT_NE(
        replay::whyNoCalls(std::string("\xFF\xFE[\0", 4), {}, kEnglishCatalog).find("UTF-16 copy"),
        std::string::npos);
    EXPECT_EQ(replay::whyNoCalls("hello\n", {}, kEnglishCatalog),
              "the file holds no entry of a brisvane.log");
    EXPECT_EQ(replay::whyNoCalls("x", std::vector<replay::Call>(1), kEnglishCatalog), "");
    const std::pair<replay::Tally, int> cases[] = {
        {{1, 0, 0, 0}, 0}, {{0, 1, 0, 0}, 0}, {{1, 0, 0, 2}, 0}, {{3, 0, 1, 0}, 1},
        {{0, 0, 1, 1}, 1}, {{0, 0, 0, 1}, 2}, {{0, 0, 0, 0}, 2},
    };
    for (const auto& [tally, status] : cases)
        EXPECT_EQ(replay::exitStatus(tally), status)
            << tally.same << tally.probeOnly << tally.differ << tally.notReplayable;
}

TEST(ReplayRecord, ReadsBackTheRecordDumpTheModuleWrites) {
    const std::filesystem::path previous = std::filesystem::current_path();
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("hostemu-dump-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    CardInfoRecord r{};
    r.Size = sizeof r;
    r.Blocked = 255;
    r.Owner_id = INT64_MIN;
    r.Account_number = UINT32_MAX;
    r.Bonus_num = 65535;
    r.Access_amount3 = -300;
    r.Max_discount = 99999900;
    std::snprintf(r.Card_owner, sizeof r.Card_owner, "%s", "a; b\nc");
    std::memset(r.Printer_comment, 'x', sizeof r.Printer_comment - 1);
    dumpCardInfo("GetCardInfoEx RESULT INFO", &r);
    dumpCardInfo("X", nullptr);
    std::string log;
    ASSERT_TRUE(readWholeFile(kLogFileName, log));
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(dir);

    const std::vector<replay::LogEntry> entries = replay::splitEntries(log);
    ASSERT_EQ(entries.size(), 2u);
    CardInfoRecord back{};
    ASSERT_TRUE(replay::parseRecordDump(entries[0].body, back));
    EXPECT_EQ(std::memcmp(&back, &r, sizeof r), 0);
    EXPECT_EQ(entries[1].kind, replay::LogEntry::Kind::Dump);
    EXPECT_FALSE(replay::parseRecordDump(entries[1].body, back));
}

namespace {

// A posting whose discount request was answered and whose close was held past
// the time limit, the probe then failing.
const char kHeldLog[] =
    "[12-07-2026 10:00:00] ClearTheLog : Failed!\n"
    "[12-07-2026 10:00:00] TransactionsEx : Started\n"
    "[12-07-2026 10:00:00] TransactionsEx : InputBuf was\n\n<CHECK chmode=\"1\"/>\n"
    "[12-07-2026 10:00:00] SendRequestWrapper : TRY SEND REQUEST TO v1/GetDiscount/t WITH "
    "{\"Sum\":100}\n"
    "[12-07-2026 10:00:00] ANSWER FROM URL v1/GetDiscount/t \n{\"Status\":1}\n"
    "[12-07-2026 10:00:00] SendRequestWrapper : TRY SEND REQUEST TO v1/CloseOrder/t WITH "
    "{\"Id\":7}\n"
    "[12-07-2026 10:01:00] SendRequest : ERROR WHILE SENDING WaitForSingleObject(hThread, "
    "dwTimeout ) == WAIT_TIMEOUT v1/CloseOrder/t\n"
    "[12-07-2026 10:01:00] SendRequestWrapper : RESPONSE WAS NULL, TRY CONNECT TO GOOGLE\n"
    "[12-07-2026 10:01:00] SendRequestWrapper : GOOGLE NOT WORKING, ERROR!\n"
    "[12-07-2026 10:01:00] TransactionsEx : ERROR  v1/CloseOrder/ 12002\n";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

}  // namespace

TEST(ReplayVerdict, FindsChangedRequestsAndEntriesOfAHeldCall) {
    const std::vector<replay::Call> calls = replay::splitCalls(kHeldLog, "<Configuration/>", true);
    ASSERT_EQ(calls.size(), 1u);
    const replay::Call& call = calls[0];
    ASSERT_TRUE(call.notReplayable.empty());
    ASSERT_EQ(call.attempts.size(), 2u);
    // The held request reached the service: the replay holds its reply as long.
    EXPECT_EQ(call.attempts[1].outcome, replay::Attempt::Outcome::TimedOut);
    EXPECT_TRUE(call.attempts[1].reachesService());
    EXPECT_EQ(call.result, 1);
    EXPECT_EQ(call.waitSeconds, 70u);

    const replay::Received discount{"v1/GetDiscount/t", "{\"Sum\":100}"};
    const replay::Received close{"v1/CloseOrder/t", "{\"Id\":7}"};
    const std::string head = "call 1  TransactionsEx  result ";
    const std::string timeout =
        "SendRequest : ERROR WHILE SENDING WaitForSingleObject(hThread, "
        "dwTimeout ) == WAIT_TIMEOUT v1/CloseOrder/t";
    struct Case {
        const char* what;
        std::vector<replay::Received> received;
        std::string from, to;  // the replay's log: `from` written as `to`
        int result;
        std::string verdict;  // after "result N"
    };
    const Case cases[] = {
        {"the same", {discount, close}, "", "", 1, ": same\n"},
        {"the housekeeping's outcome", {discount, close}, "Failed!", "Success!", 1, ": same\n"},
        {"a changed body",
         {{"v1/GetDiscount/t", "{\"Sum\":101}"}, close},
         "",
         "",
         1,
         ": DIFFERS: request 1: v1/GetDiscount/t with body {\"Sum\":101}, recorded "
         "{\"Sum\":100}\n"},
        {"a changed body of the held request",
         {discount, {"v1/CloseOrder/t", "{\"Id\":8}"}},
         "",
         "",
         1,
         ": DIFFERS: request 2: v1/CloseOrder/t with body {\"Id\":8}, recorded {\"Id\":7}\n"},
        {"a changed path",
         {discount, {"v1/CloseOrder/u", "{\"Id\":7}"}},
         "",
         "",
         1,
         ": DIFFERS: request 2: sent to v1/CloseOrder/u, recorded to v1/CloseOrder/t\n"},
        {"the held request never sent",
         {discount},
         "",
         "",
         1,
         ": DIFFERS: the service received 1 requests, the log shows 2; the first missing: "
         "v1/CloseOrder/t {\"Id\":7}\n"},
        {"a request more",
         {discount, close, close},
         "",
         "",
         1,
         ": DIFFERS: the service received 3 requests, the log shows 2; the first extra: "
         "v1/CloseOrder/t {\"Id\":7}\n"},
        {"no housekeeping line",
         {discount, close},
         "[12-07-2026 10:00:00] ClearTheLog : Failed!\n",
         "",
         1,
         ": DIFFERS: log entry 1 of the call differs:\n"
         "      recorded \"ClearTheLog : Failed!\"\n"
         "      replayed \"TransactionsEx : Started\"\n"},
        {"a housekeeping line more",
         {discount, close},
         "[12-07-2026 10:00:00] TransactionsEx : Started",
         "[12-07-2026 10:00:00] ClearTheLog : Success!\n[12-07-2026 10:00:00] TransactionsEx : "
         "Started",
         1,
         ": DIFFERS: log entry 2 of the call differs:\n"
         "      recorded \"TransactionsEx : Started\"\n"
         "      replayed \"ClearTheLog : Success!\"\n"},
        {"the held reply answered",
         {discount, close},
         timeout,
         "ANSWER FROM URL v1/CloseOrder/t \n{\"Status\":1}",
         1,
         ": DIFFERS: log entry 7 of the call differs:\n"
         "      recorded \"" +
             timeout +
             "\"\n"
             "      replayed \"ANSWER FROM URL v1/CloseOrder/t \\n{\"Status\":1}\"\n"},
        // Past a probe that went the other way the requests before it still count.
        {"a changed body before a probe that worked",
         {{"v1/GetDiscount/t", "{\"Sum\":1}"}, close},
         "GOOGLE NOT WORKING, ERROR!",
         "GOOGLE WORKS, TRY ANOTHER ONE TO v1/CloseOrder/t WITH Content-Type:application/json;",
         1,
         ": DIFFERS: request 1: v1/GetDiscount/t with body {\"Sum\":1}, recorded {\"Sum\":100}\n"},
    };
    for (const Case& c : cases) {
        const std::string log = c.from.empty() ? kHeldLog : replaced(kHeldLog, c.from, c.to);
        ASSERT_TRUE(c.from.empty() || log != kHeldLog) << c.what;
        replay::Tally tally;
        EXPECT_EQ(replay::judgeReplayedCall(call, c.result, c.received, replay::splitEntries(log),
                                            "", kEnglishCatalog, tally),
                  head + std::to_string(c.result) + c.verdict)
            << c.what;
    }
}
