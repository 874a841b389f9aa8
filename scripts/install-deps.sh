#!/usr/bin/env bash
# Installs everything the build and the tests need, from Debian's packages only.
# Safe to run again: it skips what is already there.
set -euo pipefail

need_root() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: run as root (or with sudo)" >&2
    exit 1
  fi
}

pkgs=(
  cmake ninja-build g++ pkg-config
  g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 osslsigncode
  rapidjson-dev libpugixml-dev
  googletest libgtest-dev libgmock-dev
  libcpp-httplib-dev
  clang libclang-rt-14-dev
  clang-format-14
  libbenchmark-dev
  python3 dpkg-dev
  nginx openssl ca-certificates
  wine wine32:i386
  locales
  chromium
)

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# pugixml has no MinGW build in Debian: the DLL compiles it from the source package.
src_ready=0
ls /var/cache/brisvane-src/pugixml-*/src/pugixml.cpp >/dev/null 2>&1 && src_ready=1

# The tills' language: the test command runs a stage under LANG=ru_RU.UTF-8
# (and Wine then under code page 1251, as a Russian Windows).
locale_ready=0
locale -a 2>/dev/null | grep -qix 'ru_RU.utf8' && locale_ready=1

if [ ${#missing[@]} -eq 0 ] && [ $src_ready -eq 1 ] && [ $locale_ready -eq 1 ]; then
  echo "install-deps: everything is installed"
  exit 0
fi

need_root
export DEBIAN_FRONTEND=noninteractive

# The package manager's chatter goes to a file and is shown only when it fails,
# so that what a person sees first is the product, not apt.
aptlog="$(mktemp)"
trap 'rm -f "$aptlog"' EXIT
quietly() {
  if ! "$@" >"$aptlog" 2>&1; then
    cat "$aptlog" >&2
    echo "install-deps: failed: $*" >&2
    exit 1
  fi
}
echo "install-deps: installing from Debian's packages: ${missing[*]:-pugixml source or the ru_RU.UTF-8 locale}"

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi

# deb-src for the pugixml source package.
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  for f in /etc/apt/sources.list.d/debian.sources; do
    [ -f "$f" ] && sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"
  done
  if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list > /etc/apt/sources.list.d/brisvane-src.list
  fi
fi

if [ ${#missing[@]} -gt 0 ] || [ $src_ready -eq 0 ]; then
  quietly apt-get update
fi
if [ ${#missing[@]} -gt 0 ]; then
  # nginx is started only by the service check's test, on loopback addresses
  # with a configuration of its own. The package's own service would take
  # port 80 of every address (and with it the fake services' ports): keep
  # package scripts from starting services while they install.
  if [ ! -e /usr/sbin/policy-rc.d ]; then
    printf '#!/bin/sh\nexit 101\n' >/usr/sbin/policy-rc.d
    chmod 755 /usr/sbin/policy-rc.d
    trap 'rm -f "$aptlog" /usr/sbin/policy-rc.d' EXIT
  fi
  quietly apt-get install -y --no-install-recommends "${missing[@]}"
fi

if [ $src_ready -eq 0 ]; then
  mkdir -p /var/cache/brisvane-src
  (cd /var/cache/brisvane-src && quietly apt-get source --download-only pugixml &&
     quietly dpkg-source -x --no-check pugixml_*.dsc)
fi
if ! locale -a 2>/dev/null | grep -qix 'ru_RU.utf8'; then
  sed -i 's/^# *\(ru_RU.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -qx 'ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' >>/etc/locale.gen
  quietly locale-gen
fi
echo "install-deps: done"
