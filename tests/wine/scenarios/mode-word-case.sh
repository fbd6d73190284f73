#!/bin/sh
# The mode word is matched without regard to letter case and only over its
# own length: "SILENTLY" and "Install now" are mode words, and each run
# removes the description it loaded.
# Usage: mode-word-case.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
scenario_begin "mode-word-case-$1" "$1"

run=0
for tail in SILENTLY Silent 'Install now'; do
    run=$((run + 1))
    seed_registry "$WINE_ROOT/tests/wine/data/description.reg"
    # shellcheck disable=SC2086 # "Install now" is two words on the command line
    expect_exit 0 $tail
    snapshot "run-$run"
    expect_key_absent 'HKLM\Software\Tarnwell\802.11\UninstallInfo'
done
