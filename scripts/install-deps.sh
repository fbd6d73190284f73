#!/bin/sh
# Installs what the build and the tests need on a Debian 12 machine, once.
# Safe to run again: it only installs what is missing.
set -eu

need=""
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }

for p in g++-mingw-w64-i686 binutils-mingw-w64-i686 cmake g++ make libgtest-dev \
         wine wine32:i386 xvfb xdotool imagemagick x11-apps; do
    have "$p" || need="$need $p"
done
[ -z "$need" ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $need
