#!/bin/sh
# The "services" mode: each service program of the registry description runs
# with " -u" (the text after a comma dropped, a path with blanks started as
# that program and not a shorter one), each ends before the next starts, the
# exit code is 0, and nothing but what the programs themselves write
# changes; without any description the mode still exits 0 and runs nothing.
. "$(dirname "$0")/../lib.sh"

LOG='C:\services-called.log'

# expect_log LINE...: the log holds exactly these lines (case-insensitive,
# as Windows paths compare).
expect_log() {
    want="$SCENARIO_DIR/log-expected.txt"
    got="$SCENARIO_DIR/log-found.txt"
    printf '%s\n' "$@" >"$want"
    tr -d '\r' <"$(unix_path "$LOG")" >"$got" 2>/dev/null || : >"$got"
    if [ "$(tr '[:upper:]' '[:lower:]' <"$want")" = "$(tr '[:upper:]' '[:lower:]' <"$got")" ]; then
        say "ok: the service programs ran as expected"
    else
        check_failed "service programs' log differs:"
        diff "$want" "$got" | sed 's/^/      /'
    fi
}

scenario_begin "services-${1:-winxp}" "${1:-winxp}"

SVC1='C:\Program Files\XLN\Service One\svc1.exe'
SVC2='C:\windows\xlnsvc2.exe'
place_tool record_args.exe "$SVC1"
place_tool record_args.exe "$SVC2"
# What an unquoted start of the first path would run instead.
place_tool record_args.exe 'C:\Program Files\XLN\Service.exe'
lay_file 'C:\Program Files\XLN\keep.dll' 'installed file: not the services mode'
seed_registry "$WINE_ROOT/tests/wine/data/services.reg"

snapshot before
expect_exit 0 services
snapshot after
expect_log "start $SVC1|\"$SVC1\" -u" "end $SVC1|\"$SVC1\" -u" \
    "start $SVC2|\"$SVC2\" -u" "end $SVC2|\"$SVC2\" -u"
expect_only_changes before after '^\+ file \./services-called\.log'

# Without a description: nothing runs, and the mode still ends with 0.
rm -f "$(unix_path "$LOG")"
queue_reg_text '[-HKEY_LOCAL_MACHINE\SOFTWARE\Tarnwell]'
snapshot bare
expect_exit 0 services
snapshot bare-after
expect_log
expect_only_changes bare bare-after
