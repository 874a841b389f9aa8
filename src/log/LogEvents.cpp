#include "log/LogEvents.h"

#include <algorithm>
#include <cstring>

#include "log/LogFormat.h"

namespace logevent {

namespace {

namespace T = logtag;
using E = Event;
constexpr const char* kFlow = nullptr;  // the flow's tag

// A row, written as a sentence: R(event, tag, text).ends(1, Cause::Refused).
struct R : Row {
    R(Event e, const char* tag, const char* text) : Row{e, tag, text} {}
    R& as(Role r) {
        role = r;
        return *this;
    }
    R& ends(int value, Cause c = Cause::None) {
        result = value;
        cause = c;
        return *this;
    }
    R& opening(CallKind kind) {
        role = Role::OpensCall;
        opens = kind;
        return *this;
    }
    R& failing(Outcome o, Cause c) {
        role = Role::EndsExchange;
        outcome = o;
        cause = c;
        return *this;
    }
    R& quoting() {
        quotesReply = true;
        return *this;
    }
};

std::vector<Row> makeRows() {
    const std::vector<R> table = {
        R(E::InitStarted, T::kInit, "Started").opening(CallKind::Init),
        R(E::InitBanner, T::kInit, "****************\n\nbrisvane.dll started!\n\n****************"),
        R(E::InitVersion, T::kInit, "CURRENT VERSION: {version}").as(Role::Version),
        R(E::ConfCopy, T::kWriteConfToLog, "{conf}").as(Role::ConfigCopy),
        R(E::InitEnded, T::kInit, "Ended").ends(0),
        // "Failed!" also means "not cleared because small enough".
        R(E::LogCleared, T::kClearTheLog, "Success!").opening(CallKind::Transaction),
        R(E::LogNotCleared, T::kClearTheLog, "Failed!").opening(CallKind::Transaction),
        R(E::ConfigRead, T::kGetConfig, "TRY GET configuration").as(Role::ConfigRead),

        R(E::InputBuffer, kFlow, "InputBuf was\n\n{input}").as(Role::InputBuffer),
        R(E::TryCheckReader, kFlow, "TRY GET CheckXmlFunc"),
        R(E::TryGetToken, kFlow, "TRY GET token"),
        R(E::TryBonusCodes, kFlow, "TRY GET bonusCurrencyCodes"),
        R(E::DiscountNotDone, kFlow, "ERROR getDiscountRes != -1 RETURN {result}")
            .ends(kResultParam),

        R(E::LookupStarted, T::kGetCardInfoEx, "GetCardInfoEx from File1 Started!")
            .opening(CallKind::Lookup),
        R(E::RecordIsNull, T::kGetCardInfoEx, "ERROR card record is NULL RETURN 1")
            .ends(1, Cause::NoRecord),
        R(E::NumNotLookup, T::kGetCardInfoEx, "num != 0 && num != 2 RETURN {result}")
            .ends(kResultParam, Cause::CheckNotUsable),
        R(E::NoTokenLookup, T::kGetCardInfoEx, "Cant get token! RETURN 1").ends(1, Cause::NoToken),
        R(E::TryChmodLookup, T::kGetCardInfoEx, "TRY GET GetChmod"),
        R(E::NoChmodLookup, T::kGetCardInfoEx, "Cant get chmod RETURN 1")
            .ends(1, Cause::CheckNotUsable),
        R(E::TryLogicLookup, T::kGetCardInfoEx, "TRY GET LOGICK"),
        R(E::LookupEnded, T::kGetCardInfoEx, "Ended successfully! RETURN 0").ends(0),
        R(E::DiscountRefused, T::kGetCardInfoEx,
          "ERROR RETURN 1 in !ok || jsonDiscont[\"Status\"].GetInt() != 1{reply}")
            .ends(1, Cause::Refused)
            .quoting(),
        // The guest exchange failed without a reply: the call ends with 1.
        R(E::GuestInfoFailed, T::kGetCardInfoEx, "ERROR v1/GuestInfo/ {code}").ends(1),
        R(E::GuestInfoNotOk, T::kGetCardInfoEx, "Error: not ok jsonGuestInfo RETURN 1")
            .ends(1, Cause::UnusableReply),
        // "Error: Карта заблокирована. Продажа по карте невозможна RETURN 0" in Windows-1251.
        R(E::BlockedCard, T::kGetCardInfoEx,
          "Error: \xca\xe0\xf0\xf2\xe0 \xe7\xe0\xe1\xeb\xee\xea\xe8\xf0\xee\xe2\xe0\xed\xe0. "
          "\xcf\xf0\xee\xe4\xe0\xe6\xe0 \xef\xee \xea\xe0\xf0\xf2\xe5 "
          "\xed\xe5\xe2\xee\xe7\xec\xee\xe6\xed\xe0 RETURN 0")
            .ends(0),
        R(E::GuestStatus2, T::kGetCardInfoEx, "Error: status == 2 RETURN 1")
            .ends(1, Cause::Refused),
        R(E::GuestStatusNot1, T::kGetCardInfoEx, "Error: status != 1 RETURN 1")
            .ends(1, Cause::Refused),
        R(E::TryBonusAccount, T::kGetCardInfoEx,
          "Try find configuration->first_node(\"BonusAccount\")"),
        R(E::TryDepositAccount, T::kGetCardInfoEx,
          "Try find configuration->first_node(\"DepositAccount\")"),

        // After the housekeeping line, "Started" goes on with the posting it opened.
        R(E::PostingStarted, T::kTransactionsEx, "Started").opening(CallKind::Transaction),
        R(E::NumNotPosting, T::kTransactionsEx, "NUM IS NOT 0 RETURNS {result}")
            .ends(kResultParam, Cause::CheckNotUsable),
        R(E::TryHttpClient, T::kTransactionsEx, "TRY GET httpClient"),
        R(E::NoTokenPosting, T::kTransactionsEx, "token error RETURN 1").ends(1, Cause::NoToken),
        R(E::TryChmodPosting, T::kTransactionsEx, "TRY GET checkChmod"),
        R(E::NoChmodPosting, T::kTransactionsEx, "chmod error! RETURN 1")
            .ends(1, Cause::CheckNotUsable),
        R(E::TryLogicPosting, T::kTransactionsEx, "TRY START LOGICK"),
        R(E::TryDepositCodes, T::kTransactionsEx, "TRY GET depositCurrencyCodes"),
        R(E::TryCloseOrderBody, T::kTransactionsEx, "TRY GET getJsonResponseForCloseOrder"),
        R(E::ClientIdNotFound, T::kTransactionsEx, "ERROR ClientId not found RETURN 1")
            .ends(1, Cause::NoGuest),
        R(E::DepositWithoutAccount, T::kTransactionsEx,
          "ERROR deposit payment names no account: cannot write off the deposit, nothing sent "
          "RETURN 1")
            .ends(1, Cause::CheckNotUsable),
        // {missing}: "Node X not found", "Attribute X not found".
        R(E::CheckContentMissing, T::kTransactionsEx, "ERROR {missing} RETURN 1")
            .ends(1, Cause::CheckNotUsable),
        R(E::CheckContentMissingS, T::kTransactionsEx, "ERROR {missing} RETURNS 1")
            .ends(1, Cause::CheckNotUsable),
        R(E::CloseOrderBodyFailed, T::kTransactionsEx, "ERROR getJsonResponseForCloseOrder {code}")
            .ends(1),
        R(E::CloseOrderFailed, T::kTransactionsEx, "ERROR  v1/CloseOrder/ {code}").ends(1),
        // "Непредвиденная ошибка! RETURNS 1" in Windows-1251.
        R(E::UnexpectedPosting, T::kTransactionsEx,
          "\xcd\xe5\xef\xf0\xe5\xe4\xe2\xe8\xe4\xe5\xed\xed\xe0\xff \xee\xf8\xe8\xe1\xea\xe0! "
          "RETURNS 1")
            .ends(1),
        R(E::PostingNotSent, T::kTransactionsEx,
          "Error sending Transaction request RETURNS 1, Error code: {code}")
            .ends(1),
        R(E::PostingEnded, T::kTransactionsEx, "Ended RETURN 0").ends(0),
        R(E::PostingRefused, T::kTransactionsEx,
          "ERROR in !ok || jsonResultRequest[\"Status\"].GetInt() != 1 RETURNS 1{reply}")
            .ends(1, Cause::Refused)
            .quoting(),

        R(E::ClosingConnection, kFlow, "Trying to close HC"),
        R(E::ConnectionClosed, kFlow, "HC closed!"),
        R(E::CloseFailed, kFlow, "ERROR WHILE CLOSE HC {code}"),
        R(E::ReplyNotUsable, kFlow, "ERROR service reply not usable: {what} RETURN 1")
            .ends(1, Cause::UnusableReply),
        R(E::CheckNotUsable, kFlow, "ERROR check not usable: {what} RETURN 1")
            .ends(1, Cause::CheckNotUsable),
        R(E::UnexpectedFailureWhat, kFlow, "ERROR unexpected failure: {what} RETURN 1").ends(1),
        R(E::UnexpectedFailure, kFlow, "ERROR unexpected failure RETURN 1").ends(1),
        R(E::UnexpectedException, kFlow, "ERROR unexpected exception ({what}) RETURN {result}")
            .ends(kResultParam),

        R(E::CheckReaderThrew, T::kCheckXmlInit, "THROW SOME ERROR {code}"),
        R(E::SetInterfaceStart, T::kSetInterface, "START"),
        R(E::SetInterfaceEnd, T::kSetInterface, "END"),
        R(E::CheckInitSuccess, kFlow, "checkXml.init(InpBuf) success"),
        R(E::CheckInitFailed, kFlow, "Error: checkXml.init(InpBuf), Error code AFTER 25.07 {code}"),
        R(E::WorkingModeIs, kFlow, "checkChmod is {mode}"),
        R(E::WorkingModeMissing, kFlow, "ERROR checkChmod XmlElementNotFound{missing}"),
        R(E::WorkingModeFailed, kFlow, "ERROR getChmode {code}"),
        R(E::TokenFound, kFlow, "getToken success"),
        R(E::NoTokenFound, kFlow, "ERROR finding token"),
        R(E::ConnectionInitFailed, kFlow, "ERROR server connection init"),
        R(E::TokenCheckMissing, kFlow, "ERROR getToken XmlElementNotFound{missing}"),
        R(E::TokenFailed, kFlow, "ERROR getToken {code}"),

        R(E::AskHolder, T::kHolderLookup, "TRY GET ClientId from API WITH {body}")
            .as(Role::AnnouncesHolderLookup),
        // Under the holder lookup's tag and the wrapper's.
        R(E::TimeoutExceeded, kFlow, "Error TimeoutExceeded RETURN 0"),
        R(E::HolderFromPayments, T::kHolderLookup, "TRY GET ClientId from CHECKPAYMENTS"),
        R(E::HolderMaybeBreak, T::kHolderLookup, "MAYBE break here"),
        R(E::HolderClientId, T::kHolderLookup, "ClientId IS {id}"),
        R(E::HolderFromDiscounts, T::kHolderLookup, "TRY GET ClientId from CHECKDISCOUNTS"),
        R(E::HolderClientIdNull, T::kHolderLookup, "ClientId is NULL"),
        R(E::HolderResult, T::kHolderLookup, "RESULT ClientId IS {id}"),

        R(E::DiscountStarted, T::kSendGetDiscount, "Started"),
        R(E::DiscountBodyMissing, T::kSendGetDiscount, "ERROR XmlElementNotFound{missing}"),
        R(E::DiscountBodyNotSent, T::kSendGetDiscount, "ERROR request body not sent: {what}"),
        R(E::DiscountBodyFailed, T::kSendGetDiscount, "ERROR getJsonResponseForGetDiscount {code}"),
        R(E::DiscountSendFailed, T::kSendGetDiscount, "Error: GetDiscount, Error code{code}"),
        R(E::DiscountEmptyReply, T::kSendGetDiscount,
          "Error: GetDiscount(szData size = 0), Error code{code}"),
        R(E::DiscountEnded, T::kSendGetDiscount, "Ended"),

        R(E::TrySend, T::kSendRequestWrapper, "TRY SEND REQUEST TO {path} WITH {body}")
            .as(Role::AnnouncesRequest),
        R(E::ResponseWasNull, T::kSendRequestWrapper, "RESPONSE WAS NULL, TRY CONNECT TO GOOGLE")
            .as(Role::ProbeStarts),
        R(E::ProbeFailed, T::kSendRequestWrapper, "GOOGLE NOT WORKING, ERROR!")
            .as(Role::ProbeFailed),
        R(E::RetryTo, T::kSendRequestWrapper,
          "GOOGLE WORKS, TRY ANOTHER ONE TO {path} WITH {headers}")
            .as(Role::AnnouncesRetry),
        R(E::ResponseNullAgain, T::kSendRequestWrapper, "RESPONSE WAS NULL AGAIN, ERROR!"),
        R(E::InfoWasNull, T::kSendRequestWrapper, "AND INFO WAS NULL").as(Role::NoReplyForCall),

        R(E::NoRequestHandle, T::kSendRequest, "ERROR WHILE SENDING hRequest == NULL {path}{code}")
            .failing(Outcome::Refused, Cause::SendFailed),
        R(E::SendTimedOut, T::kSendRequest,
          "ERROR WHILE SENDING WaitForSingleObject(hThread, dwTimeout ) == WAIT_TIMEOUT {path}")
            .failing(Outcome::TimedOut, Cause::TimedOut),
        R(E::NoExitCode, T::kSendRequest,
          "RETURN vector<char> !GetExitCodeThread( hThread, &dwExitCode) {path}")
            .failing(Outcome::Refused, Cause::SendFailed),
        R(E::WorkerFailed, T::kSendRequest, "RETURN vector<char> dwExitCode != 0 {exitCode}")
            .failing(Outcome::Refused, Cause::SendFailed),
        R(E::WindowsError, T::kSendRequest, "Windows error {code}: {text}")
            .as(Role::NamesWindowsError),
        R(E::ReadFailed, T::kSendRequest,
          "ERROR WHILE SENDING bRead == FALSE  ||  dwBytesRead == 0 {path}")
            .failing(Outcome::EmptyReply, Cause::EmptyReply),
        R(E::HttpStatus, T::kSendRequest, "HTTP status {status}").as(Role::NamesHttpStatus),
        R(E::ReplyTooLong, T::kSendRequest,
          "ERROR reply longer than {limit} bytes, the rest is not read {path}"),

        // Written by earlier versions of the module (no input reaches them
        // now): read, never written.
        R(E::CheckDataNotFound, T::kGetCardInfoEx,
          "ERROR CheckdataNotFound && this is not checkChmod = 0, 9, 8, 10, 11, 12, 13 RETURN 1")
            .ends(1, Cause::CheckNotUsable),
        R(E::CheckDataMissing, kFlow, "CheckdataNotFound"),
        R(E::CheckInitMissing, kFlow, "ERROR XmlElementNotFound& e AFTER 25.07 {missing}"),
    };
    std::vector<Row> out(table.begin(), table.end());
    return out;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A row's text as fixed parts and parameter names: fixed[0] name[0] fixed[1] ...
struct Pattern {
    std::vector<std::string_view> fixed;
    std::vector<std::string_view> names;
    std::size_t fixedSize = 0;
};

Pattern patternOf(const char* text) {
    Pattern p;
    std::string_view t(text);
    std::size_t from = 0;
    for (;;) {
        const std::size_t open = t.find('{', from);
        const std::size_t close = open == std::string_view::npos ? open : t.find('}', open);
        if (close == std::string_view::npos) {
            p.fixed.push_back(t.substr(from));
            break;
        }
        p.fixed.push_back(t.substr(from, open - from));
        p.names.push_back(t.substr(open + 1, close - open - 1));
        from = close + 1;
    }
    for (std::string_view f : p.fixed) p.fixedSize += f.size();
    return p;
}

const std::vector<Pattern>& patterns() {
    static const std::vector<Pattern> all = [] {
        std::vector<Pattern> out;
        for (const Row& r : rows()) out.push_back(patternOf(r.text));
        return out;
    }();
    return all;
}

// Length of a number at `at` (digits, maybe after a '-'), or 0.
std::size_t numberAt(std::string_view s, std::size_t at, bool withSign) {
    std::size_t p = at;
    if (withSign && p < s.size() && s[p] == '-') ++p;
    const std::size_t digits = p;
    while (p < s.size() && isDigit(s[p])) ++p;
    return p == digits ? 0 : p - at;
}

using Args = std::vector<std::pair<std::string, std::string>>;

// `m` from `at` on against the pattern's parameters from `i` on; a text
// parameter tries each place where the next fixed part occurs, shortest
// first, so that a value may hold that fixed part itself.
bool fitsFrom(const Pattern& p, std::string_view m, std::size_t i, std::size_t at, Args& args) {
    if (i == p.names.size()) return at == m.size();
    const std::string_view next = p.fixed[i + 1];
    const bool last = i + 1 == p.names.size();
    auto tryEnd = [&](std::size_t end) {
        if (m.compare(end, next.size(), next) != 0) return false;
        args.emplace_back(std::string(p.names[i]), std::string(m.substr(at, end - at)));
        if (fitsFrom(p, m, i + 1, end + next.size(), args)) return true;
        args.pop_back();
        return false;
    };
    if (isNumberParameter(p.names[i])) {
        const std::size_t n = numberAt(m, at, isSignedParameter(p.names[i]));
        return n != 0 && tryEnd(at + n);
    }
    if (next.empty() && last) return tryEnd(m.size());
    if (next.empty()) {
        // Text run straight into a number ("{path}{code}"): the number is the
        // last run of digits before the fixed part after it.
        const std::string_view after = p.fixed[i + 2];
        for (std::size_t stop = after.empty() ? m.size() : m.find(after, at);
             stop != std::string_view::npos; stop = m.find(after, stop + 1)) {
            std::size_t end = stop;
            while (end > at && isDigit(m[end - 1])) --end;
            if (isSignedParameter(p.names[i + 1]) && end > at && m[end - 1] == '-') --end;
            if (tryEnd(end)) return true;
            if (after.empty()) break;
        }
        return false;
    }
    for (std::size_t end = m.find(next, at); end != std::string_view::npos;
         end = m.find(next, end + 1))
        if (tryEnd(end)) return true;
    return false;
}

bool fits(const Pattern& p, std::string_view m, Args& args) {
    if (m.size() < p.fixed[0].size() || m.compare(0, p.fixed[0].size(), p.fixed[0]) != 0)
        return false;
    return fitsFrom(p, m, 0, p.fixed[0].size(), args);
}

}  // namespace

const char* exportTag(CallKind kind) {
    switch (kind) {
        case CallKind::Init: return logtag::kInit;
        case CallKind::Lookup: return logtag::kGetCardInfoEx;
        case CallKind::Transaction: break;
    }
    return logtag::kTransactionsEx;
}

const std::vector<Row>& rows() {
    static const std::vector<Row> all = makeRows();
    return all;
}

const Row& row(Event event) { return rows()[static_cast<std::size_t>(event)]; }

bool isNumberParameter(std::string_view name) {
    static const char* const numbers[] = {"code", "status", "result", "exitCode", "mode", "limit"};
    for (const char* n : numbers)
        if (name == n) return true;
    return false;
}

bool isSignedParameter(std::string_view name) { return name == "result" || name == "mode"; }

std::string format(Event event, std::initializer_list<Arg> args) {
    const Pattern& p = patterns()[static_cast<std::size_t>(event)];
    std::size_t size = p.fixedSize;
    for (const Arg& a : args) size += a.value.size();
    std::string out;
    out.reserve(size);
    for (std::size_t i = 0; i < p.fixed.size(); ++i) {
        out.append(p.fixed[i].data(), p.fixed[i].size());
        if (i == p.names.size()) break;
        for (const Arg& a : args) {
            if (p.names[i] == a.name) {
                out.append(a.value.data(), a.value.size());
                break;
            }
        }
    }
    return out;
}

const std::vector<std::string_view>& fixedParts(Event event) {
    return patterns()[static_cast<std::size_t>(event)].fixed;
}

std::string Match::arg(std::string_view name) const {
    for (const auto& a : args)
        if (a.first == name) return a.second;
    return std::string();
}

namespace {

// The rows a line under one tag may be, most fixed text first (in the table's
// order among equals): the first that fits is the one match() wants. Built
// once, so that a line is tried against a few rows, not all.
struct Candidates {
    std::string_view tag;  // empty: any tag the table does not name
    std::vector<std::size_t> rows;
};

const std::vector<Candidates>& candidatesByTag() {
    static const std::vector<Candidates> all = [] {
        const std::vector<Row>& table = rows();
        std::vector<Candidates> out(1);
        for (const Row& r : table) {
            if (r.tag == nullptr) continue;
            bool known = false;
            for (const Candidates& c : out) known |= !c.tag.empty() && c.tag == r.tag;
            if (!known) out.push_back({r.tag, {}});
        }
        for (Candidates& c : out) {
            for (std::size_t i = 0; i < table.size(); ++i)
                if (table[i].tag == nullptr || (!c.tag.empty() && c.tag == table[i].tag))
                    c.rows.push_back(i);
            std::stable_sort(c.rows.begin(), c.rows.end(), [](std::size_t a, std::size_t b) {
                return patterns()[a].fixedSize > patterns()[b].fixedSize;
            });
        }
        return out;
    }();
    return all;
}

}  // namespace

Match match(std::string_view tag, std::string_view message) {
    Match m;
    match(tag, message, m);
    return m;
}

void match(std::string_view tag, std::string_view message, Match& into) {
    const std::vector<Candidates>& byTag = candidatesByTag();
    const Candidates* candidates = &byTag.front();
    for (const Candidates& c : byTag)
        if (!c.tag.empty() && c.tag == tag) candidates = &c;
    const std::vector<Pattern>& all = patterns();
    into.row = nullptr;
    into.args.clear();  // a row that does not fit leaves none behind
    for (std::size_t i : candidates->rows) {
        const Pattern& p = all[i];
        // Most lines differ from a row in their first bytes.
        if (!p.fixed[0].empty() && (message.empty() || message.front() != p.fixed[0].front()))
            continue;
        if (!fits(p, message, into.args)) continue;
        into.row = &rows()[i];
        return;
    }
}

}  // namespace logevent
