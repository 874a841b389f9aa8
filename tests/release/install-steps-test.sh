#!/usr/bin/env bash
# The installation note in English and in Russian keep the same outline: the
# same sections (a heading underlined with "-" or "=") in the same order, and
# in each section the same numbered steps in the same order. Lists what
# differs. Also shows that it catches a note that gained a step or a section.
#   install-steps-test.sh SOURCE-DIR
set -uo pipefail
src="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# same-outline A B: prints where the outlines part, exit 1 when they do.
same_outline() {
  python3 - "$1" "$2" <<'PY'
import re, sys

def outline(name):
    lines = open(name, encoding="utf-8-sig").read().split("\n")
    rows = []
    for i, line in enumerate(lines):
        nxt = lines[i + 1] if i + 1 < len(lines) else ""
        if line.strip() and re.fullmatch(r"[-=]{3,}", nxt):
            if len(nxt) != len(line):
                rows.append(("underline", "%d wide under %d characters at %s:%d"
                             % (len(nxt), len(line), name, i + 2)))
            rows.append(("section", ""))
        m = re.match(r" {0,3}(\d{1,2})\. \S", line)
        if m:
            rows.append(("step", m.group(1)))
    return rows

def label(rows, k):
    sec = sum(1 for kind, _ in rows[:k + 1] if kind == "section")
    return "section %d" % sec

a, b = outline(sys.argv[1]), outline(sys.argv[2])
bad = 0
for kind, what in a + b:
    if kind == "underline":
        print("a heading's underline is %s" % what); bad = 1
a = [r for r in a if r[0] != "underline"]
b = [r for r in b if r[0] != "underline"]
for k in range(max(len(a), len(b))):
    ra = a[k] if k < len(a) else ("end", "")
    rb = b[k] if k < len(b) else ("end", "")
    if ra != rb:
        print("%s: %s %s in %s, %s %s in %s" % (label(a if k < len(a) else b, k),
              ra[0], ra[1], sys.argv[1], rb[0], rb[1], sys.argv[2]))
        bad = 1
        break
sys.exit(bad)
PY
}

fail=0
en="$src/docs/INSTALL.txt"
ru="$src/docs/INSTALL.ru.txt"
same_outline "$en" "$ru" || fail=1

# The check itself must catch a step or a section that only one note has, and
# pass a note with other words and the same outline.
printf 'Top\n===\nOne\n---\n 1. a\n 2. b\nTwo\n---\n  1. c\n' >"$work/base.txt"
printf 'Верх\n====\nРаз\n---\n 1. а\n 2. б\nДва\n---\n  1. в\n' >"$work/same.txt"
printf 'Top\n===\nOne\n---\n 1. a\n 2. b\n 3. x\nTwo\n---\n  1. c\n' >"$work/step.txt"
printf 'Top\n===\nOne\n---\n 1. a\n 2. b\nTwo\n---\n  1. c\nEnd\n---\n' >"$work/section.txt"
printf 'Top\n===\nOne\n---\n 1. a\nTwo\n---\n  1. b\n  2. c\n' >"$work/moved.txt"
printf 'Top\n===\nOne\n----\n 1. a\n 2. b\nTwo\n---\n  1. c\n' >"$work/underline.txt"
same_outline "$work/base.txt" "$work/same.txt" >/dev/null || { echo "the check failed same.txt"; fail=1; }
for f in step section moved underline; do
  same_outline "$work/base.txt" "$work/$f.txt" >/dev/null && { echo "the check passed $f.txt"; fail=1; }
done
[ "$fail" = 0 ] && echo "install-steps-test: INSTALL.txt and INSTALL.ru.txt have the same steps and sections"
exit "$fail"
