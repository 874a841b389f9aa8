// The config command's report on a check without CHECKDATA: which working
// modes still look up, and the shared rule for the service's address.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "check/CheckXml.h"
#include "cli/Output.h"
#include "confreport/ConfigReport.h"

TEST(ConfigReport, SaysWhatAModeDoesWithoutCheckData) {
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
        int initResult;
        int status;
        std::string shown;
    };
    const Case cases[] = {
        {"<CHECK chmode=\"0\"/>", 2, 0,
         "working mode (CHECK chmode) 0, without CHECKDATA: a lookup asks for the guest only "
         "(GuestInfo); a transaction fails with 2"},
        {"<CHECK chmode=\"1\"/>", 2, 1,
         "WARNING: the check has no CHECKDATA, which working mode 1 needs: every lookup with this "
         "check fails"},
        {"<CHECK chmode=\"16\"/><CHECKDATA order_cat=\"1\"/>", 0, 0,
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
