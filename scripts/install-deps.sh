#!/bin/sh
# Installs what the build and the tests need on a Debian 12 machine, once.
# Safe to run again: it only installs what is missing.
set -eu

need=""
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }

for p in g++-mingw-w64-i686 binutils-mingw-w64-i686 cmake g++ make libgtest-dev \
         wine wine32:i386 wine64 g++-mingw-w64-x86-64 xvfb xdotool imagemagick x11-apps locales linux-perf; do
    have "$p" || need="$need $p"
done
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

# Wine takes the user's language (and the ANSI code page) from LANG only when
# the locale exists: the scenarios run under the locale of every language the
# program carries (tests/wine/locales.txt). About two seconds each, once.
scenario_locales() {
    have_locales=$(locale -a 2>/dev/null)
    for name in $(sed -n 's/^[^#][^ ]* *\([a-z][a-z]_[A-Z][A-Z]\) .*/\1/p' "$(dirname "$0")/../tests/wine/locales.txt"); do
        printf '%s\n' "$have_locales" | grep -qix "$name.utf8" ||
            $SUDO localedef -i "$name" -f UTF-8 "$name.UTF-8" || true
    done
}

if [ -z "$need" ]; then
    scenario_locales
    exit 0
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $need
scenario_locales
