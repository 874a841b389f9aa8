#include "cli/ExitStatus.h"

std::string exitStatusText(const Catalog& catalog) {
    using namespace exitstatus;
    return formatMessage(catalog, "help.exit-status",
                         {{"done", std::to_string(kDone)},
                          {"found", std::to_string(kFound)},
                          {"bad", std::to_string(kBadInput)},
                          {"cannot", std::to_string(kCannotRun)}});
}

std::string wrapped(const std::string& text, std::size_t indent) {
    const std::string margin(indent, ' ');
    std::string out, line;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find(' ', at);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(at, end - at);
        if (!line.empty() && margin.size() + line.size() + 1 + word.size() > 80) {
            out += margin + line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        at = end + 1;
    }
    if (!line.empty()) out += margin + line + "\n";
    return out;
}
