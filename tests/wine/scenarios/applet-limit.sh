#!/bin/sh
# A description with eight applets (the most the record holds) loads and is
# removed (it names nothing else that exists); a ninth applet makes the load
# fail, and then nothing changes.
# Usage: applet-limit.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
data="$WINE_ROOT/tests/wine/data"
scenario_begin "applet-limit-$1" "$1"
# On the NT family the description's device step (WDM2k) writes its request
# file; the device tool is absent, so the file stays, as it should then.
DMS=''
case $1 in win2k | winxp | win7 | win10) DMS='^\+ file \./windows/XLNWL\.dms	' ;; esac

seed_registry "$data/description.reg" "$data/seven-more-applets.reg"
snapshot eight
expect_exit 0 silent
snapshot eight-run
expect_only_changes eight eight-run '^- reg HKLM\\Software\\Tarnwell\\802\.11\\UninstallInfo(\\|	|$)' ${DMS:+"$DMS"}

seed_registry "$data/description.reg" "$data/seven-more-applets.reg" "$data/ninth-applet.reg"
rm -f "$(unix_path 'C:\windows\XLNWL.dms')"
snapshot nine
expect_exit 1 silent
snapshot nine-run
expect_only_changes nine nine-run
expect_key_present 'HKLM\Software\Tarnwell\802.11\UninstallInfo\Applets\Helper9'
