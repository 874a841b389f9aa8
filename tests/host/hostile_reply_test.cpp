// Service replies built to hurt the host's process: whatever arrives, the call
// ends with a result and the till keeps running.
#include <gmock/gmock.h>

#include "FakeLoyalty.h"
#include "HostRig.h"
#include "record/CardInfoRecord.h"

using namespace hostrig;
using ::testing::HasSubstr;

namespace {

class HostileReplyTest : public HostTest {};

const std::string kLookupCheck =
    "<CHECK restaurantcode=\"7\" chmode=\"0\"></CHECK><CHECKDATA orderguid=\"g\" checknum=\"5\" "
    "order_cat=\"1\">"
    "</CHECKDATA>";

// A megabyte of nesting would take a recursive JSON parser a million frames
// deep, far past the host thread's stack.
TEST_F(HostileReplyTest, DeeplyNestedRepliesFailTheLookupWithoutExhaustingTheStack) {
    fakeloyalty::Service service(BRISVANE_FAKE_ADDRESS);
    const std::string token = fakeloyalty::uniqueToken("nest");
    service.setScenario(token, R"({"GuestInfo": [{"body": "[", "size": 1048576},)"
                               R"( {"body": "{\"a\":", "size": 1000000}]})");
    writeConf(BRISVANE_FAKE_ADDRESS, token);
    loadDll();
    for (const char* shape : {"arrays", "objects"}) {
        CardInfoRecord record{};
        CallResult r = dll_->getCardInfoEx(79001112233LL, &record, kLookupCheck.c_str(),
                                           static_cast<uint32_t>(kLookupCheck.size()));
        EXPECT_EQ(r.result, 1) << shape;
        EXPECT_EQ(r.removed, 44u) << shape;
    }
    const std::string log = logText();
    std::size_t first = log.find("Error: not ok jsonGuestInfo RETURN 1");
    ASSERT_NE(first, std::string::npos) << log.substr(log.size() > 3000 ? log.size() - 3000 : 0);
    EXPECT_NE(log.find("Error: not ok jsonGuestInfo RETURN 1", first + 1), std::string::npos);
}

}  // namespace
