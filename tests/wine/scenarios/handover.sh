#!/bin/sh
# The hand-over to the product's registered uninstall command. Without a
# dialog "QuietUninstallString" is run, the marker "RemovalInProgress"
# written, and the run ends there; a second run finds the marker and does
# the local removal. "verbose" runs "UninstallString" (a bare program name,
# which gets the Windows directory in front) and ends there too, without
# asking. With ForceLocalUninstall the command runs and the local removal
# follows in the same run.
# Usage: handover.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/../box.sh"
. "$(dirname "$0")/../installation.sh"
WINE_TIMEOUT=60
version=${1:-winxp}
ENTRY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\XLN 802.11g'
ENTRY_RE='^\+ reg HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\XLN 802\.11g	"RemovalInProgress"=""$'
LOG='C:\services-called.log'
scenario_begin "handover-$version" "$version"

# with_commands: the installation, with both commands registered.
with_commands() {
    lay_installation
    place_tool record_args.exe 'C:\Program Files\XLN\setup.exe'
    place_tool record_args.exe 'C:\windows\xlnsetup.exe'
    queue_reg_text '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\XLN 802.11g]
"QuietUninstallString"="\"C:\\Program Files\\XLN\\setup.exe\" /S"
"UninstallString"="xlnsetup.exe /remove"'
    rm -f "$(unix_path "$LOG")"
}

# first_logged: the first program the log names, with its command line.
first_logged() { tr -d '\r' <"$(unix_path "$LOG")" 2>/dev/null | head -1 | tr '[:upper:]' '[:lower:]'; }
QUIET_CMD='start c:\program files\xln\setup.exe|"c:\program files\xln\setup.exe" /s'
VERBOSE_CMD='start c:\windows\xlnsetup.exe|c:\windows\xlnsetup.exe /remove'

say "--- silent, twice: the command first, the local removal second"
with_commands
snapshot before
expect_exit 0 silent
snapshot handed
expect_equal "registered command" "$QUIET_CMD" "$(first_logged)"
expect_only_changes before handed "$ENTRY_RE" '^\+ file \./services-called\.log	'
rm -f "$(unix_path "$LOG")"
snapshot second-before
expect_exit 0 silent
snapshot second-after
expect_services_ran
expect_installation_removed "$version" second-before second-after
# The removal took the program too: the next runs need it back.
install_program

say "--- verbose: the dialog's command, and no question"
rm -f "$(unix_path 'C:\Program Files\XLN\setup.exe')" "$(unix_path 'C:\windows\xlnsetup.exe')"
with_commands
snapshot verbose-before
expect_exit 0 verbose
snapshot verbose-after
expect_equal "registered command" "$VERBOSE_CMD" "$(first_logged)"
expect_only_changes verbose-before verbose-after "$ENTRY_RE" '^\+ file \./services-called\.log	'

say "--- ForceLocalUninstall: the command, then the local removal"
queue_reg_text "[-HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\XLN 802.11g]"
with_commands
queue_reg_text '[HKEY_LOCAL_MACHINE\SOFTWARE\Tarnwell\802.11\UninstallInfo]
"ForceLocalUninstall"=""'
snapshot forced-before
expect_exit 0 silent
snapshot forced-after
expect_services_ran "$QUIET_CMD" "end${QUIET_CMD#start}"
expect_installation_removed "$version" forced-before forced-after
