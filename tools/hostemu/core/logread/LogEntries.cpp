// brisvane.log -> entries, framed and stamped as log/LogFormat.h reads them.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "log/LogFormat.h"
#include "logread/LogCalls.h"

namespace replay {

namespace {

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

}  // namespace

std::string unreadableStamp(const std::string& logBytes) {
    return logformat::firstFramedStamp(logBytes);
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
    for (std::size_t p = s.find(logformat::kStampOpen); p != std::string::npos;
         p = s.find(logformat::kStampOpen, p + 1)) {
        if (logformat::entryStartsAt(s, p)) starts.push_back(p);
    }
    std::vector<LogEntry> entries;
    entries.reserve(starts.size());
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t from = starts[i] + logformat::framedStampLength(s, starts[i]);
        const std::size_t to = i + 1 < starts.size() ? starts[i + 1] : s.size();
        LogEntry e;
        e.text = s.substr(from, to - from);
        logformat::EntryParts parts = logformat::parseEntry(e.text);
        e.kind = parts.kind;
        e.tag = std::move(parts.tag);
        e.body = std::move(parts.body);
        if (e.kind == LogEntry::Kind::Message) e.event = logevent::match(e.tag, e.body);
        e.stamp =
            s.substr(starts[i] + 1, from - starts[i] - 1 - std::strlen(logformat::kStampClose));
        e.begin = byteOffset(dropped, starts[i]);
        e.end = i + 1 < starts.size() ? byteOffset(dropped, to) : logBytes.size();
        entries.push_back(std::move(e));
    }
    return entries;
}

}  // namespace replay
