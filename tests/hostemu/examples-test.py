#!/usr/bin/env python3
"""The documents' examples, run: every hostemu command of INSTALL.txt,
INSTALL.ru.txt, hostemu.md and log-and-results.md that can run under Wine is
run here, in the folders the documents name (C:\\POS, C:\\POSDATA,
C:\\Program Files\\POS, C:\\brisvane-tools in the Wine prefix), with the
bundle's samples and the fake service playing samples/demo/scenario.json, and
what it printed is compared with what the document shows after the command.

  examples-test.py HOSTEMU_EXE DLL SERVICE_ADDRESS STATE_DIR

SERVICE_ADDRESS: a loopback address of this test's own (the test stops and
starts its service); the replay's server takes the next one. WINEPREFIX must be
set. The DLL is the replay tests' build: its connectivity probe fails at once
on every machine, as on the documents' machine without internet.

Compared with times, durations, paths, addresses, commits and sizes masked and
blanks ignored (the documents fold long lines). A row of TABLE is one example:
the document, the command as it is written there (placeholders and all), the
command run (when the document's has placeholders), the console's folder, and
what is compared: the output as a whole (WHOLE) or in part (PART) against the
block the document shows after `anchor` (the command itself unless given), or
quoted excerpts, each of which must stand in the document and in the output.
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import time

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.normpath(os.path.join(here, "..", ".."))
hostemu_exe, dll, address, state = sys.argv[1:5]
replay_address = re.sub(r"\d+$", lambda m: str(int(m.group()) + 1), address)
drive_c = os.path.join(os.environ["WINEPREFIX"], "drive_c")
wine_run = os.path.join(root, "scripts", "wine-run.sh")
places = {
    "C:\\POS": os.path.join(drive_c, "POS"),
    "C:\\POSDATA": os.path.join(drive_c, "POSDATA"),
    "C:\\Program Files\\POS": os.path.join(drive_c, "Program Files", "POS"),
    "C:\\brisvane-tools": os.path.join(drive_c, "brisvane-tools"),
    "C:\\POS Data": os.path.join(drive_c, "POS Data"),
}

WHOLE, PART = "whole", "part"


def row(doc, anchor, expect=WHOLE, run=None, cwd="C:\\POS", target="out", status=None,
        blocks=1):
    """One example: `anchor` is the command as the document writes it, or the
    text just before its output when the document writes it elsewhere; `run`
    the command run (default: `anchor`). doc None: a call that only makes the
    log the later examples read; run False: the log as it stands."""
    return dict(doc=doc, anchor=anchor, expect=expect, run=anchor if run is None else run, cwd=cwd,
                target=target, status=status, blocks=blocks)


def do(action):
    return dict(do=action)


I, R, H, L = "INSTALL.txt", "INSTALL.ru.txt", "hostemu.md", "log-and-results.md"
TOOLS = "C:\\brisvane-tools"
DLL = '"C:\\Program Files\\POS\\brisvane.dll"'
CHECK = "hostemu.exe C:\\POS check"
TABLE = [
    # Which DLL is this
    row(I, 'hostemu.exe --dll "C:\\Program Files\\POS\\brisvane.dll" C:\\POS version'),
    row(R, 'hostemu.exe --dll "C:\\Program Files\\POS\\brisvane.dll" C:\\POS version'),
    row(H, "hostemu.exe C:\\POS version"),
    row(L, "hostemu.exe --dll <path of the DLL> <working directory> version",
        run="hostemu.exe --dll %s C:\\POS version" % DLL, expect=["Product version"]),
    # Installing, steps 7 to 9, from the tools folder
    row(I, "hostemu.exe <working directory> check", run=CHECK, cwd=TOOLS,
        expect=[('must begin "Verdict: OK"', "Verdict: OK")], status=0),
    row(R, "hostemu.exe <рабочая папка> check", run=CHECK, cwd=TOOLS,
        expect=[('начинаться с "Итог: ОК"', "Итог: ОК")], status=0),
    row(I, "hostemu.exe <working directory> config check.xml",
        run="hostemu.exe C:\\POS config check.xml", cwd=TOOLS,
        expect=[('ends "No warnings."', "No warnings.")],
        status=0),
    row(R, "hostemu.exe <рабочая папка> config check.xml",
        run="hostemu.exe C:\\POS config check.xml", cwd=TOOLS,
        expect=[('строкой "Предупреждений нет."', "Предупреждений нет.")], status=0),
    row(H, "hostemu.exe --lang ru C:\\POS config check.xml", expect=PART, status=0),
    row(I, "hostemu.exe --dll <path of the DLL> --brief <working directory> lookup <card> check.xml",
        run="hostemu.exe --dll %s --brief C:\\POS lookup 1001 check.xml" % DLL, cwd=TOOLS,
        expect=[('say "returned 0 (answered)"', "returned 0 (answered)")], status=0),
    row(R, "hostemu.exe --dll <путь к DLL> --brief <рабочая папка> lookup <карта> check.xml",
        run="hostemu.exe --dll %s --brief C:\\POS lookup 1001 check.xml" % DLL, cwd=TOOLS,
        expect=[('содержать "вернула 0 (ответ получен)"', "вернула 0 (ответ получен)")], status=0),
    # A folder with the host's files but not its DLL
    row(I, "the working directory holds no brisvane.dll and --dll is missing:",
        run="hostemu.exe --brief C:\\POSDATA lookup 1001 check.xml", cwd=TOOLS, expect=PART,
        status=1),
    row(R, "а --dll не указан:", run="hostemu.exe --brief C:\\POSDATA lookup 1001 check.xml",
        cwd=TOOLS, expect=PART, status=1),
    row(H, "hostemu.exe --brief C:\\POSDATA lookup 1001 check.xml", status=1),
    row(H, 'hostemu.exe --dll "C:\\Program Files\\POS\\brisvane.dll" --brief C:\\POSDATA lookup '
        "1001 check.xml", status=0),
    row(H, "hostemu.exe C:\\POS config none.xml", cwd=TOOLS, status=2),
    # Slips and short complaints
    row(H, "hostemu.exe --dll C:\\Program Files\\POS\\brisvane.dll C:\\POS lookup 1001 check.xml",
        status=2),
    row(H, "hostemu.exe C:\\POS Data config check.xml", status=2),
    row(H, "hostemu.exe C:\\POS lookup check.xml", status=2),
    row(H, "hostemu.exe --dll C:\\windows\\system32\\kernel32.dll C:\\POS init", status=1),
    # Payment types that are not the host's
    do("posdata-types-15-16"),
    row(I, "is no BonusAccount's or DepositAccount's CurrencyCode, e.g.",
        run="hostemu.exe C:\\POSDATA config paid.xml", cwd=TOOLS, expect=PART, status=1),
    row(R, "с CurrencyCode ни BonusAccount, ни DepositAccount, например",
        run="hostemu.exe C:\\POSDATA config paid.xml", cwd=TOOLS, expect=PART, status=1),
    row(H, "hostemu.exe C:\\POSDATA config paid.xml", status=1),
    do("no-deposit-account"),
    row(H, "hostemu.exe C:\\POS config nodeposit.xml", expect=PART, status=1),
    # "Trying the installation with hostemu": the commands without their output
    row(I, "hostemu.exe <folder> init", run="hostemu.exe C:\\POS init", status=0, expect=None),
    row(I, "hostemu.exe <folder> lookup <card-or-phone-number> check.xml", expect=None,
        run="hostemu.exe C:\\POS lookup 1002 check.xml", status=0),
    row(I, "hostemu.exe <folder> transaction check.xml", expect=None,
        run="hostemu.exe C:\\POS transaction check.xml", status=0),
    row(I, "hostemu.exe <folder> check [--place CODE]", expect=None,
        run="hostemu.exe C:\\POS check --place 1", status=0),
    # The calls of the log that replay, show, summary and redact read
    do("new-log"),
    row(None, "hostemu.exe C:\\POS init", status=0),
    row(None, "hostemu.exe --brief C:\\POS lookup 1001 check.xml", status=0),
    row(H, "hostemu.exe --brief C:\\POS lookup 1002 order.xml", status=0),
    row(None, "hostemu.exe C:\\POS transaction paid.xml", status=0),
    row(H, "hostemu.exe --brief C:\\POS lookup 1003 check.xml", status=0),
    do("stop"),
    row(None, "hostemu.exe C:\\POS lookup 1001 check.xml", status=0),
    row(L, "The service was stopped and card 1001 was presented", run="hostemu.exe C:\\POS "
        "lookup 1001 check.xml", expect=[('hostemu said "GetCardInfoEx(1001) returned 1 (failed)"',
                 "GetCardInfoEx(1001) returned 1 (failed)")]),
    row(H, "The service stopped, `hostemu.exe C:\\POS check`", run=CHECK, status=1),
    row(I, "Failing, the same folder with the service stopped:", run=CHECK, status=1),
    row(R, "Неудачная проверка, та же папка, сервер остановлен:", run=CHECK, status=1),
    do("start"),
    row(H, "hostemu.exe C:\\POS replay brisvane.log", status=0),
    row(H, "hostemu.exe show brisvane.log --call 6", status=0),
    row(H, "hostemu.exe summary brisvane.log --html summary.html", status=0),
    row(H, "hostemu.exe redact brisvane.log brisvane-redacted.log", status=0),
    row(I, "characters folded):", run=CHECK, status=0),
    row(R, "длиннее 96 символов перенесены):", run=CHECK, status=0),
    # The log's line-by-line examples: the failed lookup above, one that
    # succeeded right after it, and a return while the service was stopped
    row(None, "hostemu.exe C:\\POS lookup 1001 check.xml", status=0),
    row(L, "### A lookup that failed", run="hostemu.exe C:\\POS lookup 1001 check.xml",
        expect=PART, blocks=7, target="log"),
    row(L, "### A lookup that succeeded", run="hostemu.exe C:\\POS lookup 1001 check.xml",
        expect=PART, blocks=4, target="log"),
    do("stop"),
    row(L, "hostemu.exe C:\\POS transaction C:\\POS\\return.xml", expect=PART, blocks=4,
        target="log", status=0),
    row(L, "hostemu.exe C:\\POS transaction C:\\POS\\return.xml",
        expect=[('hostemu said "TransactionsEx returned 1 (not posted)"',
                 "TransactionsEx returned 1 (not posted)")]),
    row(L, "That next entry is often the line that names the call's result:", run=False,
        expect=PART, target="log"),
    row(I, "that next entry is the line that names the result:", run=False, expect=PART,
        target="log"),
    row(R, "запись — строка, которая называет результат:", run=False, expect=PART, target="log"),
    do("start"),
    # A warning of the check, quoted
    do("work-offline"),
    row(I, '"Work Offline" (Internet Explorer, File menu):', run=CHECK, status=0,
        expect=['WARNING: "Work Offline" is on for this account: WinInet fails every request']),
    row(R, "«Работать автономно» (Internet Explorer, меню «Файл»):", run=CHECK, status=0,
        expect=[('ВНИМАНИЕ: "для этой учётной записи включён режим «Работать автономно»: WinInet '
                 'не выполняет ни одного запроса"', "для этой учётной записи включён режим "
                 "«Работать автономно»: WinInet не выполняет ни одного запроса")]),
    do("work-online"),
    # For support
    row(I, "hostemu.exe summary brisvane.log", expect=None, status=0),
    row(I, "hostemu.exe show brisvane.log [--call N]", run="hostemu.exe show brisvane.log --call 2",
        expect=None, status=0),
    # What to send to support, removing, privacy: the redacted copy
    row(I, "hostemu.exe redact brisvane.log brisvane-redacted.log", expect=None, status=0),
    row(R, "hostemu.exe redact brisvane.log brisvane-redacted.log", expect=None, status=0),
    row(L, "hostemu.exe redact brisvane.log brisvane-redacted.log", expect=None, status=0),
]

# Masks applied to the document's text and the output alike, in order.
MASKS = [
    # A lookup that took a second or two only because the machine was busy is
    # listed among the longest calls; the documents show the calls that wait.
    (r"\n[ \t]*(?<!\d)[12] (s|с)  (call|вызов) \d+ [^\n]*", ""),
    (r"\d\d-\d\d-\d{4}\s+\d{1,2}:\d\d:\d\d( [AP]M)?", "STAMP"),
    (r"\d{4}-\d\d-\d\d\s+\d\d:\d\d(:\d\d)?", "DATETIME"),
    (r"\d\d\.\d\d\.\d{4}\s+\d\d:\d\d(:\d\d)?", "DATETIME"),  # in Russian, day first
    (r"\((\d+) (ms|мс)\)", r"(N \2)"),
    (r"[0-9a-f]{40}(-dirty)?", "COMMIT"),
    (r"127\.\d+\.\d+\.\d+|loyalty\.example\.com", "ADDR"),
    (r"\b\d+ (bytes|байт)\b", r"N \1"),
    (r"\b\d+ (s|с)(?=\s+(call|вызов) \d)", r"N \1"),  # summary's longest calls
    (r"(difference|разница) [-+]?\d+ (s|с)", r"\1 N \2"),  # the clock against the Date's second
]


def mask(text):
    for pattern, replacement in MASKS:
        text = re.sub(pattern, replacement, text)
    return text


def squeeze(text):
    """Masked, without blanks: the documents fold long lines at any column."""
    return re.sub(r"\s+", "", mask(text))


def first_difference(shown, got):
    """Where the document's squeezed text parts from the output's, with what
    follows in each."""
    best = 0
    for start in range(len(got)):
        n = 0
        while n < len(shown) and start + n < len(got) and shown[n] == got[start + n]:
            n += 1
        best = max(best, n)
    return "after %r: document %r, output %r" % (shown[max(0, best - 30):best],
                                                   shown[best:best + 30],
                                                   got[got.find(shown[:best]) + best:][:30])


def doc_text(name):
    with open(os.path.join(root, "docs", name), encoding="utf-8-sig") as f:
        return f.read().replace("\r\n", "\n")


def find(doc, text, name):
    """The position in `doc` just after `text`, blanks and backticks aside."""
    pattern = r"`?\s+`?".join(re.escape(w.strip("`")) for w in text.split())
    m = re.search(pattern, doc)
    if not m:
        raise LookupError("%s does not show: %s" % (name, text))
    return m.end()


def blocks_after(doc, pos, count):
    """The `count` indented blocks that follow position `pos` of `doc`: each a
    run of lines indented at least as deep as its first, blank lines inside
    kept; a line that continues a fold ("...") joins the line above."""
    lines = doc[pos:].split("\n")[1:]
    found, i = [], 0
    while len(found) < count and i < len(lines):
        if not lines[i].strip() or not lines[i].startswith(" "):
            i += 1
            continue
        depth = len(lines[i]) - len(lines[i].lstrip())
        j, block = i, []
        while j < len(lines):
            line = lines[j]
            if line.strip() and len(line) - len(line.lstrip()) < depth:
                break
            if not line.strip() and (j + 1 == len(lines) or not lines[j + 1].startswith(" " * depth)):
                break
            block.append(line)
            j += 1
        found.append(re.sub(r"\n\s*\.\.\.", "", "\n".join(block)))
        i = j
    return found


def windows_words(command):
    """The words of a console command line: blanks split, double quotes group."""
    return [w.replace('"', "") for w in re.findall(r'(?:[^\s"]|"[^"]*")+', command)]


def run(command, cwd, lang):
    words = windows_words(command)
    assert words[0] == "hostemu.exe", command
    args = [wine_run, "hostemu.exe", "--lang", lang] + words[1:]
    # The documents' till: Windows in the document's language, the host's
    # account "kassa" (Wine takes both from the environment).
    env = dict(os.environ, HOSTEMU_REPLAY_ADDRESS=replay_address, USER="kassa", LOGNAME="kassa",
               LANG="ru_RU.UTF-8" if lang == "ru" else "en_US.UTF-8")
    for name in ("LC_ALL", "LANGUAGE"):
        env.pop(name, None)
    p = subprocess.run(args, cwd=places[cwd], env=env, stdout=subprocess.PIPE,
                       stderr=subprocess.STDOUT, timeout=300)
    text = p.stdout.decode("utf-8", "replace").replace("\r\n", "\n")
    # Wine's own complaints (a fault as a process ends) are not hostemu's.
    return p.returncode, "".join(l for l in text.splitlines(True) if not l.startswith("wine: "))


def log_text():
    """C:\\POS\\brisvane.log, each line decoded as it was written (the
    service's replies in UTF-8, the rest Windows-1251)."""
    with open(os.path.join(places["C:\\POS"], "brisvane.log"), "rb") as f:
        lines = f.read().replace(b"\r\n", b"\n").split(b"\n")
    out = []
    for line in lines:
        try:
            out.append(line.decode("utf-8"))
        except UnicodeDecodeError:
            out.append(line.decode("cp1251"))
    return "\n".join(out)


# --- the folders, the samples and the service

service = None
pid_file = os.path.join(state, "examples-service.pid")


def stop_service():
    global service
    if service:
        service.terminate()
        service.wait(timeout=30)
        service = None
    elif os.path.exists(pid_file):  # what a killed run left
        try:
            pid = int(open(pid_file).read())
            if b"fakeloyalty.py" in open("/proc/%d/cmdline" % pid, "rb").read():
                os.kill(pid, signal.SIGTERM)
                time.sleep(1)
        except (OSError, ValueError):
            pass
    if os.path.exists(pid_file):
        os.remove(pid_file)


def start_service():
    global service
    stop_service()
    scenario = os.path.join(state, "scenario.json")
    service = subprocess.Popen(
        [sys.executable, os.path.join(root, "tools", "fakeloyalty", "fakeloyalty.py"),
         "--http", address + ":80", "--scenario", scenario, "--pid-file", pid_file,
         "--moved-by", "the CMake cache variable BRISVANE_EXAMPLES_ADDRESS"],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(100):
        if os.path.exists(pid_file):
            return
        if service.poll() is not None:
            break
        time.sleep(0.1)
    raise SystemExit("examples: the fake service did not start on %s:80" % address)


def conf_xml(types=(5, 6)):
    with open(os.path.join(root, "samples", "demo", "conf.xml"), encoding="utf-8") as f:
        text = f.read()
    text = re.sub(r"<ApiAddress>[^<]*</ApiAddress>", "<ApiAddress>%s</ApiAddress>" % address, text)
    text = text.replace("<CurrencyCode>5<", "<CurrencyCode>%d<" % types[0])
    return text.replace("<CurrencyCode>6<", "<CurrencyCode>%d<" % types[1])


def write(path, text):
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        f.write(text)


def set_up():
    os.makedirs(state, exist_ok=True)
    for path in places.values():
        shutil.rmtree(path, ignore_errors=True)
        os.makedirs(path)
    bundle = os.path.join(state, "bundle")
    shutil.rmtree(bundle, ignore_errors=True)
    os.makedirs(bundle)
    subprocess.run([os.path.join(root, "scripts", "bundle-texts.sh"), bundle], check=True)
    samples = ["check.xml", "order.xml", "paid.xml", "return.xml"]
    for folder in ("C:\\POS", "C:\\brisvane-tools"):
        shutil.copy(hostemu_exe, os.path.join(places[folder], "hostemu.exe"))
        for sample in samples:
            shutil.copy(os.path.join(bundle, sample), places[folder])
    shutil.copy(dll, os.path.join(places["C:\\POS"], "brisvane.dll"))
    shutil.copy(dll, os.path.join(places["C:\\Program Files\\POS"], "brisvane.dll"))
    write(os.path.join(places["C:\\POS"], "conf.xml"), conf_xml())
    write(os.path.join(places["C:\\POSDATA"], "conf.xml"), conf_xml())
    with open(os.path.join(root, "samples", "demo", "scenario.json"), encoding="utf-8") as f:
        write(os.path.join(state, "scenario.json"), f.read())
    start_service()


INTERNET_SETTINGS = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"


def work_offline(on):
    args = ["add", INTERNET_SETTINGS, "/v", "GlobalUserOffline", "/t", "REG_DWORD", "/d", "1", "/f"]
    subprocess.run([wine_run, "reg"] + (args if on else ["delete"] + args[1:4] + ["/f"]),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=on)


def no_deposit_account():
    with open(os.path.join(places["C:\\POS"], "paid.xml"), encoding="utf-8") as f:
        text = f.read()
    write(os.path.join(places["C:\\POS"], "nodeposit.xml"),
          text.replace('<PAYMENT code="6" account="501"', '<PAYMENT code="6"').replace("\r\n", "\n"))


ACTIONS = {
    "no-deposit-account": no_deposit_account,
    "work-offline": lambda: work_offline(True),
    "work-online": lambda: work_offline(False),
    "new-log": lambda: os.remove(os.path.join(places["C:\\POS"], "brisvane.log")),
    "stop": stop_service,
    "start": start_service,
    "posdata-types-15-16": lambda: write(os.path.join(places["C:\\POSDATA"], "conf.xml"),
                                         conf_xml((15, 16))),
}


def main():
    failures = 0
    last = {}  # (doc, command) -> (status, output) of the row that ran it
    set_up()
    try:
        for r in TABLE:
            if "do" in r:
                ACTIONS[r["do"]]()
                continue
            name = "%s: %s" % (r["doc"] or "the log", r["anchor"])
            problems = []
            lang = "ru" if r["doc"] == R else "en"
            key = (r["run"], r["cwd"], lang)
            if not r["run"]:
                status, out = None, ""
            elif key not in last or r["status"] is not None:
                last[key] = run(r["run"], r["cwd"], lang)
            if r["run"]:
                status, out = last[key]
            target = log_text() if r["target"] == "log" else out
            if r["status"] is not None and status != r["status"]:
                problems.append("exit status %d, expected %d" % (status, r["status"]))
            pos = None
            if r["doc"]:
                doc = doc_text(r["doc"])
                try:
                    pos = find(doc, r["anchor"], r["doc"])
                except LookupError as e:
                    problems.append(str(e))
            if pos is not None and r["expect"] in (WHOLE, PART):
                for block in blocks_after(doc, pos, r["blocks"]):
                    shown, got = squeeze(block), squeeze(target)
                    same = shown == got if r["expect"] == WHOLE else shown in got
                    if not same:
                        problems.append("the document shows:\n%s\nfirst difference: %s" %
                                        (mask(block), first_difference(shown, got)))
            elif pos is not None and r["expect"]:
                for excerpt in r["expect"]:  # (what the document says, what is printed)
                    said, printed = excerpt if isinstance(excerpt, tuple) else (excerpt, excerpt)
                    if squeeze(said) not in squeeze(doc):
                        problems.append("the document does not say: %s" % said)
                    if squeeze(printed) not in squeeze(target):
                        problems.append("the output lacks: %s" % printed)
            if problems:
                failures += 1
                print("FAIL [%s] (run: %s, in %s)" % (name, r["run"], r["cwd"]))
                for p in problems:
                    print("  " + p.replace("\n", "\n    | "))
                print("  printed:\n    | " + target.replace("\n", "\n    | "))
            else:
                print("ok   [%s]" % name)
    finally:
        stop_service()
        work_offline(False)
        for path in places.values():
            if not os.environ.get("EXAMPLES_KEEP"):  # kept: to make a document's example anew
                shutil.rmtree(path, ignore_errors=True)
    if failures:
        print("examples: %d failure(s)" % failures)
        return 1
    print("examples: all passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
