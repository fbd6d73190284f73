#!/bin/sh
# "verbose" under Xvfb. On the win98 slot the confirmation is answered
# Cancel: exit code 5, and nothing changed but what the hand-over did
# before the question (the registered command ran and left its marker). On
# the winxp slot it is answered OK: the progress dialog, titled with the
# product's name and centred on the screen, steps through its status lines
# in order, answers a message sent to it while a service program runs, and
# the installation is removed. Screenshots in artifacts/.
# Usage: verbose.sh win98|winxp
set -u
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/../box.sh"
. "$(dirname "$0")/../installation.sh"
export LANG=en_US.UTF-8
WINE_TIMEOUT=90
CONFIRM='Confirm Removal'
TITLE='Removing the XLN 802.11g Network Adapter'
version=${1:-winxp}
scenario_begin "verbose-$version" "$version"
lay_installation

# start_verbose: the program in the background; its exit code is collected
# by finish_verbose.
start_verbose() {
    apply_registry
    say "run: uninst.exe verbose"
    (
        code=0
        timeout "$WINE_TIMEOUT" wine "$UNINST_WIN" verbose >>"$SCENARIO_DIR/run-output.txt" 2>&1 || code=$?
        echo "$code" >"$SCENARIO_DIR/exit-code"
    ) &
    RUNNER=$!
}

finish_verbose() {
    wait "$RUNNER"
    LAST_EXIT=$(cat "$SCENARIO_DIR/exit-code")
    expect_equal "exit code" "$1" "$LAST_EXIT"
}

# read_confirmation: the question's caption and text, and a screenshot.
read_confirmation() {
    probe show "$CONFIRM" 30000 | tr -d '\r' >"$SCENARIO_DIR/confirm.txt" ||
        check_failed "no '$CONFIRM' box"
    expect_equal "confirmation caption" "$CONFIRM" "$(sed -n 's/^caption: //p' "$SCENARIO_DIR/confirm.txt")"
    expect_equal "confirmation text" \
        "This will remove the XLN 802.11g Network Adapter from your computer. Continue?" \
        "$(sed -n 's/^control: Static "\(..*\)".*$/\1/p' "$SCENARIO_DIR/confirm.txt" | head -1)"
    screenshot confirmation
}

if [ "$version" = win98 ]; then
    # The hand-over comes before the question: with a registered command
    # and ForceLocalUninstall it runs, leaves its marker, and then asks.
    place_tool record_args.exe 'C:\windows\xlnsetup.exe'
    queue_reg_text '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\XLN 802.11g]
"UninstallString"="xlnsetup.exe /remove"
[HKEY_LOCAL_MACHINE\SOFTWARE\Tarnwell\802.11\UninstallInfo]
"ForceLocalUninstall"=""'
    snapshot before
    start_verbose
    read_confirmation
    probe press "$CONFIRM" Cancel >/dev/null || check_failed "could not press Cancel"
    finish_verbose 5
    snapshot after
    expect_only_changes before after \
        '^\+ reg HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\XLN 802\.11g	"RemovalInProgress"=""$' \
        '^\+ file \./services-called\.log	'
    expect_equal "registered command" 'start c:\windows\xlnsetup.exe|c:\windows\xlnsetup.exe /remove' \
        "$(tr -d '\r' <"$(unix_path 'C:\services-called.log')" | head -1 | tr '[:upper:]' '[:lower:]')"
    exit 0
fi

# Each service program takes three seconds, as a real one may.
export RECORD_ARGS_SLEEP_MS=3000
snapshot before
start_verbose
read_confirmation
# The watch follows the dialog from its titling to its end.
probe watch "$TITLE" 60000 | stdbuf -oL tr -d '\r' >"$SCENARIO_DIR/watch.txt" &
watcher=$!
probe press "$CONFIRM" OK >/dev/null || check_failed "could not press OK"
tries=0
until grep -q 'visible=1.*Removing the XLN 802.11g Network Adapter configuration' "$SCENARIO_DIR/watch.txt" ||
    [ $tries -ge 300 ]; do sleep 0.1; tries=$((tries + 1)); done
# A service program is running: the dialog still answers what is sent to it.
if probe ask "$TITLE" >"$SCENARIO_DIR/ask.txt"; then
    say "ok: while a service program ran, the dialog $(tr -d '\r' <"$SCENARIO_DIR/ask.txt")"
else
    check_failed "while a service program ran, the dialog gave: $(tr -d '\r' <"$SCENARIO_DIR/ask.txt")"
fi
screenshot midway
until grep -q 'Finished removal!' "$SCENARIO_DIR/watch.txt" || [ $tries -ge 600 ]; do
    sleep 0.1; tries=$((tries + 1))
done
screenshot end
finish_verbose 0
wait "$watcher"
cp "$SCENARIO_DIR/watch.txt" "$ARTIFACTS/$SCENARIO-watch.txt"

# The status lines, in the order shown while the dialog was visible.
# (The dialog is shown a moment before its first line is set.)
shown=$(sed -n 's/^[0-9]* visible=1 .*texts="\(..*\)"$/\1/p' "$SCENARIO_DIR/watch.txt" | uniq)
expect_equal "status lines" "Stopping support applications...
Removing the XLN 802.11g Network Adapter configuration...
Removing the XLN 802.11g Network Adapter files...
Removing the XLN 802.11g Network Adapter uninstall information...
Removing the XLN 802.11g Network Adapter registry keys...
Finished removal!" "$shown"
grep -q '^gone$' "$SCENARIO_DIR/watch.txt" || check_failed "the dialog was not destroyed"
tail -2 "$SCENARIO_DIR/watch.txt" | head -1 | grep -q 'visible=0' ||
    check_failed "the dialog was not hidden before it went"

# Centred: the rectangle's middle is the screen's, within a pixel or two.
screen=$(sed -n 's/^screen: //p' "$SCENARIO_DIR/watch.txt")
rect=$(sed -n 's/^[0-9]* visible=1 rect=\([-0-9,]*\) .*/\1/p' "$SCENARIO_DIR/watch.txt" | head -1)
say "dialog at $rect on a screen of $screen"
echo "$screen $rect" | tr ',' ' ' | awk '{
    dx = ($3 + $5) / 2 - $1 / 2; dy = ($4 + $6) / 2 - $2 / 2
    exit !(NF == 6 && dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2) }' ||
    check_failed "the dialog ($rect) is not centred on the screen ($screen)"

snapshot after
expect_installation_removed "$version" before after
expect_services_ran
