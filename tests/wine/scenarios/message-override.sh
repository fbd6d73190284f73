#!/bin/sh
# Registry overrides of messages 13 and 14 replace the table's texts in the
# error box. The NT family reads them with the UTF-16 query, so a string
# value serves; Windows 9x reads them with the narrow query and takes the
# bytes as UTF-16, so there they are seeded as UTF-16 bytes.
# Usage: message-override.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/../box.sh"
data="$WINE_ROOT/tests/wine/data"
export LANG=en_US.UTF-8
scenario_begin "message-override-$1" "$1"

# The text as REGEDIT4 hex: UTF-16 little-endian bytes and a terminator.
utf16_hex() {
    printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE | od -An -tx1 -v | tr -s ' \n' ',' |
        sed 's/^,//; s/,$//; s/$/,00,00/'
}

caption="Custom caption"
head="Custom head of %OEM_FULL_PRODUCT_NAME%"
key='[HKEY_LOCAL_MACHINE\SOFTWARE\Tarnwell\802.11\LocalizedStrings\uninst\9\1]'
case $1 in
    win95 | win98 | winme)
        queue_reg_text "$key
\"13\"=hex:$(utf16_hex "$caption")
\"14\"=hex:$(utf16_hex "$head")
" ;;
    *)
        queue_reg_text "$key
\"13\"=\"$caption\"
\"14\"=\"$head\"
" ;;
esac
seed_registry "$data/description.reg" "$data/seven-more-applets.reg" "$data/ninth-applet.reg"
run_with_box "$caption" quiet
expect_equal "caption" "$caption" "$BOX_CAPTION"
expect_equal "text" "Custom head of XLN 802.11g Network Adapter TAVK1415." "$BOX_TEXT"
expect_equal "exit code" 1 "$LAST_EXIT"
