#include "cli/ExitStatus.h"

#include "encoding/Encodings.h"

std::string exitStatusText(const Catalog& catalog) {
    using namespace exitstatus;
    return formatMessage(catalog, Msg::help_exit_status,
                         {{"done", std::to_string(kDone)},
                          {"found", std::to_string(kFound)},
                          {"bad", std::to_string(kBadInput)},
                          {"cannot", std::to_string(kCannotRun)}});
}

std::string exitStatusParagraph(const Catalog& catalog) {
    return wrapped(exitStatusText(catalog), 2);
}

std::string wrapped(const std::string& text, std::size_t indent) {
    const std::string margin(indent, ' ');
    std::string out, line;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find(' ', at);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(at, end - at);
        // Characters, not bytes: a Russian line is wrapped at 80 columns too.
        if (!line.empty() && margin.size() + utf8Characters(line) + 1 + utf8Characters(word) > 80) {
            out += margin + line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        at = end + 1;
    }
    if (!line.empty()) out += margin + line + "\n";
    return out;
}
