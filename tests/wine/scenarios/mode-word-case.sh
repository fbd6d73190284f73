#!/bin/sh
# The mode word is matched without regard to letter case and only over its
# own length: "SILENTLY" and "Install now" are mode words.
# Usage: mode-word-case.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
scenario_begin "mode-word-case-$1" "$1"

seed_registry "$WINE_ROOT/tests/wine/data/description.reg"
snapshot before
expect_exit 0 SILENTLY
expect_exit 0 Silent
expect_exit 0 Install now
snapshot after
expect_only_changes before after
