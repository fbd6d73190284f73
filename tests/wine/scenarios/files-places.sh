#!/bin/sh
# Below the profiles and the folders all users share, sweeping patterns are
# refused while the product's own named files (and a pattern specific to
# it) go; the Z: spelling of the system folder and of a profile is known as
# the same place; names with a stream are refused, for files and folders;
# Windows' hal.dll, refused, keeps the count other programs hold on it.
# Everything else stays and nothing waits for the restart.
# Usage: files-places.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
scenario_begin "files-places-$1" "$1"

seed_registry "$WINE_ROOT/tests/wine/data/files-places.reg"
user=$(ls "$WINEPREFIX/drive_c/users" | grep -v -x Public | head -1)
profile="C:\\users\\$user"
z_drive_c=$(zpath "$WINEPREFIX/drive_c")
reg() { printf '%s' "$1" | sed 's/\\/\\\\/g'; }
queue_reg_text "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Hostile\\Places\\InstalledFiles]
\"Profile\"=\"$(reg "$profile\\Contacts\\*.*;$profile\\AppData\\Roaming\\*.*;$profile\\AppData\\Roaming\\XLN\\*.*;$profile\\AppData\\Roaming\\XLN\\xln.ini;$profile\\AppData\\Roaming\\XLN\\xln*.log")\"
\"Letters\"=\"$(reg "$z_drive_c\\windows\\system32\\*.dll;$z_drive_c\\users\\$user\\Contacts\\*.*")\"
"
lay_file "$profile\\Contacts\\keep.txt" 'a contact of the user'
lay_file "$profile\\AppData\\Roaming\\Vendor\\keep.dat" 'another program of the user'
lay_file "$profile\\AppData\\Roaming\\XLN\\keep.txt" 'not named by the product'
lay_file "$profile\\AppData\\Roaming\\XLN\\xln.ini" 'the product settings'
lay_file "$profile\\AppData\\Roaming\\XLN\\xlnlog1.log" 'the product log'
lay_file 'C:\ProgramData\Microsoft\keep.dat' 'Windows data for all users'
lay_file 'C:\ProgramData\keep.dat' 'shared by all users'
lay_file 'C:\ProgramData\XLN\xlnsvc.dat' 'the product service data'
lay_file 'C:\Program Files\XLN\keep.dat' 'named only with a stream'
snapshot before

LOG='C:\places.log'
expect_exit 0 silent '/rootkey=SOFTWARE\Hostile\Places' "/log=$LOG"
snapshot after
roaming="\\./users/$user/AppData/Roaming/XLN"
expect_only_changes before after \
    '^- reg HKLM\\Software\\Hostile\\Places(\\|	|$)' \
    "^- file $roaming/xln\\.ini	" \
    "^- file $roaming/xlnlog1\\.log	" \
    '^- file \./ProgramData/XLN/(	|$)' \
    '^- file \./ProgramData/XLN/xlnsvc\.dat	' \
    '^[-+] file \./places\.log	'
for file in "$profile\\Contacts\\keep.txt" "$profile\\AppData\\Roaming\\Vendor\\keep.dat" \
    "$profile\\AppData\\Roaming\\XLN\\keep.txt" 'C:\ProgramData\Microsoft\keep.dat' 'C:\ProgramData\keep.dat' \
    'C:\Program Files\XLN\keep.dat' 'C:\windows\system32\hal.dll' 'C:\windows\system32\kernel32.dll'; do
    expect_file_present "$file"
done
grep -q -i -F '"C:\\windows\\system32\\hal.dll"=dword:00000003' "$(latest_snapshot)" &&
    say "ok: hal.dll keeps its count of 3" || check_failed "hal.dll's shared count changed"
expect_nothing_waits

expect_log_lines \
    "Contacts\\*.*: refused by a guardrail: a sweeping pattern below a user's profile" \
    "Roaming\\*.*: refused by a guardrail: a sweeping pattern" \
    "Roaming\\XLN\\*.*: refused by a guardrail: a sweeping pattern below a user's profile" \
    'ProgramData\Microsoft\*.*: refused by a guardrail: a sweeping pattern below the folders all users share' \
    'kernel32.dll::$DATA: refused by a guardrail: a name with a stream' \
    'XLN\keep.dat:x: refused by a guardrail: a name with a stream' \
    'XLN:x\*.*: refused by a guardrail: a name with a stream' \
    'system32\*.dll: refused by a guardrail: a sweeping pattern in a protected folder' \
    'system32\hal.dll: refused by a guardrail: '
for spelt in "$z_drive_c\\windows\\system32\\*.dll" "$z_drive_c\\users\\$user\\Contacts\\*.*"; do
    case $log in
        *"$spelt: refused by a guardrail: a sweeping pattern"*) say "ok: refused: $spelt" ;;
        *) check_failed "the Z: spelling was not refused: $spelt"
           printf '%s\n' "$log" | grep -i -F 'Contacts' | sed 's/^/      /' ;;
    esac
done
