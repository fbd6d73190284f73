# End-to-end scenario helpers: a throwaway 32-bit Wine prefix per scenario,
# the Windows version Wine reports, registry seeding, running uninst.exe, and
# before/after snapshots of the registry and of drive_c. Sourced by the
# scenario scripts; each scenario runs in its own shell process.
# shellcheck shell=sh

# The repository: the nearest folder above the running script with tests/wine.
find_root() {
    dir=$(cd "$(dirname "$0")" && pwd)
    while [ "$dir" != / ] && [ ! -f "$dir/tests/wine/lib.sh" ]; do dir=$(dirname "$dir"); done
    printf '%s' "$dir"
}
WINE_ROOT=${WINE_ROOT:-$(find_root)}
WINE_SCENARIOS=${WINE_SCENARIOS:-$WINE_ROOT/build/wine-scenarios}
ARTIFACTS=${ARTIFACTS:-$WINE_ROOT/artifacts}
WINE_TIMEOUT=${WINE_TIMEOUT:-120}
# The Wine this machine runs (tests/wine/wine-bits.sh): 32-bit Wine tests
# the shipped program; where only 64-bit Wine runs, the same sources built
# for x86-64 (tests/wine/build-for-wine.sh) are tested in a 64-bit prefix.
WINE_BITS=${WINE_BITS:-$("$WINE_ROOT/tests/wine/wine-bits.sh")}
if [ "$WINE_BITS" = 64 ]; then
    WINE_TOOLS_DIR=$WINE_ROOT/build/wine-tools64
    UNINST_EXE=${UNINST_EXE:-$WINE_ROOT/build/win64/uninst.exe}
    export WINEARCH=win64
    # The commands below name wine and wineboot: both go to the 64-bit loader.
    WINE_SHIMS=$WINE_ROOT/build/wine64-shims
    if [ ! -x "$WINE_SHIMS/wineboot" ]; then
        mkdir -p "$WINE_SHIMS"
        printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$WINE_SHIMS/wine"
        printf '#!/bin/sh\nexec /usr/lib/wine/wine64 wineboot "$@"\n' >"$WINE_SHIMS/wineboot"
        chmod +x "$WINE_SHIMS/wine" "$WINE_SHIMS/wineboot"
    fi
    PATH=$WINE_SHIMS:$PATH
    export WINELOADER=/usr/lib/wine/wine64
else
    WINE_TOOLS_DIR=$WINE_ROOT/build/wine-tools
    UNINST_EXE=${UNINST_EXE:-$WINE_ROOT/dist/uninst.exe}
    export WINEARCH=win32
fi
WINE_TEMPLATE=${WINE_TEMPLATE:-$WINE_ROOT/build/wine-template-$WINEARCH}
WINPROBE_EXE=${WINPROBE_EXE:-$WINE_TOOLS_DIR/winprobe.exe}
# Where the program sits inside the prefix, as Windows and as Linux see it.
UNINST_WIN='C:\Program Files\XLN\uninst.exe'
UNINST_DIR_REL='drive_c/Program Files/XLN'

export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=${WINEDEBUG:--all}

# Registry lines and file paths that Wine changes by itself between two
# snapshots; they are never counted as the program's changes. Console and
# WineDbg are written by Wine's debugger when one of Wine's own processes
# crashes at a prefix's start (now and then: a fault in its ntoskrnl or
# uxtheme at 0x70D92A1D, seen before any of this program's changes); a
# crash of the program or of what it starts shows in exit codes and effects.
WINE_VOLATILE=${WINE_VOLATILE:-'^[-+] (reg HKCU\\Software\\Wine\\(Explorer|Fonts|WineDbg)|reg HKCU\\Console|reg HKLM\\System\\CurrentControlSet\\Control\\(Session Manager\\Environment|Print|Class\\\{4D36E968-E325-11CE-BFC1-08002BE10318\}|Video)|reg HKLM\\Software\\Wine\\|reg HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\(Fonts|Perflib)|file \./windows/(temp|Installer|inf/.*\.pnf)|file \./users/[^/]+/(Temp|AppData/Local/Temp))'}

SCENARIO=""
SCENARIO_DIR=""
SCENARIO_FAILURES=0
XVFB_PID=""

say() { printf '%s\n' "[$SCENARIO] $*"; }

# check DESCRIPTION: counts a failed expectation and says which.
check_failed() {
    SCENARIO_FAILURES=$((SCENARIO_FAILURES + 1))
    say "FAILED: $*"
}

# --- what this machine can do ---------------------------------------------

# True when some Wine can run Windows programs here.
wine_can_run() { [ "$WINE_BITS" != none ]; }

# A Linux path as Wine's Z: drive shows it.
zpath() { printf 'Z:%s' "$1" | tr / '\\'; }

# --- the template prefix ----------------------------------------------------

# Makes the template prefix once; a half-made one is never reused, since the
# prefix is built beside it and renamed only when wineboot has finished.
ensure_template() {
    [ -f "$WINE_TEMPLATE/.complete" ] && return 0
    mkdir -p "$(dirname "$WINE_TEMPLATE")"
    (
        flock 9
        [ -f "$WINE_TEMPLATE/.complete" ] && exit 0
        tmp="$WINE_TEMPLATE.making.$$"
        rm -rf "$tmp" "$WINE_TEMPLATE"
        start=$(date +%s)
        WINEPREFIX=$tmp timeout 600 wineboot -i >"$WINE_ROOT/build/wine-template.log" 2>&1 &&
            WINEPREFIX=$tmp wineserver -w || { rm -rf "$tmp"; exit 1; }
        touch "$tmp/.complete"
        mv "$tmp" "$WINE_TEMPLATE"
        echo "template prefix made in $(($(date +%s) - start)) s"
    ) 9>"$WINE_TEMPLATE.lock"
}

# --- a scenario's life ------------------------------------------------------

# scenario_begin NAME WINDOWS-VERSION: a fresh copy of the template with its
# own wineserver and Xvfb, the program in place, and Wine told which Windows
# version to report to it. Everything is stopped and deleted at exit.
scenario_begin() {
    SCENARIO=$1
    SCENARIO_DIR="$WINE_SCENARIOS/$1"
    mkdir -p "$ARTIFACTS" "$WINE_SCENARIOS"
    ensure_template || { say "cannot make the template prefix"; exit 1; }
    rm -rf "$SCENARIO_DIR" "$ARTIFACTS/$SCENARIO"
    mkdir -p "$SCENARIO_DIR"
    cp -a "$WINE_TEMPLATE" "$SCENARIO_DIR/prefix"
    export WINEPREFIX="$SCENARIO_DIR/prefix"
    trap scenario_end EXIT
    trap 'exit 130' INT TERM
    start_xvfb
    # The prefix's own wineserver starts with its first Wine process and ends
    # after its last; the exit trap kills whatever is left.
    : >"$SCENARIO_DIR/pending.reg"
    set_windows_version "$2"
    draw_own_frames
    install_program
}

scenario_end() {
    status=$?
    [ -n "$WINEPREFIX" ] && wineserver -k 2>/dev/null && wineserver -w 2>/dev/null
    stop_xvfb
    if [ "$SCENARIO_FAILURES" -eq 0 ] && [ "$status" -eq 0 ]; then
        say "PASS"
    else
        # The snapshots and diffs are small: keep them for the reader.
        mkdir -p "$ARTIFACTS/$SCENARIO"
        cp "$SCENARIO_DIR"/*.txt "$ARTIFACTS/$SCENARIO/" 2>/dev/null
        say "FAIL ($SCENARIO_FAILURES failed expectations, exit status $status)"
        status=1
    fi
    # A prefix is about half a gigabyte: never leave one behind.
    rm -rf "$SCENARIO_DIR"
    trap - EXIT
    exit "$status"
}

install_program() {
    mkdir -p "$WINEPREFIX/$UNINST_DIR_REL"
    cp "$UNINST_EXE" "$WINEPREFIX/$UNINST_DIR_REL/uninst.exe"
}

# --- registry seeding ---------------------------------------------------------

# Queues REGEDIT4 text; it is imported in one regedit run before the next
# snapshot or program run (each Wine process start costs time).
queue_reg_text() {
    [ -s "$SCENARIO_DIR/pending.reg" ] || printf 'REGEDIT4\r\n\r\n' >"$SCENARIO_DIR/pending.reg"
    printf '%s\n' "$1" | sed 's/$/\r/' >>"$SCENARIO_DIR/pending.reg"
}

# seed_registry FILE...: queues REGEDIT4 files (their header line dropped).
seed_registry() {
    for file in "$@"; do
        [ -f "$file" ] || { check_failed "no such .reg file: $file"; continue; }
        queue_reg_text "$(sed '1{/^REGEDIT4/d}' "$file" | tr -d '\r')"
    done
}

# set_windows_version win95|win98|winme|nt40|win2k|winxp|win7|win10
set_windows_version() {
    case $1 in
        win95 | win98 | winme | nt40 | win2k | winxp | win7 | win10) ;;
        *) say "unknown Windows version '$1'"; exit 2 ;;
    esac
    # The copy of the program that deletes it after the run (xlnclean.exe
    # in a folder of its own below the temporary folder) must see the same
    # Windows.
    for program in uninst.exe xlnclean.exe; do
        queue_reg_text "[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\$program]
\"Version\"=\"$1\"
"
    done
}

# There is no window manager on the Xvfb screen: Wine is told to draw each
# window's title bar and frame itself, as Windows does, so that the
# screenshots show the windows as a user sees them.
draw_own_frames() {
    queue_reg_text '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="N"
'
}

apply_registry() {
    [ -s "$SCENARIO_DIR/pending.reg" ] || return 0
    mv "$SCENARIO_DIR/pending.reg" "$SCENARIO_DIR/applied.reg"
    : >"$SCENARIO_DIR/pending.reg"
    timeout "$WINE_TIMEOUT" wine regedit /S "$(zpath "$SCENARIO_DIR/applied.reg")" ||
        check_failed "regedit could not import the seed"
}

# --- files --------------------------------------------------------------------

# lay_file 'C:\path\name' [TEXT]: creates a file inside the prefix.
lay_file() {
    path=$(unix_path "$1")
    mkdir -p "$(dirname "$path")"
    printf '%s' "${2:-}" >"$path"
}

# The Linux path of a C: path inside the prefix.
unix_path() {
    rest=$(printf '%s' "$1" | sed 's/^[Cc]://' | tr '\\' /)
    printf '%s/drive_c%s' "$WINEPREFIX" "$rest"
}

# --- running the program ------------------------------------------------------

LAST_EXIT=""

# run_uninst ARG...: runs the program with these words as its command line
# (after its own quoted path) and keeps the exit code in LAST_EXIT.
run_uninst() {
    apply_registry
    say "run: uninst.exe $*"
    LAST_EXIT=0
    echo "== uninst.exe $*" >>"$SCENARIO_DIR/run-output.txt"
    timeout "$WINE_TIMEOUT" wine "$UNINST_WIN" "$@" >>"$SCENARIO_DIR/run-output.txt" 2>&1 || LAST_EXIT=$?
    [ "$LAST_EXIT" -eq 124 ] && check_failed "uninst.exe $* did not end within ${WINE_TIMEOUT}s"
    return 0
}

# expect_exit CODE ARG...: runs the program and checks its exit code.
expect_exit() {
    want=$1
    shift
    run_uninst "$@"
    if [ "$LAST_EXIT" = "$want" ]; then
        say "ok: exit code $want for '$*'"
    else
        check_failed "exit code $LAST_EXIT for '$*', expected $want"
    fi
}

# --- snapshots ----------------------------------------------------------------

# Wine writes the registry files when its server ends, which it does by
# itself once the last process of the prefix has ended: wait for that. A
# process still running after WINE_TIMEOUT is a failure, and is killed.
stop_server() {
    timeout "$WINE_TIMEOUT" wineserver -w 2>/dev/null && return 0
    check_failed "a Wine process was still running after ${WINE_TIMEOUT}s"
    wineserver -k 2>/dev/null || true
}

# One line per key ("reg ROOT\path", each parent too) and per value ("reg ROOT\path<TAB>name=data"),
# continuation lines joined, Wine's time stamps dropped.
flatten_reg() {
    awk -v root="$2" '
        /^WINE REGISTRY/ || /^;;/ || /^#/ || /^[ \t]*$/ { next }
        /^\[/ {
            key = $0
            sub(/\][ \t]*[0-9]*[ \t]*$/, "", key); sub(/^\[/, "", key)
            gsub(/\\\\/, "\\", key)
            # Wine writes a section only for a key with values or without
            # subkeys: its parents are listed too, so that a key that
            # merely lost its last subkey is not taken for a new one.
            n = split(key, part, "\\")
            path = ""
            for (i = 1; i <= n; i++) {
                path = path (i > 1 ? "\\" : "") part[i]
                print "reg " root "\\" path
            }
            next
        }
        {
            v = $0
            while (v ~ /\\$/ && (getline more) > 0) { sub(/\\$/, "", v); sub(/^[ \t]+/, "", more); v = v more }
            print "reg " root "\\" key "\t" v
        }
    ' "$1"
}

# snapshot NAME: the registry (HKLM, HKCU) and drive_c (path, size, checksum).
snapshot() {
    apply_registry
    stop_server
    out="$SCENARIO_DIR/snapshot-$1.txt"
    {
        flatten_reg "$WINEPREFIX/system.reg" HKLM
        flatten_reg "$WINEPREFIX/user.reg" HKCU
        (cd "$WINEPREFIX/drive_c" && find . -type d -printf 'file %p/\n' &&
            find . -type f -exec md5sum {} + | awk '{ h = $1; $1 = ""; sub(/^ /, ""); print "file " $0 "\t" h }')
    } | LC_ALL=C sort -u >"$out"
}

# changes BEFORE AFTER: "- line" for what went, "+ line" for what came,
# Wine's own churn left out.
changes() {
    LC_ALL=C comm -3 "$SCENARIO_DIR/snapshot-$1.txt" "$SCENARIO_DIR/snapshot-$2.txt" |
        sed -e 's/^\t/+ /' -e 't' -e 's/^/- /' |
        grep -v -E "$WINE_VOLATILE" || true
}

# expect_only_changes BEFORE AFTER [PATTERN...]: every change between the two
# snapshots matches one of the extended regular expressions, and each
# expression matches at least one change. No pattern: nothing may change.
expect_only_changes() {
    before=$1 after=$2
    shift 2
    found="$SCENARIO_DIR/changes-$before-$after.txt"
    left="$SCENARIO_DIR/unexpected-$before-$after.txt"
    changes "$before" "$after" >"$found"
    cp "$found" "$left"
    for p in "$@"; do
        grep -q -E -- "$p" "$found" || check_failed "expected change '$p' did not happen"
        grep -v -E -- "$p" "$left" >"$left.next" || true
        mv "$left.next" "$left"
    done
    if [ -s "$left" ]; then
        check_failed "unexpected changes between $before and $after:"
        head -20 "$left" | sed 's/^/      /'
    else
        say "ok: no change between $before and $after beyond the $# expected"
    fi
}

# --- registry and file expectations (read from the flattened snapshot) --------

# The latest snapshot is the reference; take one after the run you check.
latest_snapshot() { ls -t "$SCENARIO_DIR"/snapshot-*.txt | head -1; }

# Keys are compared case-insensitively, as Windows does.
expect_key_present() {
    if grep -q -i -F -x "reg $1" "$(latest_snapshot)"; then say "ok: key $1 present"
    else check_failed "key $1 absent"; fi
}

expect_key_absent() {
    if grep -q -i -F -x "reg $1" "$(latest_snapshot)"; then check_failed "key $1 present"
    else say "ok: key $1 absent"; fi
}

# expect_value 'HKLM\key' NAME 'DATA-AS-IN-A-.reg-FILE' (e.g. '"text"', 'dword:00000001')
expect_value() {
    line=$(printf 'reg %s\t"%s"=%s' "$1" "$2" "$3")
    if grep -q -F -x "$line" "$(latest_snapshot)"; then say "ok: $1 \"$2\" = $3"
    else check_failed "$1 \"$2\" is not $3"; fi
}

expect_file_present() {
    if [ -e "$(unix_path "$1")" ]; then say "ok: $1 present"; else check_failed "$1 absent"; fi
}

expect_file_absent() {
    if [ -e "$(unix_path "$1")" ]; then check_failed "$1 present"; else say "ok: $1 absent"; fi
}

# expect_nothing_waits: no deletion is left for the restart, in WININIT.INI
# (9x) or PendingFileRenameOperations (NT).
expect_nothing_waits() {
    expect_file_absent 'C:\windows\WININIT.INI'
    if grep -q -i 'PendingFileRenameOperations' "$(latest_snapshot)"; then
        check_failed "a deletion waits for the restart"
    else
        say "ok: nothing waits for the restart"
    fi
}

# expect_log_lines LINE...: each text stands in the run log $LOG (in any
# case, as Windows spells paths its own way), which is
# left in $log for the checks that follow.
expect_log_lines() {
    log=$(tr -d '\r' <"$(unix_path "$LOG")")
    for line in "$@"; do
        if printf '%s\n' "$log" | grep -q -i -F -- "$line"; then say "ok: log: $line"
        else check_failed "the log lacks: $line"; fi
    done
}

# place_tool TOOL.exe 'C:\path\name.exe': a test program copied into the prefix.
place_tool() {
    path=$(unix_path "$2")
    mkdir -p "$(dirname "$path")"
    cp "$WINE_TOOLS_DIR/$1" "$path"
}

# run_each SCRIPT "VERSION:CASE ...": runs the scenario script once for each
# pair, as "SCRIPT VERSION CASE"; fails when any run fails.
run_each() {
    script=$1
    shift
    status=0
    for run in $*; do "$script" "${run%%:*}" "${run##*:}" || status=1; done
    return $status
}

# --- X display and screenshots ------------------------------------------------

# Starts Xvfb on a display it picks itself (so that two scenarios started at
# once never race for one) and exports DISPLAY.
start_xvfb() {
    fifo="$SCENARIO_DIR/xvfb-display"
    : >"$fifo"
    Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp 9>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    tries=0
    while [ ! -s "$fifo" ] && [ $tries -lt 100 ]; do sleep 0.1; tries=$((tries + 1)); done
    [ -s "$fifo" ] || { say "Xvfb did not start"; return 1; }
    export DISPLAY=":$(head -1 "$fifo")"
}

stop_xvfb() {
    [ -n "$XVFB_PID" ] || return 0
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=""
}

# screenshot NAME: the whole screen into artifacts/SCENARIO-NAME.png.
# A window found a moment ago may not be painted yet: give it a second.
screenshot() {
    mkdir -p "$ARTIFACTS"
    sleep 1
    import -display "$DISPLAY" -window root "$ARTIFACTS/$SCENARIO-$1.png" ||
        say "screenshot $1 failed"
}

# probe ARG...: runs the Windows-side window probe in the scenario's prefix.
probe() { timeout "$WINE_TIMEOUT" wine "$(zpath "$WINPROBE_EXE")" "$@"; }
