#include "log/LogFormat.h"

#include <algorithm>
#include <cstring>

namespace logformat {

namespace {

// `value` in decimal, zero-padded to at least `width` digits.
void appendDigits(std::string& out, unsigned value, std::size_t width) {
    char digits[10];
    std::size_t n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    out.append(width > n ? width - n : 0, '0');
    while (n > 0) out += digits[--n];
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Up to five digits at `at` into `value`; how many there were.
std::size_t digitsAt(std::string_view s, std::size_t at, long& value) {
    std::size_t n = 0;
    for (value = 0; at + n < s.size() && n < 5 && isDigit(s[at + n]); ++n)
        value = value * 10 + (s[at + n] - '0');
    return n;
}

bool startsWith(std::string_view s, std::string_view head) {
    return s.size() >= head.size() && s.compare(0, head.size(), head) == 0;
}

std::string joined(std::initializer_list<std::string_view> parts) {
    std::size_t size = 0;
    for (std::string_view p : parts) size += p.size();
    std::string out;
    out.reserve(size);
    for (std::string_view p : parts) out.append(p.data(), p.size());
    return out;
}

}  // namespace

// Formatted here rather than by the C runtime's strftime: the DLL shares
// msvcrt.dll, and its locale, with the host, whose setlocale would turn %X
// into "3:24:17 PM" or "9:05:09"; and msvcrt's time_t runs out in 2038.
std::string stampText(const platform::LocalTime& time) {
    std::string stamp;
    stamp.reserve(19);
    appendDigits(stamp, time.month, 2);
    stamp += '-';
    appendDigits(stamp, time.day, 2);
    stamp += '-';
    appendDigits(stamp, time.year, 4);
    stamp += ' ';
    appendDigits(stamp, time.hour, 2);
    stamp += ':';
    appendDigits(stamp, time.minute, 2);
    stamp += ':';
    appendDigits(stamp, time.second, 2);
    return stamp;
}

std::string framedStamp(std::string_view stamp) { return joined({kStampOpen, stamp, kStampClose}); }

std::string messageHead(std::string_view stamp, std::string_view tag) {
    return joined({kStampOpen, stamp, kStampClose, tag, kTagSeparator});
}

std::string answerHead(std::string_view stamp, std::string_view path) {
    return joined({kStampOpen, stamp, kStampClose, kAnswerFromUrl, path, kHeadEnd});
}

std::string parsedXmlHead(std::string_view stamp, std::string_view tag) {
    return joined({kStampOpen, stamp, kStampClose, kParseXmlFrom, tag, kHeadEnd});
}

std::string dumpHead(std::string_view stamp, std::string_view tag) {
    return joined({kStampOpen, stamp, kStampClose, tag, kTagSeparator, kDumpHead});
}

long long stampSeconds(std::string_view stamp) {
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
        return kNoStamp;
    const std::string_view rest = stamp.substr(p);
    if (rest == " AM" || rest == " PM") {
        if (h < 1 || h > 12) return kNoStamp;
        h = h % 12 + (rest == " PM" ? 12 : 0);
    } else if (!rest.empty()) {
        return kNoStamp;
    }
    if (month < 1 || month > 12 || day < 1 || day > 31 || h > 23 || mi > 59 || sec > 60)
        return kNoStamp;
    // Days from the civil date (proleptic Gregorian calendar).
    const long y = year - (month <= 2);
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long long days = static_cast<long long>(era) * 146097 + doe - 719468;
    return days * 86400 + h * 3600 + mi * 60 + sec;
}

std::size_t framedStampLength(std::string_view s, std::size_t p) {
    long long seconds;
    return framedStampLength(s, p, seconds);
}

std::size_t framedStampLength(std::string_view s, std::size_t p, long long& seconds) {
    static const std::string empty = framedStamp("");
    seconds = kNoStamp;
    if (s.compare(p, empty.size(), empty) == 0) return empty.size();
    // No further than the longest form, "[MM-DD-YYYY HH:MM:SS PM] ": a reply of
    // nested arrays holds a '[' at every byte.
    const std::size_t limit = std::min(s.size(), p + 24);
    std::size_t close = p + 1;
    while (close < limit && s[close] != kStampClose[0]) ++close;
    if (s.compare(p, 1, kStampOpen) != 0 || close >= limit || close + 1 >= s.size() ||
        s[close + 1] != kStampClose[1])
        return 0;
    seconds = stampSeconds(s.substr(p + 1, close - p - 1));
    return seconds != kNoStamp ? close + 2 - p : 0;
}

bool entryMayStartAt(std::string_view s, std::size_t p) {
    // After a line end of any kind, or after the zero bytes a power cut
    // leaves where the file had grown but its data was never written.
    if (p == 0 || s[p - 1] == '\n' || s[p - 1] == '\r' || s[p - 1] == '\0') return true;
    const std::size_t null = std::strlen(kDumpOfNoRecord);
    if (p < null || s.compare(p - null, null, kDumpOfNoRecord) != 0) return false;
    // "Info - " and its line end (LF, CR LF or CR) before the "NULL".
    std::string_view head = s.substr(0, p - null);
    if (!head.empty() && head.back() == '\n') head.remove_suffix(1);
    if (!head.empty() && head.back() == '\r') head.remove_suffix(1);
    static const std::string_view info(kDumpHead, std::strlen(kDumpHead) - 1);
    return head.size() >= info.size() && head.substr(head.size() - info.size()) == info;
}

bool entryStartsAt(std::string_view s, std::size_t p) {
    return framedStampLength(s, p) != 0 && entryMayStartAt(s, p);
}

std::string firstFramedStamp(std::string_view log) {
    for (std::size_t p = 0; p < log.size();) {
        const std::size_t eol = std::min(log.find('\n', p), log.size());
        const std::string_view line(log.data() + p, eol - p);
        const std::size_t close = line.substr(0, 42).find(kStampClose);
        if (startsWith(line, kStampOpen) && close != std::string_view::npos &&
            line.find(kTagSeparator, close) != std::string_view::npos)
            return std::string(line.substr(1, close - 1));
        p = eol + 1;
    }
    return std::string();
}

EntryView viewEntry(std::string_view text) {
    EntryView e;
    const std::size_t headEnd = text.find('\n');
    const std::string_view head = text.substr(0, headEnd);
    const std::string_view rest =
        headEnd == std::string_view::npos ? std::string_view() : text.substr(headEnd + 1);
    auto withoutFinalLineFeed = [](std::string_view t) {
        if (!t.empty() && t.back() == '\n') t.remove_suffix(1);
        return t;
    };
    static const std::size_t answerHead = std::strlen(kAnswerFromUrl);
    static const std::size_t parseHead = std::strlen(kParseXmlFrom);
    const char blank = kHeadEnd[0];
    if (startsWith(head, kAnswerFromUrl) && head.size() > answerHead && head.back() == blank) {
        e.kind = EntryKind::Answer;
        e.tag = head.substr(answerHead, head.size() - answerHead - 1);
        e.body = withoutFinalLineFeed(rest);
    } else if (startsWith(head, kParseXmlFrom) && head.size() > parseHead && head.back() == blank) {
        e.kind = EntryKind::ParsedXml;
        e.tag = head.substr(parseHead, head.size() - parseHead - 1);
        e.body = withoutFinalLineFeed(rest);
    } else if (const std::size_t sep = text.find(kTagSeparator); sep != std::string_view::npos) {
        e.tag = text.substr(0, sep);
        e.body = text.substr(sep + std::strlen(kTagSeparator));
        if (e.tag.find('\n') != std::string_view::npos) {
            e.kind = EntryKind::Other;
        } else if (startsWith(e.body, kDumpHead)) {
            e.kind = EntryKind::Dump;
            e.body.remove_prefix(std::strlen(kDumpHead));
        } else {
            e.kind = EntryKind::Message;
            e.body = withoutFinalLineFeed(e.body);
        }
    }
    return e;
}

EntryParts parseEntry(std::string_view text) {
    const EntryView view = viewEntry(text);
    return {view.kind, std::string(view.tag), std::string(view.body)};
}

}  // namespace logformat
