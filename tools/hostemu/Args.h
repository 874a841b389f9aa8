#pragma once
#include <cstdint>
#include <string>

// What hostemu was asked to do, read from its command line.
struct Args {
    enum class Command { Init, Lookup, Transaction, Config, Check, Replay };
    Command command = Command::Init;
    bool brief = false;     // only the call's closing log lines, only filled record fields
    std::string folder;     // the host's working folder: brisvane.dll, conf.xml, brisvane.log
    int64_t card = 0;       // lookup only
    std::string checkFile;  // lookup, transaction, config
    bool hasPlace = false;  // check: --place CODE given
    int32_t place = -1;     // check: the order category whose token is used
    std::string logFile;    // replay: the till's brisvane.log
    int call = 0;           // replay --call N: only call N (numbered from 1); 0: all
};

// Parses argv; on failure returns false with a one-line reason in `error`.
bool parseArgs(int argc, char** argv, Args& args, std::string& error);

// The usage text (also printed for -h / --help).
const char* usageText();
