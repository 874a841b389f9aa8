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
        output.err(std::string("hostemu: ") + e.what() + "\n");  // the runtime's own words
    } catch (...) {
        output.err("hostemu: " + output.text("error.unexpected") + "\n");
    }
    return 3;
}
