#include <sstream>

#include "api/CloseOrder.h"
#include "check/Accessors.h"
#include "check/CheckXml.h"
#include "check/WorkingMode.h"
#include "config/Config.h"
#include "confreport/ConfigSections.h"
#include "confreport/Report.h"
#include "display/ShownValues.h"
#include "log/LogPhrases.h"

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
        if (line.find(logphrase::kErrorWord) == std::string::npos &&
            line.find(logphrase::kErrorWordMixed) == std::string::npos &&
            line.find(logphrase::kCheckXmlThrew) == std::string::npos &&
            line.find(logphrase::kCheckDataMissing) == std::string::npos) {
            continue;
        }
        const std::size_t stampEnd = line.find("] ");
        report.line("the check reader logged: " +
                    (stampEnd == std::string::npos ? line : line.substr(stampEnd + 2)));
    }
}

void reportMode(CheckXml& reader, int initResult, Report& report) {
    static const std::string kNoChmodLines = std::string("(\"") + logphrase::kNoChmodLookup +
                                             "\" / \"" + logphrase::kNoChmodPosting + "\")";
    if (!reader.check) {
        report.warn("no top-level CHECK was read: the DLL cannot read chmode and fails the call " +
                    kNoChmodLines);
        return;
    }
    if (!reader.check.attribute("chmode")) {
        report.warn("CHECK has no chmode: the DLL fails the call " + kNoChmodLines);
        return;
    }
    const int32_t mode = getAttributeInt(reader.check, "chmode");
    if (initResult == 2) {
        // No CHECKDATA: the lookup goes on in some modes only, the posting in none.
        report.line("working mode (CHECK chmode) " + std::to_string(mode) +
                    ", without CHECKDATA: " +
                    (lookupWithoutCheckData(mode)
                         ? lookupText(mode)
                         : "a lookup fails with 1 (\"" +
                               std::string(logphrase::kCheckDataNotFound) + "\")") +
                    "; a transaction fails with 2 (\"" + logphrase::kNumNotPosting + "2\")");
        if (!lookupWithoutCheckData(mode)) {
            report.warn("the check has no CHECKDATA, which working mode " + std::to_string(mode) +
                        " needs: every lookup with this check fails");
        }
        return;
    }
    report.line("working mode (CHECK chmode) " + std::to_string(mode) + ": " + lookupText(mode) +
                "; " + postingText(mode));
}

// A payment from a guest's account: one the host meant as bonus or deposit.
bool paysFromAccount(const pugi::xml_node& payment) {
    const std::string account = payment.attribute("account").value();
    return account.find_first_not_of(" \t\r\n") != std::string::npos && account != "0";
}

std::string roleText(const PaymentRole& role) {
    if (role.bonus && role.deposit) return "a bonus and a deposit payment";
    if (role.deposit) return "a deposit payment";
    if (!role.bonus) return "neither a bonus nor a deposit payment";
    return role.namesGuest ? "a bonus payment that names the guest"
                           : "a bonus payment that names no guest (no account, account \"0\" or "
                             "not the selected interface)";
}

// Which payments the DLL takes for bonus and deposit payments, by the
// accounts' CurrencyCode; a payment from an account that no account's code
// names is the usual sign of payment types left at other values than the host's.
void reportPaymentRoles(CheckXml& reader, const pugi::xml_node& configuration, Report& report) {
    if (!configuration) return;
    const std::vector<int32_t> bonus = bonusCurrencyCodes(configuration);
    const std::vector<int32_t> deposit = depositCurrencyCodes(configuration);
    int number = 0;
    for (const pugi::xml_node& payment :
         reader.checkData.child("CHECKPAYMENTS").children("PAYMENT")) {
        const PaymentRole role = paymentRole(reader, payment, bonus, deposit);
        const std::string code = std::to_string(getAttributeInt(payment, "code"));
        const std::string name = "payment #" + std::to_string(++number) + " (code " + code +
                                 (payment.attribute("account")
                                      ? ", account " + quoted(payment.attribute("account").value())
                                      : std::string()) +
                                 ")";
        report.line(name + ": " + roleText(role));
        if (role.bonus || role.deposit || !paysFromAccount(payment)) continue;
        if (bonus.empty() && deposit.empty()) {
            report.warn(name +
                        " pays from an account, but conf.xml has no BonusAccount or "
                        "DepositAccount: the DLL takes no payment for a bonus or deposit payment");
        } else {
            report.warn(name +
                        " pays from an account, but no BonusAccount or DepositAccount has "
                        "CurrencyCode " +
                        code +
                        ": the DLL takes it for an ordinary payment (if it is the host's bonus or "
                        "deposit payment type, write " +
                        code + " into that account's CurrencyCode)");
        }
    }
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
        reportPaymentRoles(reader, configuration, report);
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
