// TransactionsEx of the real DLL against the fake loyalty service: results,
// log lines and the exact bodies the service received.
#include <gmock/gmock.h>

#include <chrono>
#include <regex>
#include <string>
#include <vector>

#include "FakeLoyalty.h"
#include "HostRig.h"

using namespace hostrig;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

// Bonus payments are paid with code 5, deposits with code 6.
const char kAccounts[] =
    "<BonusAccount><CurrencyCode>5</CurrencyCode><CardSubAccount>2</CardSubAccount></BonusAccount>"
    "<DepositAccount><CurrencyCode>6</CurrencyCode><CardSubAccount>3</CardSubAccount></"
    "DepositAccount>";

const char kConfirmed[] = R"({"CloseOrder": {"body": "{\"Status\":1}"},
                              "ReturnOrder": {"body": "{\"Status\":1}"},
                              "GetDiscount": {"body": "{\"Status\":1,\"SumDiscount\":0}"}})";

const std::string kReplyCheckFailure =
    "ERROR in !ok || jsonResultRequest[\"Status\"].GetInt() != 1 RETURNS 1";

// The host's check: the CHECKDATA block before CHECK, nothing after it.
struct Check {
    int mode = 1;
    std::string interfaces = "<INTERFACES><INTERFACE interface=\"7\"/></INTERFACES>";
    std::string holders;  // ITEM elements; no HOLDERS block when empty
    std::string data;     // inside CHECKDATA

    std::string text() const {
        return interfaces + (holders.empty() ? "" : "<HOLDERS>" + holders + "</HOLDERS>") +
               "<CHECKDATA orderguid=\"{G-1}\" checknum=\"42\" closedatetime=\"2024-02-22 "
               "14:05:09\" "
               "order_cat=\"1\">" +
               data + "</CHECKDATA><CHECK restaurantcode=\"R1\" chmode=\"" + std::to_string(mode) +
               "\"></CHECK>";
    }
};

std::string payment(const std::string& attributes) { return "<PAYMENT " + attributes + "/>"; }
std::string payments(const std::string& inner) {
    return "<CHECKPAYMENTS>" + inner + "</CHECKPAYMENTS>";
}
std::string holder(const std::string& code) { return "<ITEM cardcode=\"" + code + "\"/>"; }

// The order body of a check without lines, as the discount request sends it.
std::string orderBody(const std::string& clientId) {
    return R"({"OrganizationId":"R1","OrderId":"G-1","OrderSum":0.0,"OrderSumWithDiscount":0.0,)"
           R"("ParentOrderId":"G-1","ClientId":")" +
           clientId + R"(","OrderNumber":"42","Order":[]})";
}

// The close body: the order body and the four closing members.
std::string closeBody(const std::string& orderJson, const std::string& depositClientId,
                      const std::string& depositWriteOff, const std::string& bonusWriteOff) {
    return orderJson.substr(0, orderJson.size() - 1) + R"(,"DepositClientId":")" + depositClientId +
           R"(","DepositWriteOff":)" + depositWriteOff +
           R"(,"OrderDate":"2024-02-22 14:05:09","BonusWriteOff":)" + bonusWriteOff + "}";
}

using logtext::answer;
using logtext::entry;
using logtext::nullDump;
std::string tx(const std::string& message) { return entry("TransactionsEx", message); }
std::string body(const std::string& message) { return entry("SendRequest from checkXml", message); }

::testing::AssertionResult matches(const std::string& text, const std::string& pattern) {
    if (std::regex_match(text, std::regex(pattern))) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << text << "\" does not match " << pattern;
}

class TransactionsTest : public HostTest {
  protected:
    void SetUp() override {
        HostTest::SetUp();
        token_ = fakeloyalty::uniqueToken("tx");
        loadDll();
    }

    void configure() const { writeConf(service_.address(), token_, kAccounts); }
    void scenario(const std::string& paths) const { service_.setScenario(token_, paths); }
    // A fresh token (and log) for a further call within one test.
    void nextToken() {
        token_ = fakeloyalty::uniqueToken("tx");
        configure();
        DeleteFileA("brisvane.log");
    }

    int32_t post(const Check& check) {
        const std::string text = check.text();
        CallResult r = dll_->transactionsEx(text.c_str(), static_cast<uint32_t>(text.size() + 1));
        EXPECT_EQ(r.removed, 32u);
        return r.result;
    }

    // What the service received under this test's token: "Name body" per request.
    std::vector<std::string> received() const {
        std::vector<std::string> out;
        for (const auto& r : service_.requests(token_)) {
            EXPECT_EQ(r.method, "POST");
            const std::string prefix = "/v1/";
            const std::string suffix = "/" + token_;
            EXPECT_EQ(r.path.rfind(prefix, 0), 0u) << r.path;
            EXPECT_GE(r.path.size(), prefix.size() + suffix.size());
            std::string name =
                r.path.substr(prefix.size(), r.path.size() - prefix.size() - suffix.size());
            EXPECT_EQ(r.path.substr(r.path.size() - suffix.size()), suffix) << r.path;
            out.push_back(name + " " + r.body);
        }
        return out;
    }

    // The log from the start of the posting logic on, stamps replaced.
    std::string logic() const {
        const std::string log = stampless(logText());
        const std::size_t at = log.find(tx("TRY START LOGICK"));
        EXPECT_NE(at, std::string::npos) << log;
        return at == std::string::npos ? log : log.substr(at);
    }

    std::string path(const std::string& name) const { return "v1/" + name + "/" + token_; }
    std::string trySend(const std::string& name, const std::string& json) const {
        return entry("SendRequestWrapper", "TRY SEND REQUEST TO " + path(name) + " WITH " + json);
    }
    std::string askHolder(const std::string& json) const {
        return body("TRY GET ClientId from API WITH " + json);
    }
    std::string closeHead() const {
        return tx("TRY START LOGICK") + tx("TRY GET bonusCurrencyCodes") +
               tx("TRY GET depositCurrencyCodes") + tx("TRY GET getJsonResponseForCloseOrder") +
               body("TRY GET ClientId from CHECKPAYMENTS") + body("MAYBE break here");
    }
    // Discount request and close, both answered as kConfirmed answers them.
    std::string discountAndClose(const std::string& discountJson,
                                 const std::string& closeJson) const {
        return entry("SendGetDiscount", "Started") + trySend("GetDiscount", discountJson) +
               answer(path("GetDiscount"), R"({"Status":1,"SumDiscount":0})") +
               entry("SendGetDiscount", "Ended") + trySend("CloseOrder", closeJson) +
               answer(path("CloseOrder"), R"({"Status":1})") + confirmed();
    }
    static std::string confirmed() {
        return tx("Trying to close HC") + tx("HC closed!") + tx("Ended RETURN 0");
    }

    fakeloyalty::Service service_{BRISVANE_FAKE_ADDRESS};
    std::string token_;
};

TEST_F(TransactionsTest, BonusAndDepositPaymentsCloseTheOrderAfterTheDiscountRequest) {
    configure();
    scenario(kConfirmed);
    Check check;
    check.data =
        payments(payment(R"(code="5" account="12345" interface="7" sum="150")") +
                 payment(R"(code="6" account="777" sum="40")")) +
        "<CHECKLINES><LINE type=\"dish\" id=\"{D1}\" name=\"Soup\" quantity=\"2\" "
        "price=\"95\" sum=\"190\" servprint_id=\"{P1}\" servprint=\"Kitchen\"/></CHECKLINES>";

    EXPECT_EQ(post(check), 0);

    // "{G-1}" is stripped twice in one call (close body, then discount body) and stays G-1.
    const std::string order =
        R"({"OrganizationId":"R1","OrderId":"G-1","OrderSumWithDiscount":190.0,"ParentOrderId":"G-1",)"
        R"("ClientId":"12345","OrderNumber":"42","OrderSum":190.0,"Order":[{"ProductId":"D1",)"
        R"("ProductName":"Soup","CategoryId":"P1","CategoryName":"Kitchen","Price":95.0,)"
        R"("PriceWithDiscount":95.0,"Amount":2.0}]})";
    const std::string close = closeBody(order, "777", "40.0", "150.0");
    EXPECT_THAT(received(), ElementsAre("GetDiscount " + order, "CloseOrder " + close));

    const std::string text = check.text();
    EXPECT_EQ(stampless(logText()),
              entry("ClearTheLog", "Failed!") + tx("Started") + tx("InputBuf was") + kEol + text +
                  kEol + entry("GetConfig", "TRY GET configuration") + tx("TRY GET CheckXmlFunc") +
                  entry("setInterface", "START") + entry("setInterface", "END") +
                  "[S] PARSE XML FROM ELSE strlen(InpBuf) > s - InpBuf + checkStrLen " + kEol +
                  text + kEol + tx("checkXml.init(InpBuf) success") + tx("TRY GET httpClient") +
                  tx("TRY GET token") + tx("getToken success") + tx("TRY GET checkChmod") +
                  tx("checkChmod is 1") + closeHead() + body("ClientId IS 12345") +
                  body("RESULT ClientId IS 12345") + discountAndClose(order, close));
}

TEST_F(TransactionsTest, ModeFourClosesLikeModeOneUnlessADepositWithoutAccountPaidSomething) {
    // A deposit payment that names no account (none, empty or blanks) cannot
    // say whose deposit pays. Paying nothing, the guest's id stands in and
    // nothing is written off; paying a sum, the close is refused before any
    // request, since posting it would report the check closed with the deposit
    // never written off.
    struct Case {
        std::string account;  // the attribute as written, if any
        std::string sum;
        int32_t result;
    };
    const std::vector<Case> cases = {{"", "0", 0},
                                     {"", "25", 1},
                                     {R"(account="")", "300", 1},
                                     {"account=\" \t \"", "300", 1},
                                     {R"(account=" ")", "0", 0}};
    for (const auto& [account, sum, result] : cases) {
        SCOPED_TRACE(account + " sum " + sum);
        nextToken();
        scenario(kConfirmed);
        Check check;
        check.mode = 4;
        check.data = payments(payment(R"(code="5" account="12345" interface="7" sum="150")") +
                              payment("code=\"6\" " + account + R"( sum=")" + sum + "\""));

        EXPECT_EQ(post(check), result);

        if (result == 0) {
            EXPECT_THAT(received(),
                        ElementsAre("GetDiscount " + orderBody("12345"),
                                    "CloseOrder " +
                                        closeBody(orderBody("12345"), "12345", "0.0", "150.0")));
        } else {
            EXPECT_THAT(received(), IsEmpty());
            EXPECT_EQ(
                logic(),
                closeHead() + tx("ERROR deposit payment names no account: cannot write off the "
                                 "deposit, nothing sent RETURN 1"));
        }
    }
}

TEST_F(TransactionsTest, ABonusPaymentWithAccountZeroCountsOnceAHolderNamesTheGuest) {
    configure();
    scenario(R"({"GuestInfo": {"body": "{\"Status\":1,\"ClientId\":\"555\"}"},)" +
             std::string(kConfirmed).substr(1));
    Check check;
    check.holders = holder("1001");
    check.data = payments(payment(R"(code="5" account="0" interface="7" sum="150")"));

    EXPECT_EQ(post(check), 0);

    const std::string close = closeBody(orderBody("555"), "555", "0.0", "150.0");
    EXPECT_THAT(received(), ElementsAre("GuestInfo {\"CardToken\":1001}",
                                        "GetDiscount " + orderBody("555"), "CloseOrder " + close));
    EXPECT_EQ(logic(), closeHead() + askHolder("{\"CardToken\":1001}") +
                           answer(path("GuestInfo"), "{\"Status\":1,\"ClientId\":\"555\"}") +
                           body("RESULT ClientId IS 555") +
                           discountAndClose(orderBody("555"), close));
}

TEST_F(TransactionsTest, WithoutInterfacesOnlyTheHoldersCanNameTheGuest) {
    configure();
    scenario(R"({"GuestInfo": {"body": "{\"Status\":1,\"ClientId\":\"555\"}"},)" +
             std::string(kConfirmed).substr(1));
    Check check;
    check.interfaces.clear();
    check.holders = holder("79161234567");
    check.data =
        payments(payment(R"(code="5" account="12345" interface="7" sum="150")")) +
        "<CHECKDISCOUNTS><DISCOUNT account=\"D1\" interface=\"7\" sum=\"10\"/></CHECKDISCOUNTS>";

    EXPECT_EQ(post(check), 0);

    EXPECT_THAT(received(),
                ElementsAre("GuestInfo {\"Phone\":79161234567}", "GetDiscount " + orderBody("555"),
                            "CloseOrder " + closeBody(orderBody("555"), "555", "0.0", "0.0")));
    EXPECT_THAT(logic(),
                HasSubstr(body("MAYBE break here") + body("TRY GET ClientId from CHECKDISCOUNTS") +
                          askHolder("{\"Phone\":79161234567}")));
}

TEST_F(TransactionsTest, TwoBonusPaymentsTheLastNamesTheGuestAndBothSumsCount) {
    configure();
    scenario(kConfirmed);
    Check check;
    check.data = payments(payment(R"(code="5" account="A1" interface="7" sum="100")") +
                          payment(R"(code="5" account="A2" interface="7" sum="50")"));

    EXPECT_EQ(post(check), 0);

    // No deposit payment: the guest's id stands in, nothing written off.
    EXPECT_THAT(received(),
                ElementsAre("GetDiscount " + orderBody("A2"),
                            "CloseOrder " + closeBody(orderBody("A2"), "A2", "0.0", "150.0")));
    EXPECT_THAT(logic(), HasSubstr(body("ClientId IS A2") + body("RESULT ClientId IS A2")));
}

TEST_F(TransactionsTest, BonusSumsAddInSinglePrecision) {
    configure();
    scenario(kConfirmed);
    Check check;
    check.data = payments(payment(R"(code="5" account="A1" interface="7" sum="0.1")") +
                          payment(R"(code="5" account="A1" interface="7" sum="0.2")"));

    EXPECT_EQ(post(check), 0);

    EXPECT_THAT(received(), ElementsAre("GetDiscount " + orderBody("A1"),
                                        "CloseOrder " + closeBody(orderBody("A1"), "A1", "0.0",
                                                                  "0.30000001192092896")));
}

TEST_F(TransactionsTest, EveryHolderIsAskedAndTheLastSuccessNamesTheGuest) {
    configure();
    scenario(R"({"GuestInfo": [{"body": "{\"Status\":1,\"ClientId\":\"11\"}"},
                               {"body": "{\"Status\":1,\"ClientId\":\"22\"}"}],)" +
             std::string(kConfirmed).substr(1));
    Check check;
    check.holders = holder("1001") + holder("1002");
    check.data = payments("");

    EXPECT_EQ(post(check), 0);

    EXPECT_THAT(received(),
                ElementsAre("GuestInfo {\"CardToken\":1001}", "GuestInfo {\"CardToken\":1002}",
                            "GetDiscount " + orderBody("22"),
                            "CloseOrder " + closeBody(orderBody("22"), "22", "0.0", "0.0")));
}

TEST_F(TransactionsTest, PaymentsAndDiscountsNamingNobodyWithoutHoldersSendNothing) {
    configure();
    scenario(kConfirmed);
    Check check;
    check.data =
        payments(payment(R"(code="5" account="0" interface="7" sum="10")")) +
        "<CHECKDISCOUNTS><DISCOUNT account=\"D1\" interface=\"8\" sum=\"1\"/></CHECKDISCOUNTS>";

    EXPECT_EQ(post(check), 1);

    EXPECT_TRUE(received().empty());
    EXPECT_EQ(logic(), closeHead() + body("TRY GET ClientId from CHECKDISCOUNTS") +
                           tx("ERROR Node CHECKDISCOUNTS AND THEN HOLDERS not found RETURN 1"));
}

TEST_F(TransactionsTest, HoldersThatAllFailLeaveNoClientAndNothingIsPosted) {
    configure();
    scenario(
        R"({"GuestInfo": [{"body": "{\"Status\":0,\"ClientId\":\"11\"}"}, {"body": "nothing"}],)" +
        std::string(kConfirmed).substr(1));
    Check check;
    check.holders = holder("1001") + holder("1002");
    check.data = payments("");

    EXPECT_EQ(post(check), 1);

    EXPECT_THAT(received(),
                ElementsAre("GuestInfo {\"CardToken\":1001}", "GuestInfo {\"CardToken\":1002}"));
    EXPECT_EQ(logic(), closeHead() + askHolder("{\"CardToken\":1001}") +
                           answer(path("GuestInfo"), "{\"Status\":0,\"ClientId\":\"11\"}") +
                           askHolder("{\"CardToken\":1002}") +
                           answer(path("GuestInfo"), "nothing") + body("ClientId is NULL") +
                           tx("ERROR ClientId not found RETURN 1"));
}

TEST_F(TransactionsTest, AClosedCheckWithoutPaymentsIsRefused) {
    configure();
    scenario(kConfirmed);
    Check check;  // mode 1, no CHECKPAYMENTS

    EXPECT_EQ(post(check), 1);

    EXPECT_TRUE(received().empty());
    EXPECT_EQ(logic(), tx("TRY START LOGICK") + tx("TRY GET bonusCurrencyCodes") +
                           tx("TRY GET depositCurrencyCodes") +
                           tx("TRY GET getJsonResponseForCloseOrder") +
                           tx("ERROR Node CHECKPAYMENTS not found RETURN 1"));
}

TEST_F(TransactionsTest, AReturnSendsTheOrderHeadOnly) {
    struct Case {
        int mode;
        std::string lines;
        std::string expected;
    };
    const Case cases[] = {
        {2, "<CHECKLINES><LINE type=\"dish\" sum=\"100\"/><LINE type=\"modify\"/></CHECKLINES>",
         R"({"OrganizationId":"R1","OrderId":"G-1","OrderSumWithDiscount":100.0})"},
        {3, "",
         R"({"OrganizationId":"R1","OrderId":"G-1","OrderSum":0.0,"OrderSumWithDiscount":0.0})"},
    };
    for (const Case& c : cases) {
        nextToken();
        scenario(kConfirmed);
        Check check;
        check.mode = c.mode;
        check.data = c.lines;

        EXPECT_EQ(post(check), 0) << c.mode;

        EXPECT_THAT(received(), ElementsAre("ReturnOrder " + c.expected));
        EXPECT_EQ(logic(), tx("TRY START LOGICK") + trySend("ReturnOrder", c.expected) +
                               answer(path("ReturnOrder"), R"({"Status":1})") + confirmed());
    }
}

TEST_F(TransactionsTest, BodiesThatCannotBeBuiltOrWrittenAreNotSent) {
    // "Непредвиденная ошибка! RETURNS 1" in Windows-1251.
    const std::string unexpected =
        "\xcd\xe5\xef\xf0\xe5\xe4\xe2\xe8\xe4\xe5\xed\xed\xe0\xff \xee\xf8\xe8\xe1\xea\xe0! "
        "RETURNS 1";
    struct Case {
        int mode;
        std::string data;
        std::string failure;  // the last log line, without its number for a close
    };
    const Case cases[] = {
        {2, "<CHECKLINES><LINE sum=\"1\"/></CHECKLINES>",
         "ERROR Attribute type not found RETURNS 1"},
        // An amount beyond single precision becomes infinite and has no JSON form.
        {3, "<CHECKLINES><LINE type=\"dish\" sum=\"1e39\"/></CHECKLINES>", unexpected},
        {1, payments(payment(R"(code="5" account="12345" interface="7" sum="1e39")")),
         "ERROR getJsonResponseForCloseOrder "},
    };
    for (const Case& c : cases) {
        nextToken();
        scenario(kConfirmed);
        Check check;
        check.mode = c.mode;
        check.data = c.data;

        EXPECT_EQ(post(check), 1) << c.mode;

        EXPECT_TRUE(received().empty()) << c.mode;
        const std::string log = logic();
        const std::size_t last = log.rfind("[S] ");
        EXPECT_EQ(log.substr(last, log.find(kEol, last) - last)
                      .rfind("[S] TransactionsEx : " + c.failure, 0),
                  0u)
            << log;
        EXPECT_EQ(log.find(kEol, last) + kEol.size(), log.size()) << "the failure ends the call";
    }
}

TEST_F(TransactionsTest, OtherModesSendNothingAndFailTheReplyCheck) {
    for (int mode : {0, 5}) {
        nextToken();
        scenario(kConfirmed);
        Check check;
        check.mode = mode;
        check.data = payments(payment(R"(code="5" account="12345" interface="7" sum="150")"));

        EXPECT_EQ(post(check), 1) << mode;

        EXPECT_TRUE(received().empty());
        EXPECT_EQ(logic(), tx("TRY START LOGICK") + tx(kReplyCheckFailure)) << mode;
    }
}

TEST_F(TransactionsTest, RepliesOtherThanStatusOneFailTheClose) {
    const std::string replies[] = {R"({"Status":2})", R"({"Status":"1"})", R"({"Status":1.5})",
                                   R"([{"Status":1}])", "Status 1"};
    for (const std::string& reply : replies) {
        nextToken();
        scenario(R"({"GetDiscount": {"body": "{\"Status\":1}"}, "CloseOrder": {"body": )" +
                 std::string(R"(")") + std::regex_replace(reply, std::regex("\""), "\\\"") +
                 "\"}}");
        Check check;
        check.data = payments(payment(R"(code="5" account="12345" interface="7")"));

        EXPECT_EQ(post(check), 1) << reply;

        EXPECT_EQ(received().size(), 2u);
        const std::string log = logic();
        const std::string tail = answer(path("CloseOrder"), reply) + tx(kReplyCheckFailure + reply);
        ASSERT_GE(log.size(), tail.size());
        EXPECT_EQ(log.substr(log.size() - tail.size()), tail) << reply;
    }
}

TEST_F(TransactionsTest, AnEmptyDiscountReplyStopsTheCloseBeforeItIsSent) {
    configure();
    scenario(R"({"GetDiscount": {"body": ""}, "CloseOrder": {"body": "{\"Status\":1}"}})");
    Check check;
    check.data = payments(payment(R"(code="5" account="12345" interface="7")"));

    EXPECT_EQ(post(check), 1);

    const std::string log = logic();
    // The shipped DLL probes a public site: with internet it tries once more.
    const bool online = logtext::probeWorked(log);
    EXPECT_EQ(received(),
              std::vector<std::string>(online ? 2 : 1, "GetDiscount " + orderBody("12345")));
    const std::string once = entry("SendRequest", logtext::noReplyMessage(path("GetDiscount")));
    const std::string noReply = once + logtext::probeEntries(online, path("GetDiscount")) +
                                (online ? once : "") + logtext::giveUpEntries(online);
    EXPECT_THAT(log, HasSubstr(trySend("GetDiscount", orderBody("12345")) + noReply));
    const std::size_t at = log.find(noReply);
    ASSERT_NE(at, std::string::npos);
    EXPECT_TRUE(matches(
        log.substr(at + noReply.size()),
        R"(\[S\] SendGetDiscount : Error: GetDiscount\(szData size = 0\), Error code[0-9]+\r\n)"
        R"(\[S\] TransactionsEx : ERROR getDiscountRes != -1 RETURN 1\r\n)"));
}

// Costs the real 60-second limit plus the 10-second pause before the probe
// (with internet, the 30-second pause and a second 60 seconds more).
TEST_F(TransactionsTest, ACloseWhoseExchangeTimesOutIsNotReportedDone) {
    configure();
    // The discount reply says "Status" 1: it must not pass for the close's answer.
    scenario(R"({"GetDiscount": {"body": "{\"Status\":1}"},
                 "CloseOrder": {"action": "hang", "max_s": 120}})");
    Check check;
    check.data = payments(payment(R"(code="5" account="12345" interface="7")"));

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(post(check), 1);
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start)
            .count();

    const std::string log = logic();
    const bool online = logtext::probeWorked(log);
    EXPECT_GE(seconds, online ? 160 : 70);
    EXPECT_LT(seconds, online ? 2 * 160 : 2 * 70);
    const auto got = service_.requests(token_);
    ASSERT_EQ(got.size(), online ? 3u : 2u);
    EXPECT_EQ(got[1].path, "/" + path("CloseOrder"));
    const std::string attempt = entry("SendRequest", logtext::timeoutMessage(path("CloseOrder"))) +
                                entry("SendRequestWrapper", "Error TimeoutExceeded RETURN 0") +
                                nullDump("SendRequestWrapper");
    const std::string timedOut =
        trySend("CloseOrder", closeBody(orderBody("12345"), "12345", "0.0", "0.0")) + attempt +
        logtext::probeEntries(online, path("CloseOrder")) + (online ? attempt : "") +
        logtext::giveUpEntries(online);
    const std::size_t at = log.find(timedOut);
    ASSERT_NE(at, std::string::npos) << log;
    EXPECT_TRUE(matches(
        log.substr(at + timedOut.size()),
        R"(\[S\] TransactionsEx : Error sending Transaction request RETURNS 1, Error code: [0-9]+\r\n)"));
}

TEST_F(TransactionsTest, WithoutConfigurationTheTokenFailsFirst) {
    scenario(kConfirmed);
    Check check;
    check.data = payments(payment(R"(code="5" account="12345" interface="7")"));

    EXPECT_EQ(post(check), 1);

    const std::string log = stampless(logText());
    EXPECT_THAT(log, Not(HasSubstr("GetConfig")));
    const std::string tail = tx("checkXml.init(InpBuf) success") + tx("TRY GET httpClient") +
                             tx("TRY GET token") + tx("getToken success") +
                             tx("ERROR finding token") + tx("token error RETURN 1");
    ASSERT_GE(log.size(), tail.size());
    EXPECT_EQ(log.substr(log.size() - tail.size()), tail);
}

TEST_F(TransactionsTest, ALogOverTheLimitIsClearedBeforeTheFirstEntry) {
    configure();
    scenario(kConfirmed);
    writeFile("brisvane.log", std::string(10000001, 'x'));
    Check check;
    check.data = payments(payment(R"(code="5" account="12345" interface="7")"));

    EXPECT_EQ(post(check), 0);

    const std::string log = stampless(logText());
    EXPECT_EQ(log.find("xxxx"), std::string::npos);
    EXPECT_EQ(log.rfind(entry("ClearTheLog", "Success!") + tx("Started") + tx("InputBuf was"), 0),
              0u);
    EXPECT_LT(log.size(), 10000u);
    EXPECT_EQ(log.substr(log.size() - confirmed().size()), confirmed());
}

}  // namespace
