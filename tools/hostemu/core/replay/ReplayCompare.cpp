// Pointing a recorded conf.xml at the replay's server, and comparing what a
// replayed call did with what the log recorded.
#include "replay/ReplayCompare.h"

#include <cstring>
#include <pugixml.hpp>

#include "config/Config.h"
#include "config/Token.h"
#include "log/LogEvents.h"
#include "logread/LogCalls.h"

namespace replay {

namespace {

// The first element named `name` outside comments, CDATA and declarations:
// where its tag starts, where its content starts and ends (equal for <name/>).
struct Found {
    std::size_t tagStart = std::string::npos;
    std::size_t contentStart = 0;
    std::size_t contentEnd = 0;
    bool empty = false;  // written <name/>
};

Found findElement(const std::string& text, const std::string& name) {
    Found f;
    std::size_t p = 0;
    while ((p = text.find('<', p)) != std::string::npos) {
        if (text.compare(p, 4, "<!--") == 0) {
            const std::size_t end = text.find("-->", p + 4);
            if (end == std::string::npos) return f;
            p = end + 3;
            continue;
        }
        if (text.compare(p, 9, "<![CDATA[") == 0) {
            const std::size_t end = text.find("]]>", p + 9);
            if (end == std::string::npos) return f;
            p = end + 3;
            continue;
        }
        const std::size_t after = p + 1 + name.size();
        if (text.compare(p + 1, name.size(), name) == 0 && after < text.size() &&
            std::strchr(" \t\r\n/>", text[after]) != nullptr) {
            const std::size_t close = text.find('>', after);
            if (close == std::string::npos) return f;
            f.tagStart = p;
            if (text[close - 1] == '/') {
                f.empty = true;
                f.contentStart = f.contentEnd = close + 1;
                return f;
            }
            f.contentStart = close + 1;
            f.contentEnd = text.find("</" + name, f.contentStart);
            if (f.contentEnd == std::string::npos) f.tagStart = std::string::npos;
            return f;
        }
        ++p;
    }
    return f;
}

bool setElementText(std::string& text, const std::string& name, const std::string& value) {
    const Found f = findElement(text, name);
    if (f.tagStart == std::string::npos) return false;
    if (f.empty) {
        text.replace(f.tagStart, f.contentStart - f.tagStart,
                     "<" + name + ">" + value + "</" + name + ">");
    } else {
        text.replace(f.contentStart, f.contentEnd - f.contentStart, value);
    }
    return true;
}

bool isProbeOutcome(const LogEntry& e) {
    return e.has(logevent::Role::ProbeFailed) || e.has(logevent::Role::AnnouncesRetry);
}

// "SendRequest : Windows error N: text": the cause of a failed send or read.
// Its code and text are the till's (a name that did not resolve there is a
// refused connection here; a Russian Windows words it in Russian), so any two
// compare the same; `code` receives N.
bool isWindowsError(const LogEntry& e, std::string* code = nullptr) {
    if (!e.is(logevent::Event::WindowsError)) return false;
    if (code) *code = e.event.arg("code");
    return true;
}

bool isReadFailure(const LogEntry& e) { return e.is(logevent::Event::ReadFailed); }

// A call's entries as compared: the cause of a failed read is left out (the
// replay gives an empty reply there, whose read does not fail), and each entry
// knows the code of the last failure before it, which the call's later lines
// repeat ("ERROR v1/GuestInfo/ 12007").
struct Compared {
    const LogEntry* entry;
    std::size_t index;  // in the call's entries
    std::string code;   // of the last "Windows error" before it; empty when none
};

std::vector<Compared> comparedEntries(const std::vector<LogEntry>& entries) {
    std::vector<Compared> kept;
    std::string code;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::string own;
        const bool error = isWindowsError(entries[i], &own);
        if (!(error && i > 0 && isReadFailure(entries[i - 1])))
            kept.push_back({&entries[i], i, code});
        if (error) code = own;
    }
    return kept;
}

// The entry's text with a trailing repetition of `code` replaced by "#".
std::string withoutCode(const std::string& text, const std::string& code) {
    std::string t = text;
    while (!t.empty() && t.back() == '\n') t.pop_back();
    if (code.empty() || t.size() < code.size() ||
        t.compare(t.size() - code.size(), code.size(), code) != 0)
        return text;
    const std::size_t at = t.size() - code.size();
    if (at > 0 && t[at - 1] >= '0' && t[at - 1] <= '9') return text;
    return t.substr(0, at) + "#";
}

bool sameEntry(const Compared& r, const Compared& p, const std::string& givenConfig,
               const std::string& recordedConfig) {
    const LogEntry& recorded = *r.entry;
    const LogEntry& replayed = *p.entry;
    if (recorded.kind == LogEntry::Kind::Message && replayed.kind == LogEntry::Kind::Message &&
        recorded.tag == logtag::kClearTheLog && replayed.tag == logtag::kClearTheLog)
        return true;
    if (recorded.kind == LogEntry::Kind::Message && replayed.kind == LogEntry::Kind::Message &&
        recorded.tag == logtag::kWriteConfToLog && replayed.tag == logtag::kWriteConfToLog &&
        confCopyText(recorded.body) == recordedConfig && confCopyText(replayed.body) == givenConfig)
        return true;
    if (recorded.text == replayed.text) return true;
    if (isWindowsError(recorded) && isWindowsError(replayed)) return true;
    return !r.code.empty() && !p.code.empty() &&
           withoutCode(recorded.text, r.code) == withoutCode(replayed.text, p.code);
}

std::string shortened(const std::string& text) {
    std::string t = text;
    while (!t.empty() && t.back() == '\n') t.pop_back();
    if (t.size() > 300) t = t.substr(0, 300) + " ...";
    return t;
}

}  // namespace

bool pointConfigAt(const std::string& config, const std::string& address, std::string& out,
                   Reason& why) {
    pugi::xml_document before;
    const bool loads = loadConfigText(config, before);
    const pugi::xml_node conf = configurationOf(before);
    out = config;
    // pugixml stops at a zero byte where the module's reader would go on.
    if (config.find('\0') != std::string::npos) {
        why = {Msg::replay_config_zero_bytes};
        return false;
    }
    if (!loads || !conf.child("ApiAddress")) {
        // The till had no service address either; nothing to redirect.
        return true;
    }
    const bool secure = readServiceAddress(conf).secure;
    if (!setElementText(out, "ApiAddress", address) ||
        (secure && !setElementText(out, "SSL", "false"))) {
        why = {Msg::replay_config_not_rewritten};
        return false;
    }
    pugi::xml_document after;
    const ServiceAddress pointed =
        readServiceAddress(loadConfigText(out, after) ? configurationOf(after) : pugi::xml_node());
    if (pointed.host != address || pointed.secure) {
        why = {Msg::replay_config_not_pointed};
        return false;
    }
    return true;
}

EntryComparison compareEntries(const std::vector<LogEntry>& recordedEntries,
                               const std::vector<LogEntry>& replayedEntries,
                               const std::string& givenConfig, const std::string& recordedConfig) {
    const std::vector<Compared> recorded = comparedEntries(recordedEntries);
    const std::vector<Compared> replayed = comparedEntries(replayedEntries);
    EntryComparison c;
    const std::size_t n = recorded.size() < replayed.size() ? recorded.size() : replayed.size();
    std::size_t i = 0;
    while (i < n && sameEntry(recorded[i], replayed[i], givenConfig, recordedConfig)) ++i;
    if (i == recorded.size() && i == replayed.size()) return c;
    c.index = i < recorded.size() ? recorded[i].index : recordedEntries.size();
    c.recordedEnded = i == recorded.size();
    c.replayedEnded = i == replayed.size();
    if (!c.recordedEnded) c.recorded = shortened(recorded[i].entry->text);
    if (!c.replayedEnded) c.replayed = shortened(replayed[i].entry->text);
    c.verdict = i < n && isProbeOutcome(*recorded[i].entry) && isProbeOutcome(*replayed[i].entry)
                    ? EntryComparison::Verdict::ProbeOnly
                    : EntryComparison::Verdict::Differs;
    return c;
}

Reason compareRequests(const std::vector<Attempt>& recorded,
                       const std::vector<Received>& received) {
    std::vector<const Attempt*> reached;
    for (const Attempt& a : recorded)
        if (a.reachesService()) reached.push_back(&a);
    const std::size_t n = reached.size() < received.size() ? reached.size() : received.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Attempt& a = *reached[i];
        const Received& r = received[i];
        const bool pathSame = a.pathKnown ? r.path == a.path : r.path.rfind(a.path, 0) == 0;
        const std::string which = std::to_string(i + 1);
        if (!pathSame)
            return {Msg::replay_request_path_differs,
                    {{"number", which}, {"path", r.path}, {"recorded", a.path}}};
        if (r.body != a.body)
            return {Msg::replay_request_body_differs,
                    {{"number", which},
                     {"path", r.path},
                     {"body", shortened(r.body)},
                     {"recorded", shortened(a.body)}}};
    }
    if (received.size() > n)
        return {Msg::replay_request_extra,
                {{"received", std::to_string(received.size())},
                 {"shown", std::to_string(reached.size())},
                 {"path", received[n].path},
                 {"body", shortened(received[n].body)}}};
    if (reached.size() > n)
        return {Msg::replay_request_missing,
                {{"received", std::to_string(received.size())},
                 {"shown", std::to_string(reached.size())},
                 {"path", reached[n]->path},
                 {"body", shortened(reached[n]->body)}}};
    return {};
}

}  // namespace replay
