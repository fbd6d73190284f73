#!/bin/sh
# An INI section whose listed program is still running: its deletion is
# scheduled for the next start of Windows (pending file operations on the
# NT family, WININIT.INI on Windows 9x), and "silent" ends the process with
# the restart question, asked once, after the next section has run too.
# Cancel ends with 0, the other listed files gone and the running one
# still there, scheduled.
# Usage: ini-restart.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/../box.sh"
export LANG=en_US.UTF-8
WINE_TIMEOUT=60
HELPER='C:\Program Files\XLN\xlnhelper.exe'
scenario_begin "ini-restart-$1" "$1"

lay_file 'C:\Program Files\XLN\uninst.ini' '[Main]
SectionsNumber=2
[UnistallData0]
FullProductName=XLN 802.11g Network Adapter
UninstallKey=XLN 802.11g
AppletsNumber=0
InstalledFiles=C:\Program Files\XLN\xlnw11.cat
[UnistallData1]
FullProductName=XLN 802.11g Network Adapter
UninstallKey=XLN 802.11g
AppletsNumber=0
InstalledFiles=C:\Program Files\XLN\xlnhelper.exe,C:\Program Files\XLN\xlnw11.dat
'
place_tool applet_window.exe "$HELPER"
lay_file 'C:\Program Files\XLN\xlnw11.dat' 'adapter data'
lay_file 'C:\Program Files\XLN\xlnw11.cat' 'catalog'
snapshot before

apply_registry
wine "$HELPER" XLNHelperWnd 'XLN Helper' &
holder=$!
probe wait 'XLN Helper' 20000 >/dev/null || check_failed "the helper did not start"

BOX_SCREENSHOT=question run_with_box_answer 'Restart Windows' Cancel silent '/log=C:\ini.log'
# Section 1 deferred the deletion; the question came once, after section 0.
log=$(tr -d '\r' <"$(unix_path 'C:\ini.log')")
expect_equal "restart questions" 1 "$(printf '%s\n' "$log" | grep -c ' restart: asked, answer ')"
asked=$(printf '%s\n' "$log" | grep -n ' restart: asked, answer ' | cut -d: -f1)
last_file=$(printf '%s\n' "$log" | grep -n 'xlnw11\.cat: done' | cut -d: -f1)
[ -n "$last_file" ] && [ -n "$asked" ] && [ "$last_file" -lt "$asked" ] &&
    say "ok: the question came after the last section" || check_failed "question at line '$asked', last section's file at '$last_file'"
expect_equal "restart text" 'Uninstall needs to restart your system to complete' "$BOX_TEXT"
expect_equal "exit code" 0 "$LAST_EXIT"
probe close 'XLN Helper' >/dev/null || check_failed "could not close the helper"
wait "$holder"
snapshot after
expect_file_present "$HELPER"
expect_file_absent 'C:\Program Files\XLN\xlnw11.dat'
expect_file_absent 'C:\Program Files\XLN\xlnw11.cat'

case $1 in
win95 | win98 | winme)
    schedule='^\+ file \./windows/WININIT\.INI	'
    file=$(find "$(unix_path 'C:\windows')" -maxdepth 1 -iname wininit.ini | head -1)
    # Wine makes up its own short names for the helper's path.
    lines=$(tr -d '\r' <"$file" | grep -c -i '^NUL=C:\\PROG[^\\]*~[^\\]*\\XLN\\XLNH[^\\]*~[^\\]*\.EXE$') ;;
*)
    schedule='^\+ reg HKLM\\System\\CurrentControlSet\\Control\\Session Manager	"PendingFileRenameOperations"='
    lines=$(grep -i 'Session Manager	"PendingFileRenameOperations"=' "$SCENARIO_DIR/snapshot-after.txt" |
        grep -c -i 'C:\\\\Program Files\\\\XLN\\\\xlnhelper\.exe') ;;
esac
expect_equal "deletions scheduled for the helper" 1 "$lines"
expect_only_changes before after \
    '^- file \./Program Files/XLN/xlnw11\.dat	' \
    '^- file \./Program Files/XLN/xlnw11\.cat	' \
    '^\+ file \./ini\.log	' \
    '^\+ file \./applets-closed\.log	' \
    "$schedule"
