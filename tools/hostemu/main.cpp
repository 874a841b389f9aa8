// hostemu: loads brisvane.dll the way a POS host does and calls its exports,
// so that an installation can be tried and diagnosed without a till.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <exception>
#include <string>
#include <vector>

#include "Commands.h"
#include "ConsoleOutput.h"
#include "files/FileBytes.h"

namespace {

// Without --lang: the language Windows shows its menus and dialogs in, the
// one the person at the till reads.
const Catalog& uiCatalog() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_RUSSIAN ? kRussianCatalog
                                                                     : kEnglishCatalog;
}

// The words after the program's name as Windows gives them, UTF-16, in
// UTF-8: the ANSI code page cannot spell a Cyrillic file name on an English
// Windows, nor anything beyond it on any.
std::vector<std::string> commandWords() {
    std::vector<std::string> words;
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) return words;
    for (int i = 1; i < argc; ++i) words.push_back(fromWide(argv[i]));
    LocalFree(argv);
    return words;
}

}  // namespace

int main() {
    ConsoleOutput output;
    output.setCatalog(uiCatalog());
    try {
        const std::vector<std::string> words = commandWords();
        return runCommandLine(commandTable(), words, output);
    } catch (const std::exception& e) {
        output.complain(e.what());  // the runtime's own words
    } catch (...) {
        output.complain(output.text(Msg::error_unexpected));
    }
    return exitstatus::kCannotRun;
}
