// brisvane.log -> entries, framed and stamped as log/LogFormat.h reads them.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "log/LogFormat.h"
#include "logread/LogCalls.h"

namespace replay {

namespace {

// A run of zero bytes this long is never the module's: a conf.xml copy in
// UTF-16 holds at most two in a row.
const std::size_t kDamagingZeros = 4;

// What deciding whether an entry starts at a '[' looks at around it: the
// longest framed stamp after it, "Info - \r\nNULL" before it.
const std::size_t kLookAhead = 32;
const std::size_t kLookBack = 16;

// The first `c` in [from, to), or null: memchr's work a word at a time. The
// reader looks at each byte of a log more than once, and the C runtime's
// memchr under Wine goes byte by byte.
const char* findByte(const char* from, const char* to, char c) {
    using Word = std::size_t;
    while (from < to && reinterpret_cast<std::uintptr_t>(from) % sizeof(Word) != 0) {
        if (*from == c) return from;
        ++from;
    }
    const Word ones = ~Word(0) / 0xFF, highs = ones << 7;
    const Word pattern = ones * static_cast<unsigned char>(c);
    for (; to - from >= static_cast<std::ptrdiff_t>(sizeof(Word)); from += sizeof(Word)) {
        Word w;
        std::memcpy(&w, from, sizeof w);
        w ^= pattern;  // a zero byte where `c` is
        if (((w - ones) & ~w & highs) != 0) break;
    }
    for (; from < to; ++from)
        if (*from == c) return from;
    return nullptr;
}

// Where the entry's own bytes in [from, to) end: at a run of zero bytes that
// a power cut left (one that long, or one that runs up to the next entry or
// the file's end); `to` when there is none.
std::size_t damageStart(const std::string& bytes, std::size_t from, std::size_t to) {
    // Searched within the entry only: a search to the end of the log for each
    // entry made a big log's reading grow with the square of its size.
    for (std::size_t i = from; i < to;) {
        const char* zero = findByte(bytes.data() + i, bytes.data() + to, '\0');
        if (zero == nullptr) return to;
        i = static_cast<std::size_t>(zero - bytes.data());
        std::size_t j = i;
        while (j < to && bytes[j] == '\0') ++j;
        if (j - i >= kDamagingZeros || j == to) return i;
        i = j;
    }
    return to;
}

// The entry's bytes with its line ends as the module wrote them: the file's
// CR LF (text mode) back to LF; an entry whose lines end in CR alone (a copy
// whose line ends were converted) with LF in their place. One pass in runs
// between CRs; an entry without a line feed, known only at its end, then has
// each CR turned into one.
void withLineFeeds(const char* from, const char* to, std::string& out) {
    out.clear();
    out.reserve(static_cast<std::size_t>(to - from));
    bool lineFeed = false;
    while (from < to) {
        const char* cr = findByte(from, to, '\r');
        const char* runEnd = cr == nullptr ? to : cr;
        out.append(from, runEnd);
        if (cr == nullptr) break;
        if (cr + 1 < to && cr[1] == '\n') {
            lineFeed = true;  // the CR dropped, its LF starts the next run
        } else {
            out += '\r';
        }
        from = cr + 1;
    }
    if (!lineFeed && findByte(out.data(), out.data() + out.size(), '\n') == nullptr)
        std::replace(out.begin(), out.end(), '\r', '\n');
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

ByteSource bytesOf(const std::string& bytes) {
    std::size_t at = 0;
    return [&bytes, at](char* into, std::size_t size) mutable {
        const std::size_t n = std::min(size, bytes.size() - at);
        std::memcpy(into, bytes.data() + at, n);
        at += n;
        return n;
    };
}

EntryReader::EntryReader(ByteSource source, std::size_t piece)
    : source_(std::move(source)), piece_(std::max<std::size_t>(piece, 1)) {}

// The buffer holds the log from the open entry's start (before the first
// entry: from where the search stands) and kLookBack bytes before that; the
// rest is dropped as the log is read. Positions in it are the log's less
// base_, and less hole_ more beyond the open entry's damage.
bool EntryReader::fill() {
    if (end_) return false;
    const std::size_t keep = open_ != std::string::npos ? open_ : scan_;
    if (keep > kLookBack) {
        const std::size_t drop = keep - kLookBack;
        buffer_.erase(0, drop);
        base_ += drop;
        scan_ -= drop;
        if (open_ != std::string::npos) open_ -= drop, zeros_ -= drop;
        if (damage_ != std::string::npos) damage_ -= drop;
    }
    if (open_ != std::string::npos) keepDamageOut();
    const std::size_t had = buffer_.size();
    buffer_.resize(had + piece_);
    const std::size_t n = source_(&buffer_[had], piece_);
    buffer_.resize(had + n);
    end_ = n < piece_;
    return true;
}

// Where the open entry's damage starts, as far as the search has gone (a run
// of zero bytes that long; a shorter one is judged once what follows it is
// read); then what the search has passed of the damage is dropped, counted,
// so that a damaged stretch is never held whole.
void EntryReader::keepDamageOut() {
    while (damage_ == std::string::npos && zeros_ < scan_) {
        const char* zero = findByte(buffer_.data() + zeros_, buffer_.data() + scan_, '\0');
        if (zero == nullptr) {
            zeros_ = scan_;
            break;
        }
        const std::size_t i = static_cast<std::size_t>(zero - buffer_.data());
        std::size_t j = i;
        while (j < scan_ && buffer_[j] == '\0') ++j;
        if (j - i >= kDamagingZeros) {
            damage_ = i;
        } else {
            zeros_ = j < scan_ ? j : i;
            if (j == scan_) break;
        }
    }
    if (damage_ == std::string::npos || scan_ <= damage_ + kLookBack) return;
    const std::size_t passed = scan_ - kLookBack - damage_;
    buffer_.erase(damage_, passed);
    hole_ += passed;
    scan_ -= passed;
}

bool EntryReader::next(LogEntry& entry) {
    for (;;) {
        const char* found = findByte(buffer_.data() + std::min(scan_, buffer_.size()),
                                     buffer_.data() + buffer_.size(), logformat::kStampOpen[0]);
        if (found == nullptr) {
            scan_ = buffer_.size();
            if (fill()) continue;
            if (open_ == std::string::npos) return false;
            take(buffer_.size(), entry);
            open_ = std::string::npos;
            return true;
        }
        std::size_t p = static_cast<std::size_t>(found - buffer_.data());
        if (!end_ && buffer_.size() - p < kLookAhead) {
            scan_ = p;
            fill();
            continue;
        }
        scan_ = p + 1;
        // At the buffer's start only when that is the log's (kLookBack kept
        // before). What precedes first: most '[' are in replies and checks.
        if (!logformat::entryMayStartAt(buffer_, p)) continue;
        long long seconds;
        const std::size_t stampLength = logformat::framedStampLength(buffer_, p, seconds);
        if (stampLength == 0) continue;
        const bool taken = open_ != std::string::npos;
        if (taken) take(p, entry);
        if (hole_ > 0) {
            // The damage dropped lies before the new entry: the buffer from its look-back on.
            const std::size_t drop = p - kLookBack;
            buffer_.erase(0, drop);
            base_ += drop + hole_;
            hole_ = 0;
            p -= drop;
            scan_ -= drop;
        }
        open_ = p;
        openStamp_ = stampLength;
        openSeconds_ = seconds;
        zeros_ = p + stampLength;
        damage_ = std::string::npos;
        if (taken) return true;
    }
}

void EntryReader::take(std::size_t next, LogEntry& e) {
    const std::size_t start = open_, textStart = open_ + openStamp_;
    const std::size_t end =
        damage_ != std::string::npos ? damage_ : damageStart(buffer_, textStart, next);
    withLineFeeds(buffer_.data() + textStart, buffer_.data() + end, e.text);
    // Into the entry's own strings, whose storage a reused entry keeps.
    const logformat::EntryView parts = logformat::viewEntry(e.text);
    e.kind = parts.kind;
    e.tag.assign(parts.tag.data(), parts.tag.size());
    e.body.assign(parts.body.data(), parts.body.size());
    if (e.kind == LogEntry::Kind::Message) {
        logevent::match(e.tag, e.body, e.event);
    } else {
        e.event.row = nullptr;
        e.event.args.clear();
    }
    e.stamp.assign(buffer_, start + 1, openStamp_ - 1 - std::strlen(logformat::kStampClose));
    e.seconds = openSeconds_;
    e.begin = base_ + start;
    e.end = base_ + end;
    e.damagedAfter = next + hole_ - end;
    ++entries_;
}

std::vector<LogEntry> splitEntries(const std::string& logBytes) {
    std::vector<LogEntry> entries;
    EntryReader reader(bytesOf(logBytes));
    LogEntry e;
    while (reader.next(e)) entries.push_back(std::move(e));
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
