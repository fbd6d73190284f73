#!/bin/sh
# Builds what the Wine scenarios run, for the Wine this machine has
# (tests/wine/wine-bits.sh): the test programs that sit beside uninst.exe,
# and, where only 64-bit Wine runs, uninst.exe and the device-manager tools
# from the same sources for x86-64. The shipped 32-bit build (make dist) is
# made by the Makefile.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
bits=$(tests/wine/wine-bits.sh)
case "$bits" in
    64) cc=x86_64-w64-mingw32; tools=build/wine-tools64 ;;
    *) cc=i686-w64-mingw32; tools=build/wine-tools ;;
esac
mkdir -p "$tools"

if [ "$bits" = 64 ]; then
    cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build/win64 -j2
fi

flags="-Os -s -static -fno-exceptions -fno-rtti"
"$cc-g++-win32" $flags -o "$tools/winprobe.exe" tests/wine/tools/winprobe.cpp -luser32 -lgdi32 -lcomctl32
# The family probe is built from the product's own source of the family test.
"$cc-g++-win32" $flags -I. -o "$tools/family_probe.exe" \
    tests/wine/tools/family_probe.cpp system/windows_family.cpp
"$cc-gcc-win32" -O2 -s -mwindows -o "$tools/record_args.exe" tests/wine/tools/record_args.c
"$cc-gcc-win32" -O2 -s -mwindows -o "$tools/applet_window.exe" tests/wine/tools/applet_window.c
# The same recorder as another maker's program, by its version resource.
"$cc-windres" -O coff -o "$tools/other_vendor.res" tests/wine/tools/other_vendor.rc
"$cc-gcc-win32" -O2 -s -mwindows -o "$tools/other_vendor.exe" tests/wine/tools/record_args.c "$tools/other_vendor.res"
# ... and as a driver built from the kit's samples, which keeps the kit's.
"$cc-windres" -O coff -o "$tools/kit_default.res" tests/wine/tools/kit_default.rc
"$cc-gcc-win32" -O2 -s -mwindows -o "$tools/kit_default.exe" tests/wine/tools/record_args.c "$tools/kit_default.res"
"$cc-gcc-win32" -O2 -s -mwindows -o "$tools/failing_device_tool.exe" tests/wine/tools/failing_device_tool.c
"$cc-gcc-win32" -O2 -s -o "$tools/reg_link.exe" tests/wine/tools/reg_link.c
"$cc-gcc-win32" -O2 -s -o "$tools/devices.exe" tests/wine/tools/devices.c -lsetupapi
echo "build-for-wine: built for ${bits}-bit Wine into $tools"
