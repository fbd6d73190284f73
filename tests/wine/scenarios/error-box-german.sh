#!/bin/sh
# The same box for a German user (LANG=de_DE.UTF-8): the German table's
# caption and text, the product name filled in.
# Usage: error-box-german.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/../box.sh"
data="$WINE_ROOT/tests/wine/data"
export LANG=de_DE.UTF-8
scenario_begin "error-box-german-$1" "$1"

seed_registry "$data/description.reg" "$data/seven-more-applets.reg" "$data/ninth-applet.reg"
run_with_box "Deinstallationsfehler" quiet
expect_equal "caption" "Deinstallationsfehler" "$BOX_CAPTION"
expect_equal "text" \
    "Das Entfernen von XLN 802.11g Network Adapter kann nicht fortgesetzt werden. Fehlercode: TAVK1415." \
    "$BOX_TEXT"
expect_equal "exit code" 1 "$LAST_EXIT"
