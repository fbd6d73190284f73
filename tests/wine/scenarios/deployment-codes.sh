#!/bin/sh
# What a deployment tool reads when it runs the program with /norestart:
# Windows Installer's codes, read whole through a Windows process (a Unix
# exit status keeps 8 bits), and never a box.
#  - 1605: nothing of the product is there (without /norestart: 1);
#  - 1618: another run is under way (a "verbose" run at its confirmation),
#    and this one removes nothing; the first run then goes on as usual;
#  - 1622: the log cannot be written (its path is a folder): nothing removed;
#  - 1603: the device tool failed, though the files went; the log's last
#    line sums the run up with that code.
# Usage: deployment-codes.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/../box.sh"
export LANG=en_US.UTF-8
WINE_TIMEOUT=60
CONFIRM='Confirm Removal'
scenario_begin "deployment-codes-$1" "$1"

run_like_a_tool silent /norestart
expect_equal "exit code, nothing installed" 1605 "$LAST_EXIT"
expect_exit 1 silent

case $1 in
    win95 | win98 | winme) tool=XLNWLD9X model=WDM98 ;;
    *) tool=XLNWLD2K model=WDM2k ;;
esac
queue_reg_text "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tarnwell\\802.11\\UninstallInfo]
\"FullProductName\"=\"XLN 802.11g Network Adapter\"
\"SoftwareKey\"=\"SOFTWARE\\\\Tarnwell\\\\802.11\"
\"Device\"=\"XLNW11\"
\"WinVer\"=\"$model\"
\"RemoveDevice\"=\"\"

[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tarnwell\\802.11\\UninstallInfo\\InstalledFiles]
\"Files\"=\"C:\\\\Program Files\\\\XLN\\\\xlnw11.dat\"
"
place_tool failing_device_tool.exe "C:\\Program Files\\XLN\\$tool.exe"
lay_file 'C:\Program Files\XLN\xlnw11.dat' 'adapter data'
snapshot before

# A first run holds the machine-wide lock while it waits for its user.
apply_registry
(code=0; timeout "$WINE_TIMEOUT" wine "$UNINST_WIN" verbose >/dev/null 2>&1 || code=$?
 echo "$code" >"$SCENARIO_DIR/first-exit") &
first=$!
probe wait "$CONFIRM" 30000 >/dev/null || check_failed "the first run's confirmation did not come"
run_like_a_tool silent /NORESTART
expect_equal "exit code, another run" 1618 "$LAST_EXIT"
probe press "$CONFIRM" Cancel >/dev/null || check_failed "could not press Cancel"
wait "$first"
expect_equal "the first run's exit code" 5 "$(cat "$SCENARIO_DIR/first-exit")"

run_like_a_tool silent /norestart '/log=C:\windows'
expect_equal "exit code, no log" 1622 "$LAST_EXIT"
snapshot unchanged
expect_only_changes before unchanged

run_like_a_tool silent /norestart '/Log=C:\deploy.log'
expect_equal "exit code, a failed step" 1603 "$LAST_EXIT"
expect_file_absent 'C:\Program Files\XLN\xlnw11.dat'
last=$(tr -d '\r' <"$(unix_path 'C:\deploy.log')" | tail -1)
case $last in
    *" summary: "*" 1 failed; exit code 1603; no restart is needed") say "ok: the summary is last" ;;
    *) check_failed "last log line: $last" ;;
esac
scenario_end
