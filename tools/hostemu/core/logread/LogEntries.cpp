// brisvane.log -> entries. An entry starts with "[MM-DD-YYYY HH:MM:SS] " (or
// "[] " when the clock could not be read; see stampSeconds for the forms that
// earlier brisvane.dll versions wrote) at the start of a line, or right after
// the "NULL" of a dump of an absent record, which ends without a line feed.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "log/LogPhrases.h"
#include "logread/LogCalls.h"
#include "text/Prefix.h"

namespace replay {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the stamp at p ("[...] "), or 0 when there is none.
std::size_t stampAt(const std::string& s, std::size_t p) {
    if (s.compare(p, 3, "[] ") == 0) return 3;
    // No further than the longest form, "[MM-DD-YYYY HH:MM:SS PM] ": a reply of
    // nested arrays holds a '[' at every byte.
    const std::size_t limit = std::min(s.size(), p + 24);
    std::size_t close = p + 1;
    while (close < limit && s[close] != ']') ++close;
    if (s.compare(p, 1, "[") != 0 || close >= limit || close + 1 >= s.size() || s[close + 1] != ' ')
        return 0;
    return stampSeconds(s.substr(p + 1, close - p - 1)) >= 0 ? close + 2 - p : 0;
}

// Up to five digits at `at` into `value`; how many there were.
std::size_t digitsAt(const std::string& s, std::size_t at, long& value) {
    std::size_t n = 0;
    for (value = 0; at + n < s.size() && n < 5 && isDigit(s[at + n]); ++n)
        value = value * 10 + (s[at + n] - '0');
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

long long stampSeconds(const std::string& stamp) {
    // MM-DD-YYYY, then H:MM:SS or HH:MM:SS, then nothing, " AM" or " PM".
    long month = 0, day = 0, year = 0, h = 0, mi = 0, sec = 0;
    std::size_t p = 0;
    auto field = [&](long& v, std::size_t least, std::size_t most, char after) {
        const std::size_t n = digitsAt(stamp, p, v);
        if (n < least || n > most) return false;
        p += n;
        if (after == '\0') return true;
        if (p >= stamp.size() || stamp[p] != after) return false;
        ++p;
        return true;
    };
    if (!field(month, 2, 2, '-') || !field(day, 2, 2, '-') || !field(year, 4, 4, ' ') ||
        !field(h, 1, 2, ':') || !field(mi, 2, 2, ':') || !field(sec, 2, 2, '\0'))
        return -1;
    const std::string rest = stamp.substr(p);
    if (rest == " AM" || rest == " PM") {
        if (h < 1 || h > 12) return -1;
        h = h % 12 + (rest == " PM" ? 12 : 0);
    } else if (!rest.empty()) {
        return -1;
    }
    if (month < 1 || month > 12 || day < 1 || day > 31 || h > 23 || mi > 59 || sec > 60) return -1;
    // Days from the civil date (proleptic Gregorian calendar).
    const long y = year - (month <= 2);
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long long days = static_cast<long long>(era) * 146097 + doe - 719468;
    return days * 86400 + h * 3600 + mi * 60 + sec;
}

std::string unreadableStamp(const std::string& logBytes) {
    for (std::size_t p = 0; p < logBytes.size();) {
        const std::size_t eol = std::min(logBytes.find('\n', p), logBytes.size());
        const std::string_view line(logBytes.data() + p, eol - p);
        const std::size_t close = line.substr(0, 42).find("] ");
        if (!line.empty() && line[0] == '[' && close != std::string_view::npos &&
            line.find(" : ", close) != std::string_view::npos)
            return std::string(line.substr(1, close - 1));
        p = eol + 1;
    }
    return std::string();
}

std::string unreadableStampReason(const std::string& logBytes, const Catalog& catalog) {
    const std::string stamp = unreadableStamp(logBytes);
    if (stamp.empty()) return std::string();
    return formatMessage(catalog, "replay.unreadable-stamps", {{"stamp", stamp}});
}

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
