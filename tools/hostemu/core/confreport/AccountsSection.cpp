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

std::string slotDescription(int32_t subAccount) {
    return validSlot(subAccount)
               ? "sub-account " + std::to_string(subAccount) + " (" + slotName(subAccount) + ")"
               : std::string("no slot");
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

std::string subAccountText(const Account& a) {
    return (a.hasSub ? quoted(a.subText) : std::string("(none)")) + " reads as " +
           std::to_string(a.subAccount);
}

void checkCurrency(const Account& a, const std::string& name, Report& report) {
    if (!a.hasCurrency) {
        report.warn(name + " has no CurrencyCode: it counts as payment type 0");
    }
}

}  // namespace

void reportAccounts(const pugi::xml_node& configuration, Report& report) {
    report.section("Bonus and deposit accounts");
    const std::vector<Account> bonus = readAccounts(configuration, "BonusAccount");
    const std::vector<Account> deposit = readAccounts(configuration, "DepositAccount");
    bool slotOneUsed = false;

    if (bonus.empty()) {
        report.line(
            "no BonusAccount: no payment counts as a bonus payment and MaxBonus is shown "
            "nowhere");
    }
    for (const Account& a : bonus) {
        const std::string name = "BonusAccount #" + std::to_string(a.number);
        report.line(name + ": payments of CurrencyCode " + std::to_string(a.currency) +
                    " are bonus payments; MaxBonus -> " + slotDescription(a.subAccount));
        checkCurrency(a, name, report);
        if (!validSlot(a.subAccount)) {
            report.warn(name + ": CardSubAccount " + subAccountText(a) +
                        ", outside 1..8: the bonus available is written to no slot");
        }
        slotOneUsed = slotOneUsed || a.subAccount == 1;
    }

    if (deposit.empty()) {
        report.line(
            "no DepositAccount: no payment counts as a deposit payment and MaxDeposit is "
            "shown nowhere");
    }
    for (const Account& a : deposit) {
        const std::string name = "DepositAccount #" + std::to_string(a.number);
        if (a.number > 1) {
            report.line(name + ": payments of CurrencyCode " + std::to_string(a.currency) +
                        " are deposit payments; its CardSubAccount is not read (only the first "
                        "DepositAccount's is)");
            checkCurrency(a, name, report);
            continue;
        }
        report.line(name + ": payments of CurrencyCode " + std::to_string(a.currency) +
                    " are deposit payments; MaxDeposit -> " + slotDescription(a.subAccount));
        checkCurrency(a, name, report);
        if (!validSlot(a.subAccount)) {
            report.warn(name + ": CardSubAccount " + subAccountText(a) +
                        ", outside 1..8: the deposit available is written to no slot");
        }
        for (const Account& b : bonus) {
            if (validSlot(a.subAccount) && b.subAccount == a.subAccount) {
                report.warn("sub-account " + std::to_string(a.subAccount) +
                            " receives both MaxBonus (BonusAccount #" + std::to_string(b.number) +
                            ") and MaxDeposit: the deposit is written last and hides the bonus");
                break;
            }
        }
        slotOneUsed = slotOneUsed || a.subAccount == 1;
    }
    if (slotOneUsed) {
        report.line(
            "note: sub-account 1 (Access_amount) also shows the bonus balance after a "
            "guest-only lookup");
    }
}
