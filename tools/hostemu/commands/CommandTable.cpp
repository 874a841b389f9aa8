#include "Commands.h"

namespace {

const char kDescription[] =
    "  Loads <folder>\\brisvane.dll with <folder> as the working directory, as a POS\n"
    "  host does, calls Init, GetCardInfoEx or TransactionsEx and prints the result,\n"
    "  the card record (lookup) and the log entries the call wrote (--brief: only\n"
    "  the lines that end the call, and only the record fields that hold something).\n"
    "  --dll PATH loads the DLL from PATH instead (init, lookup, transaction, replay,\n"
    "  version); <folder> stays the working directory, with conf.xml and brisvane.log.\n"
    "  version prints the DLL's version resource without loading it: its product\n"
    "  version names the commit it was built from (exit status 1: the file cannot be\n"
    "  read or has no version resource).\n"
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
    "  show prints the entries of the calls in a log (--call N: only call N), each\n"
    "  headed by its export, time, result and cause, in the console's encoding.\n"
    "  redact writes a copy of a log without API tokens and guests' personal data\n"
    "  (stand-ins, the same for the same value) and says what it replaced: send\n"
    "  that copy, not the log, out of the restaurant.\n"
    "  Exit status: 0 done (config: no warnings; check: the service answered with\n"
    "  JSON; replay: every replayable call the same), 1 config warnings, a failed\n"
    "  check step, a replayed call that differs, or the DLL could not be loaded,\n"
    "  2 bad arguments, an unreadable check file or log, a log without a call\n"
    "  (summary) or a copy that would overwrite its log (redact), 3 the replay\n"
    "  could not run (no free address).\n";

}  // namespace

const CommandTable& commandTable() {
    // One line per command, in the order the usage text shows them.
    static const CommandTable table = {
        {
            &kInitCommand,
            &kLookupCommand,
            &kTransactionCommand,
            &kVersionCommand,
            &kConfigCommand,
            &kCheckCommand,
            &kReplayCommand,
            &kSummaryCommand,
            &kShowCommand,
            &kRedactCommand,
        },
        kDescription,
    };
    return table;
}
