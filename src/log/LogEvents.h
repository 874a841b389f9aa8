#pragma once
// Every message the module logs, as one table (LogEvents.cpp): its tag, its
// text with named parameters ("TRY SEND REQUEST TO {path} WITH {body}") and
// what a reader of the log learns from it. The module formats its lines from
// the rows; hostemu's log reader matches lines against the same rows, so that
// a line cannot change on one side only. The log is the module's interface to
// support: a row's text never changes once shipped.
//
// Entries that are not "tag : message" (a reply, a parsed check, a record
// dump) are framing: log/LogFormat.h.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace logtag {
// The tags: the text before " : ".
inline constexpr char kInit[] = "Init";
inline constexpr char kGetCardInfoEx[] = "GetCardInfoEx";
inline constexpr char kTransactionsEx[] = "TransactionsEx";
inline constexpr char kClearTheLog[] = "ClearTheLog";
inline constexpr char kWriteConfToLog[] = "WriteConfToLog";
inline constexpr char kGetConfig[] = "GetConfig";
inline constexpr char kSendRequestWrapper[] = "SendRequestWrapper";
inline constexpr char kSendRequest[] = "SendRequest";
inline constexpr char kHolderLookup[] = "SendRequest from checkXml";
inline constexpr char kSendGetDiscount[] = "SendGetDiscount";
inline constexpr char kCheckXmlInit[] = "CHECKXML INIT";
inline constexpr char kSetInterface[] = "setInterface";
// Record dumps only.
inline constexpr char kLookupResultInfo[] = "GetCardInfoEx RESULT INFO";
}  // namespace logtag

namespace logevent {

enum class Event : uint8_t {
    // Init
    InitStarted,
    InitBanner,
    InitVersion,
    ConfCopy,
    InitEnded,
    // The log's housekeeping, which opens a posting
    LogCleared,
    LogNotCleared,
    ConfigRead,
    // Both flows (under the flow's tag)
    InputBuffer,
    TryCheckReader,
    TryGetToken,
    TryBonusCodes,
    DiscountNotDone,
    // The lookup
    LookupStarted,
    RecordIsNull,
    NumNotLookup,
    NoTokenLookup,
    TryChmodLookup,
    NoChmodLookup,
    TryLogicLookup,
    LookupEnded,
    DiscountRefused,
    GuestInfoFailed,
    GuestInfoNotOk,
    BlockedCard,
    GuestStatus2,
    GuestStatusNot1,
    TryBonusAccount,
    TryDepositAccount,
    // The posting
    PostingStarted,
    NumNotPosting,
    TryHttpClient,
    NoTokenPosting,
    TryChmodPosting,
    NoChmodPosting,
    TryLogicPosting,
    TryDepositCodes,
    TryCloseOrderBody,
    ClientIdNotFound,
    DepositWithoutAccount,
    CheckContentMissing,
    CheckContentMissingS,
    CloseOrderBodyFailed,
    CloseOrderFailed,
    UnexpectedPosting,
    PostingNotSent,
    PostingEnded,
    PostingRefused,
    // Shared ends of both flows and of every export
    ClosingConnection,
    ConnectionClosed,
    CloseFailed,
    ReplyNotUsable,
    CheckNotUsable,
    UnexpectedFailureWhat,
    UnexpectedFailure,
    UnexpectedException,
    // The check reader, the working mode and the token
    CheckReaderThrew,
    SetInterfaceStart,
    SetInterfaceEnd,
    CheckInitSuccess,
    CheckInitFailed,
    WorkingModeIs,
    WorkingModeMissing,
    WorkingModeFailed,
    TokenFound,
    NoTokenFound,
    ConnectionInitFailed,
    TokenCheckMissing,
    TokenFailed,
    // The holder lookup of a posting
    AskHolder,
    TimeoutExceeded,
    HolderFromPayments,
    HolderMaybeBreak,
    HolderClientId,
    HolderFromDiscounts,
    HolderClientIdNull,
    HolderResult,
    // The discount exchange
    DiscountStarted,
    DiscountBodyMissing,
    DiscountBodyNotSent,
    DiscountBodyFailed,
    DiscountSendFailed,
    DiscountEmptyReply,
    DiscountEnded,
    // The retry wrapper
    TrySend,
    ResponseWasNull,
    ProbeFailed,
    RetryTo,
    ResponseNullAgain,
    InfoWasNull,
    // The transport
    NoRequestHandle,
    SendTimedOut,
    NoExitCode,
    WorkerFailed,
    WindowsError,
    ReadFailed,
    HttpStatus,
    ReplyTooLong,
    // Lines of earlier versions of the module, read only
    CheckDataNotFound,
    CheckDataMissing,
    CheckInitMissing,
};

// The host's calls, by the export that writes them.
enum class CallKind : uint8_t { Init, Lookup, Transaction };
const char* exportTag(CallKind kind);

// How an exchange with the service ended.
enum class Outcome : uint8_t { Unknown, Replied, EmptyReply, TimedOut, Refused };

// Why an exchange or a call brought nothing the call could use.
enum class Cause : uint8_t {
    None,
    TimedOut,        // the send's time limit passed
    EmptyReply,      // nothing was read
    SendFailed,      // the request never left
    WindowsError,    // a Windows error, by code
    HttpStatus,      // an error status, by number
    UnusableReply,   // a reply the call could not read
    Refused,         // the service said no
    NoToken,         // no token for the check
    NoConfig,        // no conf.xml, or not XML
    CheckNotUsable,  // the host's check lacks what the call needs
    NoGuest,         // no guest found for a posting
    NoRecord,        // the host passed no card record
    NothingToSend,   // the working mode sends nothing
    Other,           // a failure the log does not explain
};

// What a reader learns from a row, besides its cause and result.
enum class Role : uint8_t {
    Plain,
    OpensCall,              // `opens`
    ConfigCopy,             // {conf}: Init's copy of conf.xml
    ConfigRead,             // conf.xml was loaded and parsed
    Version,                // {version}
    InputBuffer,            // {input}
    AnnouncesRequest,       // {path} {body}: the wrapper's request
    AnnouncesRetry,         // {path} {headers}: the probe worked, the request goes again
    AnnouncesHolderLookup,  // {body}: a direct GuestInfo request (its path is not logged)
    EndsExchange,           // `outcome` and `cause`; {path}, maybe {code}
    NamesWindowsError,      // {code}: {text}, of the exchange that just failed
    NamesHttpStatus,        // {status}, of the exchange's reply
    ProbeStarts,            // the wrapper pauses, then probes
    ProbeFailed,
    NoReplyForCall,  // the wrapper gives up without a reply
};

// Words of the lines that end a call or report a failure, for filters that
// read lines of any version of the module.
inline constexpr char kReturnWord[] = "RETURN";  // + " n" or "S n": the call's result
inline constexpr char kErrorWord[] = "ERROR";
inline constexpr char kErrorWordMixed[] = "Error";

inline constexpr int kNoResult = -1;     // the row does not end the call
inline constexpr int kResultParam = -2;  // the row ends the call with {result}

struct Row {
    Event event;
    const char* tag;  // null: the flow's tag, which the writer passes
    const char* text;
    Role role = Role::Plain;
    int result = kNoResult;  // the call's result, when the row ends the call
    Cause cause = Cause::None;
    Outcome outcome = Outcome::Unknown;  // EndsExchange
    CallKind opens = CallKind::Init;     // OpensCall
    bool quotesReply = false;  // the text ends with the reply refused: none when nothing was sent
};

const Row& row(Event event);
// Every row, in the order of Event.
const std::vector<Row>& rows();

// A parameter by name: format(Event::HttpStatus, {{"status", "404"}}).
struct Arg {
    const char* name;
    std::string_view value;
};
// The row's text with its parameters filled in ("" for one not given).
std::string format(Event event, std::initializer_list<Arg> args = {});

// The row's fixed parts around its parameters: "TRY SEND REQUEST TO ", " WITH "
// and "" for "TRY SEND REQUEST TO {path} WITH {body}". The first is the head
// every line of the row starts with.
const std::vector<std::string_view>& fixedParts(Event event);
inline std::string_view fixedHead(Event event) { return fixedParts(event).front(); }

// Parameters holding a number: a run of digits ("result" and "mode" maybe
// after '-'), of any length: a reader keeps what does not fit as written.
bool isNumberParameter(std::string_view name);
bool isSignedParameter(std::string_view name);

// A line matched back to its row.
struct Match {
    const Row* row = nullptr;
    std::vector<std::pair<std::string, std::string>> args;
    explicit operator bool() const { return row != nullptr; }
    bool is(Event event) const { return row && row->event == event; }
    // The parameter's text as written; empty when the row has none of that name.
    std::string arg(std::string_view name) const;
};

// The row whose text `message` is, under `tag`: of the rows that fit, the one
// with the most fixed text (a row of the flow's tag fits any tag).
Match match(std::string_view tag, std::string_view message);
// The same into `into`, whose storage it reuses.
void match(std::string_view tag, std::string_view message, Match& into);

}  // namespace logevent
