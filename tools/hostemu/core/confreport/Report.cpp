#include "confreport/Report.h"

#include "cli/Output.h"

void Report::section(const std::string& title) {
    if (!lines_.empty()) lines_.push_back("");
    lines_.push_back("== " + title);
}

void Report::line(const std::string& text) { lines_.push_back("  " + text); }

void Report::warn(const std::string& text) {
    lines_.push_back("  " + this->text(Msg::config_warning, {{"text", text}}));
    ++warnings_;
}

void Report::print(Output& output) const {
    std::string text;
    for (const std::string& l : lines_) text += l + "\n";
    text += "\n";
    if (warnings_ == 0) {
        text += this->text(Msg::config_no_warnings);
    } else {
        text +=
            plural(PluralMsg::config_warnings, warnings_, {{"count", std::to_string(warnings_)}});
    }
    output.out(text);
    output.flush();
}
