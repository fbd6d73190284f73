#!/bin/sh
# Windows' keys and services beside a product's own: SOFTWARE\Clients,
# SOFTWARE\Registered Applications and SOFTWARE\ODBC named as software
# keys, a Windows driver whose file is not there, and a Windows program
# spelled through %ProgramFiles% in a service that the product's INF adds,
# all stay; in the same run the product's driver service, its monitor
# service, its files and its vendor key go. A preview says the same.
# Usage: guard-windows-keys.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
WINE_TIMEOUT=60
scenario_begin "guard-windows-keys-$1" "$1"
LOG='C:\guard-windows-keys.log'
PREVIEW='C:\guard-windows-keys-preview.log'

seed_registry "$WINE_ROOT/tests/wine/data/guard-windows-keys.reg"
lay_file 'C:\windows\system32\drivers\xlnks.sys' 'the product driver'
lay_file 'C:\windows\inf\xlnks.inf' "$(printf '[XLN.NT.Services]\r\nAddService = XLNKS, 2, XLN_Service\r\nAddService = WinHidden, , Hidden_Service\r\n')"
lay_file 'C:\Program Files\XLN\ksutil.exe' 'the product utility'
lay_file 'C:\Program Files\XLN\readme.txt' 'not named: keeps the folder'
expect_file_present 'C:\Program Files\Internet Explorer\iexplore.exe'
snapshot before

for description in Clients Registered Odbc; do
    expect_exit 0 silent "/rootkey=SOFTWARE\\GuardWin\\$description" "/log=$LOG"
done
expect_exit 0 silent /preview "/log=$PREVIEW"
expect_exit 0 silent "/log=$LOG"
for log in "$LOG" "$PREVIEW"; do
    name=$(printf '%s' "$log" | sed 's/^C:\\//')
    cp "$(unix_path "$log")" "$SCENARIO_DIR/$name.txt" 2>/dev/null || check_failed "no log $log"
    rm -f "$(unix_path "$log")"
done
snapshot after
expect_only_changes before after \
    '^- reg HKLM\\Software\\GuardWin\\(Clients|Registered|Odbc)(\\|	|$)' \
    '^- reg HKLM\\Software\\Tarnwell(\\|	|$)' \
    '^- reg HKLM\\System\\CurrentControlSet\\Services\\XLNKS(\\|	|$)' \
    '^- reg HKLM\\System\\CurrentControlSet\\Services\\XLNKSMon(\\|	|$)' \
    '^- file \./windows/system32/drivers/xlnks\.sys	' \
    '^- file \./windows/inf/xlnks\.inf	' \
    '^- file \./Program Files/XLN/ksutil\.exe	'
for key in 'Software\Clients\Mail\XLN Mail' 'Software\ODBC\ODBC.INI\XLN Log' \
    'Software\Registered Applications' 'System\CurrentControlSet\Services\WinNoFile' \
    'System\CurrentControlSet\Services\WinHidden'; do
    expect_key_present "HKLM\\$key"
done

# expect_logged LOG LINE: the line is in that log.
expect_logged() {
    if tr -d '\r' <"$SCENARIO_DIR/$1.txt" | grep -q -F -- "$2"; then say "ok: $1 says: $2"
    else check_failed "not in $1: $2"; fi
}
services='delete key HKLM\SYSTEM\CurrentControlSet\Services'
for key in Clients 'Registered Applications' ODBC; do
    expect_logged guard-windows-keys.log "delete key HKLM\\SOFTWARE\\$key: refused by a guardrail: a key Windows owns"
done
for log in guard-windows-keys.log guard-windows-keys-preview.log; do
    expect_logged $log "$services\\WinNoFile: refused by a guardrail: a service whose program is missing and nothing ties to the product"
    expect_logged $log "$services\\WinHidden: refused by a guardrail: a service whose program is Windows' own"
done
expect_logged guard-windows-keys.log "$services\\XLNKS: done"
expect_logged guard-windows-keys.log "$services\\XLNKSMon: done"
expect_logged guard-windows-keys-preview.log "$services\\XLNKS: exists, would be deleted"
expect_logged guard-windows-keys-preview.log "$services\\XLNKSMon: exists, would be deleted"
