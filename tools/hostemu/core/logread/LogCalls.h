#pragma once
// Reading a till's brisvane.log back into the calls the host made, with what
// each call needs to be made again: the configuration in force, the input
// buffer, the card number, the service's recorded answers and the entries the
// call wrote. Platform-neutral: bytes in, calls out; never throws on any input.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "i18n/Messages.h"
#include "log/LogEvents.h"
#include "log/LogFormat.h"
#include "record/CardInfoRecord.h"

namespace replay {

// Why something cannot be done, as a message and its parameters: the reader
// finds it where no reader's language is known, and sayReason words it in
// the catalog's.
struct Reason {
    using Args = std::vector<std::pair<std::string, std::string>>;
    Reason() = default;
    Reason(Msg key, Args args = {}) : key(key), args(std::move(args)) {}

    std::optional<Msg> key;  // none: nothing stands in the way
    Args args;

    bool empty() const { return !key; }
    bool operator==(const Reason& other) const { return key == other.key && args == other.args; }
    bool operator!=(const Reason& other) const { return !(*this == other); }
};

// The reason in the catalog's words; it may have up to four parameters.
std::string sayReason(const Catalog& catalog, const Reason& reason);

// One entry with its time stamp removed and its line ends as the module wrote
// them (the file's CR LF read back as LF).
struct LogEntry {
    using Kind = logformat::EntryKind;
    Kind kind = Kind::Other;
    std::string stamp;  // between the brackets as written (logformat::stampSeconds), or empty
    long long seconds = logformat::kNoStamp;  // the stamp's, read once
    // The entry's bytes in the log as given, its stamp and line ends included:
    // [begin, end); then `damagedAfter` bytes that are no entry's (zero bytes
    // a power cut left, and what follows them up to the next entry).
    std::size_t begin = 0, end = 0;
    std::size_t damagedAfter = 0;
    std::string text;       // everything after "[stamp] ": what two logs are compared on
    std::string tag;        // Message, Dump, ParsedXml: the tag; Answer: the request path
    std::string body;       // Message: the message; Answer: the reply; Dump: the record lines
    logevent::Match event;  // Message: the row of the module's table it is, if any

    bool is(logevent::Event e) const { return event.is(e); }
    // The row's role when the entry is one of the module's messages.
    bool has(logevent::Role role) const { return event && event.row->role == role; }
};

// For a file in which no entry was found: the bracketed head of its first line
// that opens the way an entry does ("[...] Tag : ..."), whose stamp is of no
// form read here; empty when there is no such line.
std::string unreadableStamp(const std::string& logBytes);

// Why a file holds no entry where it seems to: names the stamp; empty when
// unreadableStamp finds none.
std::string unreadableStampReason(const std::string& logBytes, const Catalog& catalog);

// A log's bytes piece by piece: fills `into` with up to `size` bytes and
// returns how many; fewer than asked only at the log's end (as fread does).
using ByteSource = std::function<std::size_t(char* into, std::size_t size)>;

// The bytes of a log held whole; the string must outlive the source.
ByteSource bytesOf(const std::string& bytes);

// A log's entries one at a time, wherever the module could have started one:
// after a line end of any kind (LF, CR LF, CR alone) or zero bytes. Text before
// the first stamped line is dropped; a damaged stretch is no entry's. The log
// is read in pieces of `piece` bytes; what the reader holds is the entry being
// read and a piece, not the log (nor a damaged stretch after it).
class EntryReader {
  public:
    static constexpr std::size_t kPiece = 1 << 16;
    explicit EntryReader(ByteSource source, std::size_t piece = kPiece);
    EntryReader(const EntryReader&) = delete;
    EntryReader& operator=(const EntryReader&) = delete;

    // The next entry into `entry` (its members overwritten); false at the end.
    bool next(LogEntry& entry);
    // How many entries were read.
    std::size_t entries() const { return entries_; }

  private:
    bool fill();
    void keepDamageOut();
    // The open entry, up to where the next starts.
    void take(std::size_t next, LogEntry& entry);

    ByteSource source_;
    std::size_t piece_;
    std::string buffer_;
    std::size_t base_ = 0;                    // the log's offset of buffer_[0]
    std::size_t scan_ = 0;                    // where the search for the next entry stands
    std::size_t open_ = std::string::npos;    // where the entry being read starts, if any
    std::size_t openStamp_ = 0;               // the length of its framed stamp
    long long openSeconds_ = 0;               // its stamp's seconds (logformat::stampSeconds)
    std::size_t zeros_ = 0;                   // how far its bytes were searched for damage
    std::size_t damage_ = std::string::npos;  // where its damage starts, once found
    std::size_t hole_ = 0;                    // bytes of that damage dropped
    bool end_ = false;
    std::size_t entries_ = 0;
};

// The same over a whole log, every entry at once.
std::vector<LogEntry> splitEntries(const std::string& logBytes);

// The damaged stretches between entries: how many, and their bytes.
struct Damage {
    unsigned stretches = 0;
    std::size_t bytes = 0;
};
Damage damageOf(const std::vector<LogEntry>& entries);

// A number as a log line writes it: its value when that is an int, and its
// digits as written when it is not (never cut).
struct LoggedNumber {
    std::string text;  // the value in decimal when it fits, else as written
    long long value = 0;
    bool fits = true;  // within int
};
LoggedNumber loggedNumber(const std::string& written);

// Why an exchange or a call brought nothing the call could use: a kind, and
// for a Windows error or an HTTP status its number as the log writes it.
struct Cause {
    logevent::Cause kind = logevent::Cause::None;
    std::string number;
    std::string text;  // a Windows error's text as the log gives it (Windows-1251)

    explicit operator bool() const { return kind != logevent::Cause::None; }
    // Its name for programs and keys, the same in every language: "time-out",
    // "Windows error 12029", "HTTP status 502", "refused by the service", ...
    std::string name() const;
    // Causes are one cause when they have one name (a Windows error's text aside).
    bool operator<(const Cause& other) const { return name() < other.name(); }
    bool operator==(const Cause& other) const { return name() == other.name(); }
};
Cause causeOf(logevent::Cause kind, std::string number = std::string());

// The cause in the catalog's words; a Windows error and an HTTP status in the
// log's own words, as the log names them.
std::string sayCause(const Catalog& catalog, const Cause& cause);

// One request the module sent, and what the log shows of its fate.
struct Attempt {
    using Outcome = logevent::Outcome;
    std::string path;       // as given to the transport, without the leading '/'
    bool pathKnown = true;  // false: a holder lookup whose token the log does not show
    std::string body;
    bool direct = false;  // sent without the retry wrapper (the holder lookup)
    Outcome outcome = Outcome::Unknown;
    std::string reply;     // Replied: the text as received (what the log kept)
    int httpStatus = 200;  // the reply's, when the log names one from 100 to 999
    std::string stamp;     // when its fate was logged: its reply, or the line that ended it
    // Why it brought no reply the call could use (a time-out, an empty reply, a
    // failed send, a Windows error, an HTTP status); none when it did (or when
    // its fate is unknown).
    Cause cause;
    bool failed() const { return static_cast<bool>(cause); }
    // Whether the service saw this request at all (a refused one never arrives).
    bool reachesService() const { return outcome != Outcome::Refused; }
};

struct Call {
    enum class Kind { Init, Lookup, Transaction, Unknown };
    Kind kind = Kind::Unknown;
    int number = 0;                 // 1-based, in log order
    std::vector<LogEntry> entries;  // the entries the call wrote
    Reason notReplayable;           // empty when the call can be made again; else why not

    bool configFromLog = false;  // the last conf.xml copy of an Init before (or in) it
    bool configPresent = false;  // false: no conf.xml was in force
    // Shared: every call after an Init holds the same copy.
    std::shared_ptr<const std::string> configText;
    // "\xFF\xFE" or "\xFE\xFF" when the copy in force was a UTF-16 file's: the
    // replay writes conf.xml in that encoding, so that the DLL reads it (in
    // text mode, CRs kept) and copies it as the till's did. Else empty.
    std::string configByteOrderMark;
    const std::string& config() const {
        static const std::string none;
        return configText ? *configText : none;
    }

    std::string input;  // the input buffer as dumped
    int64_t card = 0;   // from the guest-information body; 0 where none was sent
    bool cardFromLog = false;
    CardInfoRecord record{};        // lookup: the record to hand in
    bool recordGiven = true;        // false: the host passed none, as the log says
    std::vector<Attempt> attempts;  // in the order they were sent
    // The wrapper's connectivity probes: begun (each after a pause), failed,
    // succeeded (each followed by a pause and the request again).
    unsigned probesStarted = 0, probesFailed = 0, probesSucceeded = 0;
    int result = 0;            // the result the host received
    std::string resultText;    // the same as the log writes it (see LoggedNumber)
    unsigned waitSeconds = 0;  // the module's own pauses and time limits on this path
};

// Init's copy of conf.xml as the text the module read: a copy of a UTF-16 file
// (its CR LF already read back as LF) decoded to UTF-8, any other as it is.
std::string confCopyText(const std::string& body);

// The bytes of a conf.xml holding `text` (UTF-8) in the encoding that
// `byteOrderMark` names (see Call::configByteOrderMark): UTF-16 with that mark,
// or `text` itself when it is empty.
std::string confFileBytes(const std::string& text, const std::string& byteOrderMark);

// `folderConfig` is the folder's conf.xml (used where the log holds no copy;
// `folderConfigPresent` false when the folder has none).
std::vector<Call> splitCalls(const std::string& logBytes, const std::string& folderConfig,
                             bool folderConfigPresent);

// The same, one call at a time, each complete, in the log's order, the log
// read piece by piece: a summary of a big log holds one call at a time.
// Without `forReplay`, a call's attempts and probes are read but not what only
// a replay needs (the input buffer, the card, the record, the result).
void forEachCall(ByteSource log, const std::string& folderConfig, bool folderConfigPresent,
                 const std::function<void(Call&)>& take, bool forReplay = true);

const char* kindName(Call::Kind kind);

// The result the host received, read from the lines that end the call; false
// when the log does not show them.
bool recordedResult(const Call& call, LoggedNumber& result);

}  // namespace replay
