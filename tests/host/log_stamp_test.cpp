// The log's stamps whatever locale the host has set in the C runtime it
// shares with the DLL (msvcrt.dll): a host that calls setlocale on an English
// or a Russian Windows still gets MM-DD-YYYY HH:MM:SS, 24-hour, two digits each.
#include <gmock/gmock.h>
#include <windows.h>

#include <clocale>
#include <cstdio>
#include <ctime>
#include <regex>
#include <string>
#include <vector>

#include "CardRecordBytes.h"
#include "FakeLoyalty.h"
#include "HostRig.h"

using namespace hostrig;

namespace {

const char kAccounts[] =
    "<BonusAccount><CurrencyCode>5</CurrencyCode><CardSubAccount>2</CardSubAccount></BonusAccount>";

const char kScenario[] =
    R"({"GuestInfo": {"body": "{\"Status\":1,\"ClientId\":\"42\",\"NotPayType\":0,)"
    R"(\"LoyaltyLevel\":\"\",\"DiscountId\":0,\"BonusId\":0,\"BonusBalance\":\"0\",)"
    R"(\"LastName\":\"\",\"FirstName\":\"\",\"MiddleName\":\"\"}"},
        "GetDiscount": {"body": "{\"Status\":1,\"SumDiscount\":0}"},
        "CloseOrder": {"body": "{\"Status\":1}"}})";

const char kLookupCheck[] =
    "<CHECK chmode=\"0\" restaurantcode=\"R7\"></CHECK>\n"
    "<CHECKDATA orderguid=\"{G1}\" checknum=\"15\" order_cat=\"3\"></CHECKDATA>\n";

const char kCloseCheck[] =
    "<INTERFACES><INTERFACE interface=\"7\"/></INTERFACES>"
    "<CHECKDATA orderguid=\"{G1}\" checknum=\"15\" closedatetime=\"2024-02-22 14:05:09\" "
    "order_cat=\"3\"><CHECKPAYMENTS><PAYMENT code=\"5\" account=\"42\" interface=\"7\" "
    "sum=\"10\"/></CHECKPAYMENTS></CHECKDATA><CHECK restaurantcode=\"R7\" chmode=\"1\"></CHECK>";

// YYYYMMDDhhmmss: stamps and clock readings compare as text.
std::string sortable(const SYSTEMTIME& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04u%02u%02u%02u%02u%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute, t.wSecond);
    return text;
}

SYSTEMTIME now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return t;
}

// A locale as a host sets it, and whether the runtime's own %X is known to
// differ from the stamp's 24-hour form under it (Wine's Russian time format
// is HH:mm:ss, Windows' H:mm:ss).
struct HostLocale {
    const char* name;
    bool twelveHour;
};
void PrintTo(const HostLocale& locale, std::ostream* os) { *os << '"' << locale.name << '"'; }

// What setlocale(LC_ALL, "") gives on an English and on a Russian Windows, and
// whatever this machine's default is.
class LogStampTest : public HostTest, public ::testing::WithParamInterface<HostLocale> {
  protected:
    void SetUp() override {
        HostTest::SetUp();
        const char* previous = std::setlocale(LC_ALL, nullptr);
        previous_ = previous ? previous : "C";
        ASSERT_NE(std::setlocale(LC_ALL, GetParam().name), nullptr) << GetParam().name;
        loadDll();
    }
    void TearDown() override {
        HostTest::TearDown();
        std::setlocale(LC_ALL, previous_.c_str());
    }

    std::string previous_;
    fakeloyalty::Service service_{BRISVANE_FAKE_ADDRESS};
};

TEST_P(LogStampTest, EveryStampOfInitLookupAndCloseIsTwentyFourHourWithTwoDigits) {
    // The runtime's own time format under this locale, at 9:05:09 in the morning.
    std::tm morning{};
    morning.tm_year = 126;
    morning.tm_mon = 11;
    morning.tm_mday = 7;
    morning.tm_hour = 9;
    morning.tm_min = 5;
    morning.tm_sec = 9;
    char runtime[64] = "";
    std::strftime(runtime, sizeof runtime, "%X", &morning);
    // The locale reached the runtime: this test would see a stamp made by it.
    if (GetParam().twelveHour) EXPECT_STRNE(runtime, "09:05:09") << GetParam().name;

    const std::string token = fakeloyalty::uniqueToken("stamp");
    writeConf(service_.address(), token, kAccounts);
    service_.setScenario(token, kScenario);
    const std::string before = sortable(now());
    EXPECT_EQ(dll_->init().result, 0);
    cardrecord::Record record = cardrecord::Record::fromHost();
    const std::string lookup = std::string(kLookupCheck) + '\0';
    EXPECT_EQ(dll_->getCardInfoEx(79161234567LL, record.data(), lookup.c_str(),
                                  static_cast<uint32_t>(lookup.size()))
                  .result,
              0);
    EXPECT_EQ(dll_->transactionsEx(kCloseCheck, sizeof kCloseCheck).result, 0);
    const std::string after = sortable(now());

    // Every line that starts an entry; the inputs and replies start none.
    const std::string log = logText();
    const std::regex stamp(R"(\[(\d\d)-(\d\d)-(\d{4}) (\d\d):(\d\d):(\d\d)\] (\S+) .*)");
    std::vector<std::string> tags;
    for (std::size_t at = 0; at < log.size();) {
        std::size_t end = log.find(kEol, at);
        if (end == std::string::npos) end = log.size();
        const std::string line = log.substr(at, end - at);
        at = end + kEol.size();
        if (line.empty() || line[0] != '[') continue;
        std::smatch m;
        if (!std::regex_match(line, m, stamp)) {
            ADD_FAILURE() << "runtime's %X gives \"" << runtime << "\"; entry: " << line;
            continue;
        }
        const std::string when =
            m[3].str() + m[1].str() + m[2].str() + m[4].str() + m[5].str() + m[6].str();
        EXPECT_LE(before, when) << line;
        EXPECT_LE(when, after) << line;
        if (tags.empty() || tags.back() != m[7].str()) tags.push_back(m[7].str());
    }
    EXPECT_THAT(tags, ::testing::IsSupersetOf({"Init", "GetCardInfoEx", "TransactionsEx"}));
}

INSTANTIATE_TEST_SUITE_P(HostLocales, LogStampTest,
                         ::testing::Values(HostLocale{"English_United States.1252", true},
                                           HostLocale{"Russian_Russia.1251", false},
                                           HostLocale{"", false}));

}  // namespace
