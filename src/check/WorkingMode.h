#pragma once
// What the check's working mode (CHECK chmode) makes each export do. The two
// flows take their path from here, and hostemu's config report explains it
// from the same table.
#include <cstdint>
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

// Whether a lookup goes on for a check without CHECKDATA; in any other mode
// it fails with 1 ("ERROR CheckdataNotFound && ...").
bool lookupWithoutCheckData(int32_t mode);

// The check's "chmode", or -1 when it cannot be read (logged). Never throws.
int32_t checkChmod(const std::string& tag, CheckXml& checkXml, Logger& logger) noexcept;
