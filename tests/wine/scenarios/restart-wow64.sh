#!/bin/sh
# 64-bit Windows: the shipped 32-bit uninst.exe in a 64-bit prefix. A
# listed file of the system folder that is in use is, for this 32-bit
# program, the SysWOW64 one; its deletion is scheduled by that path, since
# the deletion at the restart runs natively and would take the System32
# file of the same name. "silent /norestart" asks nothing and ends with
# 3010; after the restart the SysWOW64 file is gone and the System32 one
# stays. Needs a Wine that runs 32-bit code (WOW64); elsewhere it says so
# and passes.
# Usage: restart-wow64.sh winxp|win10 (win98: not a 64-bit Windows, nothing to run)
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
if [ "$("$root/tests/wine/wine-bits.sh")" != 32 ]; then
    echo "[restart-wow64] SKIPPED: this Wine runs no 32-bit code, so no WOW64"
    exit 0
fi
case ${1:-win10} in
    win95 | win98 | winme | nt40) echo "[restart-wow64] not a 64-bit Windows: nothing to run"; exit 0 ;;
esac
export WINE_BITS=64 UNINST_EXE="$root/dist/uninst.exe"
export WINE_TEMPLATE=${WOW64_TEMPLATE:-$root/build/wine-template-wow64}
. "$here/../lib.sh"
WINE_TOOLS_DIR=$root/build/wine-tools  # the 32-bit helpers run under WOW64 too
WINPROBE_EXE=$WINE_TOOLS_DIR/winprobe.exe
WINE_TIMEOUT=60
WOW='C:\windows\syswow64\xlnhlp32.exe'
NATIVE='C:\windows\system32\xlnhlp32.exe'
scenario_begin "restart-wow64-$1" "$1"

# A 32-bit program reads HKLM\SOFTWARE through Wow6432Node.
queue_reg_text '[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Tarnwell\802.11\UninstallInfo]
"FullProductName"="XLN 802.11g Network Adapter"
"SoftwareKey"="SOFTWARE\\Tarnwell\\802.11"

[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Tarnwell\802.11\UninstallInfo\InstalledFiles]
"Files"="%WIN_SYS_DIR%\\xlnhlp32.exe"
'
place_tool applet_window.exe "$WOW"
place_tool applet_window.exe "$NATIVE"
snapshot before

apply_registry
wine "$WOW" XLNHelperWnd 'XLN Helper' &
holder=$!
probe wait 'XLN Helper' 20000 >/dev/null || check_failed "the helper did not start"

# Started by a Windows program, as a deployment tool starts it: the whole
# exit code (a Unix exit status keeps only its low 8 bits).
say "run by a Windows program: uninst.exe silent /norestart"
(probe run "\"$UNINST_WIN\" silent /norestart" | tr -d '\r' | sed -n 's/^exit code: //p' >"$SCENARIO_DIR/exit-code") &
runner=$!
box=$(probe show 'Restart Windows' 5000 2>/dev/null | tr -d '\r')
[ -n "$box" ] && probe press 'Restart Windows' Cancel >/dev/null
wait "$runner"
[ -z "$box" ] && say "ok: no restart question" || check_failed "the restart question was asked"
exit_code=$(cat "$SCENARIO_DIR/exit-code")
[ "$exit_code" = 3010 ] && say "ok: exit code 3010" || check_failed "exit code '$exit_code', expected 3010"

probe close 'XLN Helper' >/dev/null || check_failed "could not close the helper"
wait "$holder"
snapshot after
pending=$(grep -i 'Session Manager	"PendingFileRenameOperations"=' "$SCENARIO_DIR/snapshot-after.txt")
wow=$(printf '%s\n' "$pending" | grep -c -i 'C:\\\\windows\\\\syswow64\\\\xlnhlp32\.exe')
native=$(printf '%s\n' "$pending" | grep -c -i 'C:\\\\windows\\\\system32\\\\xlnhlp32\.exe')
[ "$wow$native" = 10 ] && say "ok: the SysWOW64 file, and only it, waits for the restart" ||
    check_failed "scheduled: SysWOW64 $wow, System32 $native; pending: $pending"

# The restart: Wine's next start of the prefix carries out the list.
timeout "$WINE_TIMEOUT" wineboot -r >/dev/null 2>&1 || check_failed "the prefix did not restart"
stop_server
expect_file_absent "$WOW"
expect_file_present "$NATIVE"
