// hostemu: loads brisvane.dll the way a POS host does and calls its exports,
// so that an installation can be tried and diagnosed without a till.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>

#include "Args.h"
#include "CheckCommand.h"
#include "ConfigCommand.h"
#include "Console.h"
#include "DllCalls.h"
#include "ReplayCommand.h"

namespace {

int run(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string w = argv[i] ? argv[i] : "";
        if (w == "-h" || w == "--help") {
            std::fputs(usageText(), stdout);
            return 0;
        }
    }
    Args args;
    std::string error;
    if (!parseArgs(argc, argv, args, error)) {
        std::fprintf(stderr, "hostemu: %s\n%s", error.c_str(), usageText());
        return 2;
    }
    if (args.command == Args::Command::Check) return runConnectionCheck(args);
    if (args.command == Args::Command::Replay) return runReplay(args);
    std::string check;
    if (!args.checkFile.empty() && !readWholeFile(args.checkFile, check)) {
        std::fprintf(stderr, "hostemu: cannot read check file %s\n", args.checkFile.c_str());
        return 2;
    }
    if (args.command == Args::Command::Config) return runConfigReport(args, check);
    return runDllCommand(args, check);
}

}  // namespace

int main(int argc, char** argv) {
    // Everything is printed as UTF-8 (the host's Windows-1251 texts decoded).
    SetConsoleOutputCP(CP_UTF8);
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "hostemu: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "hostemu: unexpected failure\n");
    }
    return 3;
}
