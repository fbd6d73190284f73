#!/bin/sh
# A description only at another path is read when "/rootkey=" names it; the
# option in capitals is not the option, so the default (absent) key is tried.
# Usage: rootkey.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
scenario_begin "rootkey-$1" "$1"
# On the NT family the description's device step (WDM2k) writes its request
# file; the device tool is absent, so the file stays, as it should then.
DMS=''
case $1 in win2k | winxp | win7 | win10) DMS='^\+ file \./windows/XLNWL\.dms	' ;; esac

# The description at another key is read and removed from there.
DESC_GONE='^- reg HKLM\\Software\\Other\\Desc(\\|	|$)'
seed_registry "$WINE_ROOT/tests/wine/data/description-other-key.reg"
snapshot before
expect_exit 1 silent '/ROOTKEY=SOFTWARE\Other\Desc'
expect_exit 1 silent
expect_exit 0 silent '/rootkey=SOFTWARE\Other\Desc'
snapshot after
expect_only_changes before after "$DESC_GONE" ${DMS:+"$DMS"}
expect_key_absent 'HKLM\Software\Other\Desc'
# The request is written as text: the classes first, every line in CR LF.
if [ -n "$DMS" ]; then
    dms=$(unix_path 'C:\windows\XLNWL.dms')
    if [ "$(head -n 2 "$dms")" = "$(printf 'Class=Net\r\nServiceName=TW11GNDS\r')" ] &&
        awk '!/\r$/ { bad = 1 } END { exit bad }' "$dms"; then
        say "ok: request lines in CR LF"
    else
        check_failed "request not in CR LF lines: $(od -c "$dms" | head -3)"
    fi
fi

# The path ends at the first space: what follows is not part of it.
seed_registry "$WINE_ROOT/tests/wine/data/description-other-key.reg"
rm -f "$(unix_path 'C:\windows\XLNWL.dms')"
snapshot again
expect_exit 0 silent '/rootkey=SOFTWARE\Other\Desc' /more
snapshot again-after
expect_only_changes again again-after "$DESC_GONE" ${DMS:+"$DMS"}
