// The card lookup on a check without CHECKDATA: the reader logs the missing
// part and the flow goes on in every mode, with an empty order where it asks
// for a discount.
#include <gmock/gmock.h>

#include <cstring>
#include <sstream>
#include <vector>

#include "TransportFixture.h"
#include "host/Entry.h"
#include "record/CardInfoRecord.h"

using namespace transporttest;
using ::testing::ElementsAre;

namespace {

const char kGuest[] =
    R"({"Status":1,"ClientId":"42","NotPayType":0,"LoyaltyLevel":"","DiscountId":0,"BonusId":0,)"
    R"("BonusBalance":"0","LastName":"","FirstName":"","MiddleName":""})";
const char kDiscount[] =
    R"({"Status":1,"FIO":"Guest","NotPayType":0,"BonusId":0,"DiscountId":0,"SumDiscount":1.5,)"
    R"("MaxBonus":0,"MaxDeposit":0,"LoyaltyLevel":"","PrintMessage":""})";

using logtext::replyWith;

class CardLookupFlowTest : public TransportTest {
  protected:
    void SetUp() override {
        TransportTest::SetUp();
        token_ = fakeloyalty::uniqueToken("flow");
        testsupport::writeFile(
            dir_ / "conf.xml",
            logtext::confXml(service_.address(), logtext::place("-100", token_, true)));
        service_.setScenario(token_, "{\"GuestInfo\": " + replyWith(kGuest) +
                                         ", \"GetDiscount\": " + replyWith(kDiscount) + "}");
        std::memset(&record_, 0, sizeof record_);
    }

    // A check without CHECKDATA: the reader holds CHECK only.
    int32_t lookup(int mode) {
        const std::string check =
            "<CHECK chmode=\"" + std::to_string(mode) + "\" restaurantcode=\"R7\"></CHECK>\n";
        const int32_t result = runGetCardInfoEx(79161234567LL, &record_, check.c_str(),
                                                static_cast<uint32_t>(check.size() + 1));
        EXPECT_EQ(openTransportHandles(), 0) << "the lookup left its connection open";
        return result;
    }

    std::vector<std::string> lookupLines() const {
        const std::string prefix = "[S] GetCardInfoEx : ";
        std::vector<std::string> out;
        std::istringstream in(entries());
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.rfind(prefix, 0) == 0) out.push_back(line.substr(prefix.size()));
        }
        return out;
    }
    std::vector<std::string> paths() const {
        std::vector<std::string> out;
        for (const auto& r : service_.requests(token_)) out.push_back(r.path);
        return out;
    }

    std::string token_;
    CardInfoRecord record_;
};

TEST_F(CardLookupFlowTest, EveryModeGoesOnWithoutCheckData) {
    const std::string guest = "/v1/GuestInfo/" + token_, discount = "/v1/GetDiscount/" + token_;
    const struct {
        int mode;
        std::vector<std::string> paths;
    } cases[] = {{0, {guest}}, {1, {guest, discount}}, {16, {discount}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        const std::size_t before = paths().size();
        EXPECT_EQ(lookup(c.mode), 0);
        const std::vector<std::string> all = paths();
        EXPECT_EQ(std::vector<std::string>(all.begin() + before, all.end()), c.paths);
    }
}

TEST_F(CardLookupFlowTest, ModeNineGoesOnWithAnEmptyOrder) {
    EXPECT_EQ(lookup(9), 0);

    EXPECT_THAT(paths(), ElementsAre("/v1/GuestInfo/" + token_, "/v1/GetDiscount/" + token_));
    EXPECT_EQ(service_.requests(token_).at(1).body,
              R"({"OrganizationId":"R7","OrderId":"","ParentOrderId":"","ClientId":"42",)"
              R"("OrderNumber":"","OrderSum":0.0,"OrderSumWithDiscount":0.0,"Order":[]})");
    const int64_t ownerId = record_.Owner_id, maxDiscount = record_.Max_discount;
    EXPECT_EQ(ownerId, 42);
    EXPECT_EQ(maxDiscount, 150);
    EXPECT_EQ(lookupLines().back(), "Ended successfully! RETURN 0");
}

}  // namespace
