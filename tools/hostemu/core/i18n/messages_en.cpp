// hostemu's texts in English. Keys and parameters as in every other catalog
// (the tests compare them); sections by area, in the same order everywhere.
#include <iterator>

#include "i18n/Messages.h"

namespace {

const Message kMessages[] = {
    // ---- common: usage, help, errors ----
    {"cli.usage-first", "usage: hostemu {line}\n"},
    {"cli.usage-next", "       hostemu {line}\n"},
    {"usage.init", "[--dll PATH] [--brief] <folder> init"},
    {"usage.lookup", "[--dll PATH] [--brief] <folder> lookup <card-or-phone-number> <check.xml>"},
    {"usage.transaction", "[--dll PATH] [--brief] <folder> transaction <check.xml>"},
    {"usage.config", "<folder> config <check.xml>"},
    {"usage.check", "<folder> check [--place CODE]"},
    {"usage.replay", "[--dll PATH] <folder> replay <brisvane.log> [--call N]"},
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
     "Exit status: {done}: done (init, lookup, transaction: the export was called, whatever it "
     "returned; the printed result and log lines say how the call went; config: no warnings; "
     "check: the service answered with JSON; replay: every replayable call the same; version, "
     "show, summary, redact: printed or written). {found}: config warnings, a failed check step, "
     "a replayed call that differs; init, lookup, transaction: the folder cannot be entered, or "
     "its DLL cannot be loaded or lacks the export; version: the file cannot be read, is not a "
     "Windows program or has no version resource. {bad}: bad arguments, an unreadable check file "
     "or log, a log without a call (replay, show, summary), a --call N that names no replayable "
     "call (replay) or no call (show), a copy that would overwrite its log (redact), a page or "
     "copy that cannot be written (summary, redact). {cannot}: the replay cannot run (no scratch "
     "folder, the folder's DLL cannot be loaded or lacks an export, no free address, a proxy in "
     "the way)."},
    {"cli.list-and", "{list} and {last}"},
    {"cli.unknown-option", "unknown option {option}"},
    {"cli.unknown-command", "unknown command {command}"},
    {"cli.folder-and-command", "give a folder and a command"},
    {"cli.folder-empty", "the folder is empty"},
    {"cli.option-of", "{option} is an option of {commands} only"},
    {"cli.lang-value", "--lang takes ru or en"},
    {"cli.dll-value", "--dll takes the path of brisvane.dll"},
    {"cli.dll-misplaced", "--dll goes with the commands that take a folder"},
    {"cli.dll-split",
     "{given} names no DLL: the path after --dll seems split at a blank; a path with blanks "
     "must be in double quotes: --dll \"{path}\""},
    {"cli.folder-split",
     "{word} is no command: the folder's path seems split at a blank; a path with blanks must "
     "be in double quotes: \"{path}\""},
    {"cli.more-help", "hostemu --help: every command, its options and exit statuses\n"},
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
    {"check-file.place", "  {path}: {problem}\n"},
    {"check-file.missing", "no such file"},
    {"check-file.unreadable", "not readable"},
    {"check-file.not-xml", "not XML (a check starts with \"<\")"},
    {"error.log-file", "cannot read log file {file}"},
    {"error.no-export", "{path} has no export {name}"},
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
    {"call.init-returned", "Init returned {result}\n"},
    {"call.lookup-answered", "GetCardInfoEx({card}) returned {result} (answered)\n"},
    {"call.lookup-failed", "GetCardInfoEx({card}) returned {result} (failed)\n"},
    {"call.transaction-posted", "TransactionsEx returned {result} (posted)\n"},
    {"call.transaction-not-posted", "TransactionsEx returned {result} (not posted)\n"},
    {"call.log-entries", "--- log entries written by this call ---\n"},
    {"call.closing-lines", "--- closing log lines of this call ---\n"},
    {"call.no-log", "(no brisvane.log)\n"},
    {"record.heading", "--- card record ---\n"},
    {"record.flags", "flags"},

    // ---- config ----
    {"config.warning", "WARNING: {text}"},
    {"config.no-warnings", "No warnings.\n"},
    {"config.warnings-one", "{count} warning.\n"},
    {"config.warnings-few", "{count} warnings.\n"},
    {"config.warnings-many", "{count} warnings.\n"},
    {"config.none", "(none)"},
    {"config.conf-section", "conf.xml"},
    {"config.not-loaded",
     "conf.xml cannot be loaded ({why}, at byte {offset}): the DLL sees no settings, finds no "
     "token and fails every lookup and transaction (\"{line}\")"},
    {"config.utf16",
     "conf.xml is saved as UTF-16 (Notepad's \"Unicode\"): the DLL reads it, but the copy that "
     "Init writes into brisvane.log cannot be read by people; save it as UTF-8"},
    {"config.wrong-top",
     "the top element is <{top}>, not <Configuration> (names are case-sensitive): the DLL sees "
     "no settings, finds no token and fails every lookup and transaction"},
    {"config.no-scratch", "no scratch folder for reading the check; the check is not reported"},
    {"config.service-section", "Service"},
    {"config.no-api-address",
     "no ApiAddress: the DLL connects to an empty host name and no request can reach the "
     "service"},
    {"config.api-address-empty", "ApiAddress is empty: no request can reach the service"},
    {"config.api-address-blanks",
     "ApiAddress holds blanks or line feeds: the DLL uses the text as written, untrimmed, so "
     "the host name cannot be found; write <ApiAddress>host</ApiAddress> on one line"},
    {"config.api-address-not-bare",
     "ApiAddress must be a bare host name: the DLL takes no scheme, port or path out of it "
     "(the port follows from SSL)"},
    {"config.ssl-https",
     "SSL         \"true\" -> HTTPS on port 443 (the service's certificate must be trusted by "
     "Windows and name this host)"},
    {"config.ssl-http", "SSL         {value} -> plain HTTP on port 80"},
    {"config.ssl-meant-true",
     "SSL is written {value}: only the exact text \"true\" turns HTTPS on; the DLL uses plain "
     "HTTP on port 80"},
    {"config.requests-go",
     "requests go to {root}/v1/GuestInfo/<token> (and GetDiscount, CloseOrder, ReturnOrder)"},
    {"config.places-section", "Places of service (in document order)"},
    {"config.place-name", "place #{number}"},
    {"config.place-number", "#{number}"},
    {"config.empty-token",
     "{place} has an empty LoyltyApiToken: a check of order category {code} gets an empty "
     "token and the call fails (\"{lookup}\" / \"{posting}\"); the fallback is not used for it"},
    {"config.missing-token",
     "{place} has no LoyltyApiToken: a check of order category {code} gets an empty token and "
     "the call fails (\"{lookup}\" / \"{posting}\"); the fallback is not used for it"},
    {"config.no-places", "no PlaceOfService: the DLL finds no token for any check (\"{line}\")"},
    {"config.place-line", "{place}  PlaceCode {code} reads as {value}  token {token}"},
    {"config.place-fallback", "  Default=\"true\": fallback"},
    {"config.no-place-code", "{place} has no PlaceCode: it counts as code 0"},
    {"config.place-code-reads",
     "{place}: PlaceCode {code} reads as {value} (the DLL reads leading blanks, a sign and "
     "digits, and no digits as 0)"},
    {"config.token-blanks",
     "{place}: the token holds blanks or line feeds; they become part of every request path"},
    {"config.default-not-true",
     "{place}: Default={value} does not make a fallback; only the exact text \"true\" does"},
    {"config.same-code",
     "{place} has the same code {code} as {earlier}: only the first one is ever used"},
    {"config.many-fallbacks",
     "{count} places are marked Default=\"true\" ({list}): only the last one, {last}, is the "
     "fallback"},
    {"config.no-fallback",
     "no place is marked Default=\"true\": a check whose order category matches no place gets "
     "no token"},
    {"config.token-section", "Token for this check"},
    {"config.no-order-cat",
     "CHECKDATA has no order_cat: the DLL logs \"{line}\" and the call fails; the fallback does "
     "not help"},
    {"config.order-category", "order category {category} (CHECKDATA order_cat {value})"},
    {"config.order-category-none", "order category -1 (the check has no CHECKDATA)"},
    {"config.cannot-choose", "the DLL cannot choose a token: {why}"},
    {"config.also-matches",
     "{place} has code {category} too but is never used: the first matching place wins"},
    {"config.matches", "{place} matches: the first place whose PlaceCode reads as {category}"},
    {"config.matches-over-fallback",
     "{place} matches: the first place whose PlaceCode reads as {category} (a match wins over "
     "the fallback)"},
    {"config.match-empty-token",
     "this check matches {place}, whose token is empty: the DLL opens the connection, then "
     "fails the call on the empty token; the fallback does not stand in"},
    {"config.fallback-used",
     "no place has code {category}: the fallback of {place} is used (the last place marked "
     "Default=\"true\")"},
    {"config.no-match",
     "no place of service matches order category {category} and none is marked "
     "Default=\"true\": the DLL logs \"{line}\" and the call fails with 1"},
    {"config.token", "token {token}"},
    {"shown.characters-one", "({count} character)"},
    {"shown.characters-few", "({count} characters)"},
    {"shown.characters-many", "({count} characters)"},
    {"config.accounts-section", "Bonus and deposit accounts"},
    {"config.slot", "sub-account {number} ({slot})"},
    {"config.no-slot", "no slot"},
    {"config.bonus-name", "BonusAccount #{number}"},
    {"config.deposit-name", "DepositAccount #{number}"},
    {"config.reads-as", "{value} reads as {number}"},
    {"config.no-currency", "{name} has no CurrencyCode: it counts as payment type 0"},
    {"config.no-bonus-account",
     "no BonusAccount: no payment counts as a bonus payment and MaxBonus is shown nowhere"},
    {"config.bonus-line",
     "{name}: payments of CurrencyCode {code} are bonus payments; MaxBonus -> {slot}"},
    {"config.bonus-no-slot",
     "{name}: CardSubAccount {value}, outside 1..8: the bonus available is written to no slot"},
    {"config.no-deposit-account",
     "no DepositAccount: no payment counts as a deposit payment and MaxDeposit is shown "
     "nowhere"},
    {"config.deposit-later-line",
     "{name}: payments of CurrencyCode {code} are deposit payments; its CardSubAccount is not "
     "read (only the first DepositAccount's is)"},
    {"config.deposit-line",
     "{name}: payments of CurrencyCode {code} are deposit payments; MaxDeposit -> {slot}"},
    {"config.deposit-no-slot",
     "{name}: CardSubAccount {value}, outside 1..8: the deposit available is written to no "
     "slot"},
    {"config.slot-shared",
     "sub-account {number} receives both MaxBonus ({bonus}) and MaxDeposit: the deposit is "
     "written last and hides the bonus"},
    {"config.slot-one-note",
     "note: sub-account 1 (Access_amount) also shows the bonus balance after a guest-only "
     "lookup"},
    {"config.check-section", "Check"},
    {"config.lookup-guest", "a lookup asks for the guest only (GuestInfo)"},
    {"config.lookup-guest-discount",
     "a lookup asks for the guest, then for the order's discount (GuestInfo, GetDiscount)"},
    {"config.lookup-bonus-payment",
     "a lookup asks for the discount of the bonus payment's account (GetDiscount)"},
    {"config.lookup-nothing",
     "a lookup asks the service nothing and answers 0 with only the flags cleared"},
    {"config.posting-close", "a transaction closes the order (GetDiscount, CloseOrder)"},
    {"config.posting-return", "a transaction returns the order (ReturnOrder)"},
    {"config.posting-nothing", "a transaction sends nothing and fails with 1"},
    {"config.reader-logged", "the check reader logged: {line}"},
    {"config.no-check",
     "no top-level CHECK was read: the DLL cannot read chmode and fails the call (\"{lookup}\" "
     "/ \"{posting}\")"},
    {"config.no-chmode",
     "CHECK has no chmode: the DLL fails the call (\"{lookup}\" / \"{posting}\")"},
    {"config.mode", "working mode (CHECK chmode) {mode}: {lookup}; {posting}"},
    {"config.role-both", "a bonus and a deposit payment"},
    {"config.role-deposit", "a deposit payment"},
    {"config.role-neither", "neither a bonus nor a deposit payment"},
    {"config.role-bonus-guest", "a bonus payment that names the guest"},
    {"config.role-bonus-no-guest",
     "a bonus payment that names no guest (no account, account \"0\" or not the selected "
     "interface)"},
    {"config.payment-name", "payment #{number} (code {code}{account})"},
    {"config.payment-account", ", account {value}"},
    {"config.payment-role", "{name}: {role}"},
    {"config.payment-no-accounts",
     "{name} pays from an account, but conf.xml has no BonusAccount or DepositAccount: the DLL "
     "takes no payment for a bonus or deposit payment"},
    {"config.payment-unknown-code",
     "{name} pays from an account, but no BonusAccount or DepositAccount has CurrencyCode "
     "{code}: the DLL takes it for an ordinary payment (if it is the host's bonus or deposit "
     "payment type, write {code} into that account's CurrencyCode)"},
    {"config.no-bonus-payment-guest",
     "no bonus payment of the selected interface names the guest (a close then looks in "
     "CHECKDISCOUNTS, then asks the service about each card holder)"},
    {"config.bonus-payment-guest",
     "the bonus payment of the selected interface names the guest: account {value}"},
    {"config.payments-unreadable", "the check's payments cannot be read: {why}"},
    {"config.refused-transaction",
     "a transaction with this check is refused before anything is sent; the DLL logs {lines} "
     "and returns 1"},
    {"config.refused-lookup",
     "a lookup with this check fails before its discount request is sent; the DLL logs "
     "{lines} and returns 1"},
    {"config.refused-line", "\"{line}\""},
    {"config.refused-then", ", then "},
    {"config.init-result", "initCheckXml result {result}"},
    {"config.checkdata-found", "CHECKDATA found"},
    {"config.no-checkdata",
     "no top-level CHECKDATA: the order category counts as -1, and a discount is asked for an "
     "empty order"},
    {"config.no-interfaces",
     "no INTERFACES block: no payment or discount of the check can name the guest"},
    {"config.interface", "selected interface {value}"},
    {"config.holders", "card holders: {list}"},
    {"config.holders-none", "none"},

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
    {"check.title", "Connection check of {folder}"},
    {"check.local-time", "{time} local time"},
    {"check.local-time-short", "{time} (local time)"},
    {"check.failed", "FAILED: "},
    {"check.step-time", " ({ms} ms)"},
    {"check.warning", "WARNING: {text}"},
    {"check.verdict-failed", "Verdict: FAILED: {advice}"},
    {"check.verdict-ok", "Verdict: OK: {verdict}"},
    {"check.warnings-above-one", " ({count} warning above)"},
    {"check.warnings-above", " ({count} warnings above)"},
    {"check.none", "none"},
    {"check.on", "on"},
    {"check.off", "off"},
    {"check.not-set", "not set"},
    {"check.not-available", "not available"},
    {"check.not-available-here", "not available on this Windows"},
    {"check.not-used", "not used (plain HTTP)"},
    {"check.conf-missing", "conf.xml is missing: {path}"},
    {"check.conf-not-xml", "conf.xml cannot be read as XML ({why}, at byte {offset})"},
    {"check.conf-no-configuration", "conf.xml has no <Configuration> element"},
    {"check.label-service", "service"},
    {"check.service-bad",
     "ApiAddress {address} is empty or holds blanks or line feeds: no "
     "request can reach the service"},
    {"check.service", "ApiAddress {address}, SSL {ssl}: {url}"},
    {"check.service-plain",
     "ApiAddress {address}, SSL {ssl}: {url} (only SSL \"true\" turns TLS "
     "on)"},
    {"check.label-token", "token"},
    {"check.token-no-place",
     "{number}, as for a check without CHECKDATA (--place CODE chooses a "
     "place)"},
    {"check.token-none",
     "no place of service has PlaceCode {number} and none is marked "
     "Default=\"true\": the DLL finds no token"},
    {"check.token-way-on",
     "a check with CHECKDATA still finds its place's token: check a place "
     "with hostemu \"{folder}\" check --place CODE, CODE one of the places' "
     "codes: {codes}"},
    {"check.token-no-places",
     "conf.xml has no PlaceOfService: add one for each place of service, "
     "with its PlaceCode and LoyltyApiToken"},
    {"check.token-place", "the place of service with PlaceCode {code}"},
    {"check.token-place-default", "the default place (PlaceCode {code})"},
    {"check.dll-logs", "the DLL logs \"{line}\""},
    {"check.dll-ends", "the DLL logs \"{line}\" and the lookup returns 1"},
    {"check.token-empty",
     "the LoyltyApiToken chosen for order category {number} (its place's, "
     "or the fallback) is empty: the DLL fails every call"},
    {"check.token", "{token} for order category {category}"},
    {"check.label-name", "name"},
    {"check.name-unresolved", "{name} cannot be resolved: {why}"},
    {"check.name-unknown",
     "the name {name} is not known to this till: check ApiAddress, the "
     "till's DNS server, or its hosts file"},
    {"check.name-proxy-unknown",
     "the name {name} of the proxy in this account's Internet Options is "
     "not known to this till"},
    {"check.tcp-failed", "no connection to {host} port {port}: {why}"},
    {"check.tcp-nothing",
     "nothing accepts connections on {host} port {port}: the service is "
     "down, the port is wrong (SSL), or a firewall stops the till"},
    {"check.tcp-proxy",
     "the proxy {proxy} of this account's Internet Options does not accept "
     "connections"},
    {"check.tcp-proxy-or-bypass",
     "the proxy {proxy} of this account's Internet Options does not accept "
     "connections: get it running, or {bypass}"},
    {"check.tcp", "connected to {address} port {port}"},
    {"check.no-scratch", "no scratch folder for the exchange's log"},
    {"check.wininet-cannot-open", "WinInet cannot be opened: {why}"},
    {"check.wininet-cannot-open-advice", "WinInet cannot be opened on this till"},
    {"check.label-proxy", "proxy"},
    {"check.proxy-unknown",
     "cannot be read from Internet Options; the steps below connect directly"},
    {"check.proxy-none", "none: this Windows account's Internet Options connect directly"},
    {"check.proxy-bypassed",
     "{proxy}, but {host} is on its bypass list ({bypass}): WinInet "
     "connects directly"},
    {"check.proxy-through", "{proxy} (bypass list: {bypass}): WinInet goes through {via}"},
    {"check.proxy-direct-anyway",
     "{proxy} (bypass list: {bypass}): the request to {host} went directly "
     "all the same"},
    {"check.proxy-bypass-ignored",
     "{proxy}; the bypass list ({bypass}) seems to name {host} ({entry}), "
     "but the request went through {via}: the bypass entry did not take "
     "effect for WinInet"},
    {"check.route-proxy", "WinInet looked up {name}: the request went to the proxy"},
    {"check.route-direct", "WinInet looked up {name}: the request went to the service directly"},
    {"check.bypass-add",
     "add {host} to the proxy's exceptions (Internet Options, Connections, "
     "LAN settings, Advanced): the exact name first; a pattern such as "
     "{pattern} serves too, as Windows documents '*' in exceptions"},
    {"check.bypass-ignored",
     "the exception {entry} is already there but did not take effect for "
     "WinInet: add the exact name {host} to the proxy's exceptions (Internet "
     "Options, Connections, LAN settings, Advanced)"},
    {"check.bypass-exact-ignored",
     "{host} is already among the proxy's exceptions, but WinInet did not "
     "take it: ask whoever manages this till's proxy settings (a policy or "
     "automatic configuration may override them)"},
    {"check.advice-407-bypass",
     "a proxy asks for a login; the DLL has no place for credentials: let "
     "the till through the proxy by its address, or {bypass}"},
    {"check.proxy-auto-on",
     "automatic proxy configuration is on ({how}): WinInet tries it before "
     "the setting above"},
    {"check.proxy-auto-detect", "detect settings"},
    {"check.proxy-auto-script", "script {url}"},
    {"check.tls", "handshake done, certificate trusted"},
    {"check.tls-certificate", "certificate of {subject}, issued by {issuer}, valid {from} to {to}"},
    {"check.tls-past", "past it: {why}"},
    {"check.tls-none", "no TLS connection to {host}: {why}"},
    {"check.guestinfo-timeout", "no answer within {limit} s"},
    {"check.guestinfo-timeout-advice",
     "the service (or a gateway in front of it) does not answer within "
     "{limit} s"},
    {"check.guestinfo-closed", "the connection was closed without an answer"},
    {"check.guestinfo-closed-advice",
     "the request got no answer: something closes the connection after the "
     "request (the service, a firewall or a proxy in between)"},
    {"check.guestinfo-failed", "the request failed: {why}"},
    {"check.guestinfo-empty", "HTTP status {status} with an empty body"},
    {"check.guestinfo-empty-advice", "the service's reply is empty (HTTP status {status})"},
    {"check.guestinfo-bytes", "{count} bytes"},
    {"check.guestinfo-json-status", "JSON with \"Status\""},
    {"check.guestinfo-json-no-status", "JSON without \"Status\""},
    {"check.guestinfo-not-json", "not JSON"},
    {"check.guestinfo-status-not-whole", " that is not a whole number"},
    {"check.guestinfo-reply", "reply: {reply}"},
    {"check.guestinfo-ok", "the service answered with JSON (HTTP status {status})"},
    {"check.guestinfo-came", "with {what}"},
    {"check.guestinfo-came-not-json", "a reply that is not JSON"},
    {"check.guestinfo-came-no-status", "JSON that is not the service's reply (no \"Status\")"},
    {"check.guestinfo-came-not-whole", "JSON whose \"Status\" is not a whole number"},
    {"check.guestinfo-came-json", "the service's JSON, \"Status\" {status}"},
    {"check.advice-12045",
     "the certificate's issuer is not trusted by this Windows: install the "
     "root certificate updates (or the issuing CA's root certificate)"},
    {"check.advice-12038",
     "the certificate is made out for another host name: ApiAddress must be "
     "the name the certificate names"},
    {"check.advice-12037",
     "the certificate's dates do not cover today: check the till's clock, "
     "now {now}"},
    {"check.advice-12057",
     "the revocation check failed: the till cannot reach the certificate "
     "authority's revocation servers (CRL/OCSP); let it through the firewall"},
    {"check.advice-12157",
     "the TLS handshake was refused: port 443 of the service offers no TLS "
     "that this Windows can use: no TLS version or cipher in common (this "
     "Windows needs TLS 1.2: the TLS 1.1/1.2 update on XP-based systems, TLS "
     "1.2 enabled on Windows 7; a service with TLS 1.3 only is out of reach "
     "before Windows 11), a plain HTTP service on port 443, or a server that "
     "demands a client certificate: ask the service's operator what port 443 "
     "offers"},
    {"check.advice-407",
     "a proxy asks for a login; the DLL has no place for credentials: let "
     "the till through the proxy by its address, or bypass the proxy for "
     "the service's host"},
    {"check.advice-gateway",
     "a gateway in front of the service answered instead of it: the service "
     "behind it is down or slow"},
    {"check.advice-404",
     "the address answers but does not know the request: check ApiAddress, "
     "SSL (port 80 or 443) and the path {path} with the service's operator"},
    {"check.advice-token",
     "check the LoyltyApiToken of {place} first: the service's operator "
     "knows which token this till should have; then whether a firewall or "
     "gateway in front of the service lets the till through"},
    {"check.advice-400",
     "the service or a gateway did not accept the request: check ApiAddress "
     "and SSL, and ask the service's operator"},
    {"check.advice-500", "the service failed on the request: ask the service's operator"},
    {"check.days", "{count} days"},
    {"check.hours", "{count} hours"},
    {"check.minutes", "{count} minutes"},
    {"check.seconds", "{count} s"},
    {"check.label-windows", "windows"},
    {"check.windows-unknown", "version not available on this Windows"},
    {"check.windows", "{name} ({version}, build {build}{pack}), "},
    {"check.windows-bits-unknown", "32- or 64-bit not available on this Windows"},
    {"check.windows-64", "64-bit Windows (hostemu and the DLL run as 32-bit programs)"},
    {"check.windows-32", "32-bit Windows"},
    {"check.windows-too-old", "the DLL needs Windows XP with Service Pack 3 or later"},
    {"check.label-account", "account"},
    {"check.account-user", "user {user}"},
    {"check.account-session", ", session {session}"},
    {"check.account-station", ", window station {station}"},
    {"check.account-service",
     "this runs {where}{desktop}: WinInet is not supported in services; the "
     "POS host must run in a user's session"},
    {"check.account-session-0", "in session 0, where services run"},
    {"check.account-background", "as a service or in the background"},
    {"check.account-no-desktop", ", without an interactive desktop"},
    {"check.account-profile",
     "WinInet takes the proxy and TLS settings from this account's profile: "
     "run the check as the Windows account the POS host runs as"},
    {"check.auto-unavailable",
     "what automatic configuration chooses: not available on this Windows"},
    {"check.auto-nothing",
     "automatic configuration chooses nothing for {url}: {why}{time}; "
     "WinInet falls back to the setting above"},
    {"check.auto-direct",
     "automatic configuration chooses DIRECT for {url}{time}: WinInet "
     "connects directly"},
    {"check.auto-proxy",
     "automatic configuration chooses {proxy} for {url}{time}: WinInet goes "
     "through {via}"},
    {"check.where-machine-policy", "the machine's policy"},
    {"check.where-account-policy", "this account's policy"},
    {"check.where-account", "this account's Internet Options"},
    {"check.where-machine", "the machine's default"},
    {"check.tls12-left-out",
     "SecureProtocols of {where} ({value}) leaves TLS 1.2 out: tick \"Use "
     "TLS 1.2\" in Internet Options, Advanced"},
    {"check.tls12-by-policy", " (a policy sets it: ask whoever manages the domain's policies)"},
    {"check.tls12-schannel-off",
     "SCHANNEL's TLS 1.2 client key has Enabled=0: TLS 1.2 is switched off "
     "for every program; remove the value or set it to 1"},
    {"check.tls12-schannel-on",
     "SCHANNEL's TLS 1.2 client key is enabled and SecureProtocols has it"},
    {"check.tls12-old-windows",
     "this Windows has no TLS 1.2 of its own: it needs the TLS 1.1/1.2 "
     "update for its edition, SCHANNEL's TLS 1.2 client key enabled and "
     "\"Use TLS 1.2\" ticked"},
    {"check.tls12-set", "SecureProtocols of {where} has it"},
    {"check.tls12-default", "SecureProtocols is not set: the default has it"},
    {"check.tls12-not-known",
     "SecureProtocols is not set: TLS 1.2 is on by default only from "
     "Internet Explorer 11; tick \"Use TLS 1.2\" in Internet Options, "
     "Advanced, to be sure"},
    {"check.label-options", "internet options"},
    {"check.options",
     "Work Offline {offline}, automatic detection {detect}, configuration "
     "script {script}; TLS 1.2 {tls}"},
    {"check.tls12-available", "available to WinInet"},
    {"check.tls12-not-available", "NOT available to WinInet"},
    {"check.tls12-perhaps", "perhaps not available to WinInet"},
    {"check.options-protocols",
     "SecureProtocols: machine policy {machinePolicy}, account policy "
     "{accountPolicy}, account {account}, machine default {machine}"},
    {"check.options-schannel",
     "SCHANNEL client keys: TLS 1.1 Enabled {tls11}, DisabledByDefault "
     "{tls11Default}; TLS 1.2 Enabled {tls12}, DisabledByDefault "
     "{tls12Default}"},
    {"check.options-offline",
     "\"Work Offline\" is on for this account: WinInet fails every request; "
     "untick it (Internet Explorer, File menu)"},
    {"check.options-auto-proxy",
     "automatic proxy configuration is on: the first requests after each "
     "start can wait many seconds while WinInet looks for a proxy; untick "
     "it if the till needs none"},
    {"check.options-no-tls12", "SSL is \"true\" but TLS 1.2 is not available to WinInet: {why}"},
    {"check.options-maybe-tls12", "SSL is \"true\" and TLS 1.2 may be off: {why}"},
    {"check.label-clock", "clock"},
    {"check.clock-no-date", "; the service's reply has no Date header to compare with"},
    {"check.clock-bad-date", "; the reply's Date header \"{date}\" cannot be read"},
    {"check.clock", "; the service's Date {date}: difference {difference} s{which}"},
    {"check.clock-behind", " (this clock is behind)"},
    {"check.clock-ahead", " (this clock is ahead)"},
    {"check.clock-warn-behind",
     "this clock is {duration} behind the service's: certificates and "
     "signed tokens fail on a wrong clock; set the till's date, time and "
     "time zone (or its time server)"},
    {"check.clock-warn-ahead",
     "this clock is {duration} ahead of the service's: certificates and "
     "signed tokens fail on a wrong clock; set the till's date, time and "
     "time zone (or its time server)"},
    {"check.label-certificate", "certificate"},
    {"check.certificate-none", "none read: {why} (the TLS step below says why)"},
    {"check.certificate", "{subject}, issued by {issuer}"},
    {"check.certificate-valid", "valid {from} to {to}"},
    {"check.certificate-left", " ({duration} left)"},
    {"check.certificate-top", "top of the chain: {top}{count}"},
    {"check.certificate-count", " ({count} certificates)"},
    {"check.certificate-ended",
     "the certificate ended on {until}: every request fails until the "
     "service renews it (or the till's clock is wrong)"},
    {"check.certificate-ends",
     "the certificate ends in {duration}: the service must renew it before "
     "{until}, or every request fails from then on"},
    {"check.certificate-not-yet",
     "the certificate is valid only from {from}: check the till's clock"},
    {"check.label-revocation", "revocation"},
    {"check.revocation-no-certificate", "no certificate read"},
    {"check.revocation-unavailable", "the addresses are not available on this Windows"},
    {"check.revocation-none", "none named"},
    {"check.revocation-not-tried", "not tried (not an http:// address)"},
    {"check.revocation-answers", "answers (HTTP status {status}, {ms} ms)"},
    {"check.revocation-no-answer", "no answer: {why} ({ms} ms)"},
    {"check.revocation-warning",
     "the {kind} server {url} does not answer from this till: Windows may "
     "fail every HTTPS request with 12057; let the till reach it over HTTP "
     "(firewall, proxy)"},
    {"check.revocation-count-one", "{count} address, {answering} answering"},
    {"check.revocation-count", "{count} addresses, {answering} answering"},

    // ---- replay ----
    {"replay.call", "call {number}  {export}"},
    {"replay.unknown-export", "(unknown)"},
    {"replay.result", "{call}  result {result}"},
    {"replay.same", "{line}: same\n"},
    {"replay.differs", "{line}: DIFFERS: {detail}\n"},
    {"replay.same-but-probe",
     "{line}: same up to the connectivity probe, which went the other way on this machine (not "
     "counted as a difference)\n"},
    {"replay.result-differs", "result {result}, recorded {recorded}"},
    {"replay.entry-differs", "log entry {number} of the call differs:"},
    {"replay.entry-recorded", "  recorded {entry}"},
    {"replay.entry-replayed", "  replayed {entry}"},
    {"replay.no-entry", "\"(none)\""},
    {"replay.request-path-differs", "request {number}: sent to {path}, recorded to {recorded}"},
    {"replay.request-body-differs",
     "request {number}: {path} with body {body}, recorded {recorded}"},
    {"replay.request-extra",
     "the service received {received} requests, the log shows {shown}; the first extra: {path} "
     "{body}"},
    {"replay.request-missing",
     "the service received {received} requests, the log shows {shown}; the first missing: {path} "
     "{body}"},
    {"replay.not-replayable", "{call}: not replayable: {why}\n"},
    {"replay.log-starts-within", "the log starts within this call"},
    {"replay.no-input-buffer", "the log holds no input buffer for this call"},
    {"replay.log-ends-within", "the log ends within this call (or lost the lines that end it)"},
    {"replay.no-config", "no conf.xml: the log holds no copy from Init and the folder has none"},
    {"replay.body-names-no-card", "the guest request's body names no card: {body}"},
    {"replay.reply-follows-other", "a reply for {path} follows a request to {request}"},
    {"replay.request-fate-unknown",
     "the log does not show what became of request {number} ({path})"},
    {"replay.config-zero-bytes",
     "conf.xml holds zero bytes: its ApiAddress cannot be pointed at the replay's server"},
    {"replay.config-not-rewritten", "conf.xml's ApiAddress or SSL cannot be rewritten"},
    {"replay.config-not-pointed", "conf.xml's ApiAddress cannot be pointed at the replay's server"},
    {"replay.cannot-write", "cannot write {file}"},
    {"replay.waits", "{call}: the DLL's own waits make this call take about {seconds} s ...\n"},
    {"replay.no-export", "{path} has no export {name}"},
    {"replay.replaying-one",
     "Replaying {file} ({count} call) through {dll}; the service's recorded replies come from "
     "http://{address}:80\n"},
    {"replay.replaying-few",
     "Replaying {file} ({count} calls) through {dll}; the service's recorded replies come from "
     "http://{address}:80\n"},
    {"replay.replaying-many",
     "Replaying {file} ({count} calls) through {dll}; the service's recorded replies come from "
     "http://{address}:80\n"},
    {"replay.tally-one",
     "{count} call: {same} same, {differ} differ, {unreplayable} not replayable"},
    {"replay.tally-few",
     "{count} calls: {same} same, {differ} differ, {unreplayable} not replayable"},
    {"replay.tally-many",
     "{count} calls: {same} same, {differ} differ, {unreplayable} not replayable"},
    {"replay.tally-probe", ", {count} same but for the connectivity probe"},
    {"replay.nothing-to-replay", "nothing to replay in {file}: {why}"},
    {"replay.file-empty", "the file is empty"},
    {"replay.file-utf16",
     "the file is a UTF-16 copy of a log (saved again by an editor as \"Unicode\"); replay needs "
     "brisvane.log as the till wrote it"},
    {"replay.no-entries", "the file holds no entry of a brisvane.log"},
    {"replay.unreadable-stamps",
     "its lines look like brisvane.log entries, but their time stamps (such as \"[{stamp}]\") are "
     "of no form hostemu reads (MM-DD-YYYY with H:MM:SS or HH:MM:SS, with or without AM/PM)"},
    {"replay.no-such-call-one", "the log holds {count} call; there is no call {number}"},
    {"replay.no-such-call-few", "the log holds {count} calls; there is no call {number}"},
    {"replay.no-such-call-many", "the log holds {count} calls; there is no call {number}"},
    {"replay.no-scratch-folder", "cannot make a scratch folder under %TEMP%"},
    {"replay.nothing-can-run", "nothing can be replayed"},
    {"replay.not-loopback", "not a loopback address: {address}"},
    {"replay.no-server-thread", "cannot start the server's thread"},
    {"replay.no-free-address",
     "no free port 80 on {address} and the addresses after it (up to 15, within 127.0.0.0/8)"},
    {"replay.proxy-set",
     "this account's Internet Options sent http://{address}/ through the proxy {proxy}: a "
     "request sent as the DLL sends it did not reach the replay's own server{fix}"},
    {"replay.proxy-in-the-way",
     "a request to http://{address}/ sent as the DLL sends it did not reach the replay's own "
     "server: a proxy (perhaps one chosen by automatic configuration) is in the way{fix}"},
    {"replay.proxy-fix", "; {advice}, and run the replay again"},

    // ---- summary: text and HTML ----
    {"summary.period", "Period: {from} to {to}"},
    {"summary.period-none", "Period: no time stamps"},
    {"summary.period-none-short", "no time stamps"},
    {"summary.calls-line", "Calls: {calls}"},
    {"summary.returned", "{count} returned {result}"},
    {"summary.none", "none"},
    {"summary.none-sentence", "None."},
    {"summary.always-0", "always 0"},
    {"summary.calls.one", "{n} call"},
    {"summary.calls.few", "{n} calls"},
    {"summary.calls.many", "{n} calls"},
    {"summary.failed-exchanges.one", "{n} exchange failed"},
    {"summary.failed-exchanges.few", "{n} exchanges failed"},
    {"summary.failed-exchanges.many", "{n} exchanges failed"},
    {"summary.calls-unended", "{calls} without the lines that end it"},
    {"summary.cut-at-start", "the log starts within a call"},
    {"summary.exchanges", "Exchanges with the service: {total}, {failed} failed"},
    {"summary.probe", "Connectivity probe: {failed} failed, {succeeded} succeeded"},
    {"summary.failures-title", "Failures by cause"},
    {"summary.longest-title", "Longest calls"},
    {"summary.longest-none", "none took a second or more"},
    {"summary.longest-none-sentence", "None took a second or more."},
    {"summary.seconds", "{s} s"},
    {"summary.minutes", "{min} min {s} s"},
    {"summary.longest-call", "{duration}  call {number} {export} at {start}"},
    {"summary.longest-returned", ", returned {result}"},
    {"summary.longest-not-logged", ", result not logged"},
    {"summary.not-logged", "not logged"},
    {"summary.version-first", "{version} (first {stamp})"},
    {"summary.versions-none", "none logged"},
    {"summary.restarts", "Restarts (Init): {restarts}; versions: {versions}"},
    {"summary.restarts-title", "Restarts and versions"},
    {"summary.restarts-sentence", "Init: {restarts}. Versions: {versions}."},
    {"summary.outages-title", "Outages (every exchange failed)"},
    {"summary.outages-longest", "{count}, the longest {shown} (all of them: --json or --html)"},
    {"summary.outages-all", "{count}, the longest first"},
    {"summary.outage", "{from} to {to}: {failed} ({causes})"},
    {"summary.outage-named", "outage {outage}"},
    {"summary.total", "Total of {count} logs"},
    {"summary.page-title", "brisvane.log summary"},
    {"summary.per-day-title", "Calls, failed calls and failed exchanges per day"},
    {"summary.per-day-label", "calls, failed calls and failed exchanges per day, {from} to {to}"},
    {"summary.per-hour-label", "calls, failed calls and failed exchanges per hour on {day}"},
    {"summary.hour", "{from}:00 to {to}:00"},
    {"summary.legend-calls", "calls"},
    {"summary.legend-calls-per-hour", "calls per hour"},
    {"summary.legend-outage", "outage"},
    {"summary.shared-title",
     "Outages seen at several tills at once (the service's or the network's): {count}"},
    {"summary.shared-outage", "{from} to {to}: at {count} tills ({logs})"},
    {"summary.own-outages", "Outages seen at one till only (that till's own): {count}"},
    {"summary.head-tills", "Tills"},
    {"summary.head-logs", "Logs"},
    {"summary.failed-calls.one", "{n} failed call"},
    {"summary.failed-calls.few", "{n} failed calls"},
    {"summary.failed-calls.many", "{n} failed calls"},
    {"summary.per-export", "{export}: {calls}, {failed}"},
    {"summary.legend-failed-calls", "failed calls (result other than 0)"},
    {"summary.legend-failed-exchanges", "failed exchanges with the service (retries included)"},
    {"summary.legend-failed-exchanges-by-cause", "failed exchanges by cause:"},
    {"summary.out-of-order",
     "Stamps out of order: {n} (an entry stamped earlier than the one above it: the till's clock "
     "was set back, or logs were joined out of order)"},
    {"summary.as-written",
     "Results, Windows errors and HTTP statuses beyond a 32-bit number, shown as the log writes "
     "them: {n}"},
    {"summary.calls-title", "Calls"},
    {"summary.head-export", "Export"},
    {"summary.head-calls", "Calls"},
    {"summary.head-results", "Results"},
    {"summary.head-cause", "Cause"},
    {"summary.head-count", "Count"},
    {"summary.head-meaning", "Meaning"},
    {"summary.head-duration", "Duration"},
    {"summary.head-call", "Call"},
    {"summary.head-started", "Started"},
    {"summary.head-result", "Result"},
    {"summary.head-log", "Log"},
    {"summary.head-from", "From"},
    {"summary.head-to", "To"},
    {"summary.head-failed-exchanges", "Failed exchanges"},
    {"summary.head-causes", "Causes"},
    {"summary.cause.no-guest", "no guest found for the close"},
    {"summary.cause.no-record", "no card record from the host"},
    {"summary.cause.check-not-usable", "check not usable"},
    {"summary.cause.nothing-to-send", "nothing to send in this working mode"},
    {"summary.cause.refused", "refused by the service"},
    {"summary.cause.no-token", "no token for the check"},
    {"summary.cause.no-config", "no conf.xml (missing or not XML)"},
    {"summary.cause.unusable-reply", "unusable reply"},
    {"cause.time-out", "time-out"},
    {"cause.empty-reply", "empty reply"},
    {"cause.send-failed", "send failed"},
    {"summary.cause.other", "other failure"},
    {"summary.no-call",
     "{file} holds no call (no Init, GetCardInfoEx or TransactionsEx starts in it)"},
    {"summary.cannot-write", "cannot write {file}"},
    {"summary.page", "The page: {file}"},

    // ---- redact ----
    {"redact.log-itself", "{file} is the log itself; give another file for the copy"},
    {"redact.cannot-write", "cannot write {file}"},
    {"redact.wrote", "Wrote {copy} ({copy_size}) from {log} ({log_size}), replaced:\n"},
    // Said "bytes" of any number, as the report has always said it.
    {"redact.bytes-one", "{count} bytes"},
    {"redact.bytes-few", "{count} bytes"},
    {"redact.bytes-many", "{count} bytes"},
    {"redact.replaced", "  {kind}: {count} replaced{values}\n"},
    {"redact.values-one", " ({count} value)"},
    {"redact.values-few", " ({count} values)"},
    {"redact.values-many", " ({count} values)"},
    {"redact.kind-tokens", "API tokens"},
    {"redact.kind-birthdays", "birthdays"},
    {"redact.kind-comments", "comments about the guest"},
    {"redact.kind-emails", "e-mail addresses"},
    {"redact.kind-names", "names"},
    {"redact.kind-numbers", "phone and card numbers"},
    {"redact.members-removed",
     "  reply members of unknown meaning that held text or a number: {count} removed\n"},
    {"redact.replies-removed", "  replies cut or not JSON as a whole: {count} removed\n"},
    {"redact.head-removed",
     "  text before the first entry (the log starts within one): {bytes} removed\n"},
    {"redact.texts-removed", "  lines that are none of the module's: {count} replaced\n"},
    {"redact.damage-removed",
     "  damaged stretches (zero bytes a power cut left, and what follows them): {count}, {bytes} "
     "removed\n"},
    {"redact.left-over",
     "{file} not written: the copy would still hold a token or a value replaced elsewhere in it"},
    {"redact.nothing", "  nothing to replace\n"},
};

}  // namespace

extern const Catalog kEnglishCatalog = {Language::English, "en", kMessages, std::size(kMessages)};
