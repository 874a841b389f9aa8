#!/usr/bin/env bash
# The documents that name the module's version name the one in
# src/host/Version.h: after a version is raised, this lists every line still
# naming the old one. Also shows that it catches a document with another number.
#   docs-version-test.sh SOURCE-DIR
set -uo pipefail
src="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# stale VERSION FILE...: prints "FILE:LINE: version N" for each other number.
stale() {
  python3 - "$@" <<'PY'
import re, sys
version, bad = sys.argv[1], 0
# "version 37", "(version 37)", "CURRENT VERSION: 37", "Product version": 37, a
# line break inside; not "Windows 10 version 1607".
pattern = re.compile(r'\bversion\b[":() ]*\n?[ ]*[":( ]*(\d+)\b', re.I)
for name in sys.argv[2:]:
    text = open(name, encoding="utf-8").read()
    for m in pattern.finditer(text):
        if re.search(r"Windows\s+\d+\s+$", text[max(0, m.start() - 16):m.start()]):
            continue
        if m.group(1) != version:
            print("%s:%d: version %s" % (name, text.count("\n", 0, m.start()) + 1, m.group(1)))
            bad = 1
sys.exit(bad)
PY
}

version="$(sed -n 's/^#define BRISVANE_VERSION \([0-9][0-9]*\)$/\1/p' "$src/src/host/Version.h")"
[ -n "$version" ] || { echo "no version in src/host/Version.h"; exit 1; }
fail=0
stale "$version" "$src/README.md" "$src"/docs/*.md "$src/docs/INSTALL.txt" || fail=1

printf 'brisvane.dll - installation note (version %s)\n' "$((version + 1))" >"$work/next.txt"
printf 'the log line "Init : CURRENT\nVERSION: %s"\n' "$((version - 1))" >"$work/folded.txt"
printf 'Windows 10\nversion 1607 and later, version %s\n' "$version" >"$work/same.txt"
for f in next folded; do
  stale "$version" "$work/$f.txt" >/dev/null && { echo "the check passed $f.txt"; fail=1; }
done
stale "$version" "$work/same.txt" || { echo "the check failed same.txt"; fail=1; }
[ "$fail" = 0 ] && echo "docs-version-test: the documents name version $version"
exit "$fail"
