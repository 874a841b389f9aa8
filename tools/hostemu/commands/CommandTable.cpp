#include "Commands.h"
#include "ExitStatus.h"

namespace {

const char kDescription[] =
    "  Loads <folder>\\brisvane.dll with <folder> as the working directory, as a POS\n"
    "  host does, calls Init, GetCardInfoEx or TransactionsEx and prints the result,\n"
    "  the card record (lookup) and the log entries the call wrote (--brief: only\n"
    "  the lines that end the call, report a failure or name its cause, and only the\n"
    "  record fields that hold something).\n"
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
    "  summary reads tills' logs (no folder) and gives, per log and in total, the\n"
    "  period, the calls and their results, the failures by cause, the longest\n"
    "  calls, restarts and versions, and the outages (--json: as one JSON object;\n"
    "  --html FILE: also a page with a timeline per day).\n"
    "  redact writes a copy of a log without API tokens and guests' personal data\n"
    "  (stand-ins, the same for the same value) and says what it replaced: send\n"
    "  that copy, not the log, out of the restaurant.\n";

}  // namespace

const CommandTable& commandTable() {
    static const std::string description = kDescription + wrapped(exitStatusText(), 2);
    // One line per command, in the order the usage text shows them.
    static const CommandTable table = {
        {
            &kInitCommand,
            &kLookupCommand,
            &kTransactionCommand,
            &kConfigCommand,
            &kCheckCommand,
            &kReplayCommand,
            &kSummaryCommand,
            &kRedactCommand,
        },
        description.c_str(),
    };
    return table;
}
