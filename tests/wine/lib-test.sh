#!/bin/sh
# Checks the scenario helpers' own logic without Wine: registry files in
# Wine's format and drive_c trees are written by hand, snapshotted, changed,
# and the change checks must count exactly the failures each row names.
set -u
. "$(dirname "$0")/lib.sh"

# No server to stop or start here: the files are already on disk.
wineserver() { :; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
SCENARIO=lib-test
SCENARIO_DIR=$work/scenario
WINEPREFIX=$work/prefix
mkdir -p "$SCENARIO_DIR"
: >"$SCENARIO_DIR/pending.reg"

base_system='WINE REGISTRY Version 2
;; All keys relative to \\Machine
#arch=win32

[Software\\Tarnwell\\802.11\\UninstallInfo] 1733650000
#time=1db4a0f2c3d4e5f
"FullProductName"="Tarnwell 802.11g"
"Blob"=hex:01,02,03,\
  04,05

[System\\CurrentControlSet\\Control\\Print] 1733650000
"Spooler"="yes"'
base_user='WINE REGISTRY Version 2
;; All keys relative to \\User\\S-1-5-21-0-0-0-1000

[Software\\Wine\\Explorer] 1733650000
"Desktop"="Default"'

# prefix SYSTEM USER [FILE...]: writes a prefix with these registry files.
prefix() {
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX/drive_c/windows"
    printf '%s\n' "$1" >"$WINEPREFIX/system.reg"
    printf '%s\n' "$2" >"$WINEPREFIX/user.reg"
    shift 2
    for f in "$@"; do mkdir -p "$(dirname "$WINEPREFIX/drive_c/$f")"; echo "$f" >"$WINEPREFIX/drive_c/$f"; done
}

passed=0
failed=0
# row NAME WANTED-FAILURES SYSTEM-AFTER USER-AFTER "FILES-AFTER" [PATTERN...]
row() {
    name=$1 want=$2 system=$3 user=$4 files=$5
    shift 5
    prefix "$base_system" "$base_user"
    snapshot before
    # One file per line of FILES-AFTER, spaces allowed.
    old_ifs=$IFS
    IFS='
'
    # shellcheck disable=SC2086
    prefix "$system" "$user" $files
    IFS=$old_ifs
    snapshot after
    SCENARIO_FAILURES=0
    expect_only_changes before after "$@" >"$work/out"
    if [ "$SCENARIO_FAILURES" -eq "$want" ]; then
        passed=$((passed + 1)); echo "ok   $name"
    else
        failed=$((failed + 1))
        echo "FAIL $name: $SCENARIO_FAILURES failed expectations, wanted $want"; sed 's/^/    /' "$work/out"
    fi
}

changed_value=$(printf '%s' "$base_system" | sed 's/"FullProductName"="Tarnwell 802.11g"/"FullProductName"="Other"/')
added_key="$base_system

[Software\\Other\\Desc] 1733650001
\"Device\"=\"TW11G\""
churn=$(printf '%s' "$base_system" | sed -e 's/1733650000/1733659999/' -e 's/^#time=.*/#time=1dbffffffffffff/')
churn_user="$base_user
\"Width\"=dword:00000400"
changed_blob=$(printf '%s' "$base_system" | sed 's/04,05/04,06/')
no_key=$(printf '%s\n' "$base_system" | sed '/^\[Software\\\\Tarnwell/,/^$/d')
# The description key deleted: Wine then writes its parent, now a leaf, as
# a section of its own, which is no new key.
parent_left="$no_key

[Software\\Tarnwell\\802.11] 1733650001"

row nothing-changed 0 "$base_system" "$base_user" ""
row changed-value-unexpected 1 "$changed_value" "$base_user" ""
row changed-value-expected 0 "$changed_value" "$base_user" "" '"FullProductName"='
row added-key-expected 0 "$added_key" "$base_user" "" 'HKLM\\Software\\Other(\\Desc)?($|	)'
row added-key-parent-is-new 1 "$added_key" "$base_user" "" 'HKLM\\Software\\Other\\Desc'
row parent-left-empty 0 "$parent_left" "$base_user" "" '^- reg HKLM\\Software\\Tarnwell\\802\.11\\UninstallInfo'
row expected-change-missing 1 "$base_system" "$base_user" "" 'HKLM\\Software\\Other\\Desc'
row removed-key-other-pattern 2 "$no_key" "$base_user" "" 'HKLM\\Software\\Other'
row wine-churn-ignored 0 "$churn" "$churn_user" ""
row continued-hex-line-changed 1 "$changed_blob" "$base_user" ""
row file-added-unexpected 1 "$base_system" "$base_user" "Program Files/XLN/twutil.exe"
row file-added-expected 0 "$base_system" "$base_user" "Program Files/XLN/twutil.exe" '^\+ file \./Program Files/'

# The key and value checks read the latest snapshot, keys in any case.
prefix "$base_system" "$base_user"
snapshot latest
SCENARIO_FAILURES=0
{
    expect_key_present 'HKLM\SOFTWARE\tarnwell\802.11\UninstallInfo'
    expect_key_absent 'HKLM\Software\Other\Desc'
    expect_value 'HKLM\Software\Tarnwell\802.11\UninstallInfo' FullProductName '"Tarnwell 802.11g"'
    expect_value 'HKLM\Software\Tarnwell\802.11\UninstallInfo' Blob 'hex:01,02,03,04,05'
} >"$work/out"
if [ "$SCENARIO_FAILURES" -eq 0 ]; then passed=$((passed + 1)); echo "ok   key-and-value-checks-pass"
else failed=$((failed + 1)); echo "FAIL key-and-value-checks-pass"; cat "$work/out"; fi
SCENARIO_FAILURES=0
{
    expect_key_absent 'HKLM\Software\Tarnwell\802.11\UninstallInfo'
    expect_key_present 'HKLM\Software\Other\Desc'
    expect_value 'HKLM\Software\Tarnwell\802.11\UninstallInfo' FullProductName '"Other"'
} >"$work/out"
if [ "$SCENARIO_FAILURES" -eq 3 ]; then passed=$((passed + 1)); echo "ok   key-and-value-checks-fail"
else failed=$((failed + 1)); echo "FAIL key-and-value-checks-fail: $SCENARIO_FAILURES of 3"; cat "$work/out"; fi

# The log and restart checks: a line in another case is found, a missing one
# and a deletion left in WININIT.INI are two failures.
printf 'delete file C:\\WINDOWS\\hal.dll: refused\r\n' >"$WINEPREFIX/drive_c/run.log"
echo '[rename]' >"$WINEPREFIX/drive_c/windows/WININIT.INI"
LOG='C:\run.log'
SCENARIO_FAILURES=0
{
    expect_log_lines 'delete file C:\windows\hal.dll: refused' 'delete file C:\windows\kernel32.dll'
    expect_nothing_waits
} >"$work/out"
if [ "$SCENARIO_FAILURES" -eq 2 ]; then passed=$((passed + 1)); echo "ok   log-and-restart-checks"
else failed=$((failed + 1)); echo "FAIL log-and-restart-checks: $SCENARIO_FAILURES of 2"; cat "$work/out"; fi

echo "wine helpers: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
