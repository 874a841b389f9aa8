#pragma once
// The frame of every brisvane.log entry, written by the module and read back
// by hostemu through the same functions:
//   "[" stamp "] " tag " : " message "\n"              a message
//   "[" stamp "] " tag " : Info - \n" lines            a record dump ("NULL", no line feed, for
//   none)
//   "[" stamp "] ANSWER FROM URL " path " \n" reply "\n"  a service's reply
//   "[" stamp "] PARSE XML FROM " tag " \n" text "\n"     the check as parsed
// The module writes LF; the file holds CR LF (text mode), which readers give
// back as LF before they split entries.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Clock.h"

namespace logformat {

inline constexpr char kStampOpen[] = "[";
inline constexpr char kStampClose[] = "] ";
inline constexpr char kTagSeparator[] = " : ";
// Heads of entries that are not "tag : message".
inline constexpr char kAnswerFromUrl[] = "ANSWER FROM URL ";  // + path + " \n" + reply
inline constexpr char kParseXmlFrom[] = "PARSE XML FROM ";    // + tag + " \n" + text
inline constexpr char kHeadEnd[] = " \n";
// After "tag : ": a record dump's lines, or "NULL" without a line feed.
inline constexpr char kDumpHead[] = "Info - \n";
inline constexpr char kDumpOfNoRecord[] = "NULL";

// --- Writing

// The stamp: the local time as MM-DD-YYYY HH:MM:SS, 24-hour (what strftime's
// "%m-%d-%Y %X" gives in the C locale).
std::string stampText(const platform::LocalTime& time);
// "[stamp] "
std::string framedStamp(std::string_view stamp);
// "[stamp] tag : "
std::string messageHead(std::string_view stamp, std::string_view tag);
// "[stamp] ANSWER FROM URL path \n"
std::string answerHead(std::string_view stamp, std::string_view path);
// "[stamp] PARSE XML FROM tag \n"
std::string parsedXmlHead(std::string_view stamp, std::string_view tag);
// "[stamp] tag : Info - \n"
std::string dumpHead(std::string_view stamp, std::string_view tag);

// --- Reading

// Seconds since 1970 of a stamp's local time (before 1970: negative), or
// kNoStamp when it is not a stamp. The module writes "MM-DD-YYYY HH:MM:SS", 24-hour; earlier
// brisvane.dll versions wrote the time as the host process's locale gave it: "H:MM:SS" or
// "HH:MM:SS", either with " AM" or " PM" or without.
inline constexpr long long kNoStamp = -(1LL << 62);
long long stampSeconds(std::string_view stamp);

// Length of the framed stamp at `at` ("[stamp] " of a form stampSeconds reads,
// or "[] " when the clock could not be read), or 0 when there is none.
std::size_t framedStampLength(std::string_view text, std::size_t at);
// The same, with the stamp's seconds (kNoStamp for "[] " or no stamp).
std::size_t framedStampLength(std::string_view text, std::size_t at, long long& seconds);

// Whether an entry starts at `at` of a log's bytes: a framed stamp at the
// start of a line (after LF, CR LF or CR alone), after a zero byte, or right
// after the "NULL" of a dump of no record.
bool entryStartsAt(std::string_view text, std::size_t at);
// The part of entryStartsAt that looks before `at`: whether an entry framed
// there could start there.
bool entryMayStartAt(std::string_view text, std::size_t at);

// For a log in which no entry was found: the stamp of its first line framed the
// way an entry is ("[...] Tag : ..."), whatever its form; empty when none is.
std::string firstFramedStamp(std::string_view logText);

// One entry's text after its framed stamp, taken apart.
enum class EntryKind { Message, Answer, ParsedXml, Dump, Other };
struct EntryParts {
    EntryKind kind = EntryKind::Other;
    std::string tag;   // Message, Dump, ParsedXml: the tag; Answer: the request path
    std::string body;  // Message: the message; Answer: the reply; Dump: the record lines
};
EntryParts parseEntry(std::string_view text);
// The same as views into `text`, for a reader that copies them where it likes.
struct EntryView {
    EntryKind kind = EntryKind::Other;
    std::string_view tag, body;
};
EntryView viewEntry(std::string_view text);

}  // namespace logformat
