// The close body's search for the guest among the check's card holders: one
// GuestInfo exchange per holder against the fake loyalty service.
#include <gmock/gmock.h>

#include <algorithm>

#include "TransportFixture.h"
#include "api/CloseOrder.h"
#include "check/CheckXml.h"
#include "check/XmlErrors.h"

using namespace transporttest;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

constexpr const char* kTag = "SendRequest from checkXml";

// Bonus payments use code 5, deposits code 6, the host selected interface "7".
class HolderSearchTest : public TransportTest {
  protected:
    void SetUp() override {
        TransportTest::SetUp();
        token_ = fakeloyalty::uniqueToken("h");
        ASSERT_EQ(client_.init(service_.address(), false), 0);
    }
    void load(const std::string& checkDataInner, std::vector<int64_t> holders) {
        const std::string xml =
            "<CHECK restaurantcode=\"R\" chmode=\"1\"/><CHECKDATA orderguid=\"{G}\" checknum=\"9\" "
            "closedatetime=\"2026-12-07 12:00:00\">" +
            checkDataInner + "</CHECKDATA>";
        ASSERT_TRUE(reader_.doc.load_string(xml.c_str()));
        reader_.check = reader_.doc.child("CHECK");
        reader_.checkData = reader_.doc.child("CHECKDATA");
        reader_.selectedInterface = "7";
        reader_.cardCodes = std::move(holders);
    }
    // GuestInfo replies in the order the holders are asked.
    void replies(const std::string& behavioursJson) {
        service_.setScenario(token_, "{\"GuestInfo\": [" + behavioursJson + "]}");
    }
    std::string close() {
        std::vector<char> body;
        buildCloseOrderBody(reader_, {5}, {6}, body, clientId_, token_, client_, log_);
        return std::string(body.data());
    }
    std::vector<std::string> askedBodies() const {
        std::vector<std::string> out;
        for (const auto& r : service_.requests(token_)) {
            EXPECT_EQ(r.path, "/v1/GuestInfo/" + token_);
            out.push_back(r.body);
        }
        return out;
    }
    std::string ask(const std::string& body) const {
        return entry(kTag, "TRY GET ClientId from API WITH " + body);
    }
    std::string guestPath() const { return "v1/GuestInfo/" + token_; }

    CheckXml reader_;
    std::string token_;
    std::string clientId_;
};

TEST_F(HolderSearchTest, EveryHolderIsAskedAndTheLastSuccessNamesTheClient) {
    // The bonus payment's account "0" names nobody, but its sum is still written off.
    load(
        "<CHECKPAYMENTS><PAYMENT code=\"5\" account=\"0\" interface=\"7\" sum=\"150\"/>"
        "</CHECKPAYMENTS>",
        {1001, 79161234567});
    replies(R"({"body": "{\"Status\":1,\"ClientId\":\"11\"}"},
               {"body": "{\"Status\":1,\"ClientId\":\"22\"}"})");

    const std::string body = close();

    EXPECT_EQ(clientId_, "22");
    EXPECT_THAT(askedBodies(),
                ::testing::ElementsAre("{\"CardToken\":1001}", "{\"Phone\":79161234567}"));
    EXPECT_EQ(body,
              R"({"OrganizationId":"R","OrderId":"G","OrderSum":0.0,"OrderSumWithDiscount":0.0,)"
              R"("ParentOrderId":"G","ClientId":"22","OrderNumber":"9","Order":[],)"
              R"("DepositClientId":"22","DepositWriteOff":0.0,"OrderDate":"2026-12-07 12:00:00",)"
              R"("BonusWriteOff":150.0})");
    EXPECT_EQ(entries(), entry(kTag, "TRY GET ClientId from CHECKPAYMENTS") +
                             entry(kTag, "MAYBE break here") + ask("{\"CardToken\":1001}") +
                             answer(guestPath(), "{\"Status\":1,\"ClientId\":\"11\"}") +
                             ask("{\"Phone\":79161234567}") +
                             answer(guestPath(), "{\"Status\":1,\"ClientId\":\"22\"}") +
                             entry(kTag, "RESULT ClientId IS 22"));
}

TEST_F(HolderSearchTest, UnusableRepliesAreSkippedWithoutALineOfTheirOwn) {
    load(
        "<CHECKPAYMENTS/><CHECKDISCOUNTS><DISCOUNT account=\"D\" interface=\"8\" sum=\"1\"/>"
        "</CHECKDISCOUNTS>",
        {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    // The dropped connection comes last: WinInet may resend such a request on
    // its own, which would shift the replies of the holders after it.
    replies(R"({"body": ""},
               {"body": "<html>not json</html>"},
               {"status": 500, "body": "{\"Status\":1,\"ClientId\":"},
               {"body": "[1]"},
               {"body": "{\"Status\":2,\"ClientId\":\"S2\"}"},
               {"body": "{\"Status\":\"1\",\"ClientId\":\"TEXT\"}"},
               {"body": "{\"Status\":1.0,\"ClientId\":\"REAL\"}"},
               {"body": "{\"Status\":1,\"ClientId\":555}"},
               {"body": "{\"Status\":1}"},
               {"body": "{\"Status\":1,\"ClientId\":\"GOOD\"}"},
               {"action": "close"})");

    close();

    EXPECT_EQ(clientId_, "GOOD") << "a later failure keeps an earlier success";
    // Each holder once; only the last one's request, whose connection was
    // dropped, may go out twice (WinInet's own resend).
    const std::vector<std::string> asked = askedBodies();
    std::vector<std::string> expected;
    for (int card = 1; card <= 11; ++card)
        expected.push_back("{\"CardToken\":" + std::to_string(card) + "}");
    if (asked.size() == 12) expected.push_back(expected.back());
    EXPECT_EQ(asked, expected);
    const std::string log = entries();
    EXPECT_THAT(log, HasSubstr(entry(kTag, "TRY GET ClientId from CHECKDISCOUNTS")));
    EXPECT_THAT(log, HasSubstr(ask("{\"CardToken\":11}")));
    EXPECT_THAT(log, Not(HasSubstr("TimeoutExceeded")));
    EXPECT_THAT(log, Not(HasSubstr("ClientId is NULL")));
    const std::string result = entry(kTag, "RESULT ClientId IS GOOD");
    EXPECT_EQ(log.substr(log.size() - result.size()), result);
}

TEST_F(HolderSearchTest, NoUsableReplyAtAllIsClientIdNotFound) {
    load("<CHECKPAYMENTS/>", {1, 2});
    replies(R"({"body": "{\"Status\":0}"})");

    EXPECT_THROW(close(), ClientIdNotFound);

    EXPECT_EQ(askedBodies().size(), 2u);
    const std::string log = entries();
    EXPECT_EQ(log.substr(log.size() - entry(kTag, "ClientId is NULL").size()),
              entry(kTag, "ClientId is NULL"));
    EXPECT_TRUE(clientId_.empty());
}

TEST_F(HolderSearchTest, AHolderWhoseExchangeTimesOutIsLoggedAndSkipped) {
    load("<CHECKPAYMENTS/>", {1, 2});
    replies(R"({"action": "hang", "max_s": 30},
               {"body": "{\"Status\":1,\"ClientId\":\"LATE\"}"})");

    close();

    EXPECT_EQ(clientId_, "LATE");
    EXPECT_EQ(askedBodies().size(), 2u);
    EXPECT_THAT(entries(), HasSubstr(ask("{\"CardToken\":1}") +
                                     entry("SendRequest", logtext::timeoutMessage(guestPath())) +
                                     entry(kTag, "Error TimeoutExceeded RETURN 0") +
                                     ask("{\"CardToken\":2}")));
}

TEST_F(HolderSearchTest, HoldersAreNotAskedWhenThePaymentsNameTheClient) {
    load("<CHECKPAYMENTS><PAYMENT code=\"5\" account=\"12345\" interface=\"7\"/></CHECKPAYMENTS>",
         {1, 2});
    replies(R"({"body": "{\"Status\":1,\"ClientId\":\"OTHER\"}"})");

    close();

    EXPECT_EQ(clientId_, "12345");
    EXPECT_TRUE(askedBodies().empty());
}

}  // namespace
