// The card lookup's handling of a reader that reports a missing CHECKDATA
// (initCheckXml result 2). The DLL's reader never gives 2 (its init catches
// every exception itself), so the flow is run here with a reader step that
// reports it; the rest is the real flow against the fake service.
#include <gmock/gmock.h>

#include <cstring>
#include <sstream>
#include <vector>

#include "TransportFixture.h"
#include "check/CheckXml.h"
#include "check/XmlErrors.h"
#include "host/CardLookup.h"
#include "record/CardInfoRecord.h"

using namespace transporttest;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// Loads the check as the module does, then lets CheckdataNotFound out of the
// step, so that initCheckXml's own result mapping reports 2.
int checkdataReported(CheckXml& reader, const char* inpBuf, uint32_t inpLen, const std::string& tag,
                      Logger& log) {
    return runCheckInit(
        [&] {
            reader.init(inpBuf, inpLen, log);
            throw CheckdataNotFound();
        },
        tag, log);
}

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
        const int32_t result =
            runCardLookup(79161234567LL, &record_, check.c_str(),
                          static_cast<uint32_t>(check.size() + 1), checkdataReported);
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

TEST_F(CardLookupFlowTest, DiscountModesStopWithoutARequest) {
    for (int mode : {1, 16}) {
        SCOPED_TRACE(mode);
        std::filesystem::remove(dir_ / "brisvane.log");
        record_.Deleted = 1;

        EXPECT_EQ(lookup(mode), 1);

        EXPECT_EQ(record_.Deleted, 0) << "the flags are cleared before the check is read";
        EXPECT_EQ(lookupLines(),
                  (std::vector<std::string>{
                      "GetCardInfoEx from File1 Started!", "InputBuf was", "TRY GET CheckXmlFunc",
                      "CheckdataNotFound", "TRY GET token", "getToken success", "TRY GET GetChmod",
                      "checkChmod is " + std::to_string(mode), "TRY GET LOGICK",
                      "ERROR CheckdataNotFound && this is not checkChmod = 0, 9, 8, 10, 11, 12, 13 "
                      "RETURN 1"}));
    }
    EXPECT_THAT(paths(), IsEmpty());
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
