// Texts as hostemu shows them: encodings, the log's lines, the card record.
#include <gtest/gtest.h>

#include "display/LogLines.h"
#include "display/RecordTable.h"
#include "encoding/Encodings.h"
#include "record/CardInfoRecord.h"

// Well-formed or not, and how many characters it takes on a console (what
// lines up labels and wraps paragraphs): a continuation byte adds none.
TEST(ConsoleText, KnowsUtf8FromHostText) {
    struct Case {
        std::string text;
        bool utf8;
        std::size_t characters;
    };
    const Case cases[] = {
        {"", true, 0},
        {"plain", true, 5},
        {"\xD0\x9F\xD0\xB5\xD1\x82\xD1\x80", true, 4},  // "Петр"
        {"\xE2\x82\xAC \xF0\x9F\x98\x80", true, 3},     // euro sign, emoji
        {"\xCF\xE5\xF2\xF0", false, 4},                 // "Петр" in Windows-1251
        {"\xD0", false, 1},                             // cut short
        {"\xC0\x80", false, 1},                         // overlong
        {"\xE0\x80\x80", false, 1},                     // overlong
        {"\xED\xA0\x80", false, 1},                     // surrogate
        {"\xF4\x90\x80\x80", false, 1},                 // past U+10FFFF
        {"\x80", false, 0},
        {"a\x80\x80z", false, 2},  // stray continuation bytes
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isUtf8(c.text), c.utf8) << c.text;
        EXPECT_EQ(utf8Characters(c.text), c.characters) << c.text;
    }
    EXPECT_EQ(forConsole("\xCF\xE5\xF2\xF0"), "\xD0\x9F\xD0\xB5\xD1\x82\xD1\x80");
    EXPECT_EQ(forConsole("\xD0\x9F\xD0\xB5"), "\xD0\x9F\xD0\xB5");
    EXPECT_EQ(fromHostText("\xB9 \x88 \x98"), "\xE2\x84\x96 \xE2\x82\xAC \xC2\x98");
}

TEST(ConsoleText, ShowsTheLogFromAnOffset) {
    const std::string log =
        "[12-07-2026 10:00:00] Init : Started\r\n"
        "[12-07-2026 10:00:00] Init : Ended\r\n"
        "[12-07-2026 10:00:01] GetCardInfoEx : \xCE\xF8\xE8\xE1\xEA\xE0 ERROR x\r\n"
        "body line with RETURN\r\n"
        "[12-07-2026 10:00:02] GetCardInfoEx : OK RETURN 0\r\n";
    const std::size_t second = log.find("[12-07-2026 10:00:00] Init : Ended");
    struct Case {
        long long offset;
        bool brief;
        std::string shown;
    };
    const Case cases[] = {
        {static_cast<long long>(second), false,
         "[12-07-2026 10:00:00] Init : Ended\n"
         "[12-07-2026 10:00:01] GetCardInfoEx : \xD0\x9E\xD1\x88\xD0\xB8\xD0\xB1\xD0\xBA\xD0\xB0 "
         "ERROR x\nbody line with RETURN\n[12-07-2026 10:00:02] GetCardInfoEx : OK RETURN 0\n"},
        // Only the stamped lines that end a call or report a failure.
        {0, true,
         "[12-07-2026 10:00:00] Init : Ended\n"
         "[12-07-2026 10:00:01] GetCardInfoEx : \xD0\x9E\xD1\x88\xD0\xB8\xD0\xB1\xD0\xBA\xD0\xB0 "
         "ERROR x\n[12-07-2026 10:00:02] GetCardInfoEx : OK RETURN 0\n"},
        // A log cleared meanwhile is shown from its start.
        {static_cast<long long>(log.size()) + 1, true,
         "[12-07-2026 10:00:00] Init : Ended\n"
         "[12-07-2026 10:00:01] GetCardInfoEx : \xD0\x9E\xD1\x88\xD0\xB8\xD0\xB1\xD0\xBA\xD0\xB0 "
         "ERROR x\n[12-07-2026 10:00:02] GetCardInfoEx : OK RETURN 0\n"},
        {static_cast<long long>(log.size()), false, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(logLinesFrom(log, c.offset, c.brief), c.shown) << c.offset << c.brief;
    }
    // No line feed after a last line that has none.
    EXPECT_EQ(logLinesFrom("[] A : b\r\ntail", 0, false), "[] A : b\ntail");
}

// The short form of a failed call keeps its cause and its result, also the
// result that follows the "NULL" of an absent record on the same line.
TEST(ConsoleText, BriefKeepsCausesAndResults) {
    const std::string s = "[12-07-2026 10:00:01] ";
    const std::string log =
        s + "TransactionsEx : Started\r\n" + s +
        "SendRequest : RETURN vector<char> dwExitCode != 0 1\r\n" + s +
        "SendRequest : Windows error 12029: The attempt to connect to the server failed.\r\n" + s +
        "SendRequest : HTTP status 502\r\n" + s +
        "SendRequestWrapper : GOOGLE NOT WORKING, ERROR!\r\n" + s +
        "SendRequestWrapper : Info - \r\nNULL" + s +
        "TransactionsEx : ERROR  v1/CloseOrder/ 0\r\n" + s +
        "SendRequestWrapper : Info - \r\nNULL" + s + "TransactionsEx : Ended RETURN 1";
    EXPECT_EQ(logLinesFrom(log, 0, true),
              s + "SendRequest : RETURN vector<char> dwExitCode != 0 1\n" + s +
                  "SendRequest : Windows error 12029: The attempt to connect to the server "
                  "failed.\n" +
                  s + "SendRequest : HTTP status 502\n" + s +
                  "SendRequestWrapper : GOOGLE NOT WORKING, ERROR!\n" + s +
                  "TransactionsEx : ERROR  v1/CloseOrder/ 0\n" + s +
                  "TransactionsEx : Ended RETURN 1\n");
    // The full form keeps the log's own lines.
    EXPECT_NE(logLinesFrom(log, 0, false).find("\nNULL" + s + "TransactionsEx : Ended RETURN 1"),
              std::string::npos);
}

TEST(RecordTable, ShowsTheFieldsThatHoldSomething) {
    EXPECT_EQ(money(125050), "1250.50");
    EXPECT_EQ(money(-5), "-0.05");
    EXPECT_EQ(money(INT64_MIN), "-92233720368547758.08");

    CardInfoRecord r{};
    std::snprintf(r.Card_owner, sizeof r.Card_owner, "%s", "\xCF\xE5\xF2\xF0");
    r.Account_number = 501;
    r.Access_amount2 = 25000;
    r.Expired = 1;
    EXPECT_EQ(recordTable(r, true, kEnglishCatalog),
              "--- card record ---\n"
              "  Card_owner       \xD0\x9F\xD0\xB5\xD1\x82\xD1\x80\n"
              "  Account_number   501\n"
              "  Access_amount2   250.00\n"
              "  flags            Deleted=0 Need_withdraw=0 Expired=1 Not_valid=0 "
              "Manager_confirm=0\n");
    // The field names are the record's in every language; the labels line up.
    EXPECT_EQ(recordTable(r, true, kRussianCatalog),
              "--- запись карты ---\n"
              "  Card_owner       Петр\n"
              "  Account_number   501\n"
              "  Access_amount2   250.00\n"
              "  признаки         Deleted=0 Need_withdraw=0 Expired=1 Not_valid=0 "
              "Manager_confirm=0\n");
    const std::string full = recordTable(r, false, kEnglishCatalog);
    EXPECT_NE(full.find("  Owner_id         0\n  Account_number   501\n"), std::string::npos);
    EXPECT_NE(full.find("  Max_discount     0.00\n  Access_amount2   250.00\n"), std::string::npos);
    EXPECT_EQ(full.find("Access_amount3"), std::string::npos);  // unused sub-accounts never show
}

TEST(ConsoleText, DecodesUtf16WithItsByteOrderMark) {
    const std::pair<std::string, std::string> cases[] = {
        {std::string("\xFF\xFEh\0\x1A\x04", 6), "h\xD0\x9A"},
        {std::string("\xFE\xFF\0h\x04\x1A", 6), "h\xD0\x9A"},
        {std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), "\xF0\x9F\x98\x80"},  // a pair
        {std::string("\xFF\xFE\x3D\xD8h\0", 6), "\xEF\xBF\xBDh"},          // a lone surrogate
        {std::string("\xFF\xFEh\0x", 5), "h"},
        {"plain", "plain"},
        {"\xFF", "\xFF"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(utf16AsUtf8(in), out);
    EXPECT_TRUE(isUtf16("\xFE\xFF"));
    EXPECT_FALSE(isUtf16("\xEF\xBB\xBF<"));
}
