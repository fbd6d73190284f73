#!/bin/sh
# Windows' keys, services and programs through the description: keys just
# below the protected trees, a Windows service, a search for "e" among the
# services, a Microsoft subtree as the vendor key, a registry link into the
# services (where Wine has links), a key holding only "Version" named by
# "/rootkey=", cmd.exe as a service program, and the device tool asked for
# the "Spooler" service. Afterwards only the description keys are gone;
# the log names each refusal and its reason.
# Usage: guard-keys.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/../devices.sh"
WINE_TIMEOUT=60
scenario_begin "guard-keys-$1" "$1"
place_device_tools
LOG='C:\guard-keys.log'

seed_registry "$WINE_ROOT/tests/wine/data/guard-keys.reg"
lay_file 'C:\guard-victim.txt' 'cmd.exe must never be started to delete this'
apply_registry
timeout "$WINE_TIMEOUT" wine "$(zpath "$WINE_TOOLS_DIR/reg_link.exe")" \
    'SOFTWARE\GuardKeys\ToServices' 'System\CurrentControlSet\Services' ||
    check_failed "reg_link could not make the link"
snapshot before

expect_exit 1 silent '/rootkey=SOFTWARE\GuardKeys\VersionOnly'
snapshot between
expect_only_changes before between

expect_exit 0 silent '/rootkey=SOFTWARE\GuardKeys\Lists' "/log=$LOG"
expect_exit 0 silent '/rootkey=SOFTWARE\GuardKeys\Vendor' "/log=$LOG"
# The device tool is asked to stop and delete the print spooler (on
# Windows 9x the 2000 driver model asks for no device removal at all).
expect_exit 0 silent '/rootkey=SOFTWARE\GuardKeys\Devices' "/log=$LOG"
cp "$(unix_path "$LOG")" "$SCENARIO_DIR/guard-keys-log.txt"
rm -f "$(unix_path "$LOG")"
snapshot after
# Wine registers FontCache3.0.0.0 without its program file, as XP lists
# drivers it has not copied: nothing ties it to the product, so it stays
# with every other service.
expect_only_changes between after \
    '^- reg HKLM\\Software\\GuardKeys\\Lists(\\|	|$)' \
    '^- reg HKLM\\Software\\GuardKeys\\Vendor(\\|	|$)' \
    '^- reg HKLM\\Software\\GuardKeys\\Devices(\\|	|$)'
expect_file_present 'C:\guard-victim.txt'
for key in 'System\Select' 'Software\Microsoft\Windows NT\CurrentVersion\Winlogon' \
    'Software\Classes\CLSID' 'System\CurrentControlSet\Control\Session Manager' \
    'System\CurrentControlSet\Services\Spooler' 'Software\Microsoft\Windows' \
    'System\CurrentControlSet\Services\FontCache3.0.0.0'; do
    expect_key_present "HKLM\\$key"
done

# Each refusal is in the log with its reason.
expect_logged() {
    if tr -d '\r' <"$SCENARIO_DIR/guard-keys-log.txt" | grep -q -F -- "$1"; then say "ok: logged: $1"
    else check_failed "not in the log: $1"; fi
}
expect_logged 'delete key HKLM\SYSTEM\Select: refused by a guardrail: a key Windows owns'
expect_logged 'delete key HKLM\SYSTEM\CurrentControlSet\Services\Spooler: refused by a guardrail: a service whose program'
expect_logged 'delete key HKLM\SOFTWARE\GuardKeys\ToServices\Spooler: refused by a guardrail: a registry link'
expect_logged 'cmd.exe /c del C:\guard-victim.txt -u: refused by a guardrail: '
expect_logged 'delete key HKLM\SOFTWARE\GuardKeys: refused by a guardrail: holds a registry link'
case $1 in
    win95 | win98 | winme) ;;
    *) expect_logged 'kept service Spooler: refused by a guardrail: a service whose program' ;;
esac
