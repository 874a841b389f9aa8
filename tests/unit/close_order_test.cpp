#include <gmock/gmock.h>

#include <regex>

#include "TestSupport.h"
#include "api/CloseOrder.h"
#include "check/CheckXml.h"
#include "check/XmlErrors.h"
#include "http/HttpClient.h"
#include "log/Logger.h"

using namespace testsupport;
using ::testing::HasSubstr;

namespace {

// Bonus payments use code 5, deposits code 6, both on interface "7".
class CloseOrderTest : public InTempDir {
  protected:
    void load(const std::string& checkDataInner, const std::string& interface = "7") {
        const std::string xml =
            "<CHECK restaurantcode=\"R\" chmode=\"1\"/><CHECKDATA orderguid=\"{G}\" checknum=\"9\" "
            "closedatetime=\"2026-12-07 12:00:00\">" +
            checkDataInner + "</CHECKDATA>";
        ASSERT_TRUE(reader.doc.load_string(xml.c_str()));
        reader.check = reader.doc.child("CHECK");
        reader.checkData = reader.doc.child("CHECKDATA");
        reader.selectedInterface = interface;
    }
    std::string close() {
        std::vector<char> body;
        buildCloseOrderBody(reader, {5}, {6}, body, clientId, "tok", neverConnected, log);
        return std::string(body.data());
    }
    std::string tail(const std::string& body) { return body.substr(body.find("],") + 2); }

    CheckXml reader;
    HttpClient neverConnected;  // holders are not asked in these cases
    Logger log;
    std::string clientId;
};

TEST_F(CloseOrderTest, BonusAndDepositPaymentsNameClientAndWriteOffs) {
    load(
        "<CHECKPAYMENTS>"
        "<PAYMENT code=\"5\" account=\"12345\" interface=\"7\" sum=\"150\"/>"
        "<PAYMENT code=\"6\" account=\"777\" sum=\"40\"/></CHECKPAYMENTS>");
    const std::string body = close();
    EXPECT_EQ(clientId, "12345");
    EXPECT_EQ(body,
              R"({"OrganizationId":"R","OrderId":"G","OrderSum":0.0,"OrderSumWithDiscount":0.0,)"
              R"("ParentOrderId":"G","ClientId":"12345","OrderNumber":"9","Order":[],)"
              R"("DepositClientId":"777","DepositWriteOff":40.0,"OrderDate":"2026-12-07 12:00:00",)"
              R"("BonusWriteOff":150.0})");
    std::string text = stampless(logText());
    EXPECT_EQ(text, "[S] SendRequest from checkXml : TRY GET ClientId from CHECKPAYMENTS" + kEol +
                        "[S] SendRequest from checkXml : MAYBE break here" + kEol +
                        "[S] SendRequest from checkXml : ClientId IS 12345" + kEol +
                        "[S] SendRequest from checkXml : RESULT ClientId IS 12345" + kEol);
}

TEST_F(CloseOrderTest, LastBonusPaymentNamesClientAndSumsAddInSinglePrecision) {
    load(
        "<CHECKPAYMENTS><PAYMENT code=\"5\" account=\"A1\" interface=\"7\" sum=\"0.1\"/>"
        "<PAYMENT code=\"5\" account=\"A2\" interface=\"7\" sum=\"0.2\"/></CHECKPAYMENTS>");
    const std::string body = close();
    EXPECT_EQ(clientId, "A2");
    // No deposit payment: the client id stands in, with nothing written off.
    EXPECT_THAT(body, HasSubstr(R"("DepositClientId":"A2","DepositWriteOff":0.0,)"));
    EXPECT_THAT(body, HasSubstr(R"("BonusWriteOff":0.30000001192092896})"));
}

TEST_F(CloseOrderTest, DiscountNamesClientWhenPaymentsDoNot) {
    load(
        "<CHECKPAYMENTS><PAYMENT code=\"5\" account=\"0\" interface=\"7\" sum=\"30\"/>"
        "<PAYMENT code=\"6\" sum=\"0\"/></CHECKPAYMENTS>"
        "<CHECKDISCOUNTS><DISCOUNT account=\"D1\" interface=\"7\" sum=\"1\"/>"
        "<DISCOUNT account=\"D2\" interface=\"8\" sum=\"1\"/></CHECKDISCOUNTS>");
    const std::string body = close();
    EXPECT_EQ(clientId, "D1");
    // The second pass still counts the first bonus payment of the interface;
    // a deposit payment of no sum without "account" names nobody, so nothing is written off.
    EXPECT_THAT(body, HasSubstr(R"("DepositClientId":"D1","DepositWriteOff":0.0,)"));
    EXPECT_THAT(body, HasSubstr(R"("BonusWriteOff":30.0})"));
    EXPECT_THAT(logText(), HasSubstr("TRY GET ClientId from CHECKDISCOUNTS"));
}

TEST_F(CloseOrderTest, WithoutSelectedInterfaceNoPaymentNamesTheClient) {
    load(
        "<CHECKPAYMENTS><PAYMENT code=\"5\" account=\"12345\" interface=\"7\" sum=\"10\"/>"
        "</CHECKPAYMENTS>",
        "");
    try {
        close();
        ADD_FAILURE() << "no exception";
    } catch (const NodeNotFound& e) {
        EXPECT_EQ(e.message, "Node CHECKDISCOUNTS AND THEN HOLDERS not found");
    }
}

TEST_F(CloseOrderTest, MissingPiecesThrowTheirExceptions) {
    load("");
    try {
        close();
        ADD_FAILURE();
    } catch (const NodeNotFound& e) {
        EXPECT_EQ(e.message, "Node CHECKPAYMENTS not found");
    }
    load("<CHECKPAYMENTS><PAYMENT account=\"1\"/></CHECKPAYMENTS>");
    try {
        close();
        ADD_FAILURE();
    } catch (const AttributeNotFound& e) {
        EXPECT_EQ(e.message, "Attribute code not found");
    }
    load(
        "<CHECKPAYMENTS/><CHECKDISCOUNTS><DISCOUNT account=\"D\" "
        "interface=\"7\"/></CHECKDISCOUNTS>");
    try {
        close();
        ADD_FAILURE();
    } catch (const AttributeNotFound& e) {
        EXPECT_EQ(e.message, "Attribute sum not found");
    }
}

TEST_F(CloseOrderTest, ReturnBodyIsTheOrderHeadOnly) {
    load("<CHECKLINES><LINE type=\"dish\" sum=\"100\"/><LINE type=\"modify\"/></CHECKLINES>");
    std::vector<char> body;
    buildReturnOrderBody(reader, body);
    EXPECT_STREQ(body.data(),
                 R"({"OrganizationId":"R","OrderId":"G","OrderSumWithDiscount":100.0})");
    load("");
    buildReturnOrderBody(reader, body);
    EXPECT_STREQ(
        body.data(),
        R"({"OrganizationId":"R","OrderId":"G","OrderSum":0.0,"OrderSumWithDiscount":0.0})");
}

}  // namespace
