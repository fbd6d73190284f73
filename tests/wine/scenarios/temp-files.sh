#!/bin/sh
# The program's own files in folders others may write to, and its log.
# "planted": links under every name the program writes, or once wrote, in
# the temporary folders (xlnclean*.exe, uninst-preview.log) lead to another
# program's files; a preview and then a removal leave those files as they
# were, the preview takes a new name, and the product, the uninstaller and
# its tools included, is still removed whole. "winini": "/log=" at
# Windows' win.ini, straight, through a link and through a hard link, in a
# preview and in a real run: win.ini is unchanged, a box says the log was
# not written (quiet), and the product is removed whole. "forged": a
# command line that only claims to be the cleanup copy's deletes nothing.
# Usage: temp-files.sh win98|winxp        (every case)
#        temp-files.sh VERSION planted|winini|forged
set -u
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/../box.sh"
. "$(dirname "$0")/../installation.sh"

if [ $# -lt 2 ]; then
    v=${1:-winxp}
    run_each "$0" "$v:planted" "$v:winini" "$v:forged"
    exit
fi

version=$1 case=$2
export LANG=en_US.UTF-8
WINE_TIMEOUT=60
scenario_begin "temp-files-$version-$case" "$version"
TEMPS='C:\windows\temp C:\users\'"$(id -un)"'\Temp'

# sums: the checksums of the files others own.
sums() { (cd "$WINEPREFIX/drive_c" && md5sum windows/win.ini Other/victim.exe Other/victim.txt 2>/dev/null); }

# expect_untouched: Windows' and the other program's files are as laid.
expect_untouched() {
    if [ "$(sums)" = "$SUMS" ]; then say "ok: win.ini and the other program's files are unchanged"
    else check_failed "changed: $(sums)"; fi
}

lay_file 'C:\Other\victim.exe' 'another program'
lay_file 'C:\Other\victim.txt' 'another program'"'"'s text'
SUMS=$(sums)

case $case in
planted)
    lay_installation
    for temp in $TEMPS; do
        dir=$(unix_path "$temp")
        mkdir -p "$dir"
        for n in 0 1 2 3 4 5 6 7 8 9 ''; do ln -sf "$(unix_path 'C:\Other\victim.exe')" "$dir/xlnclean$n.exe"; done
        ln -sf "$(unix_path 'C:\Other\victim.txt')" "$dir/uninst-preview.log"
    done
    snapshot before
    expect_exit 0 silent /preview
    expect_untouched
    found=$(ls "$(unix_path 'C:\users')"/*/Temp/uninst-preview-2.log "$(unix_path 'C:\windows\temp')"/uninst-preview-2.log 2>/dev/null | head -1)
    if [ -n "$found" ] && grep -q 'exit: code 0' "$found"; then say "ok: the preview took a new name: ${found##*/}"
    else check_failed "no preview under a new name"; fi
    snapshot previewed
    expect_only_changes before previewed
    expect_exit 0 silent
    snapshot after
    expect_untouched
    expect_installation_removed "$version" before after ;;
winini)
    lay_installation
    lay_file 'C:\logs\keep.txt' 'a folder for links'
    ln -s "$(unix_path 'C:\windows\win.ini')" "$(unix_path 'C:\logs\link.log')"
    ln "$(unix_path 'C:\windows\win.ini')" "$(unix_path 'C:\logs\hard.log')"
    SUMS=$(sums)
    snapshot before
    for log in 'C:\windows\win.ini' 'C:\logs\link.log' 'C:\logs\hard.log'; do
        expect_exit 0 silent /preview "/log=$log"
    done
    expect_untouched
    if [ "$version" = winxp ]; then
        run_with_box 'Uninstall Log' quiet /preview '/log=C:\windows\win.ini'
        case $BOX_TEXT in
            'The run log was not written to C:\windows\win.ini: '*) say "ok: the box says: $BOX_TEXT" ;;
            *) check_failed "the log box says: '$BOX_TEXT'" ;;
        esac
    fi
    snapshot previewed
    expect_only_changes before previewed
    expect_exit 0 silent '/log=C:\logs\hard.log'
    snapshot after
    expect_untouched
    expect_installation_removed "$version" before after ;;
forged)
    place_tool record_args.exe 'C:\Program Files\Other\bin\tool.exe'
    tool=$(unix_path 'C:\Program Files\Other\bin\tool.exe')
    touch -d @1700000000 "$tool"
    ft=$(( (1700000000 + 11644473600) * 10000000 ))
    size=$(stat -c %s "$tool")
    snapshot before
    expect_exit 0 /cleanup-after=0 'C:\Program Files\Other\bin\tool.exe' "$size" $((ft / 4294967296)) $((ft % 4294967296)) '/log=C:\forged.log'
    snapshot forged
    expect_only_changes before forged '^\+ file \./forged\.log	'
    expect_file_present 'C:\Program Files\Other\bin\tool.exe'
    expect_file_present 'C:\Program Files\XLN\uninst.exe'
    if tr -d '\r' <"$(unix_path 'C:\forged.log')" | grep -q 'nothing is deleted$'; then say "ok: the log says nothing is deleted"
    else check_failed "the forged run's log does not say it deleted nothing"; fi
    lay_installation
    snapshot second-before
    expect_exit 0 silent
    snapshot second-after
    expect_installation_removed "$version" second-before second-after
    expect_file_present 'C:\Program Files\Other\bin\tool.exe' ;;
esac
