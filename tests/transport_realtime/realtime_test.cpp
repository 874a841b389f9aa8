// The real 60-second limit, against the timings the DLL ships with.
#include <gmock/gmock.h>
#include <windows.h>

#include "TransportFixture.h"
#include "http/Timings.h"

using namespace transporttest;

namespace {

class RealTimingTest : public TransportTest {};

TEST_F(RealTimingTest, AServiceSilentForOverAMinuteTimesOutAtSixtySeconds) {
    static_assert(timings::kSendLimitMs == 60000, "built with the DLL's timings");
    const std::string token = fakeloyalty::uniqueToken("r");
    const std::string path = "v1/GuestInfo/" + token;
    // Would answer only after 75 seconds.
    service_.setScenario(token, R"({"GuestInfo": {"delay_ms": 75000, "body": "{\"Status\":1}"}})");
    ASSERT_EQ(client_.init(service_.address(), false), 0);

    ExchangeOutcome outcome = ExchangeOutcome::Replied;
    int workersAfter = -1;
    long long ms = elapsedMs([&] {
        outcome = exchange(path, "{}").outcome;
        workersAfter = runningSendWorkers();
    });

    EXPECT_EQ(outcome, ExchangeOutcome::TimedOut);
    EXPECT_EQ(workersAfter, 0) << "SendRequest returned while its worker still ran";
    EXPECT_GE(ms, 60000);
    EXPECT_LT(ms, 2 * 60000);
    EXPECT_EQ(entries(), entry("SendRequest", logtext::timeoutMessage(path)));
    // The service notices the hang-up within its polling step.
    std::vector<fakeloyalty::Request> got;
    for (int i = 0; i < 30; ++i) {
        got = service_.requests(token);
        if (got.size() == 1 && got[0].clientClosed) break;
        Sleep(100);
    }
    ASSERT_EQ(got.size(), 1u);
    EXPECT_TRUE(got[0].clientClosed) << "the connection was not given up at the limit";
}

}  // namespace
