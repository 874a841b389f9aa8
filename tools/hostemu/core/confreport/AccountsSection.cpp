#include <vector>

#include "config/Config.h"
#include "confreport/ConfigSections.h"
#include "confreport/Report.h"
#include "display/ShownValues.h"

namespace {

std::string slotName(int32_t subAccount) {
    return subAccount == 1 ? "Access_amount" : "Access_amount" + std::to_string(subAccount);
}

bool validSlot(int32_t subAccount) { return subAccount >= 1 && subAccount <= 8; }

std::string slotDescription(int32_t subAccount, const Report& report) {
    return validSlot(subAccount)
               ? report.text(Msg::config_slot, {{"number", std::to_string(subAccount)},
                                                {"slot", slotName(subAccount)}})
               : report.text(Msg::config_no_slot);
}

struct Account {
    int number;
    int32_t currency;
    bool hasCurrency;
    int32_t subAccount;
    std::string subText;
    bool hasSub;
};

std::vector<Account> readAccounts(const pugi::xml_node& configuration, const char* name) {
    std::vector<Account> accounts;
    for (pugi::xml_node node = configuration.child(name); node; node = node.next_sibling(name)) {
        const pugi::xml_node sub = node.child("CardSubAccount");
        accounts.push_back({static_cast<int>(accounts.size()) + 1,
                            atoiText(node.child("CurrencyCode")),
                            static_cast<bool>(node.child("CurrencyCode")), atoiText(sub),
                            sub.text().get(), static_cast<bool>(sub)});
    }
    return accounts;
}

std::string subAccountText(const Account& a, const Report& report) {
    return report.text(Msg::config_reads_as,
                       {{"value", a.hasSub ? quoted(a.subText) : report.text(Msg::config_none)},
                        {"number", std::to_string(a.subAccount)}});
}

void checkCurrency(const Account& a, const std::string& name, Report& report) {
    if (!a.hasCurrency) report.warn(report.text(Msg::config_no_currency, {{"name", name}}));
}

}  // namespace

void reportAccounts(const pugi::xml_node& configuration, Report& report) {
    report.section(report.text(Msg::config_accounts_section));
    const std::vector<Account> bonus = readAccounts(configuration, "BonusAccount");
    const std::vector<Account> deposit = readAccounts(configuration, "DepositAccount");
    bool slotOneUsed = false;

    if (bonus.empty()) {
        report.line(report.text(Msg::config_no_bonus_account));
    }
    for (const Account& a : bonus) {
        const std::string name =
            report.text(Msg::config_bonus_name, {{"number", std::to_string(a.number)}});
        report.line(
            report.text(Msg::config_bonus_line, {{"name", name},
                                                 {"code", std::to_string(a.currency)},
                                                 {"slot", slotDescription(a.subAccount, report)}}));
        checkCurrency(a, name, report);
        if (!validSlot(a.subAccount)) {
            report.warn(report.text(Msg::config_bonus_no_slot,
                                    {{"name", name}, {"value", subAccountText(a, report)}}));
        }
        slotOneUsed = slotOneUsed || a.subAccount == 1;
    }

    if (deposit.empty()) {
        report.line(report.text(Msg::config_no_deposit_account));
    }
    for (const Account& a : deposit) {
        const std::string name =
            report.text(Msg::config_deposit_name, {{"number", std::to_string(a.number)}});
        if (a.number > 1) {
            report.line(report.text(Msg::config_deposit_later_line,
                                    {{"name", name}, {"code", std::to_string(a.currency)}}));
            checkCurrency(a, name, report);
            continue;
        }
        report.line(report.text(Msg::config_deposit_line,
                                {{"name", name},
                                 {"code", std::to_string(a.currency)},
                                 {"slot", slotDescription(a.subAccount, report)}}));
        checkCurrency(a, name, report);
        if (!validSlot(a.subAccount)) {
            report.warn(report.text(Msg::config_deposit_no_slot,
                                    {{"name", name}, {"value", subAccountText(a, report)}}));
        }
        for (const Account& b : bonus) {
            if (validSlot(a.subAccount) && b.subAccount == a.subAccount) {
                report.warn(
                    report.text(Msg::config_slot_shared,
                                {{"number", std::to_string(a.subAccount)},
                                 {"bonus", report.text(Msg::config_bonus_name,
                                                       {{"number", std::to_string(b.number)}})}}));
                break;
            }
        }
        slotOneUsed = slotOneUsed || a.subAccount == 1;
    }
    if (slotOneUsed) {
        report.line(report.text(Msg::config_slot_one_note));
    }
}
