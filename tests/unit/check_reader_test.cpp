#include <gmock/gmock.h>

#include <regex>
#include <stdexcept>

#include "TestSupport.h"
#include "check/Accessors.h"
#include "check/CheckXml.h"
#include "http/HttpClient.h"
#include "log/Logger.h"

using namespace testsupport;

namespace {

// ---- exception family ------------------------------------------------------

TEST(CheckErrors, MessagesAndHierarchy) {
    EXPECT_EQ(NodeNotFound("CHECK").message, "Node CHECK not found");
    EXPECT_EQ(AttributeNotFound("code").message, "Attribute code not found");
    EXPECT_EQ(CheckdataNotFound().message, "Checkdata not found");
    EXPECT_EQ(XmlElementNotFound("free text").message, "free text");

    try {
        throw CheckdataNotFound();
    } catch (const XmlElementNotFound& e) {
        // Log lines use `message`; what() stays the standard base's text.
        EXPECT_STREQ(e.what(), std::exception().what());
    }
}

// ---- typed accessors ---------------------------------------------------------

class AccessorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(doc.load_string(
            R"(<E i="42" neg="-7" wide="123456789012345" f="1.5" word="abc" empty=""/>)"));
        e = doc.child("E");
    }
    pugi::xml_document doc;
    pugi::xml_node e;
};

TEST_F(AccessorTest, ConvertWithPugixmlDefaults) {
    EXPECT_EQ(getAttributeInt(e, "i"), 42);
    EXPECT_EQ(getAttributeInt(e, "neg"), -7);
    EXPECT_EQ(getAttributeInt(e, "word"), 0);
    EXPECT_EQ(getAttributeInt64(e, "wide"), 123456789012345LL);
    EXPECT_EQ(getAttributeInt64(e, "word"), 0);
    EXPECT_FLOAT_EQ(getAttributeFloat(e, "f"), 1.5f);
    EXPECT_EQ(getAttributeFloat(e, "word"), 0.0f);
    EXPECT_STREQ(getAttributeString(e, "word"), "abc");
    EXPECT_EQ(getAttributeString(e, "word"), e.attribute("word").value());  // into the document
    EXPECT_STREQ(getAttributeString(e, "empty"), "");
}

TEST_F(AccessorTest, MissingAttributeOrEmptyNodeThrowsWithTheName) {
    auto expectMissing = [](auto read, const pugi::xml_node& node, const char* name) {
        try {
            read(node, name);
            ADD_FAILURE() << "no throw for " << name;
        } catch (const AttributeNotFound& err) {
            EXPECT_EQ(err.message, std::string("Attribute ") + name + " not found");
        }
    };
    expectMissing(getAttributeInt, e, "cardcode");
    expectMissing(getAttributeInt64, e, "cardcode");
    expectMissing(getAttributeFloat, e, "sum");
    expectMissing(getAttributeString, e, "account");
    expectMissing(getAttributeString, e.child("NONE"), "i");
    expectMissing(getAttributeInt, pugi::xml_node(), "i");
}

// ---- getPaymentAccount -------------------------------------------------------

class PaymentAccountTest : public ::testing::Test {
  protected:
    void load(const std::string& payments, const std::string& selected = "12") {
        std::string text = "<CHECKDATA><CHECKPAYMENTS>" + payments + "</CHECKPAYMENTS></CHECKDATA>";
        ASSERT_TRUE(reader.doc.load_string(text.c_str()));
        reader.checkData = reader.doc.child("CHECKDATA");
        reader.selectedInterface = selected;
    }
    CheckXml reader;
    const std::vector<int32_t> codes{5, 9};
};

TEST_F(PaymentAccountTest, EmptyWithoutCheckData) {
    EXPECT_EQ(getPaymentAccount(reader, codes), "");
}

TEST_F(PaymentAccountTest, LastPassingPaymentWins) {
    load(R"(<PAYMENT code="5" account="first" interface="12"/>)"
         R"(<PAYMENT code="9" account="second" interface="12"/>)"
         R"(<PAYMENT code="9" account="third" interface="13"/>)");
    EXPECT_EQ(getPaymentAccount(reader, codes), "second");
}

TEST_F(PaymentAccountTest, EachConditionSkipsAPayment) {
    load(R"(<PAYMENT code="5" account="good" interface="12"/>)"
         R"(<PAYMENT code="6" account="unconfigured" interface="12"/>)"
         R"(<PAYMENT code="5" account="0" interface="12"/>)"
         R"(<PAYMENT code="5" interface="12"/>)"
         R"(<PAYMENT code="5" account="no-interface"/>)"
         R"(<PAYMENT code="9" account="trailing-blank" interface="12 "/>)");
    EXPECT_EQ(getPaymentAccount(reader, codes), "good");
}

TEST_F(PaymentAccountTest, InterfaceMustMatchExactly) {
    load(R"(<PAYMENT code="5" account="upper" interface="A1"/>)", "a1");
    EXPECT_EQ(getPaymentAccount(reader, codes), "");
}

TEST_F(PaymentAccountTest, NoSelectedInterfaceMatchesNothing) {
    load(R"(<PAYMENT code="5" account="acc" interface=""/>)", "");
    EXPECT_EQ(getPaymentAccount(reader, codes), "");
}

TEST_F(PaymentAccountTest, PaymentWithoutCodeThrowsEvenAfterAMatch) {
    load(R"(<PAYMENT code="5" account="good" interface="12"/><PAYMENT account="x"/>)");
    try {
        getPaymentAccount(reader, codes);
        ADD_FAILURE() << "no throw";
    } catch (const AttributeNotFound& e) {
        EXPECT_EQ(e.message, "Attribute code not found");
    }
}

// ---- initCheckXml's results ------------------------------------------------

class InitResultTest : public InTempDir {
  protected:
    std::string log_() const { return stampless(logText()); }
    Logger log;
};

TEST_F(InitResultTest, ReadyWhenInitReturnsEvenAfterItsOwnFailureLine) {
    CheckXml loaded;
    const char ok[] = R"(<CHECKDATA a="1"></CHECKDATA><CHECK></CHECK>)";
    EXPECT_EQ(initCheckXml(loaded, ok, sizeof ok, "GetCardInfoEx", log), CheckInit::Ready);
    EXPECT_TRUE(loaded.check);

    CheckXml failed;
    const char broken[] = "no check at all";
    EXPECT_EQ(initCheckXml(failed, broken, sizeof broken, "TransactionsEx", log), CheckInit::Ready);
    EXPECT_THAT(log_(),
                ::testing::EndsWith("[S] CHECKXML INIT : THROW SOME ERROR " +
                                    std::to_string(lastErrorCode) + kEol +
                                    "[S] TransactionsEx : checkXml.init(InpBuf) success" + kEol));

    CheckXml none;
    EXPECT_EQ(initCheckXml(none, nullptr, 0, "TransactionsEx", log), CheckInit::Ready);
}

}  // namespace
