// hostemu: loads brisvane.dll the way a POS host does and calls its exports,
// so that an installation can be tried and diagnosed without a till.
#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "Commands.h"
#include "ConsoleOutput.h"

namespace {

// Without --lang: the language Windows shows its menus and dialogs in, the
// one the person at the till reads.
const Catalog& uiCatalog() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_RUSSIAN ? kRussianCatalog
                                                                     : kEnglishCatalog;
}

}  // namespace

int main(int argc, char** argv) {
    ConsoleOutput output;
    output.setCatalog(uiCatalog());
    try {
        std::vector<std::string> words;
        for (int i = 1; i < argc; ++i) words.emplace_back(argv[i] ? argv[i] : "");
        return runCommandLine(commandTable(), words, output);
    } catch (const std::exception& e) {
        output.complain(e.what());  // the runtime's own words
    } catch (...) {
        output.complain(output.text("error.unexpected"));
    }
    return exitstatus::kCannotRun;
}
