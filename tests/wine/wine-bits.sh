#!/bin/sh
# Which Wine can run Windows programs on this machine:
#   32    Wine's 32-bit loader runs natively: the shipped uninst.exe is tested
#         as it is, in a 32-bit prefix;
#   64    only the 64-bit loader runs (some sandboxes refuse 32-bit Linux
#         programs outright): the same sources, built for x86-64, are tested
#         in a 64-bit prefix;
#   none  no Wine at all.
# A 32-bit loader that runs only through an emulator registered for i386
# programs is too slow and unreliable to count.
# WINE_BITS=64 (or 32) given by the caller is taken as it is: a machine
# that runs both can then try the 64-bit way too.
if [ -n "${WINE_BITS:-}" ]; then echo "$WINE_BITS"; exit 0; fi
emulated_i386() { grep -qs 'i386' /proc/sys/fs/binfmt_misc/* 2>/dev/null; }

if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1 && ! emulated_i386; then
    echo 32
elif [ -x /usr/lib/wine/wine64 ] && /usr/lib/wine/wine64 --version >/dev/null 2>&1; then
    echo 64
else
    echo none
fi
