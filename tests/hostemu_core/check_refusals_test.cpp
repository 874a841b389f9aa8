// config's warnings about checks the DLL would refuse: the DLL's own code run
// on the check, its log lines quoted.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "check/CheckXml.h"
#include "cli/Output.h"
#include "confreport/CheckRefusals.h"
#include "confreport/ConfigReport.h"
#include "log/Logger.h"

namespace {

const char kConf[] =
    "<Configuration><BonusAccount><CurrencyCode>5</CurrencyCode><CardSubAccount>2"
    "</CardSubAccount></BonusAccount><DepositAccount><CurrencyCode>6</CurrencyCode>"
    "<CardSubAccount>3</CardSubAccount></DepositAccount></Configuration>";

std::string check(const std::string& mode, const std::string& payments,
                  const std::string& holders = "<HOLDERS><ITEM cardcode=\"1001\"/></HOLDERS>",
                  const std::string& orderguid = " orderguid=\"{G-1}\"",
                  const std::string& sum = " sum=\"300\"") {
    return "<INTERFACES><INTERFACE interface=\"7\"/></INTERFACES>" + holders +
           "<CHECK restaurantcode=\"R1\" chmode=\"" + mode + "\"></CHECK><CHECKDATA" + orderguid +
           " checknum=\"17\" order_cat=\"1\" closedatetime=\"2025-03-14 19:42:10\"><CHECKLINES>"
           "<LINE type=\"dish\" id=\"{D1}\" name=\"Soup\" servprint_id=\"{K}\" servprint=\"K\" "
           "quantity=\"1\" price=\"300\"" +
           sum + "/></CHECKLINES>" + payments + "</CHECKDATA>";
}

// The test runs in a folder of its own: the DLL's code appends to brisvane.log there.
class CheckRefusals : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        folder_ = std::filesystem::temp_directory_path() /
                  ("hostemu-refusals-" +
                   std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        std::filesystem::create_directories(folder_);
        std::filesystem::current_path(folder_);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(folder_);
    }

    std::filesystem::path previous_, folder_;
};

}  // namespace

TEST_F(CheckRefusals, TellWhatTheDllLogsBeforeSendingNothing) {
    struct Case {
        const char* name;
        std::string check;
        std::vector<Msg> calls;          // the refused calls, by the message naming each
        std::vector<std::string> lines;  // every line of every refusal, in order
    };
    const std::string paid =
        "<CHECKPAYMENTS><PAYMENT code=\"5\" account=\"501\" interface=\"7\" sum=\"100\"/>"
        "<PAYMENT code=\"1\" sum=\"200\"/></CHECKPAYMENTS>";
    const Case cases[] = {
        {"a close the DLL sends", check("1", paid), {}, {}},
        {"a guest lookup, a transaction that sends nothing", check("0", paid), {}, {}},
        {"a deposit payment without account",
         check("1",
               "<CHECKPAYMENTS><PAYMENT code=\"6\" account=\" \" sum=\"300\"/>"
               "</CHECKPAYMENTS>"),
         {Msg::config_refused_transaction},
         {"TransactionsEx : ERROR deposit payment names no account: cannot write off the "
          "deposit, nothing sent RETURN 1"}},
        {"no payments",
         check("4", ""),
         {Msg::config_refused_transaction},
         {"TransactionsEx : ERROR Node CHECKPAYMENTS not found RETURN 1"}},
        {"no guest named and no card holder",
         check("1", "<CHECKPAYMENTS><PAYMENT code=\"1\" sum=\"300\"/></CHECKPAYMENTS>", ""),
         {Msg::config_refused_transaction},
         {"TransactionsEx : ERROR Node CHECKDISCOUNTS AND THEN HOLDERS not found RETURN 1"}},
        {"a card holder: the service is asked, taken as knowing the guest",
         check("1", "<CHECKPAYMENTS><PAYMENT code=\"1\" sum=\"300\"/></CHECKPAYMENTS>"),
         {},
         {}},
        {"a return without the order's id: its lookup's discount too",
         check("2", paid, "", ""),
         {Msg::config_refused_lookup, Msg::config_refused_transaction},
         {"SendGetDiscount : ERROR XmlElementNotFoundAttribute orderguid not found",
          "GetCardInfoEx : ERROR getDiscountRes != -1 RETURN 1",
          "TransactionsEx : ERROR Attribute orderguid not found RETURNS 1"}},
        {"a line without its sum: the lookup's discount and the close",
         check("1", paid, "<HOLDERS><ITEM cardcode=\"1001\"/></HOLDERS>", " orderguid=\"{G-1}\"",
               ""),
         {Msg::config_refused_lookup, Msg::config_refused_transaction},
         {"SendGetDiscount : ERROR XmlElementNotFoundAttribute sum not found",
          "GetCardInfoEx : ERROR getDiscountRes != -1 RETURN 1",
          "TransactionsEx : ERROR Attribute sum not found RETURN 1"}},
    };
    pugi::xml_document conf;
    conf.load_string(kConf);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CheckXml reader;
        Logger log;
        initCheckXml(reader, c.check.c_str(), static_cast<uint32_t>(c.check.size() + 1), "t", log);
        const std::vector<CheckRefusal> refusals =
            checkRefusals(reader, conf.child("Configuration"));
        std::vector<Msg> calls;
        std::vector<std::string> lines;
        for (const CheckRefusal& r : refusals) {
            calls.push_back(r.call);
            lines.insert(lines.end(), r.lines.begin(), r.lines.end());
        }
        EXPECT_EQ(calls, c.calls);
        EXPECT_EQ(lines, c.lines);
    }
}

TEST_F(CheckRefusals, AreWarningsOfTheReport) {
    std::ofstream("conf.xml") << kConf;
    CheckXml reader;
    reader.doc.load_string("<CHECK chmode=\"2\"/>");
    reader.check = reader.doc.child("CHECK");
    const std::vector<CheckRefusal> refusals = {
        {Msg::config_refused_transaction,
         {"TransactionsEx : ERROR a", "TransactionsEx : ERROR b"}}};
    for (const Catalog* catalog : {&kEnglishCatalog, &kRussianCatalog}) {
        StringOutput out(*catalog);
        EXPECT_EQ(configReport("conf.xml", reader, CheckInit::Ready, "", out, refusals), 1);
        EXPECT_NE(out.outText().find(
                      catalog == &kEnglishCatalog
                          ? "WARNING: a transaction with this check is refused "
                            "before anything is sent; the DLL logs "
                            "\"TransactionsEx : ERROR a\", then \"TransactionsEx : "
                            "ERROR b\" and returns 1"
                          : "ВНИМАНИЕ: проведение этого чека отклоняется ещё до отправки запроса"),
                  std::string::npos)
            << out.outText();
    }
}
