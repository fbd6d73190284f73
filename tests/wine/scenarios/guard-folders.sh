#!/bin/sh
# Windows' folders reached by other spellings: shares and device paths, names
# made of dots, 8.3 forms, another drive letter on the Windows folder (Wine's
# dosdevices link stands in for subst), a link in the product's folder into
# the drivers (Wine 8 shows a Linux symbolic link to a folder as a reparse
# point; its "mklink /j" and CreateSymbolicLinkA make nothing), Windows'
# folders below Program Files, and the profiles and shell folders. Windows'
# files all stay and none waits for the restart; the product's own files go,
# the one in the system folder too.
# Usage: guard-folders.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
scenario_begin "guard-folders-$1" "$1"

seed_registry "$WINE_ROOT/tests/wine/data/guard-folders.reg"
user=$(ls "$WINEPREFIX/drive_c/users" | grep -v -x Public | head -1)
# Wine's 8.3 names are made from a hash: ask it for them.
short_ie=$(probe short 'C:\Program Files\Internet Explorer' | tr -d '\r' | sed 's/\\/\\\\/g')
short_system=$(probe short 'C:\windows\system32' | tr -d '\r' | sed 's/\\/\\\\/g')
[ -n "$short_ie" ] && [ -n "$short_system" ] || check_failed "no 8.3 forms of Windows' folders"
queue_reg_text "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Hostile\\Folders\\InstalledFiles]
\"Profile\"=\"C:\\\\users\\\\$user\\\\*.*;C:\\\\users\\\\$user\\\\Desktop\\\\*.*\"
\"Short\"=\"$short_ie\\\\*.*;$short_system\\\\*.exe\"
"
lay_file 'C:\Program Files\XLN\xln.hlp' 'the product help'
lay_file 'C:\windows\system32\xlnw11.dll' 'the product driver library'
lay_file 'C:\windows\system32\xlnwcfg.cpl' 'the product applet'
lay_file 'C:\windows\system32\drivers\keep.sys' 'another driver'
lay_file 'C:\windows\system32\drivers\xlnkeep.sys' 'a driver named like the product'
lay_file 'C:\Program Files\Internet Explorer\keep.dll' 'Windows'' own'
lay_file 'C:\Program Files\Common Files\keep.txt' 'shared by programs'
lay_file 'C:\users\keep.txt' 'beside the profiles'
lay_file 'C:\users\Public\keep.txt' 'the shared profile'
lay_file 'C:\users\Public\Desktop\keep.lnk' 'a shortcut for everyone'
lay_file 'C:\users\Public\Documents\keep.txt' 'a shared document'
lay_file "C:\\users\\$user\\keep.txt" 'the user'
lay_file "C:\\users\\$user\\Desktop\\keep.lnk" 'the user'
ln -s "$WINEPREFIX/drive_c/windows/system32/drivers" "$WINEPREFIX/drive_c/Program Files/XLN/link"
ln -s ../drive_c/windows "$WINEPREFIX/dosdevices/s:"
snapshot before

expect_exit 0 silent '/rootkey=SOFTWARE\Hostile\Folders' '/log=C:\guard.log'
snapshot after
expect_only_changes before after \
    '^- reg HKLM\\Software\\Hostile\\Folders(\\|	|$)' \
    '^- file \./Program Files/XLN/xln\.hlp	' \
    '^- file \./windows/system32/xlnw11\.dll	' \
    '^- file \./windows/system32/xlnwcfg\.cpl	' \
    '^[-+] file \./guard\.log	'
expect_file_present 'C:\windows\system32\drivers\keep.sys'
expect_file_present 'C:\windows\system32\notepad.exe'
for reason in 'not on a local drive' 'a sweeping pattern in a protected folder' \
    'reached through a link or junction'; do
    if grep -q "refused by a guardrail: $reason" "$(unix_path 'C:\guard.log')"; then
        say "ok: refused as $reason"
    else
        check_failed "no refusal as $reason in the log"
    fi
done
