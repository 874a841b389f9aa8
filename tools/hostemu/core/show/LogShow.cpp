#include "show/LogShow.h"

#include "cli/ExitStatus.h"
#include "cli/Output.h"
#include "display/LogLines.h"
#include "files/FileBytes.h"
#include "i18n/DateText.h"
#include "logread/LogCalls.h"
#include "replay/ReplayVerdict.h"
#include "summary/LogSummary.h"

namespace {

// "time-out x2, Windows error 12029 (its meaning)", in the order they happened,
// in the catalog's words.
std::string causesText(const summary::Summary& s, const Catalog& catalog) {
    std::string text;
    std::vector<replay::Cause> seen;
    for (const summary::Failure& f : s.failures) {
        bool known = false;
        for (const replay::Cause& c : seen) known = known || c == f.cause;
        if (known) continue;
        seen.push_back(f.cause);
        if (!text.empty()) text += ", ";
        text += replay::sayCause(catalog, f.cause);
        const auto count = s.errors.find(f.cause);
        if (count != s.errors.end() && count->second > 1)
            text += formatPlural(catalog, PluralMsg::show_cause_times, count->second,
                                 {{"count", std::to_string(count->second)}});
        const auto meaning = s.meanings.find(f.cause);
        if (meaning != s.meanings.end() && !meaning->second.empty())
            text += " (" + meaning->second + ")";
    }
    return text;
}

}  // namespace

std::string showCall(const std::string& logBytes, const replay::Call& call,
                     const Catalog& catalog) {
    auto say = [&](Msg key, MessageArgs args = {}) { return formatMessage(catalog, key, args); };
    const summary::Summary s = summary::summarizeCalls({call});
    std::string start, end;
    for (const replay::LogEntry& e : call.entries) {
        if (e.stamp.empty()) continue;
        if (start.empty()) start = e.stamp;
        end = e.stamp;
    }
    std::string what = call.kind == replay::Call::Kind::Unknown ? say(Msg::show_log_starts_within)
                                                                : replay::kindName(call.kind);
    if (!start.empty())
        what += end != start
                    ? say(Msg::show_from_to, {{"start", shownStamp(catalog.language, start)},
                                              {"end", shownStamp(catalog.language, end)}})
                    : say(Msg::show_at, {{"start", shownStamp(catalog.language, start)}});
    std::string text =
        say(Msg::show_call, {{"number", std::to_string(call.number)}, {"what", what}});
    replay::LoggedNumber result;
    const bool known =
        call.kind != replay::Call::Kind::Unknown && replay::recordedResult(call, result);
    if (call.kind != replay::Call::Kind::Unknown && !known) {
        text += say(Msg::show_result_not_logged);
    } else if (call.kind == replay::Call::Kind::Init) {
        text += say(Msg::show_result_ended);
    } else if (call.kind != replay::Call::Kind::Unknown) {
        text += say(result.text == "0" ? Msg::show_result : Msg::show_result_failed,
                    {{"result", result.text}});
    }
    const std::string causes = causesText(s, catalog);
    const bool failed = known && result.text != "0";
    if (causes.empty()) {
        text += say(failed ? Msg::show_cause_unnamed : Msg::show_cause_none);
    } else if (known && !failed) {
        text += say(Msg::show_cause_none_on_the_way, {{"causes", causes}});
    } else {
        text += say(Msg::show_cause, {{"causes", causes}});
    }
    if (call.entries.empty()) return text;
    const std::size_t from = call.entries.front().begin, to = call.entries.back().end;
    std::string lines = logLinesFrom(logBytes.substr(from, to - from), 0, false);
    if (!lines.empty() && lines.back() != '\n') lines += "\n";
    return text + lines;
}

ExitStatus runShow(const std::string& logFile, long long onlyCall, Output& output) {
    std::string log;
    if (!readWholeFile(logFile, log)) {
        output.complain(output.text(Msg::error_log_file, {{"file", logFile}}));
        return exitstatus::kBadInput;
    }
    const std::vector<replay::Call> calls = replay::splitCalls(log, std::string(), false);
    const std::string noCalls = replay::whyNoCalls(log, calls, output.catalog());
    if (!noCalls.empty()) {
        output.complain(output.text(Msg::show_not_a_log, {{"file", logFile}, {"why", noCalls}}));
        return exitstatus::kBadInput;
    }
    const std::string noSuchCall = replay::whyNoSuchCall(calls, onlyCall, output.catalog());
    if (!noSuchCall.empty()) {
        output.complain(noSuchCall);
        return exitstatus::kBadInput;
    }
    bool first = true;
    for (const replay::Call& call : calls) {
        if (onlyCall != 0 && call.number != onlyCall) continue;
        output.out((first ? "" : "\n") + showCall(log, call, output.catalog()));
        first = false;
    }
    return exitstatus::kDone;
}
