// brisvane.log -> entries. An entry starts with "[MM-DD-YYYY HH:MM:SS] " (or
// "[] " when the clock could not be read) at the start of a line, or right
// after the "NULL" of a dump of an absent record, which ends without a line feed.
#include <algorithm>
#include <cstring>

#include "log/LogPhrases.h"
#include "logread/LogCalls.h"
#include "text/Prefix.h"

namespace replay {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the stamp at p ("[...] "), or 0 when there is none.
std::size_t stampAt(const std::string& s, std::size_t p) {
    static const char shape[] = "[dd-dd-dddd dd:dd:dd] ";
    const std::size_t n = sizeof shape - 1;
    if (s.compare(p, 3, "[] ") == 0) return 3;
    if (p + n > s.size()) return 0;
    for (std::size_t i = 0; i < n; ++i) {
        const char want = shape[i];
        if (want == 'd' ? !isDigit(s[p + i]) : s[p + i] != want) return 0;
    }
    return n;
}

// The file's CR LF (text mode) back to the LF the module wrote; `dropped`
// receives where each removed CR stood in the result, to map back to bytes.
std::string withLineFeeds(const std::string& bytes, std::vector<std::size_t>& dropped) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            dropped.push_back(out.size());
            continue;
        }
        out += bytes[i];
    }
    return out;
}

// A position in the LF text as a byte offset in the log: past every CR
// dropped before it.
std::size_t byteOffset(const std::vector<std::size_t>& dropped, std::size_t at) {
    return at + static_cast<std::size_t>(std::upper_bound(dropped.begin(), dropped.end(), at) -
                                         dropped.begin());
}

bool entryStartsAt(const std::string& s, std::size_t p) {
    if (stampAt(s, p) == 0) return false;
    if (p == 0 || s[p - 1] == '\n') return true;
    static const std::string nullDump =
        std::string(logphrase::kDumpHead) + logphrase::kDumpOfNoRecord;
    const std::size_t n = nullDump.size();
    return p >= n && s.compare(p - n, n, nullDump) == 0;
}

LogEntry parseEntry(std::string text) {
    LogEntry e;
    const std::size_t headEnd = text.find('\n');
    const std::string head = text.substr(0, headEnd);
    const std::string rest =
        headEnd == std::string::npos ? std::string() : text.substr(headEnd + 1);
    auto withoutFinalLineFeed = [](std::string t) {
        if (!t.empty() && t.back() == '\n') t.pop_back();
        return t;
    };
    static const std::size_t answerHead = std::strlen(logphrase::kAnswerFromUrl);
    static const std::size_t parseHead = std::strlen(logphrase::kParseXmlFrom);
    if (startsWith(head, logphrase::kAnswerFromUrl) && head.size() > answerHead &&
        head.back() == ' ') {
        e.kind = LogEntry::Kind::Answer;
        e.tag = head.substr(answerHead, head.size() - answerHead - 1);
        e.body = withoutFinalLineFeed(rest);
    } else if (startsWith(head, logphrase::kParseXmlFrom) && head.size() > parseHead &&
               head.back() == ' ') {
        e.kind = LogEntry::Kind::ParsedXml;
        e.tag = head.substr(parseHead, head.size() - parseHead - 1);
        e.body = withoutFinalLineFeed(rest);
    } else if (const std::size_t sep = text.find(" : "); sep != std::string::npos) {
        e.tag = text.substr(0, sep);
        e.body = text.substr(sep + 3);
        if (e.tag.find('\n') != std::string::npos) {
            e.kind = LogEntry::Kind::Other;
        } else if (startsWith(e.body, logphrase::kDumpHead)) {
            e.kind = LogEntry::Kind::Dump;
            e.body.erase(0, std::strlen(logphrase::kDumpHead));
        } else {
            e.kind = LogEntry::Kind::Message;
            e.body = withoutFinalLineFeed(e.body);
        }
    }
    e.text = std::move(text);
    return e;
}

}  // namespace

std::vector<LogEntry> splitEntries(const std::string& logBytes) {
    std::vector<std::size_t> dropped;
    const std::string s = withLineFeeds(logBytes, dropped);
    std::vector<std::size_t> starts;
    for (std::size_t p = s.find('['); p != std::string::npos; p = s.find('[', p + 1)) {
        if (entryStartsAt(s, p)) starts.push_back(p);
    }
    std::vector<LogEntry> entries;
    entries.reserve(starts.size());
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t from = starts[i] + stampAt(s, starts[i]);
        const std::size_t to = i + 1 < starts.size() ? starts[i + 1] : s.size();
        LogEntry e = parseEntry(s.substr(from, to - from));
        e.stamp = s.substr(starts[i] + 1, from - starts[i] - 3);
        e.begin = byteOffset(dropped, starts[i]);
        e.end = i + 1 < starts.size() ? byteOffset(dropped, to) : logBytes.size();
        entries.push_back(std::move(e));
    }
    return entries;
}

}  // namespace replay
