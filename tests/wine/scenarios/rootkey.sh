#!/bin/sh
# A description only at another path is read when "/rootkey=" names it, and
# removed; the option in capitals is not the option, so the default (absent)
# key is tried and nothing changes.
# Usage: rootkey.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
other="$WINE_ROOT/tests/wine/data/description-other-key.reg"
scenario_begin "rootkey-$1" "$1"

seed_registry "$other"
snapshot before
expect_exit 1 silent '/ROOTKEY=SOFTWARE\Other\Desc'
expect_exit 1 silent
snapshot unread
expect_only_changes before unread
expect_key_present 'HKLM\Software\Other\Desc'

expect_exit 0 silent '/rootkey=SOFTWARE\Other\Desc'
snapshot removed
expect_key_absent 'HKLM\Software\Other\Desc'

seed_registry "$other"
expect_exit 0 silent '/rootkey=SOFTWARE\Other\Desc' /more
snapshot removed-again
expect_key_absent 'HKLM\Software\Other\Desc'
