#include "cli/Output.h"
#include "connectioncheck/CheckStep.h"

StepVerdict StepVerdict::ok(std::string label, std::string line, std::string advice) {
    StepVerdict r;
    r.label = std::move(label);
    r.line = std::move(line);
    r.advice = std::move(advice);
    return r;
}

StepVerdict StepVerdict::failed(std::string label, std::string line, std::string advice) {
    StepVerdict r = ok(std::move(label), std::move(line), std::move(advice));
    r.status = Status::Failed;
    return r;
}

StepVerdict StepVerdict::skipped(std::string label, std::string line) {
    StepVerdict r = ok(std::move(label), std::move(line));
    r.status = Status::Skipped;
    return r;
}

int runCheckSteps(const std::vector<CheckStep>& steps, CheckContext& context, Output& output) {
    std::string verdict;
    std::size_t warnings = 0;
    for (CheckStep step : steps) {
        const uint32_t start = context.tickMs ? context.tickMs() : 0;
        const StepVerdict r = step(context);
        const bool failed = r.status == StepVerdict::Status::Failed;
        std::string text;
        if (!r.line.empty()) {
            std::string padded = r.label;
            if (padded.size() < 12) padded.resize(12, ' ');
            text = "  " + padded + " " + (failed ? "FAILED: " : "") + r.line;
            if (context.tickMs) text += " (" + std::to_string(context.tickMs() - start) + " ms)";
            text += "\n";
        }
        for (const std::string& m : r.more) text += "               " + m + "\n";
        for (const std::string& w : r.warnings) text += "               WARNING: " + w + "\n";
        warnings += r.warnings.size();
        if (failed) text += "Verdict: FAILED: " + r.advice + "\n";
        output.out(text);
        output.flush();
        if (failed) return 1;
        if (!r.advice.empty()) verdict = r.advice;
    }
    if (warnings != 0) {
        verdict += " (" + std::to_string(warnings) + (warnings == 1 ? " warning" : " warnings") +
                   " above)";
    }
    output.out("Verdict: OK: " + verdict + "\n");
    output.flush();
    return 0;
}
