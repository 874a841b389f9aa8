#pragma once
// hostemu's exit statuses. Every command returns one of these, and the usage
// text and docs/hostemu.md say what they mean with exitStatusText() alone, so
// the meaning a user reads is the one the code returns.
#include <string>

#include "i18n/Messages.h"

namespace exitstatus {

// A plain enum: a status reads as its number where it is printed or compared,
// but a function that returns one cannot return a bare number.
enum Status : int {
    kDone = 0,
    // What the command looked at is not as it should be (config warnings, a
    // failed check step, a replayed call that differs), or init, lookup and
    // transaction could not make the call.
    kFound = 1,
    kBadInput = 2,   // bad arguments, an unreadable or unusable file
    kCannotRun = 3,  // the replay cannot run; hostemu itself failed
};

}  // namespace exitstatus

using ExitStatus = exitstatus::Status;

// The exit statuses, one sentence each, as one paragraph of plain text.
std::string exitStatusText(const Catalog& catalog = kEnglishCatalog);

// The same wrapped to `width` characters as the last paragraph of the usage text.
std::string exitStatusParagraph(const Catalog& catalog, std::size_t width);
