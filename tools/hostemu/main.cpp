// hostemu: loads brisvane.dll the way a POS host does and calls its exports,
// so that an installation can be tried and diagnosed without a till.
#include <exception>
#include <string>
#include <vector>

#include "Commands.h"
#include "ConsoleOutput.h"

int main(int argc, char** argv) {
    ConsoleOutput output;
    try {
        std::vector<std::string> words;
        for (int i = 1; i < argc; ++i) words.emplace_back(argv[i] ? argv[i] : "");
        return runCommandLine(commandTable(), words, output);
    } catch (const std::exception& e) {
        output.err(std::string("hostemu: ") + e.what() + "\n");
    } catch (...) {
        output.err("hostemu: unexpected failure\n");
    }
    return 3;
}
