// hostemu's texts in English. Keys and parameters as in every other catalog
// (the tests compare them); sections by area, in the same order everywhere.
#include <iterator>

#include "i18n/Messages.h"

namespace {

const Message kMessages[] = {
    // ---- common: usage, help, errors ----
    {"cli.usage-first", "usage: hostemu {line}\n"},
    {"cli.usage-next", "       hostemu {line}\n"},
    {"usage.init", "[--brief] <folder> init"},
    {"usage.lookup", "[--brief] <folder> lookup <card-or-phone-number> <check.xml>"},
    {"usage.transaction", "[--brief] <folder> transaction <check.xml>"},
    {"usage.config", "<folder> config <check.xml>"},
    {"usage.check", "<folder> check [--place CODE]"},
    {"usage.replay", "<folder> replay <brisvane.log> [--call N]"},
    {"usage.summary", "summary <brisvane.log>... [--json] [--html FILE]"},
    {"usage.redact", "redact <brisvane.log> <out>"},
    {"usage.version", "[--dll PATH] <folder> version"},
    {"usage.show", "show <brisvane.log> [--call N]"},
    {"help.hostcall",
     "  Loads <folder>\\brisvane.dll with <folder> as the working directory, as a POS\n"
     "  host does, calls Init, GetCardInfoEx or TransactionsEx and prints the result,\n"
     "  the card record (lookup) and the log entries the call wrote (--brief: only\n"
     "  the lines that end the call, report a failure or name its cause, and only the\n"
     "  record fields that hold something). The exit status says whether the call\n"
     "  was made; what the DLL returned is the printed result.\n"
     "  --dll PATH loads the DLL from PATH instead (init, lookup, transaction, replay,\n"
     "  version); <folder> stays the working directory, with conf.xml and brisvane.log.\n"},
    {"help.config",
     "  config reads <folder>\\conf.xml and the check without calling the DLL and says\n"
     "  which address, token and record slots the DLL will use for that check, with\n"
     "  warnings for settings that do not do what they seem to.\n"},
    {"help.check",
     "  check tests the connection to the service step by step, as the DLL makes it\n"
     "  (proxy, name, TCP, TLS, one GuestInfo request for a card that names nobody),\n"
     "  with the token of a check without order category, or of place CODE.\n"},
    {"help.replay",
     "  replay makes the calls of a till's brisvane.log again through <folder>'s DLL,\n"
     "  in a scratch folder, against a stand-in service on port 80 of a free loopback\n"
     "  address (HOSTEMU_REPLAY_ADDRESS: the first one to try) that gives the recorded\n"
     "  replies, and says per call whether result, requests and log entries are the\n"
     "  same (--call N: only call N as numbered in its output).\n"},
    {"help.summary",
     "  summary reads tills' logs (no folder) and gives, per log and in total, the\n"
     "  period, the calls and their results, the failures by cause, the longest\n"
     "  calls, restarts and versions, and the five longest outages and their count\n"
     "  (--json: as one JSON object, every outage; --html FILE: also a page with\n"
     "  every outage, a chart of the whole period and a timeline per day).\n"},
    {"help.redact",
     "  redact writes a copy of a log without API tokens and guests' personal data\n"
     "  (stand-ins, the same for the same value) and says what it replaced: send\n"
     "  that copy, not the log, out of the restaurant.\n"},
    {"help.version",
     "  version prints the DLL's version resource without loading it: its product\n"
     "  version names the commit it was built from (exit status 1: the file cannot be\n"
     "  read or has no version resource).\n"},
    {"help.show",
     "  show prints the entries of the calls in a log (--call N: only call N), each\n"
     "  headed by its export, time, result and cause, in the console's encoding.\n"},
    {"help.closing",
     "  --lang ru|en: the language of these texts (without it: Russian when Windows\n"
     "  shows its menus in Russian, English otherwise); logs, requests and JSON\n"
     "  stay as they are.\n"},
    {"help.exit-status",
     "Exit status: {done}: done (init, lookup, transaction: the export was "
     "called, whatever it returned; the printed result and log lines say how "
     "the call went; config: no warnings; check: the service answered with "
     "JSON; replay: every replayable call the same; version, show, summary, "
     "redact: printed or written). {found}: config warnings, a failed check "
     "step, a replayed call that differs; init, lookup, transaction: the "
     "folder cannot be entered, or its DLL cannot be loaded or lacks the "
     "export; version: the file cannot be read, is not a Windows program or "
     "has no version resource. {bad}: bad arguments, an unreadable check "
     "file or log, a log without a call (replay, show, summary), a --call N "
     "that names no replayable call (replay) or no call (show), a copy that "
     "would overwrite its log (redact), a page or copy that cannot be "
     "written (summary, redact). {cannot}: the replay cannot run (no scratch "
     "folder, the folder's DLL cannot be loaded or lacks an export, no free "
     "address, a proxy in the way)."},
    {"cli.list-and", "{list} and {last}"},
    {"cli.unknown-option", "unknown option {option}"},
    {"cli.unknown-command", "unknown command {command}"},
    {"cli.folder-and-command", "give a folder and a command"},
    {"cli.folder-empty", "the folder is empty"},
    {"cli.option-of", "{option} is an option of {commands} only"},
    {"cli.lang-value", "--lang takes ru or en"},
    {"cli.dll-value", "--dll takes the path of brisvane.dll"},
    {"cli.dll-misplaced", "--dll goes with the commands that take a folder"},
    {"count.init", "init takes no further arguments"},
    {"count.lookup", "lookup takes a card or phone number and a check file"},
    {"count.transaction", "transaction takes one check file"},
    {"count.config", "config takes one check file"},
    {"count.check", "check takes no further arguments (only --place CODE)"},
    {"count.replay", "replay takes one log file"},
    {"count.summary", "summary takes one or more log files"},
    {"count.redact", "redact takes the log and the name of the copy to write"},
    {"count.version", "version takes no further arguments"},
    {"count.show", "show takes one log file"},
    {"option.place-value", "--place takes a place code (a whole number)"},
    {"option.call-value", "--call takes a call number (1, 2, ...)"},
    {"option.html-value", "--html takes the name of the page to write"},
    {"error.card-number", "not a 64-bit number: {word}"},
    {"error.check-file", "cannot read check file {file}"},
    {"error.log-file", "cannot read log file {file}"},
    {"error.no-export", "brisvane.dll has no export {name}"},
    {"error.enter-folder", "cannot enter folder {folder} (error {code})"},
    {"dll.load-failed", "cannot load {path} (error {code})\n"},
    {"dll.load-failed-meaning", "cannot load {path} (error {code}: {meaning})\n"},
    {"dll.meaning-2", "the file was not found"},
    {"dll.meaning-3", "the folder was not found"},
    {"dll.meaning-5", "access denied"},
    {"dll.advice-5", "  Run hostemu as a user who may read the DLL's folder.\n"},
    {"dll.meaning-126", "the DLL, or a DLL it needs, was not found"},
    {"dll.advice-126",
     "  If the host loads brisvane.dll from another folder than its working folder, name\n"
     "  the DLL: hostemu --dll \"C:\\Path To\\brisvane.dll\" \"C:\\Host Folder\" <command> ...\n"
     "  (a path with blanks needs the quotes). Else copy brisvane.dll into the folder.\n"},
    {"dll.meaning-127", "a function the DLL needs is missing from this Windows"},
    {"dll.advice-127",
     "  Tell support which Windows the till runs: the DLL as built cannot run on it.\n"},
    {"dll.meaning-193", "not a 32-bit Windows DLL (a 64-bit build or a damaged file)"},
    {"dll.advice-193",
     "  Copy brisvane.dll again from the release folder, as a whole file: hostemu and the\n"
     "  host are 32-bit programs and load only the 32-bit DLL.\n"},
    {"dll.meaning-1114", "the DLL failed while starting"},
    {"error.unexpected", "unexpected failure"},

    // ---- lookup, transaction, init, record table ----

    // ---- config ----

    // ---- version, show ----
    {"version.dll", "DLL"},
    {"version.built-for", "Built for"},
    {"version.file-version", "File version"},
    {"version.product-version", "Product version"},
    {"version.description", "Description"},
    {"version.machine-x86", "32-bit x86"},
    {"version.machine-x64", "64-bit x64"},
    {"version.machine-other", "machine {code}"},
    {"version.unreadable",
     "cannot read {path} (if the host loads brisvane.dll from another folder, name it with --dll)"},
    {"version.no-pe-header", "not a Windows program (no PE header)"},
    {"version.damaged-pe-header", "not a Windows program (damaged PE header)"},
    {"version.damaged-sections", "not a Windows program (damaged section table)"},
    {"version.no-resource", "no version resource"},

    {"show.call", "Call {number}: {what}\n"},
    {"show.log-starts-within", "the log starts within this call"},
    {"show.from-to", ", {start} to {end}"},
    {"show.at", ", {start}"},
    {"show.result", "  result: {result}\n"},
    {"show.result-failed", "  result: {result} (failed)\n"},
    {"show.result-ended", "  result: ended\n"},
    {"show.result-not-logged", "  result: not logged (the log ends within it)\n"},
    {"show.cause", "  cause: {causes}\n"},
    {"show.cause-none", "  cause: none\n"},
    {"show.cause-unnamed", "  cause: not named by the log\n"},
    {"show.cause-none-on-the-way", "  cause: none (failed on the way: {causes})\n"},
    {"show.not-a-log", "{file} is no brisvane.log: {why}"},

    // ---- check: steps, verdicts, advice ----

    // ---- replay ----

    // ---- summary: text and HTML ----

    // ---- redact ----
};

}  // namespace

extern const Catalog kEnglishCatalog = {Language::English, "en", kMessages, std::size(kMessages)};
