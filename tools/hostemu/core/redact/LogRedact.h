#pragma once
// A till's brisvane.log made fit to leave the restaurant: what is not
// recognised as safe, API tokens and the guests' personal data among it,
// replaced by stand-ins, consistently (the same value
// gets the same stand-in throughout, so one guest can still be followed), in
// such a way that the copy still replays through the DLL as the log itself does.
// Platform-neutral; never throws on any input.
#include <map>
#include <string>

#include "i18n/Messages.h"

namespace redact {

struct Tally {
    // Per kind (the message that names it: Msg::redact_kind_tokens, ...): how
    // many places were replaced and how many different values they held.
    std::map<Msg, int> places;
    std::map<Msg, int> values;
    int droppedMembers = 0;       // reply members of unknown meaning (a boolean aside)
    int unreadableReplies = 0;    // replies cut or not JSON: removed
    std::size_t droppedHead = 0;  // bytes before the first entry (a log cut within an entry)
    int unplacedTexts = 0;        // entries that are none of the module's lines: replaced
    // Stretches no entry could be found in (zero bytes of a power cut and what
    // follows them up to the next entry): removed.
    int damagedStretches = 0;
    std::size_t damagedBytes = 0;
    // The copy still holds a token or a value that was replaced elsewhere: it
    // must not be written.
    bool leftOver = false;
};

// The redacted log. `logBytes` is read as the replay reads it. When
// tally.leftOver is set, the copy must not be written.
std::string redactLog(const std::string& logBytes, Tally& tally);

// What was replaced, one line per kind, for the console.
std::string tallyText(const Tally& tally, const Catalog& catalog);

}  // namespace redact
