#include "log/Logger.h"

#include <gmock/gmock.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <regex>
#include <vector>

#include "log/LogFormat.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "TestSupport.h"

using namespace testsupport;

namespace {

class LoggerTest : public InTempDir {};

TEST_F(LoggerTest, MessageEntryLayoutAndFileCreation) {
    ASSERT_FALSE(std::filesystem::exists("brisvane.log"));
    Logger log;
    log.logMessage("GetConfig", "TRY GET configuration");
    log.logMessage("Init", "");
    log.logMessage("Init", "line one\nline two");

    std::string text = logText();
    EXPECT_TRUE(
        std::regex_search(text, std::regex(std::string("^") + kStampPattern + " GetConfig")));
    EXPECT_EQ(stampless(text), "[S] GetConfig : TRY GET configuration" + kEol + "[S] Init : " +
                                   kEol + "[S] Init : line one" + kEol + "line two" + kEol);
}

TEST_F(LoggerTest, StampIsLocalTimeInMonthDayYearOrder) {
    std::string stamp = logTimeStamp();
    ASSERT_EQ(stamp.size(), 19u) << stamp;
    std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char year[8];
    std::snprintf(year, sizeof year, "%04d", local.tm_year + 1900);
    EXPECT_EQ(stamp.substr(6, 4), year);
    EXPECT_EQ(stamp[2], '-');
    EXPECT_EQ(stamp[13], ':');
}

TEST(LogStamp, TwentyFourHourTwoDigitsAsTheCLocaleGivesThemPast2038) {
    struct Row {
        platform::LocalTime time;
        const char* stamp;
    };
    const Row rows[] = {
        {{2024, 2, 22, 14, 5, 9}, "02-22-2024 14:05:09"},
        {{2026, 12, 7, 15, 24, 17}, "12-07-2026 15:24:17"},  // afternoon: no AM/PM
        {{2026, 12, 7, 9, 5, 9}, "12-07-2026 09:05:09"},     // morning: two digits
        {{2027, 1, 1, 0, 0, 0}, "01-01-2027 00:00:00"},
        {{2038, 1, 19, 3, 14, 8}, "01-19-2038 03:14:08"},  // past the 32-bit time_t
        {{2106, 2, 7, 6, 28, 16}, "02-07-2106 06:28:16"},  // past the unsigned one too
    };
    for (const Row& row : rows) {
        EXPECT_EQ(logformat::stampText(row.time), row.stamp);
        // The bytes the C runtime gives for the same time in the C locale.
        std::tm tm{};
        tm.tm_year = row.time.year - 1900;
        tm.tm_mon = row.time.month - 1;
        tm.tm_mday = row.time.day;
        tm.tm_hour = row.time.hour;
        tm.tm_min = row.time.minute;
        tm.tm_sec = row.time.second;
        char c[64];
        const std::size_t n = std::strftime(c, sizeof c, "%m-%d-%Y %X", &tm);
        EXPECT_EQ(logformat::stampText(row.time), std::string(c, n));
    }
}

TEST_F(LoggerTest, InputBufferStopsAtZeroByteOrAtLength) {
    Logger log;
    const char withZero[] = "<CHECK/>\0tail";
    log.logInputBuffer("GetCardInfoEx", withZero, sizeof withZero);

    // No zero byte at all: exactly `length` bytes, nothing read past them.
    std::vector<char> noZero = {'a', 'b', 'c', 'd'};
    log.logInputBuffer("TransactionsEx", noZero.data(), 3);
    EXPECT_EQ(noZero, (std::vector<char>{'a', 'b', 'c', 'd'}));

    EXPECT_EQ(stampless(logText()), "[S] GetCardInfoEx : InputBuf was" + kEol + kEol + "<CHECK/>" +
                                        kEol + "[S] TransactionsEx : InputBuf was" + kEol + kEol +
                                        "abc" + kEol);
}

TEST_F(LoggerTest, DumpEntriesHaveNoTagSeparator) {
    Logger log;
    log.logAnswer("v1/GuestInfo/tok", "{\"Status\":1}");
    log.logParsedXml("if(s < start_check_data )", "<CHECK/>\n<CHECKDATA/>");
    EXPECT_EQ(stampless(logText()), "[S] ANSWER FROM URL v1/GuestInfo/tok " + kEol +
                                        "{\"Status\":1}" + kEol +
                                        "[S] PARSE XML FROM if(s < start_check_data ) " + kEol +
                                        "<CHECK/>" + kEol + "<CHECKDATA/>" + kEol);
}

// A log the module cannot write or remove: every entry is lost silently, the
// call goes on, and what is there stays as it was. Each case makes the log
// unusable in its own way, writes three entries and clears the log, and
// names the log text it must leave (or none: the folder stays a folder).
TEST_F(LoggerTest, UnusableLogsLoseEntriesSilentlyAndStayAsTheyWere) {
    const std::string big(kLogSizeLimit + 1, 'x');
    struct Case {
        const char* name;
        std::function<bool()> spoil;    // false: this platform cannot make the case
        std::function<void()> restore;  // after the calls: lets the folder be removed
        std::function<void()> check;
    };
    auto unchanged = [](const std::string& text) {
        return [text] { EXPECT_TRUE(readFile("brisvane.log") == text) << "the log was changed"; };
    };
#ifdef _WIN32
    HANDLE held = INVALID_HANDLE_VALUE;
    auto hold = [&held](DWORD share) {
        held = CreateFileA("brisvane.log", GENERIC_READ, share, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        return held != INVALID_HANDLE_VALUE;
    };
    auto release = [&held] {
        CloseHandle(held);
        held = INVALID_HANDLE_VALUE;
    };
    // Wine run by root leaves a read-only file writable: then the case cannot be made.
    auto readOnly = [](bool on) {
        SetFileAttributesA("brisvane.log", on ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
        HANDLE h = CreateFileA("brisvane.log", FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        return h == INVALID_HANDLE_VALUE;
    };
#else
    // Permissions do not stop root.
    auto readOnly = [](bool on) {
        std::filesystem::permissions("brisvane.log", on ? std::filesystem::perms::owner_read
                                                        : std::filesystem::perms::owner_all);
        return geteuid() != 0;
    };
#endif
    const Case cases[] = {
        {"a folder by the log's name",
         [] { return std::filesystem::create_directory("brisvane.log"); }, [] {},
         [] {
             EXPECT_TRUE(std::filesystem::is_directory("brisvane.log"));
             EXPECT_TRUE(std::filesystem::is_empty("brisvane.log"));
         }},
        {"a read-only log",
         [&] {
             writeFile("brisvane.log", "kept\n");
             return readOnly(true);
         },
         [&] { readOnly(false); }, unchanged("kept\n")},
        {"a read-only log over the limit",
         [&] {
             writeFile("brisvane.log", big);
             return readOnly(true);
         },
#ifdef _WIN32
         [&] { readOnly(false); }, unchanged(big)},
#else
         // Removing is the folder's business on POSIX: the log goes, a new one starts.
         [&] { readOnly(false); },
         [] {
             EXPECT_EQ(stampless(readFile("brisvane.log")), "[S] ClearTheLog : Success!" + kEol);
         }},
#endif
#ifdef _WIN32
        {"a log a reader holds open without write sharing",
         [&] {
             writeFile("brisvane.log", "kept\n");
             return hold(FILE_SHARE_READ);
         },
         release, unchanged("kept\n")},
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::error_code ec;
        std::filesystem::remove_all("brisvane.log", ec);
        if (!c.spoil()) {
            c.restore();
            std::printf(
                "NOTE: \"%s\" cannot be made here (as root, permissions stop nothing); "
                "case skipped\n",
                c.name);
            continue;
        }
        Logger log;
        EXPECT_NO_THROW(log.logMessage("Init", "Started"));
        EXPECT_NO_THROW(log.logInputBuffer("Init", "x", 1));
        EXPECT_NO_THROW(ClearTheLog());
        c.restore();
        c.check();
    }
}

#ifdef _WIN32
// Over the limit but held open by a reader that shares reading and writing,
// not deletion: the log cannot be removed, so "Failed!" goes at its end.
TEST_F(LoggerTest, ALogOverTheLimitThatCannotBeRemovedGetsFailedAppended) {
    writeFile("brisvane.log", std::string(kLogSizeLimit + 1, 'x'));
    HANDLE reader = CreateFileA("brisvane.log", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    ClearTheLog();
    CloseHandle(reader);

    const std::string text = logText();
    ASSERT_GT(text.size(), static_cast<size_t>(kLogSizeLimit + 1));
    EXPECT_EQ(text.find_first_not_of('x'), static_cast<size_t>(kLogSizeLimit + 1));
    EXPECT_EQ(stampless(text.substr(kLogSizeLimit + 1)), "[S] ClearTheLog : Failed!" + kEol);
}
#endif

TEST_F(LoggerTest, ClearTheLogWithoutLogWritesFailed) {
    ClearTheLog();
    EXPECT_EQ(stampless(logText()), "[S] ClearTheLog : Failed!" + kEol);
}

TEST_F(LoggerTest, ClearTheLogKeepsLogOfExactlyTheLimit) {
    writeFile("brisvane.log", std::string(kLogSizeLimit, 'x'));
    ClearTheLog();
    std::string text = logText();
    ASSERT_GT(text.size(), static_cast<size_t>(kLogSizeLimit));
    EXPECT_EQ(text.find_first_not_of('x'), static_cast<size_t>(kLogSizeLimit));
    EXPECT_EQ(stampless(text.substr(kLogSizeLimit)), "[S] ClearTheLog : Failed!" + kEol);
}

TEST_F(LoggerTest, ClearTheLogDeletesLogOverTheLimit) {
    writeFile("brisvane.log", std::string(kLogSizeLimit + 1, 'x'));
    ClearTheLog();
    EXPECT_EQ(stampless(logText()), "[S] ClearTheLog : Success!" + kEol);
}

}  // namespace
