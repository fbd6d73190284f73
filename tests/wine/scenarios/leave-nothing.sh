#!/bin/sh
# Nothing of the product stays after its removal: the realistic
# installation, whose description names uninst.exe and the device tools
# beside it, is removed with them and every folder it leaves empty, within
# a few seconds of the run and with no restart asked for; the exit code is
# the run's. "install" keeps uninst.exe (a setup that upgrades the product
# puts its new one there at once).
# Usage: leave-nothing.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/../box.sh"
. "$(dirname "$0")/../installation.sh"
scenario_begin "leave-nothing-$1" "$1"

PRODUCT='C:\Program Files\XLN'

lay_product() {
    install_program
    lay_installation
    rm -f "$(unix_path "$PRODUCT\\profiles.dat")"
    for tool in XLNWLD2K XLNWLD9X XLNWLDNT; do lay_file "$PRODUCT\\$tool.exe" 'a device tool'; done
}

# gone_within SECONDS PATH: the path disappears within that time.
gone_within() {
    tries=0
    while [ -e "$(unix_path "$2")" ] && [ $tries -lt $(($1 * 10)) ]; do sleep 0.1; tries=$((tries + 1)); done
    if [ -e "$(unix_path "$2")" ]; then check_failed "$2 is still there $1 s after the run"
    else say "ok: $2 gone $((tries / 10)).$((tries % 10)) s after the run"; fi
}

say "--- silent: the product's folder goes whole, no restart question"
lay_product
BOX_WAIT_MS=4000 run_with_box 'Restart Windows' silent '/log=C:\run.log'
expect_equal "restart question" "" "$(cat "$SCENARIO_DIR/box.txt")"
expect_equal "exit code" 0 "$LAST_EXIT"
gone_within 10 "$PRODUCT"
expect_file_present 'C:\Program Files'
# The copy wrote what it did into the run's log, after the run's own end.
log=$(tr -d '\r' <"$(unix_path 'C:\run.log')" | sed 's/^[^[]*\[[0-9]*\] //')
for line in 'exit: code 0' "delete file $PRODUCT\\uninst.exe: done" "delete file $PRODUCT\\XLNWLD2K.exe: done" \
    "remove folder $PRODUCT: done"; do
    printf '%s\n' "$log" | grep -q -x -F -- "$line" && say "ok: log line '$line'" || check_failed "no log line '$line'"
done

say "--- install: uninst.exe stays"
lay_product
expect_exit 0 install
stop_server
expect_file_present "$PRODUCT\\uninst.exe"
expect_file_absent "$PRODUCT\\xlnutil.exe"
