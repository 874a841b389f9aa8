#include <sstream>

#include "api/CloseOrder.h"
#include "check/Accessors.h"
#include "check/CheckXml.h"
#include "check/WorkingMode.h"
#include "config/Config.h"
#include "confreport/ConfigSections.h"
#include "confreport/Report.h"
#include "display/ShownValues.h"
#include "log/LogEvents.h"
#include "log/LogFormat.h"

namespace {

std::string lookupText(int32_t mode, const Report& report) {
    switch (lookupPathFor(mode)) {
        case LookupPath::GuestOnly: return report.text(Msg::config_lookup_guest);
        case LookupPath::GuestThenDiscount: return report.text(Msg::config_lookup_guest_discount);
        case LookupPath::BonusPayment: return report.text(Msg::config_lookup_bonus_payment);
        case LookupPath::Nothing: break;
    }
    return report.text(Msg::config_lookup_nothing);
}

std::string postingText(int32_t mode, const Report& report) {
    switch (postingPathFor(mode)) {
        case PostingPath::Close: return report.text(Msg::config_posting_close);
        case PostingPath::Return: return report.text(Msg::config_posting_return);
        case PostingPath::Nothing: break;
    }
    return report.text(Msg::config_posting_nothing);
}

// The reader's own failure lines, which tell why a part of the check is missing.
void reportReaderLines(const std::string& readerLog, Report& report) {
    std::istringstream lines(readerLog);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find(logevent::kErrorWord) == std::string::npos &&
            line.find(logevent::kErrorWordMixed) == std::string::npos &&
            line.find(logevent::fixedHead(logevent::Event::CheckReaderThrew)) ==
                std::string::npos) {
            continue;
        }
        report.line(report.text(Msg::config_reader_logged,
                                {{"line", line.substr(logformat::framedStampLength(line, 0))}}));
    }
}

void reportMode(CheckXml& reader, Report& report) {
    if (!reader.check || !reader.check.attribute("chmode")) {
        report.warn(report.text(!reader.check ? Msg::config_no_check : Msg::config_no_chmode,
                                {{"lookup", logevent::format(logevent::Event::NoChmodLookup)},
                                 {"posting", logevent::format(logevent::Event::NoChmodPosting)}}));
        return;
    }
    const int32_t mode = getAttributeInt(reader.check, "chmode");
    report.line(report.text(Msg::config_mode, {{"mode", std::to_string(mode)},
                                               {"lookup", lookupText(mode, report)},
                                               {"posting", postingText(mode, report)}}));
}

// A payment from a guest's account: one the host meant as bonus or deposit.
bool paysFromAccount(const pugi::xml_node& payment) {
    const std::string account = payment.attribute("account").value();
    return account.find_first_not_of(" \t\r\n") != std::string::npos && account != "0";
}

std::string roleText(const PaymentRole& role, const Report& report) {
    if (role.bonus && role.deposit) return report.text(Msg::config_role_both);
    if (role.deposit) return report.text(Msg::config_role_deposit);
    if (!role.bonus) return report.text(Msg::config_role_neither);
    return report.text(role.namesGuest ? Msg::config_role_bonus_guest
                                       : Msg::config_role_bonus_no_guest);
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
        const std::string name = report.text(
            Msg::config_payment_name,
            {{"number", std::to_string(++number)},
             {"code", code},
             {"account",
              payment.attribute("account")
                  ? report.text(Msg::config_payment_account,
                                {{"value", quoted(payment.attribute("account").value())}})
                  : std::string()}});
        report.line(report.text(Msg::config_payment_role,
                                {{"name", name}, {"role", roleText(role, report)}}));
        if (role.bonus || role.deposit || !paysFromAccount(payment)) continue;
        if (bonus.empty() && deposit.empty()) {
            report.warn(report.text(Msg::config_payment_no_accounts, {{"name", name}}));
        } else {
            report.warn(
                report.text(Msg::config_payment_unknown_code, {{"name", name}, {"code", code}}));
        }
    }
}

void reportPayments(CheckXml& reader, const pugi::xml_node& configuration, Report& report) {
    if (!reader.checkData) return;
    try {
        const std::string account = getPaymentAccount(reader, bonusCurrencyCodes(configuration));
        if (account.empty()) {
            report.line(report.text(Msg::config_no_bonus_payment_guest));
        } else {
            report.line(report.text(Msg::config_bonus_payment_guest, {{"value", quoted(account)}}));
        }
        reportPaymentRoles(reader, configuration, report);
    } catch (const XmlElementNotFound& e) {
        report.warn(report.text(Msg::config_payments_unreadable, {{"why", e.message}}));
    }
}

}  // namespace

void reportCheck(CheckXml& reader, const pugi::xml_node& configuration, CheckInit initResult,
                 const std::string& readerLog, const std::vector<CheckRefusal>& refusals,
                 Report& report) {
    report.section(report.text(Msg::config_check_section));
    reportReaderLines(readerLog, report);
    if (initResult == CheckInit::Failed) {
        report.line(report.text(Msg::config_init_result,
                                {{"result", std::to_string(kCheckInitFailedResult)}}));
    }
    reportMode(reader, report);
    if (reader.checkData) {
        report.line(report.text(Msg::config_checkdata_found));
    } else {
        report.line(report.text(Msg::config_no_checkdata));
    }
    if (reader.selectedInterface.empty()) {
        report.line(report.text(Msg::config_no_interfaces));
    } else {
        report.line(
            report.text(Msg::config_interface, {{"value", quoted(reader.selectedInterface)}}));
    }
    std::string holders;
    for (int64_t code : reader.cardCodes)
        holders += (holders.empty() ? "" : ", ") + std::to_string(code);
    report.line(
        report.text(Msg::config_holders,
                    {{"list", holders.empty() ? report.text(Msg::config_holders_none) : holders}}));
    reportPayments(reader, configuration, report);
    for (const CheckRefusal& refusal : refusals) {
        std::string lines;
        for (const std::string& line : refusal.lines) {
            lines += (lines.empty() ? "" : report.text(Msg::config_refused_then)) +
                     report.text(Msg::config_refused_line, {{"line", line}});
        }
        report.warn(report.text(refusal.call, {{"lines", lines}}));
    }
}
