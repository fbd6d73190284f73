#!/bin/sh
# The record of a run. "preview": a preview of the realistic installation
# leaves the prefix as it was (its log file aside), and its log names every
# file, folder, key and value that the following real run removes, itself
# or through a key it would delete with everything below it. "locked": the
# log of a run that meets a running program and a failing device tool
# shows the deferred deletion, the tool's request, tag, code and
# diagnostic, the restart question's answer and the exit code. "box": a
# "quiet" preview without "/log=" writes uninst-preview.log in the user's
# temporary folder and says where in a box.
# Usage: run-log.sh win98|winxp   (each runs its own list of cases)
#        run-log.sh VERSION preview|locked|box
set -u
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/../box.sh"
. "$(dirname "$0")/../installation.sh"

if [ $# -lt 2 ]; then
    case ${1:-winxp} in
        win98) runs='win98:preview win98:locked' ;;
        *) runs='winxp:preview winxp:locked winxp:box' ;;
    esac
    run_each "$0" $runs
    exit
fi

version=$1 case=$2
export LANG=en_US.UTF-8
WINE_TIMEOUT=60
scenario_begin "run-log-$version-$case" "$version"

# log_text 'C:\file': the log's lines, time stamps, process ids and CRs dropped.
log_text() { tr -d '\r' <"$(unix_path "$1")" 2>/dev/null | sed 's/^[^[]*\[[0-9]*\] //'; }

# expect_log_line FILE LINE: the log holds the line exactly.
expect_log_line() {
    if log_text "$1" | grep -q -x -F -- "$2"; then say "ok: log line '$2'"
    else check_failed "no log line '$2'"; fi
}

# The path a removed snapshot line names, as the program writes it.
removed_path() {
    case $1 in
        '- reg '*) printf '%s' "${1#- reg }" | sed -e 's/\t"\([^"]*\)"=.*$/\\\1/' ;;
        '- file ./'*) printf 'C:\\%s' "${1#- file ./}" | sed -e 's/\t.*$//' -e 's|/$||' | tr / '\\' ;;
    esac
}

# previewed PATH LOG: the preview names the path, or a key above it that it
# would delete with everything below it.
previewed() {
    grep -q -i -F -e " $1: would be" -e " $1: exists, would be" -e " $1: in use now" "$2" && return 0
    path=$1
    while :; do
        case $path in *\\*) path=${path%\\*} ;; *) return 1 ;; esac
        grep -q -i -F " $path: exists, would be deleted with everything below it" "$2" && return 0
    done
}

case $case in
box)
    lay_installation
    snapshot before
    run_with_box 'Uninstall Preview' quiet /preview
    expect_equal "exit code" 0 "$LAST_EXIT"
    written=${BOX_TEXT#The preview of the removal was written to }
    [ "$written" != "$BOX_TEXT" ] || check_failed "the box says: $BOX_TEXT"
    case $written in *'\uninst-preview.log') ;; *) check_failed "the preview went to $written" ;; esac
    expect_log_line "$written" 'exit: code 0'
    # The temporary folder is left out of the snapshots as Wine's own churn.
    snapshot after
    expect_only_changes before after ;;
preview)
    lay_installation
    snapshot before
    expect_exit 0 silent /preview '/log=C:\preview.log'
    snapshot previewed
    expect_only_changes before previewed '^\+ file \./preview\.log	'
    log_text 'C:\preview.log' >"$SCENARIO_DIR/preview.txt"
    expect_log_line 'C:\preview.log' 'exit: code 0'
    expect_exit 0 silent
    snapshot after
    changes previewed after | grep '^- ' >"$SCENARIO_DIR/removed.txt"
    [ -s "$SCENARIO_DIR/removed.txt" ] || check_failed "the real run removed nothing"
    missing=0
    while IFS= read -r line; do
        path=$(removed_path "$line")
        [ "$path" = 'C:\preview.log' ] && continue
        previewed "$path" "$SCENARIO_DIR/preview.txt" && continue
        check_failed "removed, not in the preview: $path"
        missing=$((missing + 1))
    done <"$SCENARIO_DIR/removed.txt"
    [ "$missing" -eq 0 ] && say "ok: the preview names all $(wc -l <"$SCENARIO_DIR/removed.txt") removed items" ;;
locked)
    HELPER='C:\Program Files\XLN\xlnhelper.exe'
    seed_registry "$INSTALL_DATA/run-log.reg"
    case $version in
        win95 | win98 | winme) tool=XLNWLD9X model=WDM98 ;;
        *) tool=XLNWLD2K model=WDM2k ;;
    esac
    queue_reg_text "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tarnwell\\802.11\\UninstallInfo]
\"WinVer\"=\"$model\"
"
    place_tool failing_device_tool.exe "C:\\Program Files\\XLN\\$tool.exe"
    place_tool applet_window.exe "$HELPER"
    lay_file 'C:\Program Files\XLN\xlnw11.dat' 'adapter data'
    apply_registry
    wine "$HELPER" XLNHelperWnd 'XLN Helper' &
    holder=$!
    probe wait 'XLN Helper' 20000 >/dev/null || check_failed "the helper did not start"
    run_with_box_answer 'Restart Windows' Cancel silent '/log=C:\run.log'
    expect_equal "exit code" 0 "$LAST_EXIT"
    probe close 'XLN Helper' >/dev/null || check_failed "could not close the helper"
    wait "$holder"
    log_text 'C:\run.log' >"$SCENARIO_DIR/run-log.txt"
    expect_log_line 'C:\run.log' 'device tool request: ServiceName=XLNW11'
    expect_log_line 'C:\run.log' 'device tool result: status -1, tag "DevMgr remove", code 31'
    expect_log_line 'C:\run.log' 'failure: DevMgr remove31: DevMgr Error'
    expect_log_line 'C:\run.log' 'step RemoveDevices: ends with result 4'
    expect_log_line 'C:\run.log' 'delete file C:\Program Files\XLN\xlnw11.dat: done'
    expect_log_line 'C:\run.log' 'delete file C:\Program Files\XLN\xlnhelper.exe: failed, error 5'
    expect_log_line 'C:\run.log' 'delete file at restart C:\Program Files\XLN\xlnhelper.exe: scheduled for deletion at the next start of Windows'
    expect_log_line 'C:\run.log' 'restart: asked, answer Cancel'
    expect_log_line 'C:\run.log' 'exit: code 0' ;;
esac
