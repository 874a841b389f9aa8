// The wrapper's ways after an exchange without a reply, through the DLL built
// with short waits (brisvane_fast.dll), whose connectivity probe goes to an
// address where the test opens a listener or leaves none: a probe that
// succeeds with a second attempt answered or silent, and one that fails.
#include <gmock/gmock.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FakeLoyalty.h"
#include "HostRig.h"
#include "record/CardInfoRecord.h"

using namespace hostrig;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const std::string kGuest =
    R"({"Status":1,"ClientId":"42","NotPayType":0,"LoyaltyLevel":"","DiscountId":0,)"
    R"("BonusId":0,"BonusBalance":"0","LastName":"Probe","FirstName":"P","MiddleName":"Q"})";

const char kLookupCheck[] =
    "<CHECK chmode=\"0\" restaurantcode=\"R7\"></CHECK><CHECKDATA orderguid=\"{G1}\" "
    "checknum=\"15\" order_cat=\"3\"></CHECKDATA>";

const char kCloseCheck[] =
    "<INTERFACES><INTERFACE interface=\"7\"/></INTERFACES><CHECKDATA orderguid=\"{G-1}\" "
    "checknum=\"42\" closedatetime=\"2024-02-22 14:05:09\" order_cat=\"1\"><CHECKPAYMENTS>"
    "<PAYMENT code=\"5\" account=\"12345\" interface=\"7\"/></CHECKPAYMENTS></CHECKDATA>"
    "<CHECK restaurantcode=\"R1\" chmode=\"1\"></CHECK>";

const char kAccounts[] =
    "<BonusAccount><CurrencyCode>5</CurrencyCode><CardSubAccount>2</CardSubAccount>"
    "</BonusAccount>";

using logtext::answer;
using logtext::entry;

// What the fake service does with one attempt.
enum class Attempt { Answered, Silent, TimedOut };

std::string behaviour(Attempt a, const std::string& reply) {
    switch (a) {
        case Attempt::Answered: return logtext::replyWith(reply);
        case Attempt::Silent: return R"({"body": ""})";
        case Attempt::TimedOut: return R"({"action": "hang", "max_s": 20})";
    }
    return "";
}

// The log of one attempt from its failure or its answer on.
std::string attemptEntries(Attempt a, const std::string& path, const std::string& reply) {
    switch (a) {
        case Attempt::Answered: return answer(path, reply);
        case Attempt::Silent: return entry("SendRequest", logtext::noReplyMessage(path));
        case Attempt::TimedOut:
            return entry("SendRequest", logtext::timeoutMessage(path)) +
                   entry("SendRequestWrapper", "Error TimeoutExceeded RETURN 0") +
                   logtext::nullDump("SendRequestWrapper");
    }
    return "";
}

struct Case {
    const char* name;
    Attempt first;
    bool probe;  // a listener on the probe's address
    Attempt second;
    int32_t result;
};

// The wrapper's way from the first attempt to its end, as the log shows it.
std::string wrapperEntries(const Case& c, const std::string& path, const std::string& reply) {
    std::string log = attemptEntries(c.first, path, reply) + logtext::probeEntries(c.probe, path);
    if (!c.probe) return log + logtext::giveUpEntries(false);
    log += attemptEntries(c.second, path, reply);
    return c.second == Attempt::Answered ? log : log + logtext::giveUpEntries(true);
}

class ProbeTest : public HostTest {
  protected:
    void SetUp() override {
        HostTest::SetUp();
        loadDll(BRISVANE_FAST_DLL_PATH);
    }
    // A fresh token, log and probe for the next case.
    std::string prepare(const Case& c, const std::string& accounts, const std::string& paths) {
        const std::string token = fakeloyalty::uniqueToken("probe");
        writeConf(BRISVANE_FAKE_ADDRESS, token, accounts);
        service_.setScenario(token, paths);
        DeleteFileA("brisvane.log");
        if (c.probe)
            EXPECT_TRUE(probe_.open());
        else
            probe_.close();
        return token;
    }
    std::size_t requestsTo(const std::string& token, const std::string& name) const {
        std::size_t n = 0;
        for (const auto& req : service_.requests(token))
            n += req.path == "/v1/" + name + "/" + token;
        return n;
    }

    fakeloyalty::Service service_{BRISVANE_FAKE_ADDRESS};
    ProbeListener probe_;
};

TEST_F(ProbeTest, AGuestLookupWithoutAReplyTriesOnceMoreOnlyWhenTheProbeSucceeds) {
    const Case cases[] = {
        {"second attempt answered", Attempt::Silent, true, Attempt::Answered, 0},
        {"second attempt silent", Attempt::Silent, true, Attempt::Silent, 1},
        {"probe fails", Attempt::Silent, false, Attempt::Answered, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string token = prepare(c, "",
                                          "{\"GuestInfo\": [" + behaviour(c.first, kGuest) + "," +
                                              behaviour(c.second, kGuest) + "]}");

        CardInfoRecord record{};
        const CallResult r =
            dll_->getCardInfoEx(79161234567LL, &record, kLookupCheck, sizeof kLookupCheck);

        EXPECT_EQ(r.result, c.result);
        EXPECT_EQ(std::string(record.Card_owner), c.result == 0 ? "Probe P Q" : "");
        const std::vector<fakeloyalty::Request> got = service_.requests(token);
        ASSERT_EQ(got.size(), c.probe ? 2u : 1u);
        for (const auto& req : got) EXPECT_EQ(req.body, "{\"Phone\":79161234567}");
        const std::string path = "v1/GuestInfo/" + token;
        EXPECT_THAT(stampless(logText()),
                    HasSubstr(entry("SendRequestWrapper", "TRY SEND REQUEST TO " + path +
                                                              " WITH {\"Phone\":79161234567}") +
                              wrapperEntries(c, path, kGuest)));
    }
}

// A close whose first attempt times out: the discount reply before it says
// "Status" 1 and must never pass for the close's answer.
TEST_F(ProbeTest, ACloseThatTimesOutIsDoneOnlyWhenTheSecondAttemptIsConfirmed) {
    const std::string confirmed = R"({"Status":1})";
    const Case cases[] = {
        {"second attempt confirmed", Attempt::TimedOut, true, Attempt::Answered, 0},
        {"second attempt silent", Attempt::TimedOut, true, Attempt::Silent, 1},
        {"second attempt times out too", Attempt::TimedOut, true, Attempt::TimedOut, 1},
        {"probe fails", Attempt::TimedOut, false, Attempt::Answered, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string token = prepare(
            c, kAccounts,
            R"({"GetDiscount": {"body": "{\"Status\":1}"}, "CloseOrder": [)" +
                behaviour(c.first, confirmed) + "," + behaviour(c.second, confirmed) + "]}");

        const CallResult r = dll_->transactionsEx(kCloseCheck, sizeof kCloseCheck);

        EXPECT_EQ(r.result, c.result);
        EXPECT_EQ(requestsTo(token, "GetDiscount"), 1u);
        EXPECT_EQ(requestsTo(token, "CloseOrder"), c.probe ? 2u : 1u);
        const std::string log = stampless(logText());
        EXPECT_THAT(log, HasSubstr(wrapperEntries(c, "v1/CloseOrder/" + token, confirmed)));
        if (c.result == 0) {
            EXPECT_THAT(log, HasSubstr(entry("TransactionsEx", "Ended RETURN 0")));
        } else {
            EXPECT_THAT(log,
                        HasSubstr("TransactionsEx : Error sending Transaction request RETURNS 1"));
        }
    }
}

// The probe address is the test set-up's in the test build only.
TEST(ProbeAddressTest, OnlyTheTestBuildProbesTheTestAddress) {
    auto utf16 = [](const std::string& text) {
        std::string out;
        for (char c : text) out += std::string(1, c) + '\0';
        return out;
    };
    auto bytes = [](const char* path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    const std::string shipped = bytes(BRISVANE_DLL_PATH);
    const std::string fast = bytes(BRISVANE_FAST_DLL_PATH);
    const std::string testUrl = utf16(std::string("http://") + BRISVANE_PROBE_ADDRESS + "/");
    ASSERT_GT(shipped.size(), 10000u);
    EXPECT_THAT(shipped, HasSubstr(utf16("http://www.google.com/")));
    EXPECT_THAT(shipped, Not(HasSubstr(testUrl)));
    EXPECT_THAT(fast, HasSubstr(testUrl));
}

}  // namespace
