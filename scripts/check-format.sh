#!/usr/bin/env bash
# Fails, naming the files, when a C or C++ source differs from what
# .clang-format makes of it. The version is pinned (scripts/install-deps.sh
# installs it), since another clang-format formats the same file differently.
#   scripts/check-format.sh [--fix]
set -euo pipefail
cd "$(dirname "$0")/.."
fmt=clang-format-14
command -v "$fmt" >/dev/null || { echo "check-format: $fmt is missing; run scripts/install-deps.sh" >&2; exit 2; }
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.hpp')
else
  mapfile -t files < <(find src tests tools fuzz bench -name '*.cpp' -o -name '*.h' -o -name '*.hpp')
fi
if [ "${1:-}" = --fix ]; then
  "$fmt" -i "${files[@]}"
  exit 0
fi
bad=()
for f in "${files[@]}"; do
  "$fmt" --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
  echo "check-format: not formatted (scripts/check-format.sh --fix formats them): ${bad[*]}" >&2
  exit 1
fi
echo "check-format: ${#files[@]} files formatted"
