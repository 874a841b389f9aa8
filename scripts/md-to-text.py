#!/usr/bin/env python3
"""Turns one of the references in docs/ into the plain text the bundle ships:
tables become lists (the first cell, then each other cell under its column's
name), code spans lose their backticks, links keep their text, and every line
fits in WIDTH columns, so the file reads in Notepad on a till.
  md-to-text.py FILE.md > FILE.txt"""
import re
import sys
import textwrap

WIDTH = 88  # prose; examples may run to 100


def inline(text):
    text = re.sub(r"\[([^\]]+)\]\([^)]+\)", r"\1", text)
    text = text.replace("\\|", "|")
    text = re.sub(r"\*\*([^*]+)\*\*", r"\1", text)
    return re.sub(r"`([^`]*)`", r"\1", text)


def wrap(text, first, rest):
    return textwrap.wrap(inline(text), WIDTH, initial_indent=first, subsequent_indent=rest,
                         break_long_words=False, break_on_hyphens=False) or [first.rstrip()]


def cells(row):
    parts = re.split(r"(?<!\\)\|", row.strip())
    return [c.strip() for c in parts[1:-1]]


def convert(lines):
    out = []
    i = 0
    while i < len(lines):
        line = lines[i]
        heading = re.match(r"(#+) (.*)", line)
        if heading:
            title = inline(heading.group(2))
            out += [title, ("=" if len(heading.group(1)) == 1 else "-") * len(title)]
            i += 1
        elif line.startswith("|"):
            header = cells(line)
            i += 2  # the row under the header only says how to align
            while i < len(lines) and lines[i].startswith("|"):
                row = cells(lines[i])
                out += wrap(row[0], "  ", "    ")
                for name, value in zip(header[1:], row[1:]):
                    out += wrap(inline(name) + ": " + value, "      ", "        ")
                i += 1
        elif line.startswith("    ") or not line.strip():
            out.append(line.rstrip())  # examples stay as they are
            i += 1
        else:
            item = re.match(r"(\s*(?:[-*]|\d+\.) )", line)
            first = item.group(1) if item else ""
            rest = " " * len(first)
            text = line[len(first):].strip()
            i += 1
            while (i < len(lines) and lines[i].strip() and not lines[i].startswith("|")
                   and not re.match(r"\s*(?:[-*]|\d+\.) |#", lines[i])
                   and not lines[i].startswith("    " + " " * len(first))):
                text += " " + lines[i].strip()
                i += 1
            out += wrap(text, first, rest)
    return out


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        lines = f.read().split("\n")
    sys.stdout.write("\n".join(convert(lines)).rstrip("\n") + "\n")


if __name__ == "__main__":
    main()
