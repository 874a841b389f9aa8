#include <gmock/gmock.h>

#include "TestSupport.h"
#include "api/Discount.h"
#include "api/OrderBody.h"
#include "check/CheckXml.h"
#include "check/XmlErrors.h"
#include "http/HttpClient.h"
#include "log/Logger.h"

using ::testing::HasSubstr;

namespace {

class OrderBodyTest : public ::testing::Test {
  protected:
    // CHECK and CHECKDATA at top level, as a repaired input buffer gives them.
    void load(const std::string& checkData,
              const std::string& checkAttrs = "restaurantcode=\"R7\"") {
        const std::string xml = "<CHECK " + checkAttrs + " chmode=\"1\"/>" + checkData;
        ASSERT_TRUE(reader.doc.load_string(xml.c_str()));
        reader.check = reader.doc.child("CHECK");
        reader.checkData = reader.doc.child("CHECKDATA");
    }
    std::string discountBody(const std::string& clientId = "42") {
        std::vector<char> body;
        buildGetDiscountBody(reader, clientId, body);
        EXPECT_FALSE(body.empty());
        EXPECT_EQ(body.back(), '\0');
        return std::string(body.data());
    }
    static std::string lines(const std::string& items) {
        return "<CHECKDATA orderguid=\"{0A1B}\" checknum=\"15\"><CHECKLINES>" + items +
               "</CHECKLINES></CHECKDATA>";
    }
    static std::string dish(const std::string& attrs) {
        return "<LINE type=\"dish\" id=\"{D1}\" name=\"Борщ\" servprint_id=\"{K1}\" "
               "servprint=\"Кухня\" " +
               attrs + "/>";
    }
    CheckXml reader;
};

TEST_F(OrderBodyTest, WithoutLinesBothSumsFollowOrderId) {
    load("<CHECKDATA orderguid=\"{0A1B}\" checknum=\"15\"/>");
    EXPECT_EQ(
        discountBody(),
        R"({"OrganizationId":"R7","OrderId":"0A1B","OrderSum":0.0,"OrderSumWithDiscount":0.0,)"
        R"("ParentOrderId":"0A1B","ClientId":"42","OrderNumber":"15","Order":[]})");
}

TEST_F(OrderBodyTest, StubBodyWithoutCheckData) {
    load("");
    EXPECT_EQ(discountBody("7"),
              R"({"OrganizationId":"R7","OrderId":"","ParentOrderId":"","ClientId":"7",)"
              R"("OrderNumber":"","OrderSum":0.0,"OrderSumWithDiscount":0.0,"Order":[]})");
    load("", "chmode=\"1\"");
    try {
        discountBody();
        ADD_FAILURE() << "no exception";
    } catch (const XmlElementNotFound& e) {
        EXPECT_EQ(e.message, "Attribute restaurantcode not found");
    }
}

TEST_F(OrderBodyTest, OrderGuidBraceRule) {
    for (const auto& [guid, id] : std::vector<std::pair<std::string, std::string>>{
             {"{0A1B}", "0A1B"}, {"X1", "1"}, {"", ""}, {"}", ""}, {"{", ""}}) {
        load("<CHECKDATA orderguid=\"" + guid + "\" checknum=\"1\"/>");
        const std::string body = discountBody();
        EXPECT_THAT(body, HasSubstr("\"OrderId\":\"" + id + "\"")) << guid;
        EXPECT_THAT(body, HasSubstr("\"ParentOrderId\":\"" + id + "\"")) << guid;
    }
    // The closing brace is gone from the document itself: a later read agrees.
    load("<CHECKDATA orderguid=\"{ABC}\" checknum=\"1\"/>");
    discountBody();
    EXPECT_STREQ(reader.checkData.attribute("orderguid").value(), "{ABC");
    EXPECT_EQ(stripBraces(reader.checkData, "orderguid"), "ABC");
}

TEST_F(OrderBodyTest, LineClassesAndAmounts) {
    load(lines(
        "<LINE type=\"modify\" id=\"{M}\" name=\"Соус\" quantity=\"1\"/>" +
        dish("parent=\"\" quantity=\"1\" price=\"80\" sum=\"80\"") +
        "<LINE type=\"combo\" id=\"{C}\" name=\"Обед\" quantity=\"2\" price=\"300\" sum=\"540\"/>" +
        dish("quantity=\"0\" price=\"10\" sum=\"10\"") +
        dish("quantity=\"x\" price=\"5\" sum=\"4\"") +
        dish("quantity=\"-1\" price=\"100\" sum=\"100\"")));
    EXPECT_EQ(
        discountBody(),
        R"({"OrganizationId":"R7","OrderId":"0A1B","OrderSumWithDiscount":654.0,)"
        R"("ParentOrderId":"0A1B","ClientId":"42","OrderNumber":"15","OrderSum":515.0,"Order":[)"
        R"({"ProductId":"M","ProductName":"Соус","CategoryId":"modify","CategoryName":"Модификатор",)"
        R"("Price":0.0,"PriceWithDiscount":0.0,"Amount":1.0},)"
        R"({"ProductId":"D1","ProductName":"Борщ","CategoryId":"K1","CategoryName":"Кухня",)"
        R"("Price":0.0,"PriceWithDiscount":0.0,"Amount":1.0},)"
        R"({"ProductId":"C","ProductName":"Обед","CategoryId":"combo","CategoryName":"Комбо-блюдо",)"
        R"("Price":300.0,"PriceWithDiscount":270.0,"Amount":2.0},)"
        R"({"ProductId":"D1","ProductName":"Борщ","CategoryId":"K1","CategoryName":"Кухня",)"
        R"("Price":10.0,"PriceWithDiscount":10.0,"Amount":1.0},)"
        R"({"ProductId":"D1","ProductName":"Борщ","CategoryId":"K1","CategoryName":"Кухня",)"
        R"("Price":5.0,"PriceWithDiscount":4.0,"Amount":1.0},)"
        R"({"ProductId":"D1","ProductName":"Борщ","CategoryId":"K1","CategoryName":"Кухня",)"
        R"("Price":100.0,"PriceWithDiscount":-100.0,"Amount":-1.0}]})");
}

TEST_F(OrderBodyTest, FloatPricesAreWidenedNotRounded) {
    load(lines(dish("quantity=\"1\" price=\"99.9\" sum=\"99.9\"")));
    const std::string body = discountBody();
    EXPECT_THAT(body, HasSubstr("\"OrderSumWithDiscount\":99.9000015258789,"));
    EXPECT_THAT(body, HasSubstr("\"OrderSum\":99.9000015258789,"));
    EXPECT_THAT(body, HasSubstr("\"Price\":99.9000015258789,"));
}

TEST_F(OrderBodyTest, FirstMissingAttributeInReadOrderIsReported) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"<LINE id=\"a\" name=\"n\" quantity=\"1\"/>", "type"},
        {"<LINE type=\"dish\" id=\"a\" name=\"n\" quantity=\"1\" price=\"1\" sum=\"1\"/>",
         "servprint_id"},
        {"<LINE type=\"dish\" name=\"n\" quantity=\"1\" price=\"1\" sum=\"1\"/>", "id"},
        {"<LINE type=\"dish\" id=\"a\" name=\"n\" quantity=\"1\" sum=\"1\"/>", "price"},
        {"<LINE type=\"modify\" id=\"a\" quantity=\"1\"/>", "name"},
    };
    for (const auto& [line, missing] : cases) {
        load(lines(line));
        try {
            discountBody();
            ADD_FAILURE() << line;
        } catch (const XmlElementNotFound& e) {
            EXPECT_EQ(e.message, "Attribute " + missing + " not found") << line;
        }
    }
}

class SendGetDiscountTest : public testsupport::InTempDir {};

// A price that is not a finite number must never produce a cut or invalid body.
TEST_F(SendGetDiscountTest, NonFiniteNumberFailsWithoutSending) {
    CheckXml reader;
    ASSERT_TRUE(reader.doc.load_string(
        "<CHECK restaurantcode=\"R\"/><CHECKDATA orderguid=\"g\" checknum=\"1\"><CHECKLINES>"
        "<LINE type=\"dish\" id=\"a\" name=\"n\" servprint_id=\"s\" servprint=\"p\" "
        "quantity=\"1\" price=\"inf\" sum=\"1\"/></CHECKLINES></CHECKDATA>"));
    reader.check = reader.doc.child("CHECK");
    reader.checkData = reader.doc.child("CHECKDATA");
    HttpClient neverConnected;  // nothing may be sent
    Logger log;
    EXPECT_EQ(SendGetDiscount(neverConnected, reader, "tok", "1", log), std::nullopt);
    EXPECT_THAT(logText(),
                HasSubstr("SendGetDiscount : ERROR request body not sent: a number is infinite"));
}

TEST_F(SendGetDiscountTest, MissingAttributeIsReportedAndNothingSent) {
    CheckXml reader;
    ASSERT_TRUE(reader.doc.load_string("<CHECK/>"));
    reader.check = reader.doc.child("CHECK");
    HttpClient neverConnected;
    Logger log;
    EXPECT_EQ(SendGetDiscount(neverConnected, reader, "tok", "1", log), std::nullopt);
    EXPECT_THAT(logText(), HasSubstr("SendGetDiscount : ERROR XmlElementNotFoundAttribute "
                                     "restaurantcode not found" +
                                     testsupport::kEol));
}

}  // namespace
