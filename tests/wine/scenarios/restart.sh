#!/bin/sh
# The restart. A listed program that is still running cannot be deleted
# (access denied): its deletion is scheduled for the next start of Windows
# (the NT family's pending file operations, WININIT.INI on Windows 9x) and
# the restart question follows, even in "silent". OK restarts: Wine ends
# the prefix's programs, and its next start deletes the file. Cancel ends
# with 0, the file still there and still scheduled. "install" schedules
# the deletion without asking. "silent /norestart" schedules it too, asks
# nothing and ends with 3010; with the helper not running the file goes at
# once and the exit code is 0.
# Usage: restart.sh win98|winxp   (each runs its own list of cases)
#        restart.sh VERSION ok|cancel|install|norestart|norestart-unlocked
set -u
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/../box.sh"
. "$(dirname "$0")/../installation.sh"

if [ $# -lt 2 ]; then
    case ${1:-winxp} in
        win98) runs='win98:ok win98:cancel win98:install win98:norestart nt40:ok' ;;
        *) runs='winxp:ok winxp:cancel winxp:install winxp:norestart winxp:norestart-unlocked' ;;
    esac
    run_each "$0" $runs
    exit
fi

version=$1 case=$2
export LANG=en_US.UTF-8
WINE_TIMEOUT=60
HELPER='C:\Program Files\XLN\xlnhelper.exe'
PENDING='HKLM\\System\\CurrentControlSet\\Control\\Session Manager	"PendingFileRenameOperations"='
scenario_begin "restart-$version-$case" "$version"
seed_registry "$INSTALL_DATA/restart.reg"
place_tool applet_window.exe "$HELPER"
lay_file 'C:\Program Files\XLN\xlnw11.dat' 'adapter data'
snapshot before

# The running program whose file is listed.
apply_registry
if [ "$case" != norestart-unlocked ]; then
    wine "$HELPER" XLNHelperWnd 'XLN Helper' &
    holder=$!
    probe wait 'XLN Helper' 20000 >/dev/null || check_failed "the helper did not start"
fi

# The family's record of the deletion to come.
case $version in
    win95 | win98 | winme) schedule='^\+ file \./windows/WININIT\.INI	' ;;
    *) schedule="^\\+ reg $PENDING" ;;
esac

# expect_scheduled SNAPSHOT [WININIT-FILE]: the helper, and nothing else,
# waits for the restart.
expect_scheduled() {
    if [ "$schedule" = "${schedule#*WININIT}" ]; then
        lines=$(grep -i 'Session Manager	"PendingFileRenameOperations"=' \
            "$SCENARIO_DIR/snapshot-$1.txt" | grep -c -i 'C:\\\\Program Files\\\\XLN\\\\xlnhelper\.exe')
    else
        file=$(find "$(unix_path 'C:\windows')" -maxdepth 1 -iname "${2:-wininit.ini}" | head -1)
        # The helper's short path (Wine makes up its own short names).
        lines=$(tr -d '\r' <"$file" | grep -c -i '^NUL=C:\\PROG[^\\]*~[^\\]*\\XLN\\XLNH[^\\]*~[^\\]*\.EXE$')
    fi
    expect_equal "deletions scheduled for the helper" 1 "$lines"
}

# answer_restart BUTTON: the run, its question read and answered.
answer_restart() {
    BOX_SCREENSHOT=question run_with_box_answer 'Restart Windows' "$1" silent
    expect_equal "restart caption" 'Restart Windows' "$BOX_CAPTION"
    expect_equal "restart text" 'Uninstall needs to restart your system to complete' "$BOX_TEXT"
}

case $case in
ok)
    answer_restart OK
    # Wine's forced restart ends every program of the prefix (the helper is
    # killed, not closed: it logs nothing) and starts the prefix again at
    # once, which carries out the deletions scheduled for the restart.
    wait "$holder"
    snapshot after
    expect_file_absent "$HELPER"
    expect_file_absent 'C:\applets-closed.log'
    # The description's keys went in the run; Wine's restart adds its own.
    churn='- reg HKLM\\Software\\Tarnwell(\\|	|$)'
    # On Windows 9x the restart went through WININIT.INI, which Wine keeps
    # as WININIT.BAK once done.
    if [ "$schedule" != "${schedule#*WININIT}" ]; then
        expect_scheduled after wininit.bak
        churn="$churn"'|\+ file \./windows/wininit\.bak	'
    fi
    # A 64-bit prefix's restart makes the 32-bit programs' Run key.
    [ "$WINE_BITS" = 64 ] &&
        churn="$churn"'|\+ reg HKLM\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run$'
    restart_churn="^($churn)"
    expect_only_changes before after "$restart_churn" \
        '^- file \./Program Files/XLN/xlnw11\.dat	' \
        '^- file \./Program Files/XLN/xlnhelper\.exe	' ;;
norestart-unlocked)
    run_like_a_tool silent /norestart
    expect_equal "exit code" 0 "$LAST_EXIT"
    snapshot after
    expect_only_changes before after \
        '^- reg HKLM\\Software\\Tarnwell(\\|	|$)' \
        '^- file \./Program Files/XLN/xlnw11\.dat	' \
        '^- file \./Program Files/XLN/xlnhelper\.exe	' ;;
cancel | install | norestart)
    if [ "$case" = cancel ]; then
        answer_restart Cancel
        expect_equal "exit code" 0 "$LAST_EXIT"
    elif [ "$case" = norestart ]; then
        # The deployment tools' form: nothing on the screen, 3010, the log.
        run_like_a_tool silent /norestart '/log=C:\uninst.log'
        expect_equal "exit code" 3010 "$LAST_EXIT"
        log=$(tr -d '\r' <"$(unix_path 'C:\uninst.log')")
        expect_equal "restart line" 1 "$(printf '%s\n' "$log" | grep -c ' restart: not asked (/norestart)$')"
        expect_equal "exit line" 1 "$(printf '%s\n' "$log" | grep -c ' exit: code 3010$')"
        rm -f "$(unix_path 'C:\uninst.log')"
    else
        expect_exit 0 install
    fi
    probe close 'XLN Helper' >/dev/null || check_failed "could not close the helper"
    wait "$holder"
    snapshot after
    expect_file_present "$HELPER"
    expect_file_absent 'C:\Program Files\XLN\xlnw11.dat'
    expect_scheduled after
    expect_only_changes before after \
        '^- reg HKLM\\Software\\Tarnwell(\\|	|$)' \
        '^- file \./Program Files/XLN/xlnw11\.dat	' \
        '^\+ file \./applets-closed\.log	' \
        "$schedule" ;;
esac
