#!/bin/sh
# A description only at another path is read when "/rootkey=" names it; the
# option in capitals is not the option, so the default (absent) key is tried.
# Usage: rootkey.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
scenario_begin "rootkey-$1" "$1"

seed_registry "$WINE_ROOT/tests/wine/data/description-other-key.reg"
snapshot before
expect_exit 0 silent '/rootkey=SOFTWARE\Other\Desc'
expect_exit 0 silent '/rootkey=SOFTWARE\Other\Desc' /more
expect_exit 1 silent '/ROOTKEY=SOFTWARE\Other\Desc'
expect_exit 1 silent
snapshot after
expect_only_changes before after
expect_key_present 'HKLM\Software\Other\Desc'
