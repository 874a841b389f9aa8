#pragma once
// The host's card-information record seen as the host sees it: 1164 bytes at
// fixed offsets, little-endian, packed. Independent of the module's own
// declaration, so a layout slip on either side shows up as a byte difference.
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace cardrecord {

constexpr std::size_t kRecordSize = 1164;

enum class Kind { Unsigned, Signed, Text };

struct Field {
    const char* name;
    std::size_t offset;
    std::size_t width;
    Kind kind;
};

inline const std::vector<Field>& fields() {
    static const std::vector<Field> all = {
        {"Size", 0, 2, Kind::Unsigned},
        {"Deleted", 2, 1, Kind::Unsigned},
        {"Need_withdraw", 3, 1, Kind::Unsigned},
        {"Expired", 4, 1, Kind::Unsigned},
        {"Not_valid", 5, 1, Kind::Unsigned},
        {"Manager_confirm", 6, 1, Kind::Unsigned},
        {"Blocked", 7, 1, Kind::Unsigned},
        {"Block_reason", 8, 256, Kind::Text},
        {"Card_owner", 264, 40, Kind::Text},
        {"Owner_id", 304, 8, Kind::Signed},
        {"Account_number", 312, 4, Kind::Unsigned},
        {"Not_pay_type", 316, 4, Kind::Unsigned},
        {"Bonus_num", 320, 2, Kind::Unsigned},
        {"Discount_num", 322, 2, Kind::Unsigned},
        {"Max_discount", 324, 8, Kind::Signed},
        {"Access_amount", 332, 8, Kind::Signed},
        {"Access_amount2", 340, 8, Kind::Signed},
        {"Access_amount3", 348, 8, Kind::Signed},
        {"Access_amount4", 356, 8, Kind::Signed},
        {"Access_amount5", 364, 8, Kind::Signed},
        {"Access_amount6", 372, 8, Kind::Signed},
        {"Access_amount7", 380, 8, Kind::Signed},
        {"Access_amount8", 388, 8, Kind::Signed},
        {"Comment", 396, 256, Kind::Text},
        {"Screen_comment", 652, 256, Kind::Text},
        {"Printer_comment", 908, 256, Kind::Text},
    };
    return all;
}

inline const Field& field(const std::string& name) {
    for (const Field& f : fields())
        if (name == f.name) return f;
    throw std::invalid_argument("no record field " + name);
}

class Record {
  public:
    Record() : bytes_(kRecordSize, 0) {}

    // What a host typically hands in: its size, set flags, earlier texts and
    // amounts, so that every field the lookup leaves alone is recognisable.
    static Record fromHost() {
        Record r;
        for (std::size_t i = 0; i < kRecordSize; ++i) r.bytes_[i] = static_cast<uint8_t>(i * 7 + 3);
        r.set("Size", kRecordSize);
        for (const char* flag :
             {"Deleted", "Need_withdraw", "Expired", "Not_valid", "Manager_confirm"})
            r.set(flag, 1);
        r.set("Blocked", 0);
        r.setText("Block_reason", "old reason");
        r.setText("Card_owner", "OLD OWNER");
        r.setText("Comment", "old comment");
        r.setText("Screen_comment", "old screen");
        r.setText("Printer_comment", "old printer");
        return r;
    }

    uint8_t* data() { return bytes_.data(); }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

    void set(const std::string& name, int64_t value) {
        const Field& f = field(name);
        const uint64_t u = static_cast<uint64_t>(value);
        for (std::size_t i = 0; i < f.width; ++i)
            bytes_[f.offset + i] = static_cast<uint8_t>(u >> (8 * i));
    }
    // The text and its zero byte at the start of the field; the rest stays.
    void setText(const std::string& name, const std::string& text) {
        const Field& f = field(name);
        if (text.size() >= f.width) throw std::invalid_argument("text too long for " + name);
        std::memcpy(&bytes_[f.offset], text.c_str(), text.size() + 1);
    }
    void clearLookupFlags() {
        for (const char* flag :
             {"Deleted", "Need_withdraw", "Expired", "Not_valid", "Manager_confirm"})
            set(flag, 0);
    }

    uint64_t unsignedValue(const Field& f) const {
        uint64_t u = 0;
        for (std::size_t i = 0; i < f.width; ++i) u |= uint64_t(bytes_[f.offset + i]) << (8 * i);
        return u;
    }
    std::string value(const std::string& name) const { return format(field(name)); }

    std::string format(const Field& f) const {
        if (f.kind == Kind::Text) {
            const char* start = reinterpret_cast<const char*>(&bytes_[f.offset]);
            return std::string(start, strnlen(start, f.width));
        }
        const uint64_t u = unsignedValue(f);
        if (f.kind == Kind::Signed) return std::to_string(static_cast<int64_t>(u));
        return std::to_string(u);
    }

    // The log dump of this record as the module writes it under `tag`,
    // stamp replaced by "[S]", line ends as `eol`.
    std::string dump(const std::string& tag, const std::string& eol) const {
        static const char* const order[] = {
            "Access_amount",   "Access_amount2", "Access_amount3", "Access_amount4",
            "Access_amount5",  "Access_amount6", "Access_amount7", "Access_amount8",
            "Account_number",  "Max_discount",   "Blocked",        "Size",
            "Deleted",         "Need_withdraw",  "Expired",        "Not_valid",
            "Manager_confirm", "Block_reason",   "Card_owner",     "Owner_id",
            "Account_number",  "Not_pay_type",   "Bonus_num",      "Discount_num",
            "Comment",         "Screen_comment", "Printer_comment"};
        std::string text = "[S] " + tag + " : Info - " + eol;
        for (const char* name : order) text += std::string(name) + ": " + value(name) + ";" + eol;
        return text;
    }

  private:
    std::vector<uint8_t> bytes_;
};

// Names the fields in which two records differ, with both values; empty when
// they are byte for byte the same.
inline std::string differences(const Record& expected, const Record& actual) {
    std::string out;
    for (const Field& f : fields()) {
        if (std::memcmp(&expected.bytes()[f.offset], &actual.bytes()[f.offset], f.width) == 0)
            continue;
        out += std::string(f.name) + ": expected \"" + expected.format(f) + "\", got \"" +
               actual.format(f) + "\"";
        if (f.kind == Kind::Text && expected.format(f) == actual.format(f))
            out += " (bytes after the text differ)";
        out += "\n";
    }
    return out;
}

}  // namespace cardrecord
