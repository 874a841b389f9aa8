#!/usr/bin/env python3
"""hostemu's Russian texts, docs/INSTALL.ru.txt and the demo's Russian
narration use the terms of docs/glossary.ru.md: each variant its table rules
out (third column, regular expressions in backquotes) fails here, named with
its file and line. A text in straight quotes without a Russian letter (a DLL
log line quoted word for word, a value to type) is not read.
    glossary-test.py SOURCE-DIR
"""
import pathlib
import re
import sys

LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
ENTRY = re.compile(r"^(MESSAGE|PLURAL)\((\w+),", re.M)


def variants(glossary):
    rules = []
    for line in glossary.read_text(encoding="utf-8").splitlines():
        cells = re.split(r"(?<!\\)\|", line)
        if len(cells) != 5 or cells[1].strip() in ("English", "---"):
            continue
        term = cells[2].strip()
        for v in re.findall(r"`([^`]+)`", cells[3]):
            rules.append((re.compile(v.replace("\\|", "|"), re.I), term))
    return rules


def unescape(literal):
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)), literal)


def catalog_texts(path):
    """(line, text) of each Russian text: a MESSAGE's second, a PLURAL's last three."""
    code = path.read_text(encoding="utf-8")
    starts = [m.start() for m in ENTRY.finditer(code)] + [len(code)]
    for begin, end in zip(starts, starts[1:]):
        kind = code[begin:code.index("(", begin)]
        # The entry's arguments: runs of adjacent literals, split at the commas between them.
        body = code[code.index(",", begin) + 1:end]
        args, current = [], []
        for m in re.finditer(r'"(?:[^"\\\n]|\\.)*"|,|\)', body):
            token = m.group(0)
            if token in (",", ")"):
                if current:
                    args.append((begin + code[begin:].index(body) + m.start(), "".join(current)))
                    current = []
                if token == ")":
                    break
            else:
                current.append(unescape(token[1:-1]))
        russian = args[1:] if kind == "MESSAGE" else args[2:]
        line = code.count("\n", 0, begin) + 1
        for _, text in russian:
            yield line, text


def lines_of(path, keep=lambda line: True):
    for n, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if keep(line):
            yield n, line


def without_log_lines(text):
    # What a Russian text quotes in straight quotes without a Russian letter
    # (a DLL log line, a value to type) stays as it is written, word for word.
    return re.sub(r'"[^"\nА-Яа-яЁё]*"', '""', text)


def main():
    root = pathlib.Path(sys.argv[1])
    rules = variants(root / "docs" / "glossary.ru.md")
    if len(rules) < 20:
        print("glossary-test: the glossary's table holds only %d variants" % len(rules))
        return 1
    cyrillic = re.compile("[А-Яа-яЁё]")
    sources = [
        ("tools/hostemu/core/i18n/Catalog.def",
         catalog_texts(root / "tools/hostemu/core/i18n/Catalog.def")),
        ("docs/INSTALL.ru.txt", lines_of(root / "docs/INSTALL.ru.txt")),
        ("scripts/demo.sh", lines_of(root / "scripts/demo.sh", lambda l: cyrillic.search(l))),
    ]
    problems, read = [], 0
    for name, texts in sources:
        for line, text in texts:
            read += 1
            text = without_log_lines(text)
            for rule, term in rules:
                m = rule.search(text)
                if m:
                    problems.append("%s:%d: \"%s\": say %s" % (name, line, m.group(0), term))
    for p in problems:
        print(p)
    print("glossary-test: %d texts read, %d variants ruled out, %d found"
          % (read, len(rules), len(problems)))
    return 1 if problems or read < 500 else 0


if __name__ == "__main__":
    sys.exit(main())
