// SendRequestWrapper: the pause, the probe and the one retry.
#include <gmock/gmock.h>

#include <cstring>

#include "TransportFixture.h"
#include "http/ErrorText.h"
#include "http/Timings.h"
#include "record/CardInfoRecord.h"

using namespace transporttest;
using ::testing::HasSubstr;

namespace {

// "Карта не найдена, обновите карту!" in Windows-1251.
const char kCardNotFound[] =
    "\xca\xe0\xf0\xf2\xe0 \xed\xe5 \xed\xe0\xe9\xe4\xe5\xed\xe0, \xee\xe1\xed\xee\xe2\xe8\xf2\xe5 "
    "\xea\xe0\xf0\xf2\xf3!";

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

    ByteBuffer reply;
    EXPECT_EQ(wrapped(nullptr, reply, path, "{\"Card\":1}"), 0);
    EXPECT_EQ(text(reply), "{\"Status\":1}");
    EXPECT_EQ(entries(), tryEntry(path, "{\"Card\":1}") + answer(path, "{\"Status\":1}"));
    EXPECT_EQ(service_.requests(token).size(), 1u);
}

TEST_F(WrapperTest, NoListenerAndNoInternetEndAfterTheProbeWithoutASecondAttempt) {
    noProbe();
    const std::string path = "v1/GuestInfo/offline";
    ASSERT_EQ(client_.init(BRISVANE_NO_LISTENER_ADDRESS, false), 0);

    ByteBuffer reply;
    int result = 0;
    long long ms = elapsedMs([&] { result = wrapped(nullptr, reply, path, "{}"); });

    EXPECT_EQ(result, 1);
    EXPECT_TRUE(isEmptyReply(reply));
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
    EXPECT_NE(lastErrorCode, 0u);
}

TEST_F(WrapperTest, AWorkingProbeLeadsToASecondAttemptThatCanReply) {
    const std::string token = fakeloyalty::uniqueToken("w");
    const std::string path = "v1/GetDiscount/" + token;
    // An empty body fails the first attempt (WinInet itself resends a request
    // whose connection was dropped, so that would not do).
    service_.setScenario(token, R"({"GetDiscount": [{"body": ""}, {"body": "{\"Status\":1}"}]})");
    ASSERT_EQ(client_.init(service_.address(), false), 0);

    ByteBuffer reply;
    int result = 0;
    long long ms = elapsedMs([&] { result = wrapped(nullptr, reply, path, "{\"Order\":7}"); });

    EXPECT_EQ(result, 0);
    EXPECT_EQ(text(reply), "{\"Status\":1}");
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

    ByteBuffer reply;
    EXPECT_EQ(wrapped(nullptr, reply, path, "{}"), -1);
    EXPECT_TRUE(isEmptyReply(reply));
    const std::string readFailed = entry("SendRequest", logtext::noReplyMessage(path));
    EXPECT_EQ(entries(), tryEntry(path, "{}") + readFailed + noReplyEntry() + retryEntry(path) +
                             readFailed +
                             entry("SendRequestWrapper", "RESPONSE WAS NULL AGAIN, ERROR!") +
                             entry("SendRequestWrapper", "AND INFO WAS NULL") +
                             nullDump("SendRequestWrapper"));
    EXPECT_EQ(service_.requests(token).size(), 2u);
}

TEST_F(WrapperTest, TimeOutsEmptyAStaleReplyAndAnnotateTheRecord) {
    const std::string token = fakeloyalty::uniqueToken("w");
    const std::string path = "v1/GetDiscount/" + token;
    service_.setScenario(token, R"({"GetDiscount": {"action": "hang", "max_s": 30}})");
    ASSERT_EQ(client_.init(service_.address(), false), 0);

    // The buffer still holds an earlier call's reply, as the discount request hands it in.
    const std::string stale = "{\"Status\":1,\"earlier\":true}";
    ByteBuffer reply(stale.begin(), stale.end());
    reply.push_back('\0');
    CardInfoRecord record{};

    EXPECT_EQ(wrapped(&record, reply, path, "{}"), -1);

    EXPECT_TRUE(isEmptyReply(reply)) << "a time-out passed the stale reply off as the answer";
    EXPECT_EQ(std::string(record.Block_reason), kCardNotFound);
    EXPECT_EQ(std::string(record.Screen_comment), logtext::kTimeoutText);
    const std::string log = entries();
    const std::string timeoutEntry = entry("SendRequestWrapper", "Error TimeoutExceeded RETURN 0");
    std::size_t first = log.find(timeoutEntry);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(log.find(timeoutEntry, first + 1), std::string::npos) << "both attempts timed out";
    EXPECT_EQ(log.find("AND INFO WAS NULL"), std::string::npos) << "a record was given";
    EXPECT_THAT(log, HasSubstr(timeoutEntry + "[S] SendRequestWrapper : Info - " + kEol +
                               "Access_amount: "));
    EXPECT_THAT(log, HasSubstr("RESPONSE WAS NULL AGAIN, ERROR!"));
    EXPECT_EQ(service_.requests(token).size(), 2u);
}

}  // namespace
