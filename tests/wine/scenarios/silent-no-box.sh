#!/bin/sh
# "silent" with the same malformed description shows nothing and still ends
# with exit code 1.
# Usage: silent-no-box.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/../box.sh"
data="$WINE_ROOT/tests/wine/data"
export LANG=en_US.UTF-8
scenario_begin "silent-no-box-$1" "$1"

seed_registry "$data/description.reg" "$data/seven-more-applets.reg" "$data/ninth-applet.reg"
BOX_WAIT_MS=5000 run_with_box "Uninstall Error" silent
expect_equal "box shown" "" "$(cat "$SCENARIO_DIR/box.txt")"
expect_equal "exit code" 1 "$LAST_EXIT"
