#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The host's card-information record: packed, little-endian, no padding.
#pragma pack(push, 1)
struct CardInfoRecord {
    uint16_t Size;
    uint8_t Deleted;
    uint8_t Need_withdraw;
    uint8_t Expired;
    uint8_t Not_valid;
    uint8_t Manager_confirm;
    uint8_t Blocked;
    char Block_reason[256];
    char Card_owner[40];
    int64_t Owner_id;
    uint32_t Account_number;
    uint32_t Not_pay_type;
    uint16_t Bonus_num;
    uint16_t Discount_num;
    int64_t Max_discount;
    int64_t Access_amount;
    int64_t Access_amount2;
    int64_t Access_amount3;
    int64_t Access_amount4;
    int64_t Access_amount5;
    int64_t Access_amount6;
    int64_t Access_amount7;
    int64_t Access_amount8;
    char Comment[256];
    char Screen_comment[256];
    // The host defines how long this field is; the module bounds its writes to 256 bytes.
    char Printer_comment[256];
};
#pragma pack(pop)

static_assert(offsetof(CardInfoRecord, Deleted) == 2, "layout");
static_assert(offsetof(CardInfoRecord, Blocked) == 7, "layout");
static_assert(offsetof(CardInfoRecord, Block_reason) == 8, "layout");
static_assert(offsetof(CardInfoRecord, Card_owner) == 264, "layout");
static_assert(offsetof(CardInfoRecord, Owner_id) == 304, "layout");
static_assert(offsetof(CardInfoRecord, Account_number) == 312, "layout");
static_assert(offsetof(CardInfoRecord, Not_pay_type) == 316, "layout");
static_assert(offsetof(CardInfoRecord, Bonus_num) == 320, "layout");
static_assert(offsetof(CardInfoRecord, Discount_num) == 322, "layout");
static_assert(offsetof(CardInfoRecord, Max_discount) == 324, "layout");
static_assert(offsetof(CardInfoRecord, Access_amount) == 332, "layout");
static_assert(offsetof(CardInfoRecord, Access_amount2) == 340, "layout");
static_assert(offsetof(CardInfoRecord, Access_amount8) == 388, "layout");
static_assert(offsetof(CardInfoRecord, Comment) == 396, "layout");
static_assert(offsetof(CardInfoRecord, Screen_comment) == 652, "layout");
static_assert(offsetof(CardInfoRecord, Printer_comment) == 908, "layout");
static_assert(sizeof(CardInfoRecord) == 1164, "the module never writes past byte 1164");

// Service amount -> hundredths, truncated toward zero. Values that do not fit
// in 64 bits saturate and NaN gives 0, rather than undefined behaviour.
int64_t amountToHundredths(double amount);

// Sub-account 1..8 selects Access_amount..Access_amount8; any other number writes nothing.
void setAccessAmount(CardInfoRecord* record, int32_t subAccount, int64_t amount);

// Copies `text` and its zero byte to the start of a text field, cut to the
// field's width so that a long service text never overruns its neighbour.
template <std::size_t N>
void setRecordText(char (&field)[N], const std::string& text) {
    const std::size_t n = text.size() < N ? text.size() : N - 1;
    text.copy(field, n);
    field[n] = '\0';
}

// The lines of a record dump in brisvane.log, in their order, each
// "label: value;\n" (Account_number appears twice). The dump is written from
// this table and hostemu's replay reads dumps back by it.
struct RecordDumpLine {
    enum class Kind { Signed, Unsigned, Text };
    const char* label;
    Kind kind;
    std::size_t offset;
    std::size_t width;
};
extern const RecordDumpLine kRecordDump[];
extern const std::size_t kRecordDumpLines;

// Writes the whole record (or "NULL") into brisvane.log under `tag`.
void dumpCardInfo(const std::string& tag, const CardInfoRecord* record);
