#include "Args.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

bool parseCard(const std::string& s, int64_t& card) {
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(s.c_str(), &end, 10);
    if (errno != 0 || end == s.c_str() || *end != '\0') return false;
    card = v;
    return true;
}

// A place code as written in conf.xml: an optional sign and decimal digits.
bool parsePlace(const std::string& s, int32_t& place) {
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (errno != 0 || end == s.c_str() || *end != '\0' || v < INT32_MIN || v > INT32_MAX)
        return false;
    place = static_cast<int32_t>(v);
    return true;
}

}  // namespace

const char* usageText() {
    return "usage: hostemu [--brief] <folder> init\n"
           "       hostemu [--brief] <folder> lookup <card-or-phone-number> <check.xml>\n"
           "       hostemu [--brief] <folder> transaction <check.xml>\n"
           "       hostemu <folder> config <check.xml>\n"
           "       hostemu <folder> check [--place CODE]\n"
           "       hostemu <folder> replay <brisvane.log> [--call N]\n"
           "  Loads <folder>\\brisvane.dll with <folder> as the working directory, as a POS\n"
           "  host does, calls Init, GetCardInfoEx or TransactionsEx and prints the result,\n"
           "  the card record (lookup) and the log entries the call wrote (--brief: only\n"
           "  the lines that end the call, and only the record fields that hold something).\n"
           "  config reads <folder>\\conf.xml and the check without calling the DLL and says\n"
           "  which address, token and record slots the DLL will use for that check, with\n"
           "  warnings for settings that do not do what they seem to.\n"
           "  check tests the connection to the service step by step, as the DLL makes it\n"
           "  (proxy, name, TCP, TLS, one GuestInfo request for a card that names nobody),\n"
           "  with the token of a check without order category, or of place CODE.\n"
           "  replay makes the calls of a till's brisvane.log again through <folder>'s DLL,\n"
           "  in a scratch folder, against a stand-in service on port 80 of a free loopback\n"
           "  address (HOSTEMU_REPLAY_ADDRESS: the first one to try) that gives the recorded\n"
           "  replies, and says per call whether result, requests and log entries are the\n"
           "  same (--call N: only call N as numbered in its output).\n"
           "  Exit status: 0 done (config: no warnings; check: the service answered with\n"
           "  JSON; replay: every replayable call the same), 1 config warnings, a failed\n"
           "  check step, a replayed call that differs, or the DLL could not be loaded,\n"
           "  2 bad arguments or an unreadable check file or log, 3 the replay could not\n"
           "  run (no free address).\n";
}

bool parseArgs(int argc, char** argv, Args& args, std::string& error) {
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        const std::string w = argv[i] ? argv[i] : "";
        if (w == "--brief") {
            args.brief = true;
        } else if (w == "--place") {
            if (i + 1 >= argc || !parsePlace(argv[i + 1] ? argv[i + 1] : "", args.place)) {
                error = "--place takes a place code (a whole number)";
                return false;
            }
            args.hasPlace = true;
            ++i;
        } else if (w == "--call") {
            char* end = nullptr;
            const long n = i + 1 < argc ? std::strtol(argv[i + 1], &end, 10) : 0;
            if (i + 1 >= argc || *end != '\0' || n < 1 || n > 1000000) {
                error = "--call takes a call number (1, 2, ...)";
                return false;
            }
            args.call = static_cast<int>(n);
            ++i;
        } else if (w.size() > 1 && w[0] == '-' && !(w[1] >= '0' && w[1] <= '9')) {
            error = "unknown option " + w;
            return false;
        } else {
            words.push_back(w);
        }
    }
    if (words.size() < 2) {
        error = "give a folder and a command";
        return false;
    }
    args.folder = words[0];
    const std::string& command = words[1];
    const std::size_t rest = words.size() - 2;
    if (command == "init") {
        args.command = Args::Command::Init;
        if (rest != 0) error = "init takes no further arguments";
    } else if (command == "lookup") {
        args.command = Args::Command::Lookup;
        if (rest != 2) {
            error = "lookup takes a card or phone number and a check file";
        } else if (!parseCard(words[2], args.card)) {
            error = "not a 64-bit number: " + words[2];
        } else {
            args.checkFile = words[3];
        }
    } else if (command == "transaction" || command == "config") {
        args.command = command == "config" ? Args::Command::Config : Args::Command::Transaction;
        if (rest != 1) {
            error = command + " takes one check file";
        } else {
            args.checkFile = words[2];
        }
    } else if (command == "check") {
        args.command = Args::Command::Check;
        if (rest != 0) error = "check takes no further arguments (only --place CODE)";
    } else if (command == "replay") {
        args.command = Args::Command::Replay;
        if (rest != 1) {
            error = "replay takes one log file";
        } else {
            args.logFile = words[2];
        }
    } else {
        error = "unknown command " + command;
    }
    if (error.empty() && args.hasPlace && args.command != Args::Command::Check) {
        error = "--place is an option of check only";
    }
    if (args.call != 0 && args.command != Args::Command::Replay && error.empty())
        error = "--call goes with replay";
    if (args.folder.empty() && error.empty()) error = "the folder is empty";
    return error.empty();
}
