// One exchange through SendRequest against the fake loyalty service.
#include <gmock/gmock.h>

#include <cstdio>

#include "TransportFixture.h"
#include "http/ErrorText.h"
#include "http/Timings.h"

using namespace transporttest;
using ::testing::HasSubstr;

namespace {

class SenderTest : public TransportTest {};

TEST_F(SenderTest, SendsThePostAsGivenAndReturnsTheWholeReplyWithItsDump) {
    const std::string token = fakeloyalty::uniqueToken("s");
    const std::string path = "v1/GuestInfo/" + token;
    const std::string body = "{\"Phone\":\"79161234567\",\"Name\":\"\xc8\xe2\xe0\xed\"}";
    service_.setScenario(token, R"({"GuestInfo": {"body": "{\"Status\":1,\"FIO\":\"A B\"}"}})");
    ASSERT_EQ(client_.init(service_.address(), false), 0);

    ByteBuffer reply = send(path, body);

    EXPECT_EQ(text(reply), "{\"Status\":1,\"FIO\":\"A B\"}");
    ASSERT_FALSE(reply.empty());
    EXPECT_EQ(reply.back(), '\0');
    EXPECT_EQ(entries(), answer(path, "{\"Status\":1,\"FIO\":\"A B\"}"));
    EXPECT_EQ(openTransportHandles(), 2) << "the request handle stays open";

    auto got = service_.requests(token);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].method, "POST");
    EXPECT_EQ(got[0].path, "/" + path);
    EXPECT_EQ(got[0].header("Content-Type"), "application/json;");
    EXPECT_EQ(got[0].header("User-Agent"), "WinInet Test");
    EXPECT_EQ(got[0].header("Accept"), "*/*");
    EXPECT_EQ(got[0].body, body) << "the body goes out byte for byte";
    EXPECT_FALSE(got[0].tls);
}

TEST_F(SenderTest, AnErrorPageIsStillTheReply) {
    const std::string token = fakeloyalty::uniqueToken("s");
    service_.setScenario(token,
                         R"({"CloseOrder": {"status": 500, "body": "{\"Error\":\"down\"}"}})");
    ASSERT_EQ(client_.init(service_.address(), false), 0);
    EXPECT_EQ(text(send("v1/CloseOrder/" + token, "{}")), "{\"Error\":\"down\"}");
}

TEST_F(SenderTest, AnEmptyBodyIsNoReply) {
    const std::string token = fakeloyalty::uniqueToken("s");
    const std::string path = "v1/GetDiscount/" + token;
    service_.setScenario(token, R"({"GetDiscount": {"body": ""}})");
    ASSERT_EQ(client_.init(service_.address(), false), 0);

    ByteBuffer reply = send(path, "{}");

    EXPECT_TRUE(reply.empty());
    EXPECT_EQ(entries(), entry("SendRequest", logtext::noReplyMessage(path)));
    EXPECT_EQ(openTransportHandles(), 2) << "the request handle was closed on the failure path";
}

// A failed send is followed by an entry naming its cause; an error page stays
// the reply, and its status follows the dump (or the empty-read entry when the
// page is empty). An empty body is no OS error.
TEST_F(SenderTest, FailuresNameTheirCauseAndErrorPagesTheirStatus) {
    struct Case {
        const char* name;
        std::string host;       // where the client connects
        std::string behaviour;  // the fake service's answer
        uint32_t sendError;     // the send fails with this code; 0: it succeeds
        uint32_t readError;     // the read fails with this code; 0: it succeeds
        std::string reply;      // the reply text when the send succeeds
        uint32_t status;        // the status entry expected after the dump; 0: none
    };
    const std::string html = "<html><body><h1>502 Bad Gateway</h1></body></html>";
    const Case cases[] = {
        {"refused", BRISVANE_NO_LISTENER_ADDRESS, "", 12029, 0, "", 0},
        {"unresolvable", "brisvane-nowhere.invalid", "", 12007, 0, "", 0},
        {"empty reply", service_.address(), R"({"body": ""})", 0, 0, "", 0},
        {"empty 403", service_.address(), R"({"status": 403, "body": ""})", 0, 0, "", 403},
#ifndef _WIN32
        // A failed read names its cause too. Wine's WinInet hands out a body
        // cut short without an error, so only the native side can show it.
        {"body cut short", service_.address(), R"({"body": "{\"Sta", "cut": 100})", 0, 12030, "",
         0},
#endif
        {"502 page", service_.address(),
         R"({"status": 502, "content_type": "text/html", "body": ")" + html + R"("})", 0, 0, html,
         502},
        {"500 JSON", service_.address(), R"({"status": 500, "body": "{\"Status\":0}"})", 0, 0,
         "{\"Status\":0}", 500},
        {"200 JSON", service_.address(), R"({"body": "{\"Status\":1}"})", 0, 0, "{\"Status\":1}",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string token = fakeloyalty::uniqueToken("s");
        const std::string path = "v1/GuestInfo/" + token;
        if (!c.behaviour.empty())
            service_.setScenario(token, R"({"GuestInfo": )" + c.behaviour + "}");
        std::remove("brisvane.log");
        ASSERT_EQ(client_.init(c.host, false), 0);

        const ExchangeResult r = exchange(path, "{}");

        std::string expected;
        ExchangeOutcome outcome = ExchangeOutcome::Replied;
        if (c.sendError != 0) {
            outcome = ExchangeOutcome::SendFailed;
            EXPECT_EQ(r.windowsError, c.sendError);
            expected = entry("SendRequest", "RETURN vector<char> dwExitCode != 0 1") +
                       entry("SendRequest", "Windows error " + std::to_string(c.sendError) + ": " +
                                                describeError(c.sendError));
        } else if (c.reply.empty()) {
            outcome = ExchangeOutcome::NothingRead;
            expected = entry("SendRequest", logtext::noReplyMessage(path));
            if (c.readError != 0)
                expected += entry("SendRequest", windowsErrorMessage(c.readError));
            if (c.status != 0)
                expected += entry("SendRequest", "HTTP status " + std::to_string(c.status));
        } else {
            expected = answer(path, c.reply);
            if (c.status != 0)
                expected += entry("SendRequest", "HTTP status " + std::to_string(c.status));
        }
        EXPECT_EQ(r.outcome, outcome);
        EXPECT_EQ(text(r.reply), c.reply);
        EXPECT_EQ(entries(), expected);
        EXPECT_EQ(r.httpStatus, c.status != 0 ? c.status : (c.sendError != 0 ? 0u : 200u));
        EXPECT_EQ(lastErrorCode, r.windowsError) << "the module's record for later lines";
        client_.close();
    }
}

TEST_F(SenderTest, LongRepliesAreReadToTheirEndUpToTheBound) {
    const std::string token = fakeloyalty::uniqueToken("s");
    const std::size_t oversize = kReplyLimit + 5000;
    service_.setScenario(token, R"({"GuestInfo": {"body": "0123456789abcdefghi", "size": 3000},
                                    "GetDiscount": {"body": "0123456789", "size": )" +
                                    std::to_string(oversize) + "}}");
    ASSERT_EQ(client_.init(service_.address(), false), 0);

    std::string pattern;
    while (pattern.size() < oversize) pattern += "0123456789";

    std::string whole;
    while (whole.size() < 3000) whole += "0123456789abcdefghi";
    whole.resize(3000);
    ByteBuffer reply = send("v1/GuestInfo/" + token, "{}");
    EXPECT_EQ(reply.size(), 3001u);
    EXPECT_EQ(text(reply), whole);

    ByteBuffer cut = send("v1/GetDiscount/" + token, "{}");
    EXPECT_EQ(text(cut), pattern.substr(0, kReplyLimit));
    EXPECT_THAT(entries(),
                HasSubstr(entry(
                    "SendRequest",
                    "ERROR reply longer than 1048576 bytes, the rest is not read v1/GetDiscount/" +
                        token)));
}

TEST_F(SenderTest, NoConnectionMeansNoRequestHandle) {
    // Never initialised (or closed): the request handle cannot be made.
    const ExchangeResult r = exchange("v1/GuestInfo/x", "{}");
    EXPECT_EQ(r.outcome, ExchangeOutcome::NoRequestHandle);
    EXPECT_TRUE(r.reply.empty());
    EXPECT_NE(r.windowsError, 0u);
    EXPECT_EQ(lastErrorCode, r.windowsError);
    EXPECT_EQ(entries(),
              entry("SendRequest", "ERROR WHILE SENDING hRequest == NULL v1/GuestInfo/x" +
                                       std::to_string(r.windowsError)));
    EXPECT_EQ(openTransportHandles(), 0);
}

TEST_F(SenderTest, AnotherInitClosesTheConnectionLeftOpen) {
    ASSERT_EQ(client_.init(service_.address(), false), 0);
    ASSERT_EQ(client_.init(service_.address(), false), 0);
    EXPECT_EQ(openTransportHandles(), 2);
    client_.close();
    EXPECT_EQ(openTransportHandles(), 0);
    client_.close();  // closing twice is harmless
    EXPECT_EQ(openTransportHandles(), 0);
}

TEST_F(SenderTest, ASendOverTheLimitTimesOutAfterTheWorkerHasEnded) {
    const std::string token = fakeloyalty::uniqueToken("s");
    const std::string path = "v1/GuestInfo/" + token;
    service_.setScenario(token, R"({"GuestInfo": {"action": "hang", "max_s": 30}})");
    ASSERT_EQ(client_.init(service_.address(), false), 0);

    ExchangeResult r;
    int workersAfter = -1;
    long long ms = elapsedMs([&] {
        r = exchange(path, "{}");
        workersAfter = runningSendWorkers();
    });

    EXPECT_EQ(workersAfter, 0) << "SendRequest returned while its worker still ran";
    EXPECT_EQ(r.outcome, ExchangeOutcome::TimedOut);
    EXPECT_TRUE(r.reply.empty());
    EXPECT_GE(ms, timings::kSendLimitMs);
    EXPECT_LT(ms, 2 * timings::kRequestIoTimeoutMs) << "the worker ended long after the limit";
    EXPECT_EQ(entries(), entry("SendRequest", logtext::timeoutMessage(path)));
    EXPECT_EQ(openTransportHandles(), 2);
}

}  // namespace
