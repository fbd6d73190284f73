#!/bin/sh
# The error box for an Arabic and for a Hebrew user (LANG=ar_SA.UTF-8,
# he_IL.UTF-8): the table's caption and text in the locale's code page, the
# product name filled in; screenshots in artifacts/. (Wine lays a box out
# right to left in these locales whatever its flags, so the flags are
# proven by the unit tests.) The box's button reads in the user's
# language, so the box is closed rather than pressed.
# Usage: error-box-rtl.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/../box.sh"
data="$WINE_ROOT/tests/wine/data"
scenario_begin "error-box-rtl-$1" "$1"

# row FILE ID: a row of a string-table source, as written (UTF-8).
row() { sed -n "s/^ *$2, *\"\(.*\)\"\$/\1/p" "$WINE_ROOT/resources/strings/$1"; }

# run_with_rtl_box CAPTION CODE-PAGE: a quiet run; the box is read (its texts
# turned from the code page into UTF-8) and closed.
run_with_rtl_box() {
    apply_registry
    say "run: uninst.exe quiet (box '$1')"
    (
        code=0
        timeout "$WINE_TIMEOUT" wine "$UNINST_WIN" quiet >>"$SCENARIO_DIR/run-output.txt" 2>&1 || code=$?
        echo "$code" >"$SCENARIO_DIR/exit-code"
    ) &
    runner=$!
    probe show "$1" 20000 | tr -d '\r' | iconv -f "$2" -t UTF-8 >"$SCENARIO_DIR/box.txt"
    [ -s "$SCENARIO_DIR/box.txt" ] && screenshot "${file%.rc}"
    probe close "$1" 5000 >/dev/null || check_failed "could not close '$1'"
    wait "$runner"
    LAST_EXIT=$(cat "$SCENARIO_DIR/exit-code")
    BOX_CAPTION=$(sed -n 's/^caption: //p' "$SCENARIO_DIR/box.txt")
    BOX_TEXT=$(sed -n 's/^control: Static "\(..*\)".*$/\1/p' "$SCENARIO_DIR/box.txt" | head -1)
}

seed_registry "$data/description.reg" "$data/seven-more-applets.reg" "$data/ninth-applet.reg"
for run in ar.rc:ar_SA:CP1256 he.rc:he_IL:CP1255; do
    file=${run%%:*} code_page=${run##*:}
    locale=${run#*:}
    locale=${locale%%:*}
    export LANG="$locale.UTF-8"
    run_with_rtl_box "$(row "$file" 13)" "$code_page"
    expect_equal "$file caption" "$(row "$file" 13)" "$BOX_CAPTION"
    expect_equal "$file text" \
        "$(row "$file" 14 | sed 's/%OEM_FULL_PRODUCT_NAME%/XLN 802.11g Network Adapter/') TAVK1415." "$BOX_TEXT"
    expect_equal "$file exit code" 1 "$LAST_EXIT"
done
