#include "display/RecordTable.h"

#include <cstdio>

#include "encoding/Encodings.h"
#include "record/CardInfoRecord.h"

namespace {

template <std::size_t N>
std::string text(const char (&field)[N]) {
    std::size_t n = 0;
    while (n < N && field[n] != '\0') ++n;
    return fromHostText(std::string(field, n));
}

class Table {
  public:
    Table(bool brief, std::string& out) : brief_(brief), out_(out) {}
    void row(const std::string& name, const std::string& value, bool empty) const {
        if (brief_ && empty) return;
        // Characters, not bytes: a translated label lines up as well.
        const std::size_t width = utf8Characters(name);
        out_ += "  " + name + std::string(width < 16 ? 16 - width : 0, ' ') + " " + value + "\n";
    }
    void text(const char* name, const std::string& value) const { row(name, value, value.empty()); }
    void number(const char* name, long long value) const {
        row(name, std::to_string(value), value == 0);
    }
    void amount(const char* name, int64_t hundredths) const {
        row(name, money(hundredths), hundredths == 0);
    }

  private:
    bool brief_;
    std::string& out_;
};

}  // namespace

std::string money(int64_t hundredths) {
    char buf[48];
    const char* sign = hundredths < 0 ? "-" : "";
    const unsigned long long v = hundredths < 0 ? 0ull - static_cast<unsigned long long>(hundredths)
                                                : static_cast<unsigned long long>(hundredths);
    std::snprintf(buf, sizeof buf, "%s%llu.%02llu", sign, v / 100, v % 100);
    return buf;
}

std::string recordTable(const CardInfoRecord& r, bool brief, const Catalog& catalog) {
    std::string out = formatMessage(catalog, Msg::record_heading);
    const Table t(brief, out);
    t.text("Card_owner", text(r.Card_owner));
    t.number("Owner_id", r.Owner_id);
    t.number("Account_number", r.Account_number);
    t.number("Blocked", r.Blocked);
    t.text("Block_reason", text(r.Block_reason));
    t.amount("Max_discount", r.Max_discount);
    const int64_t amounts[] = {r.Access_amount,  r.Access_amount2, r.Access_amount3,
                               r.Access_amount4, r.Access_amount5, r.Access_amount6,
                               r.Access_amount7, r.Access_amount8};
    for (int i = 0; i < 8; ++i) {
        // Unused sub-accounts are noise in either form.
        if (amounts[i] == 0) continue;
        const std::string name = i == 0 ? "Access_amount" : "Access_amount" + std::to_string(i + 1);
        t.amount(name.c_str(), amounts[i]);
    }
    t.number("Not_pay_type", r.Not_pay_type);
    t.number("Bonus_num", r.Bonus_num);
    t.number("Discount_num", r.Discount_num);
    t.text("Comment", text(r.Comment));
    t.text("Screen_comment", text(r.Screen_comment));
    t.text("Printer_comment", text(r.Printer_comment));
    const bool anyFlag =
        r.Deleted || r.Need_withdraw || r.Expired || r.Not_valid || r.Manager_confirm;
    if (!brief || anyFlag) {
        char flags[160];
        std::snprintf(flags, sizeof flags,
                      "Deleted=%u Need_withdraw=%u Expired=%u Not_valid=%u Manager_confirm=%u",
                      r.Deleted, r.Need_withdraw, r.Expired, r.Not_valid, r.Manager_confirm);
        t.row(formatMessage(catalog, Msg::record_flags), flags, false);
    }
    return out;
}
