# Helpers for scenarios that check a message box: run the program in the
# background, read the box with the window probe, press its OK button, and
# then take the program's exit code. Sourced after lib.sh.
# shellcheck shell=sh

BOX_TEXT=""
BOX_CAPTION=""

# run_with_box CAPTION ARG...: runs uninst.exe with the words; reads the box
# captioned CAPTION (empty texts when none appears) and presses OK; leaves
# the exit code in LAST_EXIT. BOX_WAIT_MS limits the wait for the box.
run_with_box() {
    caption=$1
    shift
    run_with_box_answer "$caption" OK "$@"
}

# run_with_box_answer CAPTION BUTTON ARG...: as run_with_box, pressing BUTTON;
# with BOX_SCREENSHOT set, the screen is kept under that name first.
run_with_box_answer() {
    caption=$1 button=$2
    shift 2
    apply_registry
    say "run: uninst.exe $* (box '$caption')"
    echo "== uninst.exe $*" >>"$SCENARIO_DIR/run-output.txt"
    (
        code=0
        timeout "$WINE_TIMEOUT" wine "$UNINST_WIN" "$@" >>"$SCENARIO_DIR/run-output.txt" 2>&1 || code=$?
        echo "$code" >"$SCENARIO_DIR/exit-code"
    ) &
    runner=$!
    probe show "$caption" "${BOX_WAIT_MS:-20000}" | tr -d '\r' >"$SCENARIO_DIR/box.txt"
    if [ -s "$SCENARIO_DIR/box.txt" ]; then
        [ -n "${BOX_SCREENSHOT:-}" ] && screenshot "$BOX_SCREENSHOT"
        probe press "$caption" "$button" >/dev/null ||
            check_failed "could not press $button in '$caption'"
    fi
    wait "$runner"
    LAST_EXIT=$(cat "$SCENARIO_DIR/exit-code")
    BOX_CAPTION=$(sed -n 's/^caption: //p' "$SCENARIO_DIR/box.txt")
    # The message text is the box's static control with text; the button is
    # a Button control.
    BOX_TEXT=$(sed -n 's/^control: Static "\(..*\)".*$/\1/p' "$SCENARIO_DIR/box.txt" | head -1)
}

# expect_equal WHAT EXPECTED ACTUAL
expect_equal() {
    if [ "$2" = "$3" ]; then say "ok: $1 is '$2'"
    else check_failed "$1 is '$3', expected '$2'"; fi
}

# run_like_a_tool ARG...: the program started by a Windows process, as a
# deployment tool starts it, with its whole exit code in LAST_EXIT (Wine's
# Unix exit status keeps only the low 8 bits of 3010); a restart question
# within 5 s is kept in box.txt, and cancelled.
run_like_a_tool() {
    apply_registry
    say "run by a Windows program: uninst.exe $*"
    (probe run "\"$UNINST_WIN\" $*" | tr -d '\r' | sed -n 's/^exit code: //p' >"$SCENARIO_DIR/exit-code") &
    runner=$!
    probe show 'Restart Windows' 5000 2>/dev/null | tr -d '\r' >"$SCENARIO_DIR/box.txt"
    [ -s "$SCENARIO_DIR/box.txt" ] && probe press 'Restart Windows' Cancel >/dev/null
    wait "$runner"
    LAST_EXIT=$(cat "$SCENARIO_DIR/exit-code")
    expect_equal "box shown" "" "$(cat "$SCENARIO_DIR/box.txt")"
}
