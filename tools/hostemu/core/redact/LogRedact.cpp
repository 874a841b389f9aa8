// brisvane.log -> the same log with tokens and guests' personal data replaced.
//
// Fails closed: what is kept is what is recognised as safe (stamps, tags, the
// module's own lines from its table of log events, the reply members of known
// meaning, the results); an entry that is none of the module's, a reply that is
// not JSON, a reply member of unknown meaning (a boolean aside) and a damaged
// stretch are replaced whole. Within the module's lines the places are known
// from the log's layout: conf.xml copies (tokens), request paths (tokens),
// guest-information bodies (the number presented), service replies (names,
// phone, e-mail, birthday, comments), record dumps (the texts filled from those
// replies) and the check's card holders. What a structured place gave away is
// then also replaced wherever else it occurs, and the copy is searched for it
// once more before it may be written. Stand-ins keep what the DLL decides on:
// a number keeps its count of digits and sign (so "Phone" stays "Phone"), a
// text becomes ASCII, a reply stays JSON of the same shape.
#include "redact/LogRedact.h"

#include <rapidjson/reader.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "api/JsonText.h"
#include "http/ServicePaths.h"
#include "log/LogEvents.h"
#include "log/LogFormat.h"
#include "logread/LogCalls.h"
#include "text/Prefix.h"
#include "text/TextCodec.h"

namespace redact {

namespace L = logtag;
using logevent::Event;

namespace {

// The kinds of what is replaced, as the message keys that name them, in the
// order the report lists them.
constexpr Msg kTokens = Msg::redact_kind_tokens;
constexpr Msg kBirthdays = Msg::redact_kind_birthdays;
constexpr Msg kComments = Msg::redact_kind_comments;
constexpr Msg kEmails = Msg::redact_kind_emails;
constexpr Msg kNames = Msg::redact_kind_names;
constexpr Msg kNumbers = Msg::redact_kind_numbers;
const Msg kKinds[] = {kTokens, kBirthdays, kComments, kEmails, kNames, kNumbers};

const char* const kServicePaths[] = {servicepath::kGuestInfo, servicepath::kGetDiscount,
                                     servicepath::kCloseOrder, servicepath::kReturnOrder};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

void replaceAll(std::string& s, const std::string& from, const std::string& to, int& count) {
    if (from.empty()) return;
    for (std::size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + to.size())) {
        s.replace(p, from.size(), to);
        ++count;
    }
}

// Each byte followed by a zero byte: ASCII as UTF-16LE, for conf.xml copies
// of a file saved in UTF-16.
std::string wide(const std::string& ascii) {
    std::string w;
    for (char c : ascii) {
        w += c;
        w += '\0';
    }
    return w;
}

class StandIns {
  public:
    explicit StandIns(Tally& tally) : tally_(tally) {}

    std::string token(const std::string& value) {
        return lookup(tokens_, value, kTokens, [&](int n) { return "token-" + std::to_string(n); });
    }
    bool isToken(const std::string& value) const { return tokens_.count(value) != 0; }
    void learnToken(const std::string& value) {
        if (!value.empty()) token(value);
    }
    const std::map<std::string, std::string>& tokens() const { return tokens_; }

    // A text of `kind`, keyed on its Windows-1251 form (as it stands in the
    // record and the check).
    std::string text(Msg kind, const std::string& key) {
        return lookup(texts_, key, kind, [&](int n) {
            if (kind == kEmails) return "guest" + std::to_string(n) + "@example.invalid";
            if (kind == kBirthdays) return "birthday-" + std::to_string(n);
            if (kind == kComments) return "Comment-" + std::to_string(n);
            if (kind == kNumbers) return "number-" + std::to_string(n);
            return "Name-" + std::to_string(n);
        });
    }
    // A text stand-in already given for `key`, or for the text the record cut
    // `key` from (a field of `width` bytes with its zero byte); empty if none.
    std::string knownText(const std::string& key, std::size_t width) {
        const auto it = texts_.find(key);
        if (it != texts_.end()) {
            ++tally_.places[kindOf_[key]];
            return it->second;
        }
        if (key.size() + 1 != width) return std::string();
        for (const auto& t : texts_) {
            if (t.first.size() > key.size() && t.first.compare(0, key.size(), key) == 0) {
                ++tally_.places[kindOf_[t.first]];
                return t.second.substr(0, width - 1);
            }
        }
        return std::string();
    }
    // The name the record shows for a guest: the three stand-ins joined.
    // It wins over a stand-in the same text got as "FullName": the DLL
    // builds the record's name from the parts, so the copy's dump must too.
    void alias(const std::string& key, const std::string& standIn) {
        texts_[key] = standIn;
        kindOf_[key] = kNames;
    }
    const std::map<std::string, std::string>& texts() const { return texts_; }
    Msg kindOf(const std::string& key) const {
        const auto it = kindOf_.find(key);
        return it == kindOf_.end() ? kNames : it->second;
    }

    // A signed 64-bit number: the stand-in has as many digits and the same sign.
    int64_t number(int64_t value) {
        const auto it = numbers_.find(value);
        ++tally_.places[kNumbers];
        if (it != numbers_.end()) return it->second;
        ++tally_.values[kNumbers];
        const bool negative = value < 0;
        uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : value;
        int digits = 1;
        for (uint64_t m = magnitude; m >= 10; m /= 10) ++digits;
        int64_t s = value;
        // Never the value itself, nor another value's stand-in (while there are any left).
        for (int tries = 0; tries < 20 && (s == value || usedNumbers_.count(s) || avoid_.count(s));
             ++tries) {
            const uint64_t n = ++numberCount_;
            uint64_t standIn;
            if (digits == 1) {
                standIn = 1 + (n - 1) % 9;
            } else {
                uint64_t span = 1;
                for (int i = 1; i < digits; ++i) span *= 10;
                standIn = span + n % span;  // "1000...n"
            }
            s = negative ? -static_cast<int64_t>(standIn) : static_cast<int64_t>(standIn);
        }
        numbers_[value] = s;
        usedNumbers_.insert(s);
        return s;
    }
    const std::map<int64_t, int64_t>& numbers() const { return numbers_; }
    // Numbers of the log that no stand-in may be, so that none reads as another guest's.
    void avoid(const std::map<int64_t, int64_t>& numbers) {
        for (const auto& n : numbers) avoid_.insert(n.first);
    }

  private:
    template <typename Make>
    std::string lookup(std::map<std::string, std::string>& map, const std::string& key, Msg kind,
                       Make make) {
        ++tally_.places[kind];
        const auto it = map.find(key);
        if (it != map.end()) return it->second;
        const int n = ++tally_.values[kind];
        kindOf_[key] = kind;
        return map[key] = make(n);
    }

    Tally& tally_;
    std::map<std::string, std::string> tokens_;
    std::map<std::string, std::string> texts_;
    std::map<std::string, Msg> kindOf_;
    std::map<int64_t, int64_t> numbers_;
    std::set<int64_t> usedNumbers_;
    std::set<int64_t> avoid_;
    uint64_t numberCount_ = 0;
};

// "-?digits" that fits a signed 64-bit number.
bool wholeNumber(const std::string& text, int64_t& value) {
    std::size_t p = text.size() > 1 && text[0] == '-' ? 1 : 0;
    if (p == text.size() || text.size() - p > 19) return false;
    uint64_t v = 0;
    for (; p < text.size(); ++p) {
        if (!isDigit(text[p])) return false;
        v = v * 10 + static_cast<uint64_t>(text[p] - '0');
    }
    if (text[0] == '-') {
        if (v > static_cast<uint64_t>(INT64_MAX) + 1) return false;
        value = static_cast<int64_t>(0 - v);
    } else {
        if (v > static_cast<uint64_t>(INT64_MAX)) return false;
        value = static_cast<int64_t>(v);
    }
    return true;
}

// --- service replies

enum class Member { Keep, Name, Comment, Email, Birthday, Number, Unknown };

Member memberKind(const std::string& name) {
    static const std::map<std::string, Member> known = {
        // What the DLL reads and that names nobody.
        {"Status", Member::Keep},
        {"ErrorMessage", Member::Keep},
        {"ClientId", Member::Keep},
        {"NotPayType", Member::Keep},
        {"LoyaltyLevel", Member::Keep},
        {"DiscountId", Member::Keep},
        {"BonusId", Member::Keep},
        {"BonusBalance", Member::Keep},
        {"SumDiscount", Member::Keep},
        {"MaxBonus", Member::Keep},
        {"MaxDeposit", Member::Keep},
        // The guest.
        {"LastName", Member::Name},
        {"FirstName", Member::Name},
        {"MiddleName", Member::Name},
        {"FIO", Member::Name},
        {"Name", Member::Name},
        {"FullName", Member::Name},
        {"Message", Member::Comment},
        {"PrintMessage", Member::Comment},
        {"Comment", Member::Comment},
        {"Email", Member::Email},
        {"EMail", Member::Email},
        {"E-mail", Member::Email},
        {"Mail", Member::Email},
        {"Birthday", Member::Birthday},
        {"BirthDay", Member::Birthday},
        {"BirthDate", Member::Birthday},
        {"DateOfBirth", Member::Birthday},
        {"Phone", Member::Number},
        {"PhoneNumber", Member::Number},
        {"Mobile", Member::Number},
        {"CardToken", Member::Number},
        {"CardNumber", Member::Number},
        {"Card", Member::Number},
    };
    const auto it = known.find(name);
    return it == known.end() ? Member::Unknown : it->second;
}

Msg textKind(Member m) {
    switch (m) {
        case Member::Comment: return kComments;
        case Member::Email: return kEmails;
        case Member::Birthday: return kBirthdays;
        default: return kNames;
    }
}

// SAX filter from the reply to its redacted copy. Numbers arrive as their
// text, so that every kept number is written exactly as the service wrote it.
class ReplyFilter {
  public:
    using Ch = char;
    ReplyFilter(rapidjson::Writer<rapidjson::StringBuffer>& w, StandIns& standIns, Tally& tally)
        : w_(w), standIns_(standIns), tally_(tally) {}

    bool Null() {
        return scalar(Scalar::Other, [&] { return w_.Null(); });
    }
    bool Bool(bool b) {
        return scalar(Scalar::Bool, [&] { return w_.Bool(b); });
    }
    bool Int(int) { return true; }  // numbers come as RawNumber
    bool Uint(unsigned) { return true; }
    bool Int64(int64_t) { return true; }
    bool Uint64(uint64_t) { return true; }
    bool Double(double) { return true; }
    bool RawNumber(const Ch* str, rapidjson::SizeType length, bool) {
        const std::string text(str, length);
        if (depth_ == 1 && subtree_ == Subtree::None && memberKind(key_) != Member::Keep &&
            memberKind(key_) != Member::Unknown) {
            int64_t v = 0;
            if (!wholeNumber(text, v)) return writeMember([&] { return w_.Null(); });
            const std::string s = std::to_string(standIns_.number(v));
            return writeMember(
                [&] { return w_.RawValue(s.c_str(), s.size(), rapidjson::kNumberType); });
        }
        return scalar(Scalar::Number,
                      [&] { return w_.RawValue(str, length, rapidjson::kNumberType); });
    }
    bool String(const Ch* str, rapidjson::SizeType length, bool) {
        const std::string text(str, length);
        if (subtree_ == Subtree::Skip) return true;
        if (subtree_ == Subtree::Forward) return w_.String(str, length);
        if (depth_ == 0) return w_.String("");  // a bare string names nobody it need keep
        const Member m = memberKind(key_);
        if (m == Member::Keep) return writeMember([&] { return w_.String(str, length); });
        if (m == Member::Unknown) {
            ++tally_.droppedMembers;
            return true;
        }
        if (text.empty()) {  // names nobody
            if (m == Member::Name) names_[key_] = {text, text};
            return writeMember([&] { return w_.String(""); });
        }
        std::string standIn;
        int64_t v = 0;
        if (m == Member::Number && wholeNumber(text, v)) {
            standIn = std::to_string(standIns_.number(v));
        } else {
            const std::string key = utf8ToCp1251(text);
            standIn = standIns_.text(m == Member::Number ? kNumbers : textKind(m), key);
            if (m == Member::Name) names_[key_] = {key, standIn};
        }
        return writeMember([&] { return w_.String(standIn.c_str(), standIn.size()); });
    }
    bool StartObject() { return open(true); }
    bool Key(const Ch* str, rapidjson::SizeType length, bool) {
        if (subtree_ == Subtree::Skip) return true;
        if (subtree_ == Subtree::Forward) return w_.Key(str, length);
        key_.assign(str, length);
        return true;
    }
    bool EndObject(rapidjson::SizeType) { return close(true); }
    bool StartArray() { return open(false); }
    bool EndArray(rapidjson::SizeType) { return close(false); }

    // The Windows-1251 names of the guest as the record joins them, with
    // their stand-ins: "LastName FirstName MiddleName".
    void joinNames() {
        const char* const parts[] = {"LastName", "FirstName", "MiddleName"};
        std::string key, standIn;
        for (const char* p : parts) {
            const auto it = names_.find(p);
            if (it == names_.end()) return;
            key += (p == parts[0] ? "" : " ") + it->second.first;
            standIn += (p == parts[0] ? "" : " ") + it->second.second;
        }
        standIns_.alias(key, standIn);
    }

  private:
    enum class Scalar { Number, Bool, Other };
    enum class Subtree { None, Forward, Skip };

    template <typename Write>
    bool writeMember(Write write) {
        w_.Key(key_.c_str(), static_cast<rapidjson::SizeType>(key_.size()));
        return write();
    }

    template <typename Write>
    bool scalar(Scalar kind, Write write) {
        if (subtree_ == Subtree::Skip) return true;
        if (subtree_ == Subtree::Forward || depth_ == 0) return write();
        const Member m = memberKind(key_);
        // A number of unknown meaning may be a phone or a card: only a
        // boolean tells nothing.
        if (m != Member::Unknown || kind == Scalar::Bool) return writeMember(write);
        ++tally_.droppedMembers;
        return true;
    }

    bool open(bool object) {
        ++depth_;
        if (subtree_ == Subtree::Skip) return true;
        if (subtree_ == Subtree::Forward) return object ? w_.StartObject() : w_.StartArray();
        if (depth_ == 1) {
            // A root that is no object keeps only its kind: the DLL reads nothing from it.
            if (!object) {
                subtree_ = Subtree::Skip;
                subtreeDepth_ = 1;
                rootArray_ = true;
                return w_.StartArray();
            }
            return w_.StartObject();
        }
        // A member's object or array: kept whole only where its meaning is known.
        if (memberKind(key_) == Member::Keep) {
            subtree_ = Subtree::Forward;
            subtreeDepth_ = depth_;
            w_.Key(key_.c_str(), static_cast<rapidjson::SizeType>(key_.size()));
            return object ? w_.StartObject() : w_.StartArray();
        }
        ++tally_.droppedMembers;
        subtree_ = Subtree::Skip;
        subtreeDepth_ = depth_;
        return true;
    }

    bool close(bool object) {
        bool ok = true;
        if (subtree_ == Subtree::Forward) ok = object ? w_.EndObject() : w_.EndArray();
        if (subtree_ != Subtree::None && depth_ == subtreeDepth_) {
            subtree_ = Subtree::None;
            if (rootArray_) ok = w_.EndArray();
        } else if (subtree_ == Subtree::None && depth_ == 1) {
            ok = w_.EndObject();
        }
        --depth_;
        return ok;
    }

    rapidjson::Writer<rapidjson::StringBuffer>& w_;
    StandIns& standIns_;
    Tally& tally_;
    int depth_ = 0;
    std::string key_;
    Subtree subtree_ = Subtree::None;
    int subtreeDepth_ = 0;
    bool rootArray_ = false;
    std::map<std::string, std::pair<std::string, std::string>> names_;
};

const char kUnreadableReply[] = "(reply removed: not JSON as a whole)";
const char kUnplacedText[] = "(text removed: none of the module's lines)";
const char kUnknownTag[] = "(tag removed)";

std::string redactReply(const std::string& reply, StandIns& standIns, Tally& tally) {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    ReplyFilter filter(writer, standIns, tally);
    rapidjson::Reader reader;
    rapidjson::StringStream in(reply.c_str());
    // Numbers as their text, so that a kept amount is copied digit for digit.
    const bool parsed =
        !parseJson<rapidjson::kParseNumbersAsStringsFlag>(reader, in, filter).IsError();
    // A reply with a zero byte is read by the DLL only up to it.
    if (parsed && reply.find('\0') == std::string::npos) {
        filter.joinNames();
        return buffer.GetString();
    }
    // Cut, broken, or a page from something in between: members cannot be
    // told apart, and a page may quote the request or the guest.
    if (reply.find_first_not_of(" \t\r\n") == std::string::npos) return reply;
    ++tally.unreadableReplies;
    return kUnreadableReply;
}

// --- texts of the log

// {"Phone":n} and {"CardToken":n}: n is the card's bit pattern as unsigned.
void redactGuestBodies(std::string& text, StandIns& standIns) {
    for (const char* member : {"{\"Phone\":", "{\"CardToken\":"}) {
        const std::size_t n = std::strlen(member);
        for (std::size_t p = text.find(member); p != std::string::npos;
             p = text.find(member, p + 1)) {
            std::size_t q = p + n;
            uint64_t v = 0;
            bool overflow = false;
            while (q < text.size() && isDigit(text[q])) {
                const uint64_t d = static_cast<uint64_t>(text[q] - '0');
                if (v > (UINT64_MAX - d) / 10) overflow = true;
                v = v * 10 + d;
                ++q;
            }
            if (q == p + n || overflow) continue;
            const uint64_t s = static_cast<uint64_t>(standIns.number(static_cast<int64_t>(v)));
            text.replace(p + n, q - p - n, std::to_string(s));
        }
    }
}

// cardcode="..." of the check's card holders: the digits after any blanks,
// sign and leading zeros, which is the number the DLL reads.
void redactCardCodes(std::string& text, StandIns& standIns) {
    static const char attribute[] = "cardcode=";
    for (std::size_t p = text.find(attribute); p != std::string::npos;
         p = text.find(attribute, p + 1)) {
        std::size_t q = p + sizeof attribute - 1;
        if (q >= text.size() || (text[q] != '"' && text[q] != '\'')) continue;
        const char quote = text[q++];
        const std::size_t end = text.find(quote, q);
        if (end == std::string::npos) continue;
        while (q < end && (text[q] == ' ' || text[q] == '\t' || text[q] == '\n' || text[q] == '\r'))
            ++q;
        const bool negative = q < end && text[q] == '-';
        if (q < end && (text[q] == '-' || text[q] == '+')) ++q;
        while (q + 1 < end && text[q] == '0' && isDigit(text[q + 1])) ++q;
        std::size_t r = q;
        while (r < end && isDigit(text[r])) ++r;
        int64_t v = 0;
        if (r == q || !wholeNumber((negative ? "-" : "") + text.substr(q, r - q), v)) continue;
        const int64_t s = standIns.number(v);
        std::string digits = std::to_string(s < 0 ? 0 - static_cast<uint64_t>(s) : s);
        text.replace(q, r - q, digits);
    }
}

// The token of a request path "v1/Name/token"; empty for other paths.
std::string tokenOf(const std::string& path) {
    for (const char* p : kServicePaths)
        if (startsWith(path, p)) return path.substr(std::strlen(p));
    return std::string();
}

// The contents of every <LoyltyApiToken ...>...</LoyltyApiToken> (narrow or UTF-16LE).
std::vector<std::pair<std::size_t, std::size_t>> tokenElements(const std::string& conf,
                                                               bool utf16) {
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    const std::string open = utf16 ? wide("<LoyltyApiToken") : "<LoyltyApiToken";
    const std::string gt = utf16 ? wide(">") : ">";
    const std::string lt = utf16 ? wide("<") : "<";
    for (std::size_t p = conf.find(open); p != std::string::npos; p = conf.find(open, p + 1)) {
        const std::size_t from = conf.find(gt, p + open.size());
        if (from == std::string::npos) break;
        // "<LoyltyApiToken/>": no content.
        const std::string slash = utf16 ? wide("/") : "/";
        if (from >= slash.size() && conf.compare(from - slash.size(), slash.size(), slash) == 0)
            continue;
        const std::size_t to = conf.find(lt, from + gt.size());
        if (to == std::string::npos) break;
        spans.emplace_back(from + gt.size(), to);
    }
    return spans;
}

std::string narrowFromWide(const std::string& w) {
    std::string s;
    for (std::size_t i = 0; i + 1 < w.size(); i += 2) s += w[i];
    return s;
}

void learnTokens(const replay::LogEntry& e, StandIns& standIns) {
    if (e.kind == replay::LogEntry::Kind::Answer) standIns.learnToken(tokenOf(e.tag));
    if (e.kind != replay::LogEntry::Kind::Message) return;
    const std::string& m = e.body;
    if (e.tag == L::kWriteConfToLog) {
        for (bool utf16 : {false, true}) {
            for (const auto& span : tokenElements(m, utf16)) {
                const std::string content = m.substr(span.first, span.second - span.first);
                standIns.learnToken(utf16 ? narrowFromWide(content) : content);
            }
        }
        return;
    }
    // By the rows' heads alone: a line cut short still gives its token away.
    for (Event announcing : {Event::TrySend, Event::RetryTo}) {
        const std::vector<std::string_view>& parts = logevent::fixedParts(announcing);
        if (e.tag == logevent::row(announcing).tag &&
            m.compare(0, parts[0].size(), parts[0]) == 0) {
            const std::string rest = m.substr(parts[0].size());
            standIns.learnToken(tokenOf(rest.substr(0, rest.find(parts[1]))));
        }
    }
    for (Event failing : {Event::SendTimedOut, Event::NoExitCode, Event::ReadFailed}) {
        const std::string head(logevent::fixedHead(failing));
        if (e.tag == logevent::row(failing).tag && m.compare(0, head.size(), head) == 0)
            standIns.learnToken(tokenOf(m.substr(head.size())));
    }
}

using Tokens = std::vector<std::pair<std::string, std::string>>;

// Longest first, so that a token that holds another is replaced whole.
Tokens tokensLongestFirst(const StandIns& standIns) {
    Tokens tokens(standIns.tokens().begin(), standIns.tokens().end());
    std::stable_sort(tokens.begin(), tokens.end(),
                     [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
    return tokens;
}

void redactTokens(std::string& text, bool confCopy, const Tokens& tokens, Tally& tally) {
    int places = 0;
    for (const auto& t : tokens) {
        // A short token could be a word of the check: only in a path or conf.xml element.
        if (t.first.size() >= 4) {
            replaceAll(text, t.first, t.second, places);
            if (confCopy) replaceAll(text, wide(t.first), wide(t.second), places);
        } else {
            for (const char* p : kServicePaths) replaceAll(text, p + t.first, p + t.second, places);
            replaceAll(text, ">" + t.first + "<", ">" + t.second + "<", places);
        }
    }
    tally.places[kTokens] += places;
}

// Label: value; lines of a record dump whose texts come from the guest.
void redactDump(std::string& text, StandIns& standIns) {
    static const struct {
        const char* label;
        std::size_t width;
        Msg kind;
    } fields[] = {{"Card_owner: ", 40, kNames},
                  {"Comment: ", 256, kComments},
                  {"Printer_comment: ", 256, kComments}};
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos) lineEnd = text.size();
        for (const auto& f : fields) {
            const std::size_t n = std::strlen(f.label);
            if (text.compare(lineStart, n, f.label) != 0) continue;
            const std::size_t semi = text.rfind(';', lineEnd);
            if (semi == std::string::npos || semi < lineStart + n) break;
            const std::string value = text.substr(lineStart + n, semi - lineStart - n);
            if (value.empty()) break;
            std::string standIn = standIns.knownText(value, f.width);
            if (standIn.empty()) standIn = standIns.text(f.kind, value);  // the host's own text
            text.replace(lineStart + n, value.size(), standIn);
            lineEnd = text.find('\n', lineStart);
            if (lineEnd == std::string::npos) lineEnd = text.size();
            break;
        }
        lineStart = lineEnd + 1;
    }
}

bool knownTag(const std::string& tag) {
    static const std::set<std::string> tags = [] {
        std::set<std::string> t = {L::kInit,
                                   L::kGetCardInfoEx,
                                   L::kTransactionsEx,
                                   L::kClearTheLog,
                                   L::kWriteConfToLog,
                                   L::kGetConfig,
                                   L::kSendRequestWrapper,
                                   L::kSendRequest,
                                   L::kHolderLookup,
                                   L::kSendGetDiscount,
                                   L::kCheckXmlInit,
                                   L::kSetInterface,
                                   L::kLookupResultInfo};
        for (const logevent::Row& row : logevent::rows())
            if (row.tag) t.insert(row.tag);
        return t;
    }();
    return tags.count(tag) != 0;
}

// What a reader takes from a line of another version of the module, kept
// under its stand-in: that it reports an error, and the result it returns
// ("RETURN n" or "RETURNS n", as written).
std::string resultWords(const replay::LogEntry& e) {
    if (e.kind != replay::LogEntry::Kind::Message) return std::string();
    const std::string& m = e.body;
    std::string words;
    if (m.find(logevent::kErrorWord) != std::string::npos ||
        m.find(logevent::kErrorWordMixed) != std::string::npos)
        words += std::string(" ") + logevent::kErrorWord;
    const std::size_t word = std::strlen(logevent::kReturnWord);
    for (std::size_t p = m.find(logevent::kReturnWord); p != std::string::npos;
         p = m.find(logevent::kReturnWord, p + 1)) {
        std::size_t q = p + word;
        if (q < m.size() && m[q] == 'S') ++q;
        if (q >= m.size() || m[q] != ' ') continue;
        ++q;
        if (q < m.size() && m[q] == '-') ++q;
        const std::size_t digits = q;
        while (q < m.size() && isDigit(m[q])) ++q;
        if (q == digits) continue;
        return words + " " + m.substr(p, q - p);
    }
    return words;
}

// The entry's text with its structured places redacted.
std::string redactEntry(const replay::LogEntry& e, StandIns& standIns, Tally& tally) {
    std::string text = e.text;
    // What is none of the module's entries, or none of its lines under one of
    // its tags, may be anything: it is replaced whole, never looked into.
    const bool message = e.kind == replay::LogEntry::Kind::Message;
    if (e.kind == replay::LogEntry::Kind::Other ||
        ((message || e.kind == replay::LogEntry::Kind::Dump) && !knownTag(e.tag)) ||
        (message && !e.event)) {
        ++tally.unplacedTexts;
        const std::string tag = message && knownTag(e.tag) ? e.tag : kUnknownTag;
        return tag + logformat::kTagSeparator + kUnplacedText + resultWords(e) + "\n";
    }
    if (e.kind == replay::LogEntry::Kind::Answer) {
        const std::size_t head = text.find('\n');
        const std::string rest = text.substr(head + 1);
        const bool lineFeed = !rest.empty() && rest.back() == '\n';
        text = text.substr(0, head + 1) + redactReply(e.body, standIns, tally) +
               (lineFeed ? "\n" : "");
    } else if (e.kind == replay::LogEntry::Kind::Dump) {
        redactDump(text, standIns);
    } else if (e.kind == replay::LogEntry::Kind::Message) {
        // Lines that quote the reply they could not accept, by their heads.
        for (const logevent::Row& row : logevent::rows()) {
            if (!row.quotesReply) continue;
            const std::string line(logevent::fixedHead(row.event));
            if (e.tag != row.tag || e.body.compare(0, line.size(), line) != 0) continue;
            const std::size_t at =
                e.tag.size() + std::strlen(logformat::kTagSeparator) + line.size();
            const bool lineFeed = !text.empty() && text.back() == '\n';
            const std::string reply = e.body.substr(line.size());
            if (!reply.empty())
                text = text.substr(0, at) + redactReply(reply, standIns, tally) +
                       (lineFeed ? "\n" : "");
        }
    }
    redactGuestBodies(text, standIns);
    redactCardCodes(text, standIns);
    return text;
}

bool isWordByte(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u >= 0x80 || (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}

// What the structured places gave away, wherever else it stands as whole
// words: one pass over each text, whatever the number of guests in the log.
class KnownValues {
  public:
    KnownValues(const StandIns& standIns) {
        for (const auto& t : standIns.texts()) {
            if (t.first.size() < 4) continue;
            const Msg kind = standIns.kindOf(t.first);
            add(t.first, t.second, kind);
            const std::string utf8 = cp1251ToUtf8(t.first);
            if (utf8 != t.first) add(utf8, t.second, kind);
        }
        for (auto& byWord : patterns_) {
            // Longest first, so that a full name goes before the names it holds.
            std::stable_sort(
                byWord.second.begin(), byWord.second.end(),
                [](const Pattern& x, const Pattern& y) { return x.value.size() > y.value.size(); });
        }
        for (const auto& n : standIns.numbers()) {
            const std::string from = std::to_string(n.first);
            if (from.size() >= 6) numbers_[from] = std::to_string(n.second);
        }
    }

    void apply(std::string& text, Tally& tally) const {
        std::string out;
        bool changed = false;
        std::size_t copied = 0;
        for (std::size_t p = 0; p < text.size();) {
            if (!isWordByte(text[p]) || (p > 0 && isWordByte(text[p - 1]))) {
                ++p;
                continue;
            }
            std::size_t wordEnd = p;
            while (wordEnd < text.size() && isWordByte(text[wordEnd])) ++wordEnd;
            const std::string word = text.substr(p, wordEnd - p);
            const Pattern* hit = nullptr;
            std::string numberStandIn;
            const auto it = patterns_.find(word);
            if (it != patterns_.end()) {
                for (const Pattern& c : it->second) {
                    const std::size_t end = p + c.value.size();
                    if (text.compare(p, c.value.size(), c.value) == 0 &&
                        (end == text.size() || !isWordByte(text[end]) ||
                         !isWordByte(c.value.back()))) {
                        hit = &c;
                        break;
                    }
                }
            }
            std::size_t length = 0;
            const std::string* to = nullptr;
            if (hit) {
                length = hit->value.size();
                to = &hit->standIn;
                ++tally.places[hit->kind];
            } else if (const auto n = numbers_.find(word); n != numbers_.end()) {
                length = word.size();
                to = &n->second;
                ++tally.places[kNumbers];
            }
            if (!to) {
                p = wordEnd;
                continue;
            }
            out.append(text, copied, p - copied);
            out += *to;
            copied = p + length;
            changed = true;
            p = copied;
        }
        if (changed) {
            out.append(text, copied, std::string::npos);
            text.swap(out);
        }
    }

  private:
    struct Pattern {
        std::string value, standIn;
        Msg kind;
    };
    void add(const std::string& value, const std::string& standIn, Msg kind) {
        std::size_t first = 0;
        while (first < value.size() && isWordByte(value[first])) ++first;
        // A value that does not start with a letter or digit is left to its structured places.
        if (first == 0) return;
        patterns_[value.substr(0, first)].push_back({value, standIn, kind});
    }
    std::map<std::string, std::vector<Pattern>> patterns_;  // by their first word
    std::map<std::string, std::string> numbers_;
};

std::string withCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

}  // namespace

std::string redactLog(const std::string& logBytes, Tally& tally) {
    tally = Tally();
    const std::vector<replay::LogEntry> entries = replay::splitEntries(logBytes);
    StandIns standIns(tally);
    for (const replay::LogEntry& e : entries) learnTokens(e, standIns);
    // The tokens learnt are counted as places where they are replaced.
    tally.places[kTokens] = 0;

    {
        // A first pass learns which numbers the log holds.
        Tally scratch;
        StandIns scout(scratch);
        for (const replay::LogEntry& e : entries) redactEntry(e, scout, scratch);
        standIns.avoid(scout.numbers());
    }
    std::vector<std::string> texts;
    texts.reserve(entries.size());
    for (const replay::LogEntry& e : entries) texts.push_back(redactEntry(e, standIns, tally));

    const KnownValues known(standIns);
    const Tokens tokens = tokensLongestFirst(standIns);
    std::string out;
    out.reserve(logBytes.size());
    tally.droppedHead = entries.empty() ? logBytes.size() : entries.front().begin;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const replay::LogEntry& e = entries[i];
        std::string& text = texts[i];
        const bool confCopy =
            e.kind == replay::LogEntry::Kind::Message && e.tag == L::kWriteConfToLog;
        redactTokens(text, confCopy, tokens, tally);
        known.apply(text, tally);
        if (text == e.text) {
            out.append(logBytes, e.begin, e.end - e.begin);
        } else {
            // Written back as the till wrote it: CR LF where its lines had them.
            const std::string raw = logBytes.substr(e.begin, e.end - e.begin);
            const bool crlf = raw.find("\r\n") != std::string::npos;
            out += logformat::framedStamp(e.stamp);
            out += crlf ? withCrLf(text) : text;
        }
        if (e.damagedAfter > 0) {
            // A damaged stretch is never copied: one zero byte keeps the next
            // entry apart, as the stretch did.
            ++tally.damagedStretches;
            tally.damagedBytes += e.damagedAfter;
            out += '\0';
        }
    }
    // The copy is checked before anyone writes it: no token and no value
    // replaced anywhere may be left in it.
    {
        std::string check = out;
        Tally scratch;
        known.apply(check, scratch);
        tally.leftOver = check != out;
        for (const auto& t : tokens)
            if (t.first.size() >= 4 && out.find(t.first) != std::string::npos)
                tally.leftOver = true;
    }
    for (auto it = tally.places.begin(); it != tally.places.end();) {
        it = it->second == 0 ? tally.places.erase(it) : std::next(it);
    }
    return out;
}

std::string tallyText(const Tally& tally, const Catalog& catalog) {
    auto count = [&](PluralMsg id, std::size_t n) {
        return formatPlural(catalog, id, n, {{"count", std::to_string(n)}});
    };
    std::string t;
    for (Msg kind : kKinds) {
        const auto p = tally.places.find(kind);
        if (p == tally.places.end()) continue;
        const auto v = tally.values.find(kind);
        t += formatMessage(
            catalog, Msg::redact_replaced,
            {{"kind", formatMessage(catalog, kind)},
             {"count", std::to_string(p->second)},
             {"values", v == tally.values.end() ? std::string()
                                                : count(PluralMsg::redact_values, v->second)}});
    }
    if (tally.droppedMembers > 0)
        t += formatMessage(catalog, Msg::redact_members_removed,
                           {{"count", std::to_string(tally.droppedMembers)}});
    if (tally.unreadableReplies > 0)
        t += formatMessage(catalog, Msg::redact_replies_removed,
                           {{"count", std::to_string(tally.unreadableReplies)}});
    if (tally.droppedHead > 0)
        t += formatMessage(catalog, Msg::redact_head_removed,
                           {{"bytes", count(PluralMsg::redact_bytes, tally.droppedHead)}});
    if (tally.unplacedTexts > 0)
        t += formatMessage(catalog, Msg::redact_texts_removed,
                           {{"count", std::to_string(tally.unplacedTexts)}});
    if (tally.damagedStretches > 0)
        t += formatMessage(catalog, Msg::redact_damage_removed,
                           {{"count", std::to_string(tally.damagedStretches)},
                            {"bytes", count(PluralMsg::redact_bytes, tally.damagedBytes)}});
    if (t.empty()) t = formatMessage(catalog, Msg::redact_nothing);
    return t;
}

}  // namespace redact
