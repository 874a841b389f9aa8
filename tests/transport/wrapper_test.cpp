// SendRequestWrapper: the pause, the probe and the one retry.
#include <gmock/gmock.h>

#include <cstring>

#include "TransportFixture.h"
#include "http/ErrorText.h"
#include "http/Timings.h"

using namespace transporttest;
using ::testing::HasSubstr;

namespace {

class WrapperTest : public TransportTest {
  protected:
    std::string tryEntry(const std::string& path, const std::string& body) const {
        return entry("SendRequestWrapper", "TRY SEND REQUEST TO " + path + " WITH " + body);
    }
    std::string retryEntry(const std::string& path) const {
        return entry("SendRequestWrapper", "GOOGLE WORKS, TRY ANOTHER ONE TO " + path +
                                               " WITH Content-Type:application/json;");
    }
    std::string noReplyEntry() const {
        return entry("SendRequestWrapper", "RESPONSE WAS NULL, TRY CONNECT TO GOOGLE");
    }
    void noProbe() {
        setProbeUrl(wide(std::string("http://") + BRISVANE_NO_LISTENER_ADDRESS + "/"));
    }
};

TEST_F(WrapperTest, AReplyAtOnceIsOneEntryAndOneDump) {
    const std::string token = fakeloyalty::uniqueToken("w");
    const std::string path = "v1/GuestInfo/" + token;
    service_.setScenario(token, R"({"GuestInfo": {"body": "{\"Status\":1}"}})");
    ASSERT_EQ(client_.init(service_.address(), false), 0);

    const WrapperResult r = wrapped(path, "{\"Card\":1}");
    EXPECT_EQ(r.outcome, WrapperOutcome::Replied);
    EXPECT_EQ(text(r.reply), "{\"Status\":1}");
    EXPECT_EQ(entries(), tryEntry(path, "{\"Card\":1}") + answer(path, "{\"Status\":1}"));
    EXPECT_EQ(service_.requests(token).size(), 1u);
}

TEST_F(WrapperTest, NoListenerAndNoInternetEndAfterTheProbeWithoutASecondAttempt) {
    noProbe();
    const std::string path = "v1/GuestInfo/offline";
    ASSERT_EQ(client_.init(BRISVANE_NO_LISTENER_ADDRESS, false), 0);

    WrapperResult r;
    long long ms = elapsedMs([&] { r = wrapped(path, "{}"); });

    EXPECT_EQ(r.outcome, WrapperOutcome::NoInternet);
    EXPECT_TRUE(isEmptyReply(r.reply));
    EXPECT_GE(ms, timings::kProbePauseMs);
    // Twice the time up to a second attempt: room for a loaded machine; the
    // log below shows that none was made.
    EXPECT_LT(ms, 2 * (timings::kProbePauseMs + timings::kRetryPauseMs));
    EXPECT_EQ(entries(), tryEntry(path, "{}") +
                             entry("SendRequest", "RETURN vector<char> dwExitCode != 0 1") +
                             entry("SendRequest", windowsErrorMessage(12029)) + noReplyEntry() +
                             entry("SendRequestWrapper", "GOOGLE NOT WORKING, ERROR!") +
                             entry("SendRequestWrapper", "AND INFO WAS NULL") +
                             nullDump("SendRequestWrapper"));
    EXPECT_EQ(r.windowsError, 12029u) << "the first attempt's, as no second was made";
}

TEST_F(WrapperTest, AWorkingProbeLeadsToASecondAttemptThatCanReply) {
    const std::string token = fakeloyalty::uniqueToken("w");
    const std::string path = "v1/GetDiscount/" + token;
    // An empty body fails the first attempt (WinInet itself resends a request
    // whose connection was dropped, so that would not do).
    service_.setScenario(token, R"({"GetDiscount": [{"body": ""}, {"body": "{\"Status\":1}"}]})");
    ASSERT_EQ(client_.init(service_.address(), false), 0);

    WrapperResult r;
    long long ms = elapsedMs([&] { r = wrapped(path, "{\"Order\":7}"); });

    EXPECT_EQ(r.outcome, WrapperOutcome::Replied);
    EXPECT_EQ(text(r.reply), "{\"Status\":1}");
    EXPECT_GE(ms, timings::kProbePauseMs + timings::kRetryPauseMs);
    EXPECT_EQ(entries(), tryEntry(path, "{\"Order\":7}") +
                             entry("SendRequest", logtext::noReplyMessage(path)) + noReplyEntry() +
                             retryEntry(path) + answer(path, "{\"Status\":1}"));
    auto got = service_.requests(token);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].body, "{\"Order\":7}");
    EXPECT_EQ(got[1].body, "{\"Order\":7}");
}

TEST_F(WrapperTest, NoReplyTwiceEndsAfterExactlyTwoAttempts) {
    const std::string token = fakeloyalty::uniqueToken("w");
    const std::string path = "v1/CloseOrder/" + token;
    service_.setScenario(token, R"({"CloseOrder": {"body": ""}})");
    ASSERT_EQ(client_.init(service_.address(), false), 0);

    const WrapperResult r = wrapped(path, "{}");
    EXPECT_EQ(r.outcome, WrapperOutcome::NoReplyAgain);
    EXPECT_TRUE(isEmptyReply(r.reply));
    const std::string readFailed = entry("SendRequest", logtext::noReplyMessage(path));
    EXPECT_EQ(entries(), tryEntry(path, "{}") + readFailed + noReplyEntry() + retryEntry(path) +
                             readFailed +
                             entry("SendRequestWrapper", "RESPONSE WAS NULL AGAIN, ERROR!") +
                             entry("SendRequestWrapper", "AND INFO WAS NULL") +
                             nullDump("SendRequestWrapper"));
    EXPECT_EQ(service_.requests(token).size(), 2u);
}

TEST_F(WrapperTest, TimeOutsCountAsNoReply) {
    const std::string token = fakeloyalty::uniqueToken("w");
    const std::string path = "v1/GetDiscount/" + token;
    service_.setScenario(token, R"({"GetDiscount": {"action": "hang", "max_s": 30}})");
    ASSERT_EQ(client_.init(service_.address(), false), 0);

    const WrapperResult r = wrapped(path, "{}");

    EXPECT_EQ(r.outcome, WrapperOutcome::NoReplyAgain);
    EXPECT_TRUE(r.reply.empty());
    const std::string log = entries();
    const std::string timedOut = entry("SendRequestWrapper", "Error TimeoutExceeded RETURN 0") +
                                 nullDump("SendRequestWrapper");
    std::size_t first = log.find(timedOut);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(log.find(timedOut, first + 1), std::string::npos) << "both attempts timed out";
    EXPECT_THAT(log, HasSubstr("RESPONSE WAS NULL AGAIN, ERROR!"));
    EXPECT_EQ(service_.requests(token).size(), 2u);
}

}  // namespace
