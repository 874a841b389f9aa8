#include "show/LogShow.h"

#include "cli/Output.h"
#include "display/LogLines.h"
#include "files/FileBytes.h"
#include "logread/LogCalls.h"
#include "replay/ReplayVerdict.h"
#include "summary/LogSummary.h"

namespace {

// "time-out x2, Windows error 12029 (its meaning)", in the order they happened.
std::string causesText(const summary::Summary& s) {
    std::string text;
    std::vector<std::string> seen;
    for (const summary::Failure& f : s.failures) {
        bool known = false;
        for (const std::string& c : seen) known = known || c == f.cause;
        if (known) continue;
        seen.push_back(f.cause);
        if (!text.empty()) text += ", ";
        text += f.cause;
        const auto count = s.errors.find(f.cause);
        if (count != s.errors.end() && count->second > 1)
            text += " x" + std::to_string(count->second);
        const auto meaning = s.meanings.find(f.cause);
        if (meaning != s.meanings.end() && !meaning->second.empty())
            text += " (" + meaning->second + ")";
    }
    return text;
}

}  // namespace

std::string showCall(const std::string& logBytes, const replay::Call& call) {
    const summary::Summary s = summary::summarizeCalls({call});
    std::string start, end;
    for (const replay::LogEntry& e : call.entries) {
        if (e.stamp.empty()) continue;
        if (start.empty()) start = e.stamp;
        end = e.stamp;
    }
    std::string text = "Call " + std::to_string(call.number) + ": ";
    text += call.kind == replay::Call::Kind::Unknown
                ? std::string("the log starts within this call")
                : replay::kindName(call.kind);
    if (!start.empty()) text += ", " + start + (end != start ? " to " + end : std::string());
    text += "\n";
    int result = 0;
    const bool known =
        call.kind != replay::Call::Kind::Unknown && replay::recordedResult(call, result);
    if (call.kind == replay::Call::Kind::Init) {
        text += known ? "  result: ended\n" : "  result: not logged (the log ends within it)\n";
    } else if (call.kind != replay::Call::Kind::Unknown) {
        text += known ? "  result: " + std::to_string(result) + (result == 0 ? "\n" : " (failed)\n")
                      : "  result: not logged (the log ends within it)\n";
    }
    const std::string causes = causesText(s);
    if (causes.empty()) {
        text += known && result != 0 ? "  cause: not named by the log\n" : "  cause: none\n";
    } else if (known && result == 0) {
        text += "  cause: none (failed on the way: " + causes + ")\n";
    } else {
        text += "  cause: " + causes + "\n";
    }
    if (call.entries.empty()) return text;
    const std::size_t from = call.entries.front().begin, to = call.entries.back().end;
    std::string lines = logLinesFrom(logBytes.substr(from, to - from), 0, false);
    if (!lines.empty() && lines.back() != '\n') lines += "\n";
    return text + lines;
}

int runShow(const std::string& logFile, long long onlyCall, Output& output) {
    std::string log;
    if (!readWholeFile(logFile, log)) {
        output.err("hostemu: cannot read log file " + logFile + "\n");
        return 2;
    }
    const std::vector<replay::Call> calls = replay::splitCalls(log, std::string(), false);
    const std::string noCalls = replay::whyNoCalls(log, calls);
    if (!noCalls.empty()) {
        output.err("hostemu: " + logFile + " is no brisvane.log: " + noCalls + "\n");
        return 2;
    }
    const std::string noSuchCall = replay::whyNoSuchCall(calls, onlyCall);
    if (!noSuchCall.empty()) {
        output.err("hostemu: " + noSuchCall + "\n");
        return 2;
    }
    bool first = true;
    for (const replay::Call& call : calls) {
        if (onlyCall != 0 && call.number != onlyCall) continue;
        output.out((first ? "" : "\n") + showCall(log, call));
        first = false;
    }
    return 0;
}
