#include <sstream>

#include "check/Accessors.h"
#include "check/CheckXml.h"
#include "check/WorkingMode.h"
#include "config/Config.h"
#include "confreport/ConfigSections.h"
#include "confreport/Report.h"
#include "display/ShownValues.h"

namespace {

std::string lookupText(int32_t mode) {
    switch (lookupPathFor(mode)) {
        case LookupPath::GuestOnly: return "a lookup asks for the guest only (GuestInfo)";
        case LookupPath::GuestThenDiscount:
            return "a lookup asks for the guest, then for the order's discount (GuestInfo, "
                   "GetDiscount)";
        case LookupPath::BonusPayment:
            return "a lookup asks for the discount of the bonus payment's account (GetDiscount)";
        case LookupPath::Nothing: break;
    }
    return "a lookup asks the service nothing and answers 0 with only the flags cleared";
}

std::string postingText(int32_t mode) {
    switch (postingPathFor(mode)) {
        case PostingPath::Close: return "a transaction closes the order (GetDiscount, CloseOrder)";
        case PostingPath::Return: return "a transaction returns the order (ReturnOrder)";
        case PostingPath::Nothing: break;
    }
    return "a transaction sends nothing and fails with 1";
}

// The reader's own failure lines, which tell why a part of the check is missing.
void reportReaderLines(const std::string& readerLog, Report& report) {
    std::istringstream lines(readerLog);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find("ERROR") == std::string::npos && line.find("Error") == std::string::npos &&
            line.find("THROW") == std::string::npos &&
            line.find("CheckdataNotFound") == std::string::npos) {
            continue;
        }
        const std::size_t stampEnd = line.find("] ");
        report.line("the check reader logged: " +
                    (stampEnd == std::string::npos ? line : line.substr(stampEnd + 2)));
    }
}

void reportMode(CheckXml& reader, int initResult, Report& report) {
    if (!reader.check) {
        report.warn(
            "no top-level CHECK was read: the DLL cannot read chmode and fails the call "
            "(\"Cant get chmod RETURN 1\" / \"chmod error! RETURN 1\")");
        return;
    }
    if (!reader.check.attribute("chmode")) {
        report.warn(
            "CHECK has no chmode: the DLL fails the call (\"Cant get chmod RETURN 1\" / "
            "\"chmod error! RETURN 1\")");
        return;
    }
    const int32_t mode = getAttributeInt(reader.check, "chmode");
    if (initResult == 2) {
        // No CHECKDATA: the lookup goes on in some modes only, the posting in none.
        report.line("working mode (CHECK chmode) " + std::to_string(mode) +
                    ", without CHECKDATA: " +
                    (lookupWithoutCheckData(mode)
                         ? lookupText(mode)
                         : std::string("a lookup fails with 1 (\"ERROR CheckdataNotFound && this "
                                       "is not checkChmod = 0, 9, 8, 10, 11, 12, 13 RETURN 1\")")) +
                    "; a transaction fails with 2 (\"NUM IS NOT 0 RETURNS 2\")");
        if (!lookupWithoutCheckData(mode)) {
            report.warn("the check has no CHECKDATA, which working mode " + std::to_string(mode) +
                        " needs: every lookup with this check fails");
        }
        return;
    }
    report.line("working mode (CHECK chmode) " + std::to_string(mode) + ": " + lookupText(mode) +
                "; " + postingText(mode));
}

void reportPayments(CheckXml& reader, const pugi::xml_node& configuration, Report& report) {
    if (!reader.checkData) return;
    try {
        const std::string account = getPaymentAccount(reader, bonusCurrencyCodes(configuration));
        if (account.empty()) {
            report.line(
                "no bonus payment of the selected interface names the guest (a close then "
                "looks in CHECKDISCOUNTS, then asks the service about each card holder)");
        } else {
            report.line("the bonus payment of the selected interface names the guest: account " +
                        quoted(account));
        }
    } catch (const XmlElementNotFound& e) {
        report.warn("the check's payments cannot be read: " + e.message);
    }
}

}  // namespace

void reportCheck(CheckXml& reader, const pugi::xml_node& configuration, int initResult,
                 const std::string& readerLog, Report& report) {
    report.section("Check");
    reportReaderLines(readerLog, report);
    if (initResult != 0) {
        report.line("initCheckXml result " + std::to_string(initResult));
    }
    reportMode(reader, initResult, report);
    if (reader.checkData) {
        report.line("CHECKDATA found");
    } else {
        report.line(
            "no top-level CHECKDATA: the order category counts as -1, and a discount is "
            "asked for an empty order");
    }
    if (reader.selectedInterface.empty()) {
        report.line("no INTERFACES block: no payment or discount of the check can name the guest");
    } else {
        report.line("selected interface " + quoted(reader.selectedInterface));
    }
    std::string holders;
    for (int64_t code : reader.cardCodes)
        holders += (holders.empty() ? "" : ", ") + std::to_string(code);
    report.line("card holders: " + (holders.empty() ? std::string("none") : holders));
    reportPayments(reader, configuration, report);
}
