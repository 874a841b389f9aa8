#include "check/WorkingMode.h"

#include "check/Accessors.h"
#include "check/CheckXml.h"
#include "check/XmlErrors.h"
#include "http/LastError.h"
#include "log/Logger.h"
#include "log/QuietLog.h"

namespace {

// Modes 0 to 16; anything else takes no path.
struct Mode {
    LookupPath lookup;
    PostingPath posting;
};

constexpr LookupPath G = LookupPath::GuestOnly;
constexpr LookupPath GD = LookupPath::GuestThenDiscount;
constexpr LookupPath B = LookupPath::BonusPayment;
constexpr LookupPath N = LookupPath::Nothing;
constexpr PostingPath C = PostingPath::Close;
constexpr PostingPath R = PostingPath::Return;
constexpr PostingPath X = PostingPath::Nothing;

constexpr Mode kModes[] = {
    {G, X},   // 0
    {GD, C},  // 1
    {GD, R},  // 2
    {GD, R},  // 3
    {GD, C},  // 4
    {GD, X},  // 5
    {GD, X},  // 6
    {GD, X},  // 7
    {G, X},   // 8
    {GD, X},  // 9
    {G, X},   // 10
    {G, X},   // 11
    {G, X},   // 12
    {G, X},   // 13
    {N, X},   // 14
    {N, X},   // 15
    {B, X},   // 16
};

const Mode* find(int32_t mode) {
    return mode >= 0 && mode < static_cast<int32_t>(sizeof kModes / sizeof kModes[0])
               ? &kModes[mode]
               : nullptr;
}

}  // namespace

LookupPath lookupPathFor(int32_t mode) {
    const Mode* m = find(mode);
    return m ? m->lookup : LookupPath::Nothing;
}

PostingPath postingPathFor(int32_t mode) {
    const Mode* m = find(mode);
    return m ? m->posting : PostingPath::Nothing;
}

std::optional<int32_t> checkChmod(const std::string& tag, CheckXml& checkXml,
                                  Logger& logger) noexcept {
    const auto fail = [&](logevent::Event event, const char* name, const std::string& value) {
        logQuietly(logger, tag, [&] { return logevent::format(event, {{name, value}}); });
        return std::nullopt;
    };
    try {
        const int32_t mode = getAttributeInt(checkXml.check, "chmode");
        logger.log(tag, logevent::Event::WorkingModeIs, {{"mode", std::to_string(mode)}});
        if (mode == -1) return std::nullopt;
        return mode;
    } catch (const XmlElementNotFound& e) {
        return fail(logevent::Event::WorkingModeMissing, "missing", e.message);
    } catch (...) {
        return fail(logevent::Event::WorkingModeFailed, "code", std::to_string(lastErrorCode));
    }
}
