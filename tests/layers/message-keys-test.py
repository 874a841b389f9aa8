#!/usr/bin/env python3
"""hostemu asks its message catalogs only for keys they hold, with the
parameters the texts name: a key mistyped in a command file (code the native
tests do not run) fails here, not at a till.

Reads the keys and parameters of tools/hostemu/core/i18n/messages_en.cpp and
finds, in every other source file of tools/hostemu, each string literal whose
first dotted part is a section of those keys ("usage.", "cli." ...). Each
must be a key; where the literal is followed by ", {" (the parameters of the
call), the names given there must be the text's parameters; where it is
followed by ")" or ";" it is asked for without any.
    message-keys-test.py SOURCE-DIR
"""
import pathlib
import re
import sys

ENTRY = re.compile(r'\{"([^"]+)",\s*((?:"(?:[^"\\\n]|\\.)*"\s*)+)\}')
LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
PLACEHOLDER = re.compile(r"\{([A-Za-z][A-Za-z0-9_]*)\}")


def catalog(path):
    keys = {}
    for m in ENTRY.finditer(path.read_text(encoding="utf-8")):
        text = "".join(LITERAL.findall(m.group(2)))
        keys[m.group(1)] = set(PLACEHOLDER.findall(text))
    return keys


def given_names(code, start):
    """The names of an initializer list {{"a", x}, {"b", y}} at code[start];
    the lists of messages nested in its values are not its own."""
    names, depth, i = set(), 0, start
    while i < len(code):
        c = code[i]
        if c == '"':
            i += 1
            while code[i] != '"':
                i += 2 if code[i] == "\\" else 1
        elif c == "{":
            depth += 1
            if depth == 2:
                m = re.match(r'\{\s*"([A-Za-z][A-Za-z0-9_]*)"\s*,', code[i:])
                if m:
                    names.add(m.group(1))
        elif c == "}":
            depth -= 1
            if depth == 0:
                break
        i += 1
    return names


def main():
    root = pathlib.Path(sys.argv[1]) / "tools" / "hostemu"
    keys = catalog(root / "core" / "i18n" / "messages_en.cpp")
    sections = {k.split(".")[0] for k in keys}
    problems = []
    for path in sorted(root.rglob("*.cpp")) + sorted(root.rglob("*.h")):
        if path.parent.name == "i18n":
            continue
        code = path.read_text(encoding="utf-8", errors="replace")
        # A literal ending in "-" or "." is the head of keys made at run time
        # ("dll.meaning-" + code): the native tests ask for each of those.
        for m in re.finditer(r'"([a-z][a-z0-9]*)\.([a-z0-9][a-z0-9.-]*[a-z0-9])"', code):
            if m.group(1) not in sections:
                continue
            key = m.group(1) + "." + m.group(2)
            where = "%s:%d" % (path.relative_to(root), code.count("\n", 0, m.start()) + 1)
            if key not in keys:
                problems.append("%s: no message %s" % (where, key))
                continue
            after = code[m.end():]
            stripped = after.lstrip()
            if stripped.startswith(","):
                rest = stripped[1:].lstrip()
                if rest.startswith("{"):
                    names = given_names(rest, 0)
                    if names != keys[key]:
                        problems.append("%s: %s given %s, its text names %s" %
                                        (where, key, sorted(names), sorted(keys[key])))
                    continue
            if stripped[:1] in (")", ";") and keys[key]:
                problems.append("%s: %s asked for without %s" % (where, key, sorted(keys[key])))
    for p in problems:
        print(p)
    if problems:
        return 1
    print("message keys: %d keys, every use found" % len(keys))
    return 0


if __name__ == "__main__":
    sys.exit(main())
