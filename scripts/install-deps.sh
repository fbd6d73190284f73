#!/bin/sh
# Installs what the build and the tests need on a Debian 12 machine, once.
# Safe to run again: it only installs what is missing.
set -eu

need=""
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }

for p in g++-mingw-w64-i686 binutils-mingw-w64-i686 cmake g++ make libgtest-dev \
         wine wine32:i386 wine64 g++-mingw-w64-x86-64 xvfb xdotool imagemagick x11-apps locales \
         clang-14 libclang-rt-14-dev; do
    have "$p" || need="$need $p"
done
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

# The German locale: Wine takes the user's language from LANG only when the
# locale exists, and a Wine scenario runs under de_DE.UTF-8.
german_locale() {
    locale -a 2>/dev/null | grep -qix 'de_DE.utf8' ||
        $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8 || true
}

if [ -z "$need" ]; then
    german_locale
    exit 0
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $need
german_locale
