// GetCardInfoEx end to end: the real DLL, called with the host's slots,
// against the fake loyalty service; each test has a token of its own.
#include <gmock/gmock.h>
// windows.h in the order Winsock needs (HostRig.h), before wininet.h.
#include <winsock2.h>
// wininet.h needs the types above.
#include <wininet.h>

#include <cstdio>
#include <string>
#include <vector>

#include "CardRecordBytes.h"
#include "FakeLoyalty.h"
#include "HostRig.h"

using namespace hostrig;
using cardrecord::Record;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

// Windows-1251 texts the module writes (readable text in the comments).
// "Карта заблокирована. Продажа по карте невозможна."
const std::string kBlockedText =
    "\xca\xe0\xf0\xf2\xe0 \xe7\xe0\xe1\xeb\xee\xea\xe8\xf0\xee\xe2\xe0\xed\xe0. "
    "\xcf\xf0\xee\xe4\xe0\xe6\xe0 \xef\xee \xea\xe0\xf0\xf2\xe5 "
    "\xed\xe5\xe2\xee\xe7\xec\xee\xe6\xed\xe0.";
// "Иванов Иван Петрович"
const std::string kIvanovCp1251 =
    "\xc8\xe2\xe0\xed\xee\xe2 \xc8\xe2\xe0\xed \xcf\xe5\xf2\xf0\xee\xe2\xe8\xf7";
// "Золото"
const std::string kGoldCp1251 = "\xc7\xee\xeb\xee\xf2\xee";
// "Петров Пётр"
const std::string kPetrovCp1251 = "\xcf\xe5\xf2\xf0\xee\xe2 \xcf\xb8\xf2\xf0";
// "Скидка"
const std::string kDiscountCp1251 = "\xd1\xea\xe8\xe4\xea\xe0";
// "Спасибо!"
const std::string kThanksCp1251 = "\xd1\xef\xe0\xf1\xe8\xe1\xee!";

using logtext::jsonString;
using logtext::replyWith;

const std::string kGuestIvanov =
    u8R"({"Status":1,"ClientId":"42","NotPayType":3,"LoyaltyLevel":"Золото","DiscountId":65537,)"
    u8R"("BonusId":7,"BonusBalance":"150.75","LastName":"Иванов","FirstName":"Иван",)"
    u8R"("MiddleName":"Петрович","Extra":[1,2]})";

std::string guestWithClientId(const std::string& clientId) {
    return R"({"Status":1,"ClientId":")" + clientId +
           R"(","NotPayType":0,"LoyaltyLevel":"","DiscountId":0,"BonusId":0,)"
           R"("BonusBalance":"0","LastName":"","FirstName":"","MiddleName":""})";
}

const std::string kDiscountPetrov =
    u8R"({"Status":1,"FIO":"Петров Пётр","NotPayType":4294967298,"BonusId":9,"DiscountId":4,)"
    u8R"("SumDiscount":12.345,"MaxBonus":10.5,"MaxDeposit":200,"Message":"Скидка",)"
    u8R"("LoyaltyLevel":"Silver","PrintMessage":"Спасибо!"})";

// Bonus sub-accounts 2 and 5 paid with currency 5, deposit sub-account 3.
const std::string kAccounts =
    "<BonusAccount><CurrencyCode>5</CurrencyCode><CardSubAccount>2</CardSubAccount></BonusAccount>"
    "<BonusAccount><CurrencyCode>6</CurrencyCode><CardSubAccount>5</CardSubAccount></BonusAccount>"
    "<DepositAccount><CurrencyCode>7</CurrencyCode><CardSubAccount>3</CardSubAccount>"
    "</DepositAccount>";

// One counted dish line: 2 x 150 for 270.
const std::string kLines =
    "<CHECKLINES><LINE id=\"{D1}\" name=\"Soup\" quantity=\"2\" price=\"150\" sum=\"270\" "
    "type=\"dish\" servprint_id=\"{P1}\" servprint=\"Kitchen\"/></CHECKLINES>";

// A host check: CHECK, then CHECKDATA after it, then the interfaces block.
std::string hostCheck(int mode, const std::string& checkDataContent = kLines,
                      const std::string& interfaces = "") {
    return "<CHECK chmode=\"" + std::to_string(mode) +
           "\" restaurantcode=\"R7\"></CHECK>\n<CHECKDATA orderguid=\"{G1}\" checknum=\"15\" "
           "order_cat=\"3\">" +
           checkDataContent + "</CHECKDATA>\n" + interfaces;
}

std::string discountBody(const std::string& clientId) {
    return R"({"OrganizationId":"R7","OrderId":"G1","OrderSumWithDiscount":270.0,)"
           R"("ParentOrderId":"G1","ClientId":")" +
           clientId +
           R"(","OrderNumber":"15","OrderSum":300.0,"Order":[{"ProductId":"D1",)"
           R"("ProductName":"Soup","CategoryId":"P1","CategoryName":"Kitchen","Price":150.0,)"
           R"("PriceWithDiscount":135.0,"Amount":2.0}]})";
}

std::string paymentsOf(const std::string& payments) {
    return kLines + "<CHECKPAYMENTS>" + payments + "</CHECKPAYMENTS>";
}
const std::string kInterface12 = "<INTERFACES><INTERFACE interface=\"12\"/></INTERFACES>";

std::string withEol(const std::string& text) {
    std::string out;
    for (char c : text) out += (c == '\n') ? kEol : std::string(1, c);
    return out;
}

std::string head(const std::string& tag, const std::string& message) {
    return "[S] " + tag + " : " + message;
}
using logtext::entry;

// The lookup's own lines up to the choice of the path, for a readable check.
std::vector<std::string> startLines(int mode) {
    return {"GetCardInfoEx from File1 Started!",
            "InputBuf was",
            "TRY GET CheckXmlFunc",
            "checkXml.init(InpBuf) success",
            "TRY GET token",
            "getToken success",
            "TRY GET GetChmod",
            "checkChmod is " + std::to_string(mode),
            "TRY GET LOGICK"};
}

std::vector<std::string> slice(const std::vector<std::string>& lines, std::size_t from,
                               std::size_t to) {
    return std::vector<std::string>(lines.begin() + from, lines.begin() + to);
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<std::string> kDiscountFillLines = {
    "Trying to close HC", "HC closed!", "Try find configuration->first_node(\"BonusAccount\")",
    "Try find configuration->first_node(\"DepositAccount\")", "Ended successfully! RETURN 0"};

// The values of WinInet handles that a fresh session, connection and request
// receive. Wine keeps its handles in a per-process table and hands out the
// lowest free entries, so the same three values before and after a call mean
// that the call left none of its own handles open.
std::vector<uintptr_t> freshHandleValues() {
    std::vector<uintptr_t> values;
    HINTERNET session = InternetOpenA("probe", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET connection =
        InternetConnectA(session, "127.0.0.1", 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    HINTERNET request = HttpOpenRequestA(connection, "POST", "/", nullptr, nullptr, nullptr, 0, 0);
    for (HINTERNET h : {session, connection, request})
        values.push_back(reinterpret_cast<uintptr_t>(h));
    for (HINTERNET h : {request, connection, session})
        if (h) InternetCloseHandle(h);
    return values;
}

class CardLookupTest : public HostTest {
  protected:
    void SetUp() override {
        HostTest::SetUp();
        token_ = fakeloyalty::uniqueToken("lookup");
        record_ = Record::fromHost();
        expected_ = record_;
        expected_.clearLookupFlags();
        loadDll();
        handlesBefore_ = freshHandleValues();
        handlesObservable_ = handlesBefore_ == freshHandleValues() && handlesBefore_[0] != 0;
        static bool told = false;
        if (!handlesObservable_ && !told) {
            told = true;
            std::printf(
                "NOTE: WinInet hands out other handle values each time here, so the "
                "lookups' handle-leak check is skipped (HandleCheckSeesAHandleLeftOpen "
                "says so too)\n");
        }
    }

    void confWith(const std::string& accounts = "") {
        writeConf(service_.address(), token_, accounts);
    }
    void serve(const std::string& pathsJson) { service_.setScenario(token_, pathsJson); }
    void serveGuest(const std::string& reply) {
        serve("{\"GuestInfo\": " + replyWith(reply) + "}");
    }
    void serveBoth(const std::string& guest, const std::string& discount) {
        serve("{\"GuestInfo\": " + replyWith(guest) + ", \"GetDiscount\": " + replyWith(discount) +
              "}");
    }

    int32_t lookup(int64_t card, const std::string& check) {
        return lookupInto(card, check, record_.data());
    }
    // The host's buffer: the check, its zero byte and whatever the host keeps behind it.
    int32_t lookupInto(int64_t card, const std::string& check, void* record) {
        const std::string buffer = check + std::string(1, '\0') + "host bytes after the text";
        CallResult r = dll_->getCardInfoEx(card, record, buffer.c_str(),
                                           static_cast<uint32_t>(buffer.size()), 0x1234u, &junk_);
        EXPECT_EQ(r.removed, 44u);
        EXPECT_EQ(junk_, 0u);
        if (handlesObservable_) {
            EXPECT_EQ(freshHandleValues(), handlesBefore_) << "the call left a WinInet handle open";
        }
        return r.result;
    }

    // Every entry's first line, stamps replaced: the order of all that was logged.
    std::vector<std::string> heads() const {
        std::vector<std::string> out;
        for (const std::string& line : logtext::lines(stampless(logText())))
            if (line.rfind("[S] ", 0) == 0) out.push_back(line);
        return out;
    }
    // The messages of the lookup's own entries, in order.
    std::vector<std::string> lookupLines() const {
        const std::string prefix = "[S] GetCardInfoEx : ";
        std::vector<std::string> out;
        for (const std::string& head : heads())
            if (head.rfind(prefix, 0) == 0) out.push_back(head.substr(prefix.size()));
        return out;
    }

    // The log of a lookup of a hostCheck() buffer up to the choice of the path.
    std::string logStart(int mode, const std::string& check) const {
        const std::string parsed = check.substr(0, check.find("</CHECKDATA>") + 12);
        std::string log = entry("GetCardInfoEx", "GetCardInfoEx from File1 Started!") +
                          entry("GetCardInfoEx", "InputBuf was" + kEol + kEol + withEol(check)) +
                          entry("GetConfig", "TRY GET configuration") +
                          entry("GetCardInfoEx", "TRY GET CheckXmlFunc") +
                          entry("setInterface", "START");
        if (check.find("<INTERFACES") != std::string::npos) log += entry("setInterface", "END");
        log += "[S] PARSE XML FROM if(s < start_check_data ) " + kEol + withEol(parsed) + kEol;
        for (const std::string& line : slice(startLines(mode), 3, 9))
            log += entry("GetCardInfoEx", line);
        return log;
    }
    std::string exchange(const std::string& path, const std::string& body,
                         const std::string& reply) const {
        return entry("SendRequestWrapper", "TRY SEND REQUEST TO " + path + " WITH " + body) +
               "[S] ANSWER FROM URL " + path + " " + kEol + reply + kEol;
    }

    void expectRecord() const { EXPECT_EQ(cardrecord::differences(expected_, record_), ""); }
    // What fillFromDiscountReply makes of kDiscountPetrov with the accounts of kAccounts.
    void expectPetrovFill(int64_t clientId, bool bonusSlots = true) {
        expected_.set("Blocked", 0);
        expected_.setText("Card_owner", kPetrovCp1251);
        expected_.set("Owner_id", clientId);
        expected_.set("Account_number", static_cast<uint32_t>(clientId));
        expected_.set("Not_pay_type", 2);
        expected_.set("Bonus_num", 9);
        expected_.set("Discount_num", 4);
        expected_.set("Max_discount", 1234);
        if (bonusSlots) {
            expected_.set("Access_amount2", 1050);
            expected_.set("Access_amount5", 1050);
        }
        expected_.set("Access_amount3", 20000);
        expected_.setText("Comment", kDiscountCp1251);
        expected_.setText("Screen_comment", "Silver");
        expected_.setText("Printer_comment", kThanksCp1251);
        expectRecord();
    }

    // Path and body of every request received, in order.
    std::vector<std::string> received() const {
        std::vector<std::string> out;
        for (const fakeloyalty::Request& r : service_.requests(token_)) {
            EXPECT_EQ(r.method, "POST");
            EXPECT_EQ(r.header("Content-Type"), "application/json;");
            out.push_back(r.path + " " + r.body);
        }
        return out;
    }
    std::string guestPath() const { return "/v1/GuestInfo/" + token_; }
    std::string discountPath() const { return "/v1/GetDiscount/" + token_; }

    fakeloyalty::Service service_{BRISVANE_FAKE_ADDRESS};
    std::string token_;
    Record record_;
    Record expected_;
    uint32_t junk_ = 0;
    std::vector<uintptr_t> handlesBefore_;
    bool handlesObservable_ = false;
};

// The check after each lookup sees a handle left open, or is skipped aloud.
TEST_F(CardLookupTest, HandleCheckSeesAHandleLeftOpen) {
    if (!handlesObservable_) GTEST_SKIP() << "WinInet handle values are not reused here";
    HINTERNET open = InternetOpenA("left open", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    ASSERT_NE(open, nullptr);
    EXPECT_NE(freshHandleValues(), handlesBefore_);
    InternetCloseHandle(open);
    EXPECT_EQ(freshHandleValues(), handlesBefore_);
}

// ---- the working paths ----------------------------------------------------

TEST_F(CardLookupTest, GuestOnlyLookupFillsTheRecordInWindows1251AndKeepsTheHostsBlock) {
    confWith();
    serveGuest(kGuestIvanov);
    record_.set("Blocked", 1);
    const std::string check = hostCheck(0);

    EXPECT_EQ(lookup(79161234567LL, check), 0);

    EXPECT_THAT(received(), ElementsAre(guestPath() + " {\"Phone\":79161234567}"));
    expected_.set("Blocked", 1);
    expected_.set("Not_pay_type", 3);
    expected_.set("Owner_id", 42);
    expected_.set("Account_number", 42);
    expected_.setText("Screen_comment", kGoldCp1251);
    expected_.set("Discount_num", 1);
    expected_.set("Bonus_num", 7);
    expected_.set("Access_amount", 15075);
    expected_.set("Max_discount", 99999900);
    expected_.setText("Card_owner", kIvanovCp1251);
    expectRecord();
    const std::string path = "v1/GuestInfo/" + token_;
    EXPECT_EQ(stampless(logText()), logStart(0, check) +
                                        exchange(path, "{\"Phone\":79161234567}", kGuestIvanov) +
                                        expected_.dump("GetCardInfoEx RESULT INFO", kEol) +
                                        entry("GetCardInfoEx", "Ended successfully! RETURN 0"));
}

TEST_F(CardLookupTest, GuestAndDiscountLookupFillsBonusAndDepositSubAccounts) {
    confWith(kAccounts);
    serveBoth(kGuestIvanov, kDiscountPetrov);
    record_.set("Blocked", 1);  // a successful discount reply unblocks
    const std::string check = hostCheck(1);

    EXPECT_EQ(lookup(1234567890123456LL, check), 0);

    EXPECT_THAT(received(), ElementsAre(guestPath() + " {\"CardToken\":1234567890123456}",
                                        discountPath() + " " + discountBody("42")));
    expectPetrovFill(42);
    const std::string guest = "v1/GuestInfo/" + token_;
    const std::string discount = "v1/GetDiscount/" + token_;
    EXPECT_EQ(stampless(logText()),
              logStart(1, check) +
                  exchange(guest, "{\"CardToken\":1234567890123456}", kGuestIvanov) +
                  entry("SendGetDiscount", "Started") +
                  exchange(discount, discountBody("42"), kDiscountPetrov) +
                  entry("SendGetDiscount", "Ended") + entry("GetCardInfoEx", "Trying to close HC") +
                  entry("GetCardInfoEx", "HC closed!") +
                  entry("GetCardInfoEx", "Try find configuration->first_node(\"BonusAccount\")") +
                  entry("GetCardInfoEx", "Try find configuration->first_node(\"DepositAccount\")") +
                  expected_.dump("GetCardInfoEx RESULT INFO", kEol) +
                  entry("GetCardInfoEx", "Ended successfully! RETURN 0"));
}

TEST_F(CardLookupTest, DiscountReplyMayOmitMaxBonusWhenNoBonusAccountIsConfigured) {
    const std::string maxBonus = "\"MaxBonus\":10.5,";
    std::string reply = kDiscountPetrov;
    reply.erase(reply.find(maxBonus), maxBonus.size());
    confWith(
        "<DepositAccount><CurrencyCode>7</CurrencyCode><CardSubAccount>3</CardSubAccount>"
        "</DepositAccount>");
    serveBoth(guestWithClientId("42"), reply);

    EXPECT_EQ(lookup(79161234567LL, hostCheck(1)), 0);

    expectPetrovFill(42, false);
    EXPECT_EQ(lookupLines(), (startLines(1) + kDiscountFillLines));
}

TEST_F(CardLookupTest, ClientIdTextsAreReadAsSigned32BitNumbers) {
    for (const auto& [text, id] :
         std::vector<std::pair<std::string, int64_t>>{{"00123", 123}, {"-5", -5}}) {
        SCOPED_TRACE(text);
        token_ = fakeloyalty::uniqueToken("clientid");
        confWith(kAccounts);
        serveBoth(guestWithClientId(text), kDiscountPetrov);
        expected_ = record_ = Record::fromHost();
        expected_.clearLookupFlags();

        EXPECT_EQ(lookup(5, hostCheck(3)), 0);

        // The text goes to the service as it came; the record gets the number.
        EXPECT_THAT(received(), ElementsAre(guestPath() + " {\"CardToken\":5}",
                                            discountPath() + " " + discountBody(text)));
        expectPetrovFill(id);
    }
    EXPECT_EQ(record_.value("Account_number"), "4294967291");
}

TEST_F(CardLookupTest, ModesWithoutARequestOnlyClearTheFiveFlags) {
    confWith(kAccounts);
    serveBoth(kGuestIvanov, kDiscountPetrov);
    for (int mode : {14, -2}) {
        SCOPED_TRACE(mode);
        std::remove("brisvane.log");
        record_ = Record::fromHost();

        EXPECT_EQ(lookup(79161234567LL, hostCheck(mode)), 0);

        expectRecord();
        EXPECT_EQ(lookupLines(),
                  (startLines(mode) + std::vector<std::string>{"Ended successfully! RETURN 0"}));
        EXPECT_THAT(stampless(logText()),
                    HasSubstr(expected_.dump("GetCardInfoEx RESULT INFO", kEol)));
    }
    EXPECT_THAT(received(), IsEmpty());
}

TEST_F(CardLookupTest, BonusPaymentModeAsksForTheLastMatchingPaymentsAccount) {
    confWith(kAccounts);
    serve("{\"GetDiscount\": " + replyWith(kDiscountPetrov) + "}");
    const std::string check =
        hostCheck(16,
                  paymentsOf("<PAYMENT code=\"5\" account=\"111\" interface=\"12\"/>"
                             "<PAYMENT code=\"9\" account=\"333\" interface=\"12\"/>"
                             "<PAYMENT code=\"6\" account=\"222\" interface=\"12\"/>"
                             "<PAYMENT code=\"5\" account=\"444\" interface=\"13\"/>"),
                  kInterface12);

    EXPECT_EQ(lookup(79161234567LL, check), 0);

    EXPECT_THAT(received(), ElementsAre(discountPath() + " " + discountBody("222")));
    expectPetrovFill(222);
    EXPECT_EQ(lookupLines(),
              (startLines(16) + std::vector<std::string>{"TRY GET bonusCurrencyCodes"} +
               kDiscountFillLines));
    EXPECT_THAT(stampless(logText()), HasSubstr(expected_.dump("GetCardInfoEx RESULT INFO", kEol)));
}

TEST_F(CardLookupTest, BonusPaymentModeWithoutAMatchAsksForAnEmptyClient) {
    confWith(kAccounts);
    serve("{\"GetDiscount\": " + replyWith(kDiscountPetrov) + "}");
    const std::string check =
        hostCheck(16,
                  paymentsOf("<PAYMENT code=\"5\" account=\"0\" interface=\"12\"/>"
                             "<PAYMENT code=\"5\" account=\"555\" interface=\"13\"/>"
                             "<PAYMENT code=\"6\" interface=\"12\"/>"),
                  kInterface12);

    EXPECT_EQ(lookup(79161234567LL, check), 0);

    EXPECT_THAT(received(), ElementsAre(discountPath() + " " + discountBody("")));
    expectPetrovFill(0);
}

TEST_F(CardLookupTest, CheckWithoutCheckdataStillLooksUpAndPricesAnEmptyOrder) {
    confWith(kAccounts);
    serveBoth(guestWithClientId("42"), kDiscountPetrov);
    const std::string check = "<CHECK chmode=\"1\" restaurantcode=\"R7\"></CHECK>\n";

    EXPECT_EQ(lookup(79161234567LL, check), 0);

    EXPECT_THAT(
        received(),
        ElementsAre(
            guestPath() + " {\"Phone\":79161234567}",
            discountPath() +
                R"( {"OrganizationId":"R7","OrderId":"","ParentOrderId":"","ClientId":"42",)"
                R"("OrderNumber":"","OrderSum":0.0,"OrderSumWithDiscount":0.0,"Order":[]})"));
    expectPetrovFill(42);
    EXPECT_EQ(readFile("inputBuf_without_checkdata.txt"),
              "<CHECK chmode=\"1\" restaurantcode=\"R7\"></CHECK>");
    EXPECT_THAT(heads(), Contains(StartsWith("[S] CHECKXML INIT : THROW SOME ERROR ")));
    EXPECT_EQ(lookupLines(), (startLines(1) + std::vector<std::string>{} + kDiscountFillLines));
}

// ---- refusals and failures named by the flow -------------------------------

TEST_F(CardLookupTest, BlockedCardIsAnAnswerWithTheBlockReason) {
    confWith(kAccounts);
    serveGuest(
        u8R"({"Status":2,"ErrorMessage":"Карта заблокирована. Продажа по карте невозможна."})");

    EXPECT_EQ(lookup(79161234567LL, hostCheck(1)), 0);

    EXPECT_THAT(received(), ElementsAre(guestPath() + " {\"Phone\":79161234567}"));
    expected_.set("Blocked", 1);
    expected_.setText("Block_reason", kBlockedText);
    expectRecord();
    // "Error: Карта заблокирована. Продажа по карте невозможна RETURN 0" (no full stop)
    const std::string blockedLine =
        "Error: \xca\xe0\xf0\xf2\xe0 \xe7\xe0\xe1\xeb\xee\xea\xe8\xf0\xee\xe2\xe0\xed\xe0. "
        "\xcf\xf0\xee\xe4\xe0\xe6\xe0 \xef\xee \xea\xe0\xf0\xf2\xe5 "
        "\xed\xe5\xe2\xee\xe7\xec\xee\xe6\xed\xe0 RETURN 0";
    EXPECT_EQ(lookupLines(), (startLines(1) + std::vector<std::string>{blockedLine, "Info - "}));
    EXPECT_THAT(stampless(logText()), EndsWith(entry("GetCardInfoEx", blockedLine) +
                                               expected_.dump("GetCardInfoEx", kEol)));
}

TEST_F(CardLookupTest, OtherRefusalFailsAndLeavesTheBlockAlone) {
    confWith();
    // The block text without its final full stop is another message.
    serveGuest(
        u8R"({"Status":2,"ErrorMessage":"Карта заблокирована. Продажа по карте невозможна"})");

    EXPECT_EQ(lookup(79161234567LL, hostCheck(0)), 1);

    expectRecord();
    EXPECT_EQ(lookupLines(),
              (startLines(0) + std::vector<std::string>{"Error: status == 2 RETURN 1"}));
    EXPECT_EQ(received().size(), 1u);
}

TEST_F(CardLookupTest, GuestRepliesThatAreNotAGuestFail) {
    confWith();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {R"({"Status":3})", "Error: status != 1 RETURN 1"},
        {"<html>busy</html>", "Error: not ok jsonGuestInfo RETURN 1"},
        {R"({"Status":"1"})",
         "ERROR service reply not usable: reply member \"Status\" is not a 32-bit "
         "integer RETURN 1"},
        {R"({"Status":1,"ClientId":"42"})",
         "ERROR service reply not usable: reply member "
         "\"NotPayType\" is missing (expected an integer) RETURN 1"},
    };
    for (const auto& [reply, line] : cases) {
        SCOPED_TRACE(reply);
        token_ = fakeloyalty::uniqueToken("guestfail");
        confWith();
        serveGuest(reply);
        std::remove("brisvane.log");
        record_ = Record::fromHost();

        EXPECT_EQ(lookup(79161234567LL, hostCheck(0)), 1);

        expectRecord();
        EXPECT_EQ(lookupLines(), (startLines(0) + std::vector<std::string>{line}));
        EXPECT_THAT(received(), ElementsAre(guestPath() + " {\"Phone\":79161234567}"));
    }
}

// A gateway's or proxy's page is still the reply (results as before), and the
// log names its status right after the dump; a 2xx reply gets no such entry.
TEST_F(CardLookupTest, ErrorPagesKeepTheirResultAndTheLogNamesTheirStatus) {
    const std::string html = "<html><body><h1>502 Bad Gateway</h1></body></html>";
    struct Case {
        std::string behaviour;
        std::string reply;
        std::string status;  // the entry after the dump, empty for none
        std::string line;
    };
    const Case cases[] = {
        {R"({"status": 502, "content_type": "text/html", "body": )" + jsonString(html) + "}", html,
         "HTTP status 502", "Error: not ok jsonGuestInfo RETURN 1"},
        {R"({"status": 500, "body": "{\"Status\":3}"})", R"({"Status":3})", "HTTP status 500",
         "Error: status != 1 RETURN 1"},
        {R"({"status": 203, "body": "{\"Status\":3}"})", R"({"Status":3})", "",
         "Error: status != 1 RETURN 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.behaviour);
        token_ = fakeloyalty::uniqueToken("status");
        confWith();
        serve("{\"GuestInfo\": " + c.behaviour + "}");
        std::remove("brisvane.log");

        EXPECT_EQ(lookup(79161234567LL, hostCheck(0)), 1);

        EXPECT_EQ(lookupLines(), (startLines(0) + std::vector<std::string>{c.line}));
        const std::string dump =
            "[S] ANSWER FROM URL v1/GuestInfo/" + token_ + " " + kEol + c.reply + kEol;
        const std::string after =
            c.status.empty() ? entry("GetCardInfoEx", c.line) : entry("SendRequest", c.status);
        EXPECT_THAT(stampless(logText()), HasSubstr(dump + after));
        EXPECT_EQ(received().size(), 1u) << "an answered request is not sent again";
    }
}

TEST_F(CardLookupTest, DiscountReplyThatIsNotASuccessFailsAfterClosing) {
    const std::string refusal = R"({"Status":2,"Message":"order closed"})";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {refusal, "ERROR RETURN 1 in !ok || jsonDiscont[\"Status\"].GetInt() != 1" + refusal},
        {R"({"Status":1,"FIO":"","NotPayType":0,"BonusId":0,"DiscountId":0,"SumDiscount":0,)"
         R"("MaxBonus":0,"LoyaltyLevel":"","PrintMessage":""})",
         "ERROR service reply not usable: reply member \"MaxDeposit\" is missing (expected a "
         "number) "
         "RETURN 1"},
        // With a BonusAccount configured, "MaxBonus" is needed.
        {R"({"Status":1,"FIO":"","NotPayType":0,"BonusId":0,"DiscountId":0,"SumDiscount":0,)"
         R"("MaxDeposit":0,"LoyaltyLevel":"","PrintMessage":""})",
         "ERROR service reply not usable: reply member \"MaxBonus\" is missing (expected a "
         "number) RETURN 1"},
    };
    for (const auto& [reply, line] : cases) {
        SCOPED_TRACE(reply);
        token_ = fakeloyalty::uniqueToken("discfail");
        confWith(kAccounts);
        serveBoth(guestWithClientId("42"), reply);
        std::remove("brisvane.log");
        record_ = Record::fromHost();

        EXPECT_EQ(lookup(79161234567LL, hostCheck(1)), 1);

        // Nothing of either reply reaches the record.
        expectRecord();
        EXPECT_EQ(lookupLines(), (startLines(1) + std::vector<std::string>{"Trying to close HC",
                                                                           "HC closed!", line}));
        EXPECT_EQ(received().size(), 2u);
    }
}

TEST_F(CardLookupTest, DiscountBodyThatCannotBeBuiltFailsWithoutARequest) {
    confWith(kAccounts);
    serveBoth(guestWithClientId("42"), kDiscountPetrov);
    const std::string lines =
        "<CHECKLINES><LINE id=\"{D1}\" name=\"Soup\" quantity=\"1\" price=\"150\" sum=\"150\" "
        "type=\"dish\" servprint=\"Kitchen\"/></CHECKLINES>";

    EXPECT_EQ(lookup(79161234567LL, hostCheck(2, lines)), 1);

    expectRecord();
    EXPECT_THAT(received(), ElementsAre(guestPath() + " {\"Phone\":79161234567}"));
    EXPECT_EQ(lookupLines(),
              (startLines(2) + std::vector<std::string>{"ERROR getDiscountRes != -1 RETURN 1"}));
    EXPECT_THAT(heads(),
                Contains(head("SendGetDiscount",
                              "ERROR XmlElementNotFoundAttribute servprint_id not found")));
}

TEST_F(CardLookupTest, MissingConfigurationMeansNoToken) {
    EXPECT_EQ(lookup(79161234567LL, hostCheck(1)), 1);

    expectRecord();
    EXPECT_EQ(lookupLines(),
              (slice(startLines(1), 0, 6) +
               std::vector<std::string>{"ERROR finding token", "Cant get token! RETURN 1"}));
    EXPECT_THAT(heads(), Not(Contains(head("GetConfig", "TRY GET configuration"))));
}

TEST_F(CardLookupTest, NullRecordFailsBeforeAnythingElse) {
    confWith();
    serveGuest(kGuestIvanov);

    EXPECT_EQ(lookupInto(79161234567LL, hostCheck(0), nullptr), 1);

    EXPECT_THAT(received(), IsEmpty());
    EXPECT_EQ(lookupLines(),
              (std::vector<std::string>{"GetCardInfoEx from File1 Started!", "InputBuf was",
                                        "ERROR card record is NULL RETURN 1"}));
}

// ---- failures the flow does not name: result 1 and a line saying why -------

TEST_F(CardLookupTest, PaymentWithoutCodeEndsTheBonusPaymentLookup) {
    confWith(kAccounts);
    serve("{\"GetDiscount\": " + replyWith(kDiscountPetrov) + "}");
    const std::string check =
        hostCheck(16,
                  paymentsOf("<PAYMENT code=\"5\" account=\"111\" interface=\"12\"/>"
                             "<PAYMENT account=\"222\" interface=\"12\"/>"),
                  kInterface12);

    EXPECT_EQ(lookup(79161234567LL, check), 1);

    expectRecord();
    EXPECT_THAT(received(), IsEmpty());
    EXPECT_EQ(lookupLines(),
              (startLines(16) + std::vector<std::string>{
                                    "TRY GET bonusCurrencyCodes",
                                    "ERROR check not usable: Attribute code not found RETURN 1"}));
}

// ---- exchanges without a reply (each costs the wrapper's 10 s pause) ------

TEST_F(CardLookupTest, EmptyGuestReplyFailsAfterTheWrappersOwnLines) {
    confWith();
    serveGuest("");

    EXPECT_EQ(lookup(79161234567LL, hostCheck(1)), 1);

    expectRecord();
    // The shipped DLL probes a public site: with internet it tries once more.
    const std::string log = stampless(logText());
    const bool online = logtext::probeWorked(log);
    EXPECT_EQ(received(),
              std::vector<std::string>(online ? 2 : 1, guestPath() + " {\"Phone\":79161234567}"));
    EXPECT_EQ(lookupLines(), (startLines(1)));
    const std::string path = "v1/GuestInfo/" + token_;
    const std::string noReply = entry("SendRequest", logtext::noReplyMessage(path));
    EXPECT_THAT(log, EndsWith(noReply + logtext::probeEntries(online, path) +
                              (online ? noReply : "") + logtext::giveUpEntries(online)));
}

TEST_F(CardLookupTest, DiscountExchangeWithoutAReplyFailsWithItsCode) {
    confWith(kAccounts);
    serveBoth(guestWithClientId("42"), "");

    EXPECT_EQ(lookup(79161234567LL, hostCheck(1)), 1);

    expectRecord();
    std::vector<std::string> expected = {guestPath() + " {\"Phone\":79161234567}",
                                         discountPath() + " " + discountBody("42")};
    if (logtext::probeWorked(logText())) expected.push_back(expected.back());
    EXPECT_EQ(received(), expected);
    EXPECT_EQ(lookupLines(),
              (startLines(1) + std::vector<std::string>{"ERROR getDiscountRes != -1 RETURN 1"}));
    // The dump of the absent record ends without a line feed, so the next entry follows on its
    // line.
    EXPECT_THAT(
        stampless(logText()),
        HasSubstr(kEol + "NULL" +
                  head("SendGetDiscount", "Error: GetDiscount(szData size = 0), Error code")));
}

}  // namespace
