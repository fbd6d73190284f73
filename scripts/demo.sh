#!/bin/sh
# The demonstration: a sample installation of the adapter's software (its
# devices and driver service among it, with the device-manager tools beside
# uninst.exe) in a throwaway Wine prefix, removed by uninst.exe with
# "silent" and then, laid down again, with "verbose" under Xvfb (the
# question answered OK through the window probe, screenshots in
# artifacts/), with what was there before and what is left after each run,
# in plain words.
set -u
. "$(dirname "$0")/../tests/wine/lib.sh"
. "$WINE_ROOT/tests/wine/box.sh"
. "$WINE_ROOT/tests/wine/installation.sh"
. "$WINE_ROOT/tests/wine/devices.sh"
export LANG=en_US.UTF-8

explain() { printf '\n%s\n' "$*" | fold -s -w 78; }

if ! wine_can_run; then
    echo "demo: no Wine loader can run on this machine."
    exit 1
fi

# The product's registry keys and values and its files, one per line.
show_product() {
    snap="$SCENARIO_DIR/snapshot-$1.txt"
    explain "Registry (HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER):"
    grep -E '^reg HK(LM|CU)\\(Software\\(Tarnwell|XLN)|Software\\Microsoft\\Windows\\CurrentVersion\\(Uninstall\\XLN|Run	"XLN)|System\\CurrentControlSet\\Services\\(XLNW11|Eventlog\\XLN))' "$snap" |
        sed -e 's/^reg /  /' -e 's/\t/    /' | grep . || echo "  nothing of the product's."
    explain "Devices of class Net (by hardware id):"
    for id in "$ADAPTER_ID" "$USB_ADAPTER_ID" "$OTHER_ID"; do
        echo "  $id: $(devices count "$id")"
    done
    explain "Files:"
    grep -i -E '^file .*(xln|XLN Wireless|/inf/oem[0-9]+\.inf)' "$snap" | cut -f1 | sed 's/^file \./  C:/' | grep . ||
        echo "  none."
}

# demo_check WHAT: a different outcome is called out, never explained away.
demo_check() {
    if [ "$LAST_EXIT" = 0 ]; then explain "uninst.exe $1 -> exit code 0: the removal ran to its end."
    else check_failed "uninst.exe $1 -> exit code $LAST_EXIT, NOT the expected 0"; fi
}

explain "Making a throwaway Windows XP prefix (the first run also makes the template prefix, which takes a while)..."
scenario_begin demo "${DEMO_VERSION:-winxp}"
place_device_tools

# The installation with the adapter itself: the description also asks for
# the device removal, and the devices are made through SetupAPI.
lay_adapter_installation() {
    lay_installation
    describe_devices WDM2k
    lay_adapter_devices "$@"
}

lay_adapter_installation
snapshot before
explain "BEFORE. The adapter's setup left its uninstall description, the keys it names, the adapter's devices (${ADAPTER_ID} and a USB one named by its description, their drivers from oem5.inf and oem6.inf) with the driver service XLNW11, start-up values, an uninstall entry, drivers, programs, help files and a Start-menu shortcut. Beside them are things that are not the product's (another vendor's network device, whose driver also came from oem6.inf, so that file stays; an other vendor's start-up value, a shared key that keeps a value, the user's profiles.dat, a copy of the shortcut in the user's own Programs folder, which is not the one used on Windows 2000 and later) which must stay."
show_product before

explain "RUN 1: uninst.exe silent  (nothing is shown)"
run_uninst silent
demo_check silent
snapshot after-silent
explain "AFTER. The device-manager tool XLNWLD2K.exe removed the adapter's devices and the driver service, and uninstalled oem5.inf, which no device uses any more. uninst.exe and the device tools beside it, which the description lists, went a moment after the run: a copy of the program in the temporary folder deleted them once the run had ended, with the emptied Monitor folder (the copy itself goes at the next start of Windows). What is left under the product's names is not the product's: the user's profiles.dat keeps its folder, and the keys kept were never the product's to take, or are not empty:"
show_product after-silent
went=$(changes before after-silent | grep -c '^- ')
came=$(changes before after-silent | grep '^+ ' | grep -v 'services-called\.log')
explain "In all, $went registry lines and files went. Added: ${came:-nothing} (besides the log the stand-in service programs write)."

explain "RUN 2: the same installation laid down again, then uninst.exe verbose on the Xvfb screen: the question 'Confirm Removal' is answered OK, and the progress dialog steps through its status lines."
install_program
place_device_tools
lay_adapter_installation again
snapshot before-verbose
apply_registry
(
    code=0
    # The stand-in service programs take two seconds each here, as real ones
    # may: the dialog is drawn and keeps answering meanwhile.
    RECORD_ARGS_SLEEP_MS=2000 timeout "$WINE_TIMEOUT" wine "$UNINST_WIN" verbose >>"$SCENARIO_DIR/run-output.txt" 2>&1 || code=$?
    echo "$code" >"$SCENARIO_DIR/exit-code"
) &
runner=$!
probe show 'Confirm Removal' 30000 | tr -d '\r' | sed -n 's/^control: Static "\(..*\)".*/  The question: \1/p'
screenshot confirmation
probe watch 'Removing the XLN 802.11g Network Adapter' 60000 | stdbuf -oL tr -d '\r' >"$SCENARIO_DIR/watch.txt" &
watcher=$!
probe press 'Confirm Removal' OK >/dev/null
# The dialog in the middle of the removal, while the service programs run.
tries=0
until grep -q 'visible=1.*configuration' "$SCENARIO_DIR/watch.txt" || [ $tries -ge 300 ]; do
    sleep 0.1; tries=$((tries + 1))
done
screenshot progress
wait "$runner"
wait "$watcher"
LAST_EXIT=$(cat "$SCENARIO_DIR/exit-code")
explain "The progress dialog's status lines, as the window probe read them:"
sed -n 's/^[0-9]* visible=1 .*texts="\(..*\)"$/  \1/p' "$SCENARIO_DIR/watch.txt" | uniq
demo_check verbose
snapshot after-verbose
explain "AFTER. What is left of the product:"
show_product after-verbose
explain "Screenshots: $ARTIFACTS/demo-confirmation.png (the question) and $ARTIFACTS/demo-progress.png (the progress dialog in the middle of the removal)."
