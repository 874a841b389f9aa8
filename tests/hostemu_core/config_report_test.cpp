// The config command's report on what a working mode does, with or without
// CHECKDATA, and the shared rule for the service's address.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "check/CheckXml.h"
#include "cli/Output.h"
#include "confreport/ConfigReport.h"

TEST(ConfigReport, SaysWhatAModeDoesAndHowTheCheckWasRead) {
    const std::string path =
        (std::filesystem::temp_directory_path() /
         ("hostemu-report-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
          ".xml"))
            .string();
    std::ofstream(path, std::ios::binary)
        << "<Configuration><ApiAddress>svc.test</ApiAddress><SSL>true</SSL>"
           "<PlaceOfService><PlaceCode>1</PlaceCode><LoyltyApiToken Default=\"true\">tok-12345"
           "</LoyltyApiToken></PlaceOfService></Configuration>";
    struct Case {
        const char* check;
        CheckInit initResult;
        int status;
        std::string shown;
    };
    const Case cases[] = {
        {"<CHECK chmode=\"1\"/>", CheckInit::Ready, 0,
         "working mode (CHECK chmode) 1: a lookup asks for the guest, then for the order's "
         "discount (GuestInfo, GetDiscount); a transaction closes the order (GetDiscount, "
         "CloseOrder)\n  no top-level CHECKDATA: the order category counts as -1, and a discount "
         "is asked for an empty order"},
        {"<CHECK chmode=\"0\"/>", CheckInit::Failed, 0, "initCheckXml result 1"},
        {"<CHECK chmode=\"16\"/><CHECKDATA order_cat=\"1\"/>", CheckInit::Ready, 0,
         "working mode (CHECK chmode) 16: a lookup asks for the discount of the bonus payment's "
         "account (GetDiscount); a transaction sends nothing and fails with 1"},
    };
    for (const Case& c : cases) {
        CheckXml reader;
        reader.doc.load_string(c.check);
        reader.check = reader.doc.child("CHECK");
        reader.checkData = reader.doc.child("CHECKDATA");
        StringOutput out;
        EXPECT_EQ(configReport(path, reader, c.initResult, "", out), c.status) << c.check;
        EXPECT_NE(out.outText().find(c.shown), std::string::npos) << out.outText();
        EXPECT_NE(out.outText().find("requests go to https://svc.test:443/v1/GuestInfo/<token>"),
                  std::string::npos);
    }
    std::remove(path.c_str());
}

TEST(ConfigReport, NamesTheBonusAndDepositPaymentsAndWarnsOfTypesNoAccountNames) {
    const std::string path =
        (std::filesystem::temp_directory_path() /
         ("hostemu-payments-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
          ".xml"))
            .string();
    const std::string head =
        "<Configuration><ApiAddress>svc.test</ApiAddress><PlaceOfService><PlaceCode>1</PlaceCode>"
        "<LoyltyApiToken Default=\"true\">tok-12345</LoyltyApiToken></PlaceOfService>";
    auto accounts = [](const char* bonus, const char* deposit) {
        return std::string("<BonusAccount><CurrencyCode>") + bonus +
               "</CurrencyCode><CardSubAccount>2</CardSubAccount></BonusAccount>"
               "<DepositAccount><CurrencyCode>" +
               deposit + "</CurrencyCode><CardSubAccount>3</CardSubAccount></DepositAccount>";
    };
    const std::string paid =
        "<PAYMENT code=\"5\" account=\"501\" interface=\"7\" sum=\"100\"/>"
        "<PAYMENT code=\"6\" account=\"777\" sum=\"40\"/><PAYMENT code=\"1\" sum=\"200\"/>";
    struct Case {
        std::string accounts, payments;
        int status;
        std::vector<std::string> shown, absent;
    };
    const Case cases[] = {
        {accounts("5", "6"),
         paid,
         0,
         {"payment #1 (code 5, account \"501\"): a bonus payment that names the guest\n",
          "payment #2 (code 6, account \"777\"): a deposit payment\n",
          "payment #3 (code 1): neither a bonus nor a deposit payment\n"},
         {"WARNING"}},
        // The host's bonus and deposit types are 12 and 13; conf.xml still has the demo's.
        {accounts("12", "13"),
         paid,
         1,
         {"payment #1 (code 5, account \"501\"): neither a bonus nor a deposit payment\n",
          "WARNING: payment #1 (code 5, account \"501\") pays from an account, but no "
          "BonusAccount or DepositAccount has CurrencyCode 5: the DLL takes it for an ordinary "
          "payment (if it is the host's bonus or deposit payment type, write 5 into that "
          "account's CurrencyCode)\n",
          "WARNING: payment #2 (code 6, account \"777\") pays from an account, but no "
          "BonusAccount or DepositAccount has CurrencyCode 6"},
         {"payment #3 (code 1) pays"}},
        {"",
         paid,
         1,
         {"WARNING: payment #1 (code 5, account \"501\") pays from an account, but conf.xml has "
          "no BonusAccount or DepositAccount: the DLL takes no payment for a bonus or deposit "
          "payment\n"},
         {"payment #3 (code 1) pays"}},
        // Cash alone, or an account "0", warns of nothing.
        {"",
         "<PAYMENT code=\"1\" sum=\"200\"/><PAYMENT code=\"9\" account=\"0\" sum=\"1\"/>",
         0,
         {"payment #2 (code 9, account \"0\"): neither"},
         {"WARNING"}},
        {accounts("5", "5"),
         "<PAYMENT code=\"5\" account=\"501\" interface=\"8\" sum=\"100\"/>",
         0,
         {"payment #1 (code 5, account \"501\"): a bonus and a deposit payment\n"},
         {}},
        {accounts("5", "6"),
         "<PAYMENT code=\"5\" account=\"501\" interface=\"8\" sum=\"100\"/>",
         0,
         {"payment #1 (code 5, account \"501\"): a bonus payment that names no guest"},
         {}},
    };
    for (const Case& c : cases) {
        std::ofstream(path, std::ios::binary) << head + c.accounts + "</Configuration>";
        CheckXml reader;
        reader.doc.load_string(("<CHECK chmode=\"1\"/><CHECKDATA order_cat=\"1\"><CHECKPAYMENTS>" +
                                c.payments + "</CHECKPAYMENTS></CHECKDATA>")
                                   .c_str());
        reader.check = reader.doc.child("CHECK");
        reader.checkData = reader.doc.child("CHECKDATA");
        reader.selectedInterface = "7";
        StringOutput out;
        EXPECT_EQ(configReport(path, reader, CheckInit::Ready, "", out), c.status) << out.outText();
        for (const std::string& s : c.shown)
            EXPECT_NE(out.outText().find(s), std::string::npos) << s << "\n" << out.outText();
        for (const std::string& s : c.absent)
            EXPECT_EQ(out.outText().find(s), std::string::npos) << s << "\n" << out.outText();
    }
    std::remove(path.c_str());
}

// In Russian every section, line and warning reads Russian, the counts take
// their Russian forms, and the DLL's own log texts are quoted as they are.
TEST(ConfigReport, SpeaksRussianAndQuotesTheLogAsItIs) {
    const std::string path =
        (std::filesystem::temp_directory_path() /
         ("hostemu-ru-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
          ".xml"))
            .string();
    struct Case {
        std::string conf;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {"<Configuration><ApiAddress>svc.test</ApiAddress><SSL>yes</SSL>"
         "<PlaceOfService><PlaceCode>2x</PlaceCode><LoyltyApiToken Default=\"true\">t</"
         "LoyltyApiToken></PlaceOfService>"
         "<BonusAccount><CurrencyCode>5</CurrencyCode><CardSubAccount>9</CardSubAccount>"
         "</BonusAccount></Configuration>",
         {"== Сервер программы лояльности\n  ApiAddress  \"svc.test\"\n"
          "  SSL         \"yes\" -> обычный HTTP, порт 80\n"
          "  ВНИМАНИЕ: SSL записан как \"yes\": HTTPS включается только значением \"true\"",
          "== Места обслуживания (в порядке записи в файле)\n"
          "  место №1  PlaceCode \"2x\" читается как 2  токен \"*\" (1 символ)  Default=\"true\": "
          "место по умолчанию\n",
          "== Токен для этого чека\n  категория заказа 1 (CHECKDATA order_cat \"1\")\n"
          "  ни у одного места нет кода 1: используется место №1 — место по умолчанию",
          "== Бонусные и депозитные счета\n"
          "  BonusAccount №1: оплаты с CurrencyCode 5 считаются оплатой бонусами; MaxBonus -> "
          "ни в одно поле записи\n",
          "\n3 предупреждения.\n"}},
        {"<Configuration><ApiAddress>svc.test</ApiAddress></Configuration>",
         {"  ВНИМАНИЕ: нет ни одного PlaceOfService: модуль не найдёт токен ни для одного чека "
          "(\"ERROR finding token\")\n",
          "\n2 предупреждения.\n"}},
        {"<Config/>",
         {"корневой элемент — <Config>, а не <Configuration>", "\n1 предупреждение.\n"}},
    };
    for (const Case& c : cases) {
        std::ofstream(path, std::ios::binary) << c.conf;
        CheckXml reader;
        reader.doc.load_string("<CHECK chmode=\"0\"/><CHECKDATA order_cat=\"1\"/>");
        reader.check = reader.doc.child("CHECK");
        reader.checkData = reader.doc.child("CHECKDATA");
        StringOutput out(kRussianCatalog);
        EXPECT_EQ(configReport(path, reader, CheckInit::Ready, "", out), 1);
        for (const std::string& s : c.shown)
            EXPECT_NE(out.outText().find(s), std::string::npos) << s << "\n" << out.outText();
        EXPECT_EQ(out.outText().find("WARNING"), std::string::npos);
    }
    std::remove(path.c_str());
}
