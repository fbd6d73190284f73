#!/bin/sh
# Windows' own files named one by one: a system file and the Windows
# folder's explorer.exe (both with Microsoft's version resource, as about
# a third of Wine's files have; the others are Wine's stand-ins, marked as
# such), kernel32.dll in use by every program, in several spellings and by
# a wildcard with one literal character, Internet Explorer below Program
# Files, files in the drive's root, known DLLs, and the 8.3 spellings of
# some. All stay and none waits for the restart. A
# shared count of 2 is lowered to 1 and its file stays; a count of 1 goes
# with its file; the product's own file in the system folder goes.
# Usage: guard-files.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/../box.sh"
scenario_begin "guard-files-$1" "$1"

seed_registry "$WINE_ROOT/tests/wine/data/guard-files.reg"
for root in boot.ini ntldr IO.SYS MSDOS.SYS; do lay_file "C:\\$root" 'Windows starts from it'; done
lay_file 'C:\windows\system32\xlnknownlib.dll' 'a known DLL without a version resource'
lay_file 'C:\windows\system32\xlnkn9x.dll' 'a known DLL in the 9x key'
lay_file 'C:\windows\system32\xlnshr2.dll' 'shared by two programs'
lay_file 'C:\Program Files\XLN\xlnshr1.dll' 'shared by this product alone'
lay_file 'C:\windows\system32\xlnw11co.dll' 'the product co-installer'
for file in 'C:\windows\system32\hal.dll' 'C:\windows\explorer.exe' 'C:\windows\system32\kernel32.dll' \
    'C:\Program Files\Internet Explorer\iexplore.exe' 'C:\windows\system32\kernelbase.dll'; do
    [ -f "$(unix_path "$file")" ] || check_failed "the prefix has no $file to guard"
done

# The 8.3 spellings as this prefix made them up.
apply_registry
short=""
for file in 'C:\windows\system32\kernelbase.dll' 'C:\Program Files\Internet Explorer\iexplore.exe' \
    'C:\windows\system32\xlnknownlib.dll'; do
    spelt=$(probe short "$file" | tr -d '\r')
    [ -n "$spelt" ] && [ "$spelt" != "$file" ] || check_failed "no 8.3 spelling of $file: '$spelt'"
    short="$short${short:+;}$spelt"
done
say "8.3 spellings: $short"
queue_reg_text "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tarnwell\\GuardFiles\\InstalledFiles]
\"Short\"=\"$(printf '%s' "$short" | sed 's/\\/\\\\/g')\"
"
snapshot before

LOG='C:\windows\temp\guard-files.log'
expect_exit 0 silent '/rootkey=SOFTWARE\Tarnwell\GuardFiles' "/log=$LOG"
snapshot after
shared='reg HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs	'
expect_only_changes before after \
    '^- reg HKLM\\Software\\Tarnwell(\\|	|$)' \
    '^- file \./windows/system32/xlnw11co\.dll	' \
    '^- file \./Program Files/XLN/xlnshr1\.dll	' \
    "^- $shared\"C:\\\\\\\\Program Files\\\\\\\\XLN\\\\\\\\xlnshr1\\.dll\"=dword:00000001\$" \
    "^- $shared\"C:\\\\\\\\WINDOWS\\\\\\\\SYSTEM32\\\\\\\\XLNSHR2\\.DLL\"=dword:00000002\$" \
    "^\\+ $shared\"C:\\\\\\\\WINDOWS\\\\\\\\SYSTEM32\\\\\\\\XLNSHR2\\.DLL\"=dword:00000001\$"
expect_file_present 'C:\windows\system32\xlnshr2.dll'
expect_nothing_waits

# Each refusal says its rule.
expect_log_lines \
    'delete file C:\windows\system32\hal.dll: refused by a guardrail: its version resource names Microsoft' \
    'delete file C:\windows\explorer.exe: refused by a guardrail: its version resource names Microsoft' \
    'delete file C:\windows\system32\kernel32.dll: refused by a guardrail: ' \
    "delete file C:\\boot.ini: refused by a guardrail: a file in a drive's root" \
    "delete file C:\\windows\\system32\\xlnknownlib.dll: refused by a guardrail: one of Windows' known DLLs" \
    "delete file C:\\windows\\system32\\xlnkn9x.dll: refused by a guardrail: one of Windows' known DLLs" \
    '*3*.dll: refused by a guardrail: a sweeping pattern in a protected folder' \
    'shared file C:\windows\system32\xlnshr2.dll: shared by 2 programs: the count becomes 1, the file stays'
# The 8.3 spellings were judged as the files they name: a match is logged
# by its folder as written and the long name the search found.
refusals() { printf '%s\n' "$log" | grep -c -i -F "$1: refused by a guardrail: "; }
expect_equal "refusals of kernelbase.dll by its 8.3 name" 1 "$(refusals 'system32\kernelbase.dll')"
expect_equal "refusals of the known DLL in both spellings" 2 "$(refusals 'system32\xlnknownlib.dll')"
expect_equal "refusals of iexplore.exe in both spellings" 2 "$(refusals '\iexplore.exe')"
