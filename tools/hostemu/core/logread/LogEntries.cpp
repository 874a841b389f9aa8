// brisvane.log -> entries, framed and stamped as log/LogFormat.h reads them.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "log/LogFormat.h"
#include "logread/LogCalls.h"

namespace replay {

namespace {

// A run of zero bytes this long is never the module's: a conf.xml copy in
// UTF-16 holds at most two in a row.
const std::size_t kDamagingZeros = 4;

// Where the entry's own bytes in [from, to) end: at a run of zero bytes that
// a power cut left (one that long, or one that runs up to the next entry or
// the file's end); `to` when there is none.
std::size_t damageStart(const std::string& bytes, std::size_t from, std::size_t to) {
    // Searched within the entry only: a search to the end of the log for each
    // entry made a big log's reading grow with the square of its size.
    for (std::size_t i = from; i < to;) {
        const void* zero = std::memchr(bytes.data() + i, '\0', to - i);
        if (zero == nullptr) return to;
        i = static_cast<std::size_t>(static_cast<const char*>(zero) - bytes.data());
        std::size_t j = i;
        while (j < to && bytes[j] == '\0') ++j;
        if (j - i >= kDamagingZeros || j == to) return i;
        i = j;
    }
    return to;
}

// The entry's bytes with its line ends as the module wrote them: the file's
// CR LF (text mode) back to LF; an entry whose lines end in CR alone (a copy
// whose line ends were converted) with LF in their place.
std::string withLineFeeds(const std::string& bytes, std::size_t from, std::size_t to) {
    const bool crOnly = to <= from || std::memchr(bytes.data() + from, '\n', to - from) == nullptr;
    std::string out;
    out.reserve(to - from);
    for (std::size_t i = from; i < to; ++i) {
        if (bytes[i] == '\r') {
            if (crOnly) {
                out += '\n';
                continue;
            }
            if (i + 1 < to && bytes[i + 1] == '\n') continue;
        }
        out += bytes[i];
    }
    return out;
}

}  // namespace

std::string unreadableStamp(const std::string& logBytes) {
    return logformat::firstFramedStamp(logBytes);
}

std::string unreadableStampReason(const std::string& logBytes, const Catalog& catalog) {
    const std::string stamp = unreadableStamp(logBytes);
    if (stamp.empty()) return std::string();
    return formatMessage(catalog, Msg::replay_unreadable_stamps, {{"stamp", stamp}});
}

std::vector<LogEntry> splitEntries(const std::string& logBytes) {
    std::vector<std::size_t> starts;
    for (std::size_t p = logBytes.find(logformat::kStampOpen); p != std::string::npos;
         p = logBytes.find(logformat::kStampOpen, p + 1)) {
        if (logformat::entryStartsAt(logBytes, p)) starts.push_back(p);
    }
    std::vector<LogEntry> entries;
    entries.reserve(starts.size());
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t stampLength = logformat::framedStampLength(logBytes, starts[i]);
        const std::size_t next = i + 1 < starts.size() ? starts[i + 1] : logBytes.size();
        const std::size_t end = damageStart(logBytes, starts[i] + stampLength, next);
        LogEntry e;
        e.text = withLineFeeds(logBytes, starts[i] + stampLength, end);
        logformat::EntryParts parts = logformat::parseEntry(e.text);
        e.kind = parts.kind;
        e.tag = std::move(parts.tag);
        e.body = std::move(parts.body);
        if (e.kind == LogEntry::Kind::Message) e.event = logevent::match(e.tag, e.body);
        e.stamp =
            logBytes.substr(starts[i] + 1, stampLength - 1 - std::strlen(logformat::kStampClose));
        e.begin = starts[i];
        e.end = end;
        e.damagedAfter = next - end;
        entries.push_back(std::move(e));
    }
    return entries;
}

Damage damageOf(const std::vector<LogEntry>& entries) {
    Damage d;
    for (const LogEntry& e : entries) {
        if (e.damagedAfter == 0) continue;
        ++d.stretches;
        d.bytes += e.damagedAfter;
    }
    return d;
}

}  // namespace replay
