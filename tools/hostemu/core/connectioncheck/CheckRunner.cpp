#include "cli/Output.h"
#include "connectioncheck/CheckStep.h"
#include "encoding/Encodings.h"

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

ExitStatus runCheckSteps(const std::vector<CheckStep>& steps, CheckContext& context,
                         Output& output) {
    context.catalog = &output.catalog();
    std::string verdict;
    std::size_t warnings = 0;
    for (CheckStep step : steps) {
        const uint32_t start = context.tickMs ? context.tickMs() : 0;
        const StepVerdict r = step(context);
        const bool failed = r.status == StepVerdict::Status::Failed;
        std::string text;
        if (!r.line.empty()) {
            std::string padded = r.label;
            // Characters, not bytes: a Russian label lines up with an English one.
            const std::size_t length = utf8Characters(padded);
            if (length < 12) padded.append(12 - length, ' ');
            text = "  " + padded + " " + (failed ? output.text(Msg::check_failed) : "") + r.line;
            if (context.tickMs) {
                text += output.text(Msg::check_step_time,
                                    {{"ms", std::to_string(context.tickMs() - start)}});
            }
            text += "\n";
        }
        for (const std::string& m : r.more) text += "               " + m + "\n";
        for (const std::string& w : r.warnings)
            text += "               " + output.text(Msg::check_warning, {{"text", w}}) + "\n";
        warnings += r.warnings.size();
        if (failed) text += output.text(Msg::check_verdict_failed, {{"advice", r.advice}}) + "\n";
        output.out(text);
        output.flush();
        if (failed) return exitstatus::kFound;
        if (!r.advice.empty()) verdict = r.advice;
    }
    if (warnings != 0) {
        verdict += output.plural(PluralMsg::check_warnings_above, warnings,
                                 {{"count", std::to_string(warnings)}});
    }
    output.out(output.text(Msg::check_verdict_ok, {{"verdict", verdict}}) + "\n");
    output.flush();
    return exitstatus::kDone;
}
