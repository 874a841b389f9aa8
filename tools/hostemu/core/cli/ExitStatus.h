#pragma once
// hostemu's exit statuses. Every command returns one of these, and the usage
// text and docs/hostemu.md say what they mean with exitStatusText() alone, so
// the meaning a user reads is the one the code returns.
#include <string>

#include "i18n/Messages.h"

namespace exitstatus {

inline constexpr int kDone = 0;
// What the command looked at is not as it should be (config warnings, a failed
// check step, a replayed call that differs), or init, lookup and transaction
// could not make the call.
inline constexpr int kFound = 1;
inline constexpr int kBadInput = 2;   // bad arguments, an unreadable or unusable file
inline constexpr int kCannotRun = 3;  // the replay cannot run

}  // namespace exitstatus

// The exit statuses, one sentence each, as one paragraph of plain text.
std::string exitStatusText(const Catalog& catalog = kEnglishCatalog);

// `text` wrapped at 80 columns, each line indented by `indent` blanks.
std::string wrapped(const std::string& text, std::size_t indent);
