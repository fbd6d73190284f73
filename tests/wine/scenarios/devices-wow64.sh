#!/bin/sh
# 64-bit Windows: the shipped 32-bit uninst.exe and XLNWLD2K.exe, with the
# x86-64 XLNWLD2K64.exe beside them, in a 64-bit prefix. The 32-bit tool
# cannot remove devices there and hands the request over: the adapter's
# devices and driver service go, the neighbour stays. Without the x86-64
# build the 32-bit tool reports the failure and removes nothing. Needs a
# Wine that runs 32-bit code (WOW64); elsewhere it says so and passes.
# Usage: devices-wow64.sh winxp|win10 (win98: not a 64-bit Windows, nothing to run)
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
if [ "$("$root/tests/wine/wine-bits.sh")" != 32 ]; then
    echo "[devices-wow64] SKIPPED: this Wine runs no 32-bit code, so no WOW64"
    exit 0
fi
case ${1:-win10} in
    win95 | win98 | winme | nt40) echo "[devices-wow64] not a 64-bit Windows: nothing to run"; exit 0 ;;
esac
# A 64-bit prefix of its own, with the shipped 32-bit programs in it.
export WINE_BITS=64 UNINST_EXE="$root/dist/uninst.exe"
export WINE_TEMPLATE=${WOW64_TEMPLATE:-$root/build/wine-template-wow64}
. "$here/../lib.sh"
. "$here/../box.sh"
. "$here/../devices.sh"
DEVTOOLS_DIR=$root/dist
WINE_TOOLS_DIR=$root/build/wine-tools  # the 32-bit helper runs under WOW64 too
WINE_TIMEOUT=60

scenario_begin "devices-wow64" win10
place_device_tools
cp "$DEVTOOLS_DIR/XLNWLD2K64.exe" "$WINEPREFIX/$UNINST_DIR_REL/"
# A 32-bit program reads HKLM\SOFTWARE through Wow6432Node.
sed 's/SOFTWARE\\Tarnwell/SOFTWARE\\Wow6432Node\\Tarnwell/' "$WINE_ROOT/tests/wine/data/devices.reg" \
    >"$SCENARIO_DIR/description.reg"
seed_registry "$SCENARIO_DIR/description.reg"
queue_reg_text '[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Tarnwell\802.11\UninstallInfo]
"WinVer"="WDM2k"'
lay_adapter_2000
snapshot before

expect_exit 0 silent
snapshot after
expect_devices "$ADAPTER_ID" 0
expect_devices "$USB_ADAPTER_ID" 0
expect_devices "$OTHER_ID" 1
expect_only_changes before after \
    '^- reg HKLM\\Software\\Wow6432Node\\Tarnwell(\\|	|$)' \
    '^- reg HKLM\\System\\CurrentControlSet\\Services\\XLNW11(\\|	|$)' \
    '^- file \./windows/inf/oem5\.inf	' \
    '^- reg HKLM\\System\\CurrentControlSet\\Enum\\ROOT\\NET\\000[01](	|$)' \
    "^- reg HKLM\\\\System\\\\CurrentControlSet\\\\Control\\\\Class\\\\$NET_CLASS_RE\\\\000[01](	|\$)"
expect_key_absent 'HKLM\Software\Wow6432Node\Tarnwell\802.11\UninstallInfo'
expect_file_present 'C:\windows\inf\oem6.inf'

# Without the x86-64 build: a failure, and the device stays.
devices add "$ADAPTER_ID" 'Wireless LAN Card' || check_failed "device not made again"
rm -f "$WINEPREFIX/$UNINST_DIR_REL/XLNWLD2K64.exe"
run_tool XLNWLD2K "HardwareID=$ADAPTER_ID"
expect_equal "result without the x86-64 build" "-1 XLNWLD2K 2 " "$TOOL_RESULT"
expect_devices "$ADAPTER_ID" 1
