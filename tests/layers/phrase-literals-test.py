#!/usr/bin/env python3
"""The tools read and write the DLL's log texts through its table of log events
(log/LogEvents.cpp) and the other constants in src/, never through literals of
their own: a phrase changed in the DLL must not leave a tool matching the old
text.

Fails when a string literal in tools/ is the head of a text the DLL logs (a
literal in a logging call's arguments, or a fixed part of a row of
log/LogEvents.cpp, its parameters taken out), or quotes one whole: a head of ten characters or more, a quoted text of fourteen
or more, each with a blank in it.
    phrase-literals-test.py SOURCE-DIR
"""
import pathlib
import re
import sys

MIN = 10     # a head as short as "Windows error" still counts
QUOTED = 14  # shorter texts inside a tool's own sentence are its own words
LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')


def code_of(path):
    """The file's text without comments and include lines."""
    text = path.read_text(encoding="utf-8", errors="replace")
    text = re.sub(r"/\*.*?\*/", "", text, flags=re.S)
    text = re.sub(r'^\s*#include.*$', "", text, flags=re.M)
    # Line comments, but not "//" inside a literal.
    return "\n".join(re.sub(r'^((?:[^"/\n]|"(?:[^"\\\n]|\\.)*"|/(?!/))*)//.*$', r"\1", line)
                     for line in text.split("\n"))


def literals(text):
    """(literal, line) for each string literal; adjacent ones are one literal."""
    out = []
    for m in re.finditer(r'"(?:[^"\\\n]|\\.)*"(?:\s*"(?:[^"\\\n]|\\.)*")*', text):
        parts = LITERAL.findall(m.group(0))
        out.append(("".join(parts), text.count("\n", 0, m.start()) + 1))
    return out


def log_texts(path):
    """The literals a source file of the DLL writes to the log: those in a
    logging call's arguments, and every fixed part of the table's rows."""
    text = code_of(path)
    if path.name in ("LogEvents.cpp", "LogEvents.h"):
        return [(part, n) for lit, n in literals(text)
                for part in re.split(r"\{[A-Za-z]+\}", lit) if part]
    found = []
    for call in re.finditer(r"\b(logMessage|logQuietly|logAnswer|logAndReturn|fail)\s*\(", text):
        end = text.find(";", call.end())
        found.extend((lit, text.count("\n", 0, call.start()) + 1 + n - 1)
                     for lit, n in literals(text[call.end():end]))
    return found


def shares(tool, phrase):
    """A tool's literal that is the head of a logged text (how the readers
    match), or that quotes a logged text whole."""
    def phrase_like(s, least):
        return len(s) >= least and " " in s
    return (phrase_like(tool, MIN) and phrase.startswith(tool)) or (
        phrase_like(phrase, QUOTED) and phrase in tool)


def main():
    root = pathlib.Path(sys.argv[1])
    phrases = {}
    for path in sorted((root / "src").rglob("*")):
        if path.suffix in (".cpp", ".h"):
            for lit, n in log_texts(path):
                phrases.setdefault(lit, f"{path.relative_to(root)}:{n}")
    bad = 0
    for path in sorted((root / "tools").rglob("*")):
        if path.suffix not in (".cpp", ".h"):
            continue
        for lit, n in literals(code_of(path)):
            for phrase, where in phrases.items():
                if shares(lit, phrase):
                    print(f"phrase-literals: {path.relative_to(root)}:{n} \"{lit}\" "
                          f"retypes \"{phrase}\" ({where}); use the constant", file=sys.stderr)
                    bad = 1
                    break
    if not bad:
        print("phrase-literals: the tools name every DLL text they share by its constant")
    return bad


if __name__ == "__main__":
    sys.exit(main())
