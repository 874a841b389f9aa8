#include "record/CardInfoRecord.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "log/LogPhrases.h"
#include "log/Logger.h"

int64_t amountToHundredths(double amount) {
    const double scaled = std::trunc(amount * 100.0);
    if (std::isnan(scaled)) return 0;
    // 2^63 is exactly representable; anything at or beyond it saturates.
    constexpr double kLimit = 9223372036854775808.0;
    if (scaled >= kLimit) return std::numeric_limits<int64_t>::max();
    if (scaled < -kLimit) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(scaled);
}

void setAccessAmount(CardInfoRecord* record, int32_t subAccount, int64_t amount) {
    // Assigned member by member: a pointer to a packed 64-bit field would be misaligned.
    switch (subAccount) {
        case 1: record->Access_amount = amount; break;
        case 2: record->Access_amount2 = amount; break;
        case 3: record->Access_amount3 = amount; break;
        case 4: record->Access_amount4 = amount; break;
        case 5: record->Access_amount5 = amount; break;
        case 6: record->Access_amount6 = amount; break;
        case 7: record->Access_amount7 = amount; break;
        case 8: record->Access_amount8 = amount; break;
        default: break;  // 0, negative and 9 and above select no sub-account
    }
}

namespace {

// Packed fields are copied out before formatting: no unaligned references.
void line(std::string& out, const char* label, long long value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s: %lld;\n", label, value);
    out += buf;
}

void lineUnsigned(std::string& out, const char* label, unsigned long value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s: %lu;\n", label, value);
    out += buf;
}

template <std::size_t N>
void lineText(std::string& out, const char* label, const char (&field)[N]) {
    out += label;
    out += ": ";
    // Bounded by the field, in case the host left it without a zero byte.
    std::size_t n = 0;
    while (n < N && field[n] != '\0') ++n;
    out.append(field, n);
    out += ";\n";
}

}  // namespace

void dumpCardInfo(const std::string& tag, const CardInfoRecord* record) {
    std::string entry = "[" + logTimeStamp() + "] " + tag + " : " + logphrase::kDumpHead;
    if (record == nullptr) {
        entry += logphrase::kDumpOfNoRecord;
    } else {
        const CardInfoRecord r = *record;
        const int64_t amounts[] = {r.Access_amount,  r.Access_amount2, r.Access_amount3,
                                   r.Access_amount4, r.Access_amount5, r.Access_amount6,
                                   r.Access_amount7, r.Access_amount8};
        line(entry, "Access_amount", amounts[0]);
        for (int i = 1; i < 8; ++i) {
            const std::string label = "Access_amount" + std::to_string(i + 1);
            line(entry, label.c_str(), amounts[i]);
        }
        lineUnsigned(entry, "Account_number", r.Account_number);
        line(entry, "Max_discount", r.Max_discount);
        line(entry, "Blocked", r.Blocked);
        line(entry, "Size", r.Size);
        line(entry, "Deleted", r.Deleted);
        line(entry, "Need_withdraw", r.Need_withdraw);
        line(entry, "Expired", r.Expired);
        line(entry, "Not_valid", r.Not_valid);
        line(entry, "Manager_confirm", r.Manager_confirm);
        lineText(entry, "Block_reason", r.Block_reason);
        lineText(entry, "Card_owner", r.Card_owner);
        line(entry, "Owner_id", r.Owner_id);
        lineUnsigned(entry, "Account_number", r.Account_number);
        lineUnsigned(entry, "Not_pay_type", r.Not_pay_type);
        line(entry, "Bonus_num", r.Bonus_num);
        line(entry, "Discount_num", r.Discount_num);
        lineText(entry, "Comment", r.Comment);
        lineText(entry, "Screen_comment", r.Screen_comment);
        lineText(entry, "Printer_comment", r.Printer_comment);
    }
    appendToLog(kLogFileName, entry);
}
