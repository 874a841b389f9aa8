#pragma once
// What the check's working mode (CHECK chmode) makes each export do. The two
// flows take their path from here, and hostemu's config report explains it
// from the same table.
#include <cstdint>
#include <optional>
#include <string>

class CheckXml;
class Logger;

enum class LookupPath {
    GuestOnly,          // GuestInfo
    GuestThenDiscount,  // GuestInfo, then GetDiscount for the guest found
    BonusPayment,       // GetDiscount for the account of the check's bonus payment
    Nothing,            // no request; the lookup answers 0 with only the flags cleared
};

enum class PostingPath {
    Close,    // GetDiscount, then CloseOrder
    Return,   // ReturnOrder
    Nothing,  // no request; the posting fails with 1
};

LookupPath lookupPathFor(int32_t mode);
PostingPath postingPathFor(int32_t mode);

// The check's "chmode", or none when it cannot be read (logged) or reads as
// -1, which the flows take for no mode as well. Never throws.
std::optional<int32_t> checkChmod(const std::string& tag, CheckXml& checkXml,
                                  Logger& logger) noexcept;
