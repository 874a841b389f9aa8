#include <algorithm>

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

std::size_t checkLabelWidth(const Catalog& catalog) {
    std::size_t width = 0;
    for (const char* label : kPlainCheckLabels) width = std::max(width, utf8Characters(label));
    const std::string prefix = "check_label_";
    for (std::size_t i = 0; i < messageCount(); ++i) {
        const Msg id = static_cast<Msg>(i);
        if (std::string(messageName(id)).compare(0, prefix.size(), prefix) == 0)
            width = std::max(width, utf8Characters(formatMessage(catalog, id)));
    }
    return width;
}

ExitStatus runCheckSteps(const std::vector<CheckStep>& steps, CheckContext& context,
                         Output& output) {
    context.catalog = &output.catalog();
    // Known before the first step prints: the lines come as the steps run.
    const std::size_t width = checkLabelWidth(output.catalog());
    const std::string under(2 + width + 1, ' ');
    std::string verdict;
    std::size_t warnings = 0;
    for (CheckStep step : steps) {
        const uint32_t start = context.tickMs ? context.tickMs() : 0;
        const StepVerdict r = step(context);
        const bool failed = r.status == StepVerdict::Status::Failed;
        std::string text;
        if (!r.line.empty()) {
            std::string padded = r.label;
            // Characters, not bytes: Cyrillic takes two bytes a letter.
            const std::size_t length = utf8Characters(padded);
            if (length < width) padded.append(width - length, ' ');
            text = "  " + padded + " " + (failed ? output.text(Msg::check_failed) : "") + r.line;
            if (context.tickMs) {
                text += output.text(Msg::check_step_time,
                                    {{"ms", std::to_string(context.tickMs() - start)}});
            }
            text += "\n";
        }
        for (const std::string& m : r.more) text += under + m + "\n";
        for (const std::string& w : r.warnings)
            text += under + output.text(Msg::check_warning, {{"text", w}}) + "\n";
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
