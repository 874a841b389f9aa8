#include "cli/ExitStatus.h"

#include "cli/Wrap.h"

std::string exitStatusText(const Catalog& catalog) {
    using namespace exitstatus;
    return formatMessage(catalog, Msg::help_exit_status,
                         {{"done", std::to_string(kDone)},
                          {"found", std::to_string(kFound)},
                          {"bad", std::to_string(kBadInput)},
                          {"cannot", std::to_string(kCannotRun)}});
}

std::string exitStatusParagraph(const Catalog& catalog, std::size_t width) {
    return wrapText(exitStatusText(catalog), width, 2);
}
