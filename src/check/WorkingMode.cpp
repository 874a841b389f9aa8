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
    bool withoutCheckData;
};

constexpr LookupPath G = LookupPath::GuestOnly;
constexpr LookupPath GD = LookupPath::GuestThenDiscount;
constexpr LookupPath B = LookupPath::BonusPayment;
constexpr LookupPath N = LookupPath::Nothing;
constexpr PostingPath C = PostingPath::Close;
constexpr PostingPath R = PostingPath::Return;
constexpr PostingPath X = PostingPath::Nothing;

constexpr Mode kModes[] = {
    {G, X, true},    // 0
    {GD, C, false},  // 1
    {GD, R, false},  // 2
    {GD, R, false},  // 3
    {GD, C, false},  // 4
    {GD, X, false},  // 5
    {GD, X, false},  // 6
    {GD, X, false},  // 7
    {G, X, true},    // 8
    {GD, X, true},   // 9
    {G, X, true},    // 10
    {G, X, true},    // 11
    {G, X, true},    // 12
    {G, X, true},    // 13
    {N, X, false},   // 14
    {N, X, false},   // 15
    {B, X, false},   // 16
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

bool lookupWithoutCheckData(int32_t mode) {
    const Mode* m = find(mode);
    return m && m->withoutCheckData;
}

int32_t checkChmod(const std::string& tag, CheckXml& checkXml, Logger& logger) noexcept {
    const auto fail = [&](logevent::Event event, const char* name, const std::string& value) {
        logQuietly(logger, tag, [&] { return logevent::format(event, {{name, value}}); });
        return -1;
    };
    try {
        const int32_t mode = getAttributeInt(checkXml.check, "chmode");
        logger.log(tag, logevent::Event::WorkingModeIs, {{"mode", std::to_string(mode)}});
        return mode;
    } catch (const XmlElementNotFound& e) {
        return fail(logevent::Event::WorkingModeMissing, "missing", e.message);
    } catch (...) {
        return fail(logevent::Event::WorkingModeFailed, "code", std::to_string(lastErrorCode));
    }
}
