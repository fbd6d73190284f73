#!/bin/sh
# A description with eight applets (the most the record holds) loads and is
# removed; a ninth applet makes the load fail, and then nothing changes.
# Usage: applet-limit.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
data="$WINE_ROOT/tests/wine/data"
scenario_begin "applet-limit-$1" "$1"

seed_registry "$data/description.reg" "$data/seven-more-applets.reg"
expect_exit 0 silent
snapshot eight-run
expect_key_absent 'HKLM\Software\Tarnwell\802.11\UninstallInfo'

seed_registry "$data/description.reg" "$data/seven-more-applets.reg" "$data/ninth-applet.reg"
snapshot nine
expect_exit 1 silent
snapshot nine-run
expect_only_changes nine nine-run
expect_key_present 'HKLM\Software\Tarnwell\802.11\UninstallInfo\Applets\Helper9'
