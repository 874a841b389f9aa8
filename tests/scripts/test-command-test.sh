#!/usr/bin/env bash
# scripts/test.sh ends with its "Total" line whatever stage fails, and counts a
# configure or build that fails as a failure. It runs on a copy of the script
# with stand-ins for cmake, ctest and the slow helper scripts, so it takes a
# second. Also checks that ctest, through each test preset, refuses a pattern
# that matches no test (in a build tree of its own that holds one test).
#   test-command-test.sh SOURCE-DIR FREE-LOOPBACK-ADDRESS
set -uo pipefail
src="$1"
address="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail=0

mkdir -p "$work/tree/scripts" "$work/bin"
cp "$src/scripts/test.sh" "$work/tree/scripts/"
for helper in install-deps.sh check-format.sh fuzz.sh; do
  printf '#!/bin/sh\nexit 0\n' >"$work/tree/scripts/$helper"
done
# cmake stand-in: fails the step named by FAIL ("configure PRESET" or "build PRESET").
cat >"$work/bin/cmake" <<'EOF'
#!/usr/bin/env bash
if [ "$1" = --build ]; then step="build $3"; else step="configure $2"; fi
[ "$step" = "${FAIL:-}" ] && { echo "cmake: $step fails" >&2; exit 1; }
if [ "$1" != --build ]; then
  mkdir -p "build/$2"
  for v in FAKE UNTRUSTED REVOCATION; do
    echo "BRISVANE_${v}_ADDRESS:STRING=$ADDRESS" >>"build/$2/CMakeCache.txt"
  done
fi
EOF
printf '#!/bin/sh\necho "100%% tests passed, 0 tests failed out of 2"\n' >"$work/bin/ctest"
chmod +x "$work/bin/"* "$work/tree/scripts/"*

# FAIL|exit status|last line (format 1, each preset 2 tests, fuzz 1)
while IFS='|' read -r step want_rc want_last; do
  rm -rf "$work/tree/build"
  out="$(cd "$work/tree" && PATH="$work/bin:$PATH" FAIL="$step" ADDRESS="$address" \
    scripts/test.sh 2>&1)"
  rc=$?
  last="$(tail -n 1 <<<"$out")"
  if [ "$rc" != "$want_rc" ] || [ "$last" != "$want_last" ]; then
    echo "FAIL ${step:-nothing fails}: exit $rc, last line \"$last\"; wanted exit $want_rc, \"$want_last\""
    fail=1
  fi
done <<'EOT'
|0|Total: 8 passed, 0 failed
configure native|1|Total: 6 passed, 1 failed
build win32|1|Total: 6 passed, 1 failed
build fuzz|1|Total: 7 passed, 1 failed
EOT

# ctest must not report success when a pattern matches no test.
mkdir -p "$work/presets"
cp "$src/CMakePresets.json" "$work/presets/"
for preset in native asan win32; do
  mkdir -p "$work/presets/build/$preset"
  echo 'add_test(one_test true)' >"$work/presets/build/$preset/CTestTestfile.cmake"
  while IFS='|' read -r pattern want_rc; do
    out="$(cd "$work/presets" && ctest --preset "$preset" -R "$pattern" 2>&1)"
    rc=$?
    if { [ "$want_rc" = 0 ] && [ "$rc" != 0 ]; } || { [ "$want_rc" != 0 ] && [ "$rc" = 0 ]; }; then
      echo "FAIL ctest --preset $preset -R '$pattern': exit $rc: $out"
      fail=1
    fi
  done <<'EOT'
^one_test$|0
^no test has this name$|8
EOT
done
[ "$fail" = 0 ] && echo "test-command-test: the Total line closes every run"
exit "$fail"
