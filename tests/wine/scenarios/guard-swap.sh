#!/bin/sh
# A product installed in a folder at the drive's root, where anyone may make
# folders: while the run deletes its files, another program swaps its bin
# folder for a link into the Windows folder (renamed away, a Linux symbolic
# link in its place, once its search of "*.dat" has deleted some). Every
# later change is judged again where it is made: the rest of bin's
# "*.dat" is refused as no longer in the folder its search was judged in,
# and "bin\*.zzv" as a sweep of a protected folder. Windows' files of the
# same names stay; the product's description, its files deleted before the
# swap and its other files go. Windows 9x has no links: there no swap is
# made, and the product goes whole by its paths.
# Usage: guard-swap.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
scenario_begin "guard-swap-$1" "$1"

queue_reg_text '[HKEY_LOCAL_MACHINE\SOFTWARE\Hostile\Swap]
"FullProductName"="Swapped product"

[HKEY_LOCAL_MACHINE\SOFTWARE\Hostile\Swap\InstalledFiles]
"Files"="C:\\XLN\\bin\\first.dll;C:\\XLN\\bin\\*.dat;C:\\XLN\\bin\\*.zzv;C:\\XLN\\xln.hlp"
'
lay_file 'C:\XLN\bin\first.dll' 'the product library'
lay_file 'C:\XLN\bin\own.zzv' 'the product data'
lay_file 'C:\XLN\xln.hlp' 'the product help'
lay_file 'C:\windows\victim.zzv' 'Windows'' own'
lay_file 'C:\windows\3999.dat' 'Windows'' own'
bin=$(unix_path 'C:\XLN\bin')
# Enough matches that the swap comes while the search of bin goes on.
i=1000
while [ $i -le 3999 ]; do
    printf 'product' >"$bin/$i.dat"
    i=$((i + 1))
done
snapshot before

swapper=""
if [ "$1" != win98 ]; then
    (
        while [ -e "$bin/first.dll" ] || [ "$(ls "$bin" | wc -l)" -gt 2950 ]; do sleep 0.01; done
        mv "$bin" "$bin.moved" && ln -s "$WINEPREFIX/drive_c/windows" "$bin"
    ) &
    swapper=$!
fi
expect_exit 0 silent '/rootkey=SOFTWARE\Hostile\Swap' '/log=C:\swap.log'
log=$(unix_path 'C:\swap.log')
grep -F "refused" "$log" | sed -n "1p;\$p" | sed "s/^/    [log] /"
if [ -n "$swapper" ]; then
    # The swap waits for the deletions: a run that never made them ends it.
    kill "$swapper" 2>/dev/null
    wait "$swapper" 2>/dev/null
fi
snapshot after

if [ "$1" = win98 ]; then
    expect_only_changes before after \
        '^- reg HKLM\\Software\\Hostile\\Swap(\\|	|$)' \
        '^- file \./XLN/' \
        '^[-+] file \./swap\.log	'
else
    [ -L "$bin" ] || check_failed "the folder was never swapped"
    left=$(ls "$bin.moved" | grep -c '\.dat$')
    if [ "$left" -gt 0 ] && [ "$left" -lt 3000 ]; then
        say "ok: the swap came during the search ($left of 3000 matches left)"
    else
        check_failed "the swap did not come during the search ($left of 3000 matches left)"
    fi
    expect_only_changes before after \
        '^- reg HKLM\\Software\\Hostile\\Swap(\\|	|$)' \
        '^- file \./XLN/bin/' \
        '^\+ file \./XLN/bin\.moved/' \
        '^- file \./XLN/xln\.hlp	' \
        '^[-+] file \./swap\.log	'
    grep -q 'bin\.moved/first\.dll' "$(latest_snapshot)" && check_failed "the first file was not deleted"
    [ -f "$bin.moved/own.zzv" ] || check_failed "a file of the swapped folder went"
    for line in 'matching C:\XLN\bin\*.zzv: refused by a guardrail' \
        '.dat: refused by a guardrail'; do
        if grep -q -F "$line" "$log"; then say "ok: logged: $line"; else check_failed "not logged: $line"; fi
    done
fi
expect_file_present 'C:\windows\victim.zzv'
expect_file_present 'C:\windows\3999.dat'
