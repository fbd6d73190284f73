# A realistic installation of the adapter's software, laid down in a
# scenario's prefix, and the checks that its removal took exactly what the
# description names. Sourced after lib.sh by the scenarios and the demo.
# shellcheck shell=sh

INSTALL_DATA="$WINE_ROOT/tests/wine/data"
CCS='System\CurrentControlSet'
# The Programs folders Wine gives the whole machine and its one user.
COMMON_PROGRAMS='C:\ProgramData\Microsoft\Windows\Start Menu\Programs'
USER_PROGRAMS="C:\\users\\$(id -un)\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"
SHORTCUT_REL='XLN Wireless\XLN Wireless Utility.lnk'

# The Programs folder a family's removal looks in.
programs_folder_for() {
    case $1 in
        win2k | winxp | win7 | win10) printf '%s' "$COMMON_PROGRAMS" ;;
        *) printf '%s' "$USER_PROGRAMS" ;;
    esac
}

# The other one, whose shortcut must stay.
other_programs_folder_for() {
    case $1 in
        win2k | winxp | win7 | win10) printf '%s' "$USER_PROGRAMS" ;;
        *) printf '%s' "$COMMON_PROGRAMS" ;;
    esac
}

# lay_installation: the description and the product's keys (installation.reg),
# the drivers, programs, help files and the shortcut, and beside them files
# that are not the product's.
lay_installation() {
    seed_registry "$INSTALL_DATA/installation.reg"
    lay_file 'C:\windows\system32\drivers\xlnw11.sys' 'driver'
    lay_file 'C:\windows\system32\xlnw11co.dll' 'co-installer'
    lay_file 'C:\windows\system32\xlnw11ui.dll' 'property pages'
    lay_file 'C:\windows\system32\xlnother.dll' 'not matched by xlnw11*.dll'
    lay_file 'C:\windows\inf\xlnw11.inf' '[Version]'
    place_tool record_args.exe 'C:\windows\xlnsvc.exe'
    place_tool record_args.exe 'C:\Program Files\XLN\Monitor\xlnmon.exe'
    place_tool applet_window.exe 'C:\Program Files\XLN\xlnutil.exe'
    place_tool applet_window.exe 'C:\Program Files\XLN\xlntray.exe'
    lay_file 'C:\Program Files\XLN\xlnutil.hlp' 'help'
    lay_file 'C:\Program Files\XLN\readme.hlp' 'read-only help'
    # Wine shows a file without write permission as read-only.
    chmod a-w "$(unix_path 'C:\Program Files\XLN\readme.hlp')"
    lay_file 'C:\Program Files\XLN\profiles.dat' 'the user data: not listed'
    # The shortcut in both Programs folders: only the family's goes.
    lay_file "$COMMON_PROGRAMS\\$SHORTCUT_REL" 'shortcut'
    lay_file "$USER_PROGRAMS\\$SHORTCUT_REL" 'shortcut'
}

# The shortcut's path in a folder, as the snapshots write it.
snapshot_path() {
    unix=$(unix_path "$1")
    printf '%s' "./${unix#"$WINEPREFIX/drive_c/"}" | sed 's/[].[\\*^$()+?{}|]/\\&/g'
}

# expect_installation_removed VERSION BEFORE AFTER [EXTRA-PATTERN...]:
# everything the description names went, and nothing else changed.
expect_installation_removed() {
    version=$1 before=$2 after=$3
    shift 3
    shortcut_dir=$(snapshot_path "$(programs_folder_for "$version")\\XLN Wireless")
    expect_only_changes "$before" "$after" \
        '^- reg HKLM\\Software\\Tarnwell(\\|	|$)' \
        '^- reg HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\XLN 802\.11g(\\|	|$)' \
        '^- reg HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run	"XLNUtility"=' \
        '^- reg HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run	"XLNTray"=' \
        '^- reg HKLM\\System\\CurrentControlSet\\Services\\XLNW11(\\|	|$)' \
        '^- reg HKLM\\System\\CurrentControlSet\\Services\\Eventlog\\XLN Events\\XLNW11$' \
        '^- reg HKLM\\Software\\XLN Shared\\Components(\\|	|$)' \
        '^- file \./windows/system32/drivers/xlnw11\.sys	' \
        '^- file \./windows/system32/xlnw11co\.dll	' \
        '^- file \./windows/system32/xlnw11ui\.dll	' \
        '^- file \./windows/inf/xlnw11\.inf	' \
        '^- file \./windows/xlnsvc\.exe	' \
        '^- file \./Program Files/XLN/Monitor/xlnmon\.exe	' \
        '^- file \./Program Files/XLN/xlnutil\.exe	' \
        '^- file \./Program Files/XLN/xlntray\.exe	' \
        '^- file \./Program Files/XLN/xlnutil\.hlp	' \
        '^- file \./Program Files/XLN/readme\.hlp	' \
        "^- file $shortcut_dir/(XLN Wireless Utility\\.lnk	)?" \
        '^\+ file \./services-called\.log	' \
        '^- file \./Program Files/XLN/Monitor/$' \
        '^- file \./Program Files/XLN/uninst\.exe	' \
        "$(cleanup_copy_pattern "$version")" \
        "$@"
    # What the description does not name, or keeps, is still there.
    expect_key_present 'HKLM\Software\XLN Shared'
    expect_value 'HKLM\Software\XLN Shared' SharedDir '"C:\\Program Files\\Common Files\\XLN"'
    expect_key_present "HKLM\\$CCS\\Services\\Eventlog\\XLN Events\\XLNW11Mon"
    expect_key_present "HKLM\\$CCS\\Services\\Eventlog\\XLN Events\\OtherSource"
    expect_key_present 'HKCU\Software\XLN'
    expect_value 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' OtherVendorTool '"C:\\Other\\tool.exe"'
    # The program went after the run, by a copy of it; the user's file
    # keeps the product's folder.
    expect_file_absent 'C:\Program Files\XLN\uninst.exe'
    expect_file_present 'C:\Program Files\XLN\profiles.dat'
    expect_file_present 'C:\windows\system32\xlnother.dll'
    expect_file_present "$(other_programs_folder_for "$version")\\$SHORTCUT_REL"
    expect_file_absent "$(programs_folder_for "$version")\\XLN Wireless"
}

# The copy of the program that deleted it after the run waits in the
# temporary folder (left out of the snapshots) for the next start, which
# deletes it: the one change it leaves outside that folder.
cleanup_copy_pattern() {
    case $1 in
        win95 | win98 | winme) printf '%s' '^\+ file \./windows/WININIT\.INI	' ;;
        *) printf '%s' '^\+ reg HKLM\\System\\CurrentControlSet\\Control\\Session Manager	"PendingFileRenameOperations"=' ;;
    esac
}

# expect_services_ran [LINE...]: after the lines given (lower case), each
# service program ran once with " -u", the text after the comma dropped,
# one after the other.
expect_services_ran() {
    got=$(tr -d '\r' <"$(unix_path 'C:\services-called.log')" 2>/dev/null | tr '[:upper:]' '[:lower:]')
    want=$(printf '%s\n' "$@" \
        'start c:\windows\xlnsvc.exe|"c:\windows\xlnsvc.exe" -u' \
        'end c:\windows\xlnsvc.exe|"c:\windows\xlnsvc.exe" -u' \
        'start c:\program files\xln\monitor\xlnmon.exe|"c:\program files\xln\monitor\xlnmon.exe" -u' \
        'end c:\program files\xln\monitor\xlnmon.exe|"c:\program files\xln\monitor\xlnmon.exe" -u')
    if [ "$got" = "$want" ]; then say "ok: both service programs ran with -u, in order"
    else check_failed "service programs' log is: $got"; fi
}
