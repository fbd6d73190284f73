#!/bin/sh
# The mode word is matched without regard to letter case and only over its
# own length: "SILENTLY" and "Install now" are mode words.
# Usage: mode-word-case.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
scenario_begin "mode-word-case-$1" "$1"
# On the NT family the description's device step (WDM2k) writes its request
# file; the device tool is absent, so the file stays, as it should then.
DMS=''
case $1 in win2k | winxp | win7 | win10) DMS='^\+ file \./windows/XLNWL\.dms	' ;; esac

# Each word is matched over its own length in any letter case: each run
# removes the description, laid down again before the next.
for words in SILENTLY Silent 'Install now'; do
    seed_registry "$WINE_ROOT/tests/wine/data/description.reg"
    rm -f "$(unix_path 'C:\windows\XLNWL.dms')"
    snapshot before
    # shellcheck disable=SC2086
    expect_exit 0 $words
    snapshot after
    expect_only_changes before after '^- reg HKLM\\Software\\Tarnwell\\802\.11\\UninstallInfo(\\|	|$)' ${DMS:+"$DMS"}
done
