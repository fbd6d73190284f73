#!/bin/sh
# What a description names that is Windows' own or another maker's stays,
# while the product's own goes in the same runs: another program's uninstall
# entry (named by the INI description) keeps its entry and its command does
# not run; service programs are looked for as Windows looks (PATH too), the
# product's one found only on PATH runs by its full path, a copy of Wine's
# own found there and wmic do not run; the Run values that start notepad and
# another maker's program stay; on Windows Me the shell's Progman class gets
# no WM_CLOSE; and a description naming Accessories\Notepad leaves it. The
# log says why each stays.
# Usage: others-programs.sh win98|winxp   (each runs its own versions)
#        others-programs.sh VERSION MODE  (one run)
set -u
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/../box.sh"
. "$(dirname "$0")/../installation.sh"

if [ $# -lt 2 ]; then
    case ${1:-winxp} in
        win98) runs='win98:silent winme:silent' ;;
        *) runs='winxp:silent' ;;
    esac
    run_each "$0" $runs
    exit
fi

version=$1 mode=$2
WINE_TIMEOUT=60
scenario_begin "others-programs-$version-$mode" "$version"
LOG='C:\others-programs.log'
RUN='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
OTHER_ENTRY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Other App'
NOTEPAD_LNK="$(programs_folder_for "$version")\\Accessories\\Notepad.lnk"

lay_installation
seed_registry "$INSTALL_DATA/others-programs.reg"
sed 's/$/\r/' "$INSTALL_DATA/others-programs.ini" >"$(unix_path 'C:\Program Files\XLN\uninst.ini')"
place_tool record_args.exe 'C:\xlntools\xlnpath.exe'
place_tool record_args.exe 'C:\Program Files\Contoso\uninstall.exe'
place_tool other_vendor.exe 'C:\Program Files\Contoso\tray.exe'
place_tool applet_window.exe 'C:\xlntools\shellwin.exe'
cp "$WINEPREFIX/drive_c/windows/system32/notepad.exe" "$(unix_path 'C:\xlntools\xlnwinprog.exe')"
lay_file "$NOTEPAD_LNK" 'shortcut'
export WINEPATH='C:\xlntools'
snapshot before

if [ "$version" = winme ]; then
    apply_registry
    wine 'C:\Program Files\XLN\xlnutil.exe' XLNUtilityWnd 'XLN Wireless Utility' &
    wine 'C:\Program Files\XLN\xlntray.exe' XLNTrayWnd 'XLN Tray Monitor' &
    # A window of the shell's class, as the desktop's would be.
    wine 'C:\xlntools\shellwin.exe' Progman 'Program Manager Probe' &
    for caption in 'XLN Wireless Utility' 'XLN Tray Monitor' 'Program Manager Probe'; do
        probe wait "$caption" 20000 >/dev/null || check_failed "the window $caption did not start"
    done
fi

# Windows' shortcut named by a description of its own: it stays.
expect_exit 0 "$mode" '/rootkey=SOFTWARE\XLNProbe\Shortcut' "/log=$LOG"
# The installation, then the INI description of another program's entry.
expect_exit 0 "$mode" "/log=$LOG"
if [ "$version" = winme ]; then
    closed=$(tr -d '\r' <"$(unix_path 'C:\applets-closed.log')" 2>/dev/null | sort | tr '\n' ' ')
    expect_equal "windows closed: the applets', not Progman" \
        "WM_CLOSE XLNTrayWnd WM_CLOSE XLNUtilityWnd " "$closed"
    probe close 'Program Manager Probe' >/dev/null || check_failed "the Progman window is gone"
fi
rm -f "$(unix_path 'C:\Program Files\XLN\uninst.ini')"
# The log is complete once the program's cleanup copy has ended too.
snapshot after
cp "$(unix_path "$LOG")" "$SCENARIO_DIR/others-programs-log.txt"

extra='^- file \./Program Files/XLN/uninst\.ini	|^\+ file \./others-programs\.log	'
[ "$version" = winme ] && extra="$extra|^\\+ file \\./applets-closed\\.log	"
expect_installation_removed "$version" before after \
    '^- reg HKLM\\Software\\XLNProbe\\Shortcut(\\|	|$)' "$extra"
expect_value "$RUN" NotepadRun '"notepad.exe C:\\readme.txt"'
expect_value "$RUN" ContosoTray '"\"C:\\Program Files\\Contoso\\tray.exe\" /background"'
expect_key_present "$OTHER_ENTRY"
expect_file_present "$NOTEPAD_LNK"

# The services' log: the product's programs ran, the one on PATH by its
# full path, and nothing else (no Windows program, no other uninstaller).
ran=$(tr -d '\r' <"$(unix_path 'C:\services-called.log')" | grep '^start' | sed 's/^start [^|]*|//' |
    tr '[:upper:]' '[:lower:]' | sort | tr '\n' '#')
expect_equal "service programs started" \
    '"c:\program files\xln\monitor\xlnmon.exe" -u#"c:\windows\xlnsvc.exe" -u#"c:\xlntools\xlnpath.exe" -u#' "$ran"

expect_logged() {
    if tr -d '\r' <"$SCENARIO_DIR/others-programs-log.txt" | grep -q -F -- "$1"; then say "ok: logged: $1"
    else check_failed "not in the log: $1"; fi
}
expect_logged "start the uninstall command of HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other App: left alone: its DisplayName names another product"
expect_logged "delete key HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other App: left alone: its DisplayName names another product"
expect_logged 'service program xlnwinprog /x -u: refused by a guardrail: '
expect_logged 'service program wmic os get caption -u: refused by a guardrail: '
expect_logged "delete value HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\NotepadRun: left alone: "
expect_logged "delete value HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\ContosoTray: left alone: its program's version resource names another maker"
expect_logged "\\Accessories\\Notepad.lnk: left alone: one of Windows' own Start-menu folders"
[ "$version" = winme ] &&
    expect_logged "close windows of class Progman: left alone: a class of Windows' own windows"
exit 0
