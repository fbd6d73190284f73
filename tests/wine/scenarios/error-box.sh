#!/bin/sh
# "quiet" with a description of nine applets: the error box names TAVK1415
# in English, captioned "Uninstall Error", and the exit code is 1.
# Usage: error-box.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/../box.sh"
data="$WINE_ROOT/tests/wine/data"
export LANG=en_US.UTF-8
scenario_begin "error-box-$1" "$1"

seed_registry "$data/description.reg" "$data/seven-more-applets.reg" "$data/ninth-applet.reg"
BOX_SCREENSHOT=box run_with_box "Uninstall Error" quiet
expect_equal "caption" "Uninstall Error" "$BOX_CAPTION"
expect_equal "text" "The removal of XLN 802.11g Network Adapter cannot continue due to error code TAVK1415." \
    "$BOX_TEXT"
expect_equal "exit code" 1 "$LAST_EXIT"
