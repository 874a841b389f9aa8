#include "record/CardInfoRecord.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "log/LogFormat.h"
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

// One dump line per field: its name as the label, its place in the record.
// clang-format off
#define DUMP(name, kind) \
    RecordDumpLine{#name, RecordDumpLine::Kind::kind, offsetof(CardInfoRecord, name), \
                   sizeof(CardInfoRecord::name)}
// clang-format on

const RecordDumpLine kRecordDump[] = {
    DUMP(Access_amount, Signed),  DUMP(Access_amount2, Signed),    DUMP(Access_amount3, Signed),
    DUMP(Access_amount4, Signed), DUMP(Access_amount5, Signed),    DUMP(Access_amount6, Signed),
    DUMP(Access_amount7, Signed), DUMP(Access_amount8, Signed),    DUMP(Account_number, Unsigned),
    DUMP(Max_discount, Signed),   DUMP(Blocked, Unsigned),         DUMP(Size, Unsigned),
    DUMP(Deleted, Unsigned),      DUMP(Need_withdraw, Unsigned),   DUMP(Expired, Unsigned),
    DUMP(Not_valid, Unsigned),    DUMP(Manager_confirm, Unsigned), DUMP(Block_reason, Text),
    DUMP(Card_owner, Text),       DUMP(Owner_id, Signed),          DUMP(Account_number, Unsigned),
    DUMP(Not_pay_type, Unsigned), DUMP(Bonus_num, Unsigned),       DUMP(Discount_num, Unsigned),
    DUMP(Comment, Text),          DUMP(Screen_comment, Text),      DUMP(Printer_comment, Text),
};
const std::size_t kRecordDumpLines = sizeof kRecordDump / sizeof kRecordDump[0];

#undef DUMP

namespace {

// The field's bytes, little-endian as the record is: no reference into the
// packed record, so no unaligned access.
uint64_t fieldBits(const unsigned char* base, const RecordDumpLine& f) {
    uint64_t bits = 0;
    for (std::size_t i = f.width; i-- > 0;) bits = (bits << 8) | base[f.offset + i];
    return bits;
}

void dumpLine(std::string& out, const unsigned char* base, const RecordDumpLine& f) {
    out += f.label;
    out += ": ";
    if (f.kind == RecordDumpLine::Kind::Text) {
        // Bounded by the field, in case the host left it without a zero byte.
        const char* text = reinterpret_cast<const char*>(base + f.offset);
        std::size_t n = 0;
        while (n < f.width && text[n] != '\0') ++n;
        out.append(text, n);
    } else {
        uint64_t bits = fieldBits(base, f);
        const unsigned shift = static_cast<unsigned>(64 - 8 * f.width);
        // Sign-extended from the field's width.
        const long long value = f.kind == RecordDumpLine::Kind::Signed && shift > 0
                                    ? static_cast<long long>(bits << shift) >> shift
                                    : static_cast<long long>(bits);
        char buf[32];
        if (f.kind == RecordDumpLine::Kind::Signed) {
            std::snprintf(buf, sizeof buf, "%lld", value);
        } else {
            std::snprintf(buf, sizeof buf, "%llu", static_cast<unsigned long long>(bits));
        }
        out += buf;
    }
    out += ";\n";
}

}  // namespace

void dumpCardInfo(const std::string& tag, const CardInfoRecord* record) {
    std::string entry = logformat::dumpHead(logTimeStamp(), tag);
    if (record == nullptr) {
        entry += logformat::kDumpOfNoRecord;
    } else {
        const auto* base = reinterpret_cast<const unsigned char*>(record);
        for (std::size_t i = 0; i < kRecordDumpLines; ++i) dumpLine(entry, base, kRecordDump[i]);
    }
    appendToLog(kLogFileName, entry);
}
