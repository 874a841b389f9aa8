#include <sstream>

#include "ConfigSections.h"
#include "Report.h"
#include "check/Accessors.h"
#include "check/CheckXml.h"
#include "config/Config.h"

namespace {

std::string lookupPath(int32_t mode) {
    switch (mode) {
        case 0:
        case 8:
        case 10:
        case 11:
        case 12:
        case 13: return "a lookup asks for the guest only (GuestInfo)";
        case 1:
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
        case 7:
        case 9:
            return "a lookup asks for the guest, then for the order's discount (GuestInfo, "
                   "GetDiscount)";
        case 16:
            return "a lookup asks for the discount of the bonus payment's account (GetDiscount)";
        default:
            return "a lookup asks the service nothing and answers 0 with only the flags cleared";
    }
}

std::string transactionPath(int32_t mode) {
    if (mode == 1 || mode == 4) return "a transaction closes the order (GetDiscount, CloseOrder)";
    if (mode == 2 || mode == 3) return "a transaction returns the order (ReturnOrder)";
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

void reportMode(CheckXml& reader, Report& report) {
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
    report.line("working mode (CHECK chmode) " + std::to_string(mode) + ": " + lookupPath(mode) +
                "; " + transactionPath(mode));
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
    reportMode(reader, report);
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
