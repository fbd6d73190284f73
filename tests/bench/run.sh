#!/bin/sh
# make bench: uninst.exe's speed and size, measured side by side in one Wine
# prefix against what a user would otherwise run, printed as ratios:
#   start     "silent" without any description, against a do-nothing
#             program with the very same imports and manifest (the cost
#             of starting);
#   registry  a description's 5,000-key tree, against "reg delete /f";
#   files     2,000 matches of one wildcard, against "cmd /c del";
#   size      the executable's size against its resource section.
# Each timing is the least wall and CPU time (the run's own and Wine's
# server's for it) of BENCH_RUNS runs (default 7), with the spread of each
# round's CPU ratio beside it, taken in turns
# after one turn that is not counted (it fills Wine's and the disk's caches);
# the registry and files timings are net of each program's start (its
# least when it has nothing to do: "silent" with a description that names
# nothing, which still runs every step, "reg query" of a missing key, "cmd
# /c exit"). Not part of make test.
set -u
. "$(dirname "$0")/../wine/lib.sh"
RUNS=${BENCH_RUNS:-7}
KEYS_OUTER=50 KEYS_INNER=99  # 50 keys of 99 subkeys each, and the root: 5,000
FILES=2000
BENCH="$WINE_ROOT/build/bench"
mkdir -p "$BENCH"

wine_can_run || { echo "bench: no Wine on this machine"; exit 1; }
[ -f "$UNINST_EXE" ] || { echo "bench: no $UNINST_EXE (make wine-build)"; exit 1; }

# --- the do-nothing program: every import of uninst.exe, and nothing done --
case $WINE_BITS in 64) cc=x86_64-w64-mingw32 entry=WinMainCRTStartup ;;
    *) cc=i686-w64-mingw32 entry=_WinMainCRTStartup ;; esac
make_noop() {
    {
        printf '#include <windows.h>\n#include <shlobj.h>\n#include <commctrl.h>\n'
        printf '#include <stdio.h>\n#include <stdlib.h>\n#include <string.h>\n#include <ctype.h>\n#include <mbstring.h>\n#include <mbctype.h>\n'
        printf 'void* const volatile kImports[] = {\n'
        "$cc-objdump" -p "$UNINST_EXE" |
            awk '/DLL Name:/ { on = 1; next } on && /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { print "    (void*)&" $3 "," }'
        printf '};\nvoid WinMainCRTStartup(void) { ExitProcess(kImports[0] == 0); }\n'
    } >"$BENCH/noop.c"
    # The program's manifest too: it decides which common controls load.
    printf '1 24 "%s"\n' "$WINE_ROOT/resources/uninst.manifest" >"$BENCH/noop.rc"
    "$cc-windres" -i "$BENCH/noop.rc" -O coff -o "$BENCH/noop-rc.o" || return 1
    "$cc-gcc-win32" -Os -fno-builtin -w -o "$BENCH/noop.exe" "$BENCH/noop.c" "$BENCH/noop-rc.o" -nostartfiles -nostdlib \
        -Wl,-e,$entry -s -Wl,--subsystem,windows:4.0 \
        -lmsvcrt -luser32 -ladvapi32 -lkernel32 -lshell32 -lcomctl32 -lgcc
}
make_noop || { echo "bench: cannot build the do-nothing program"; exit 1; }

# --- timing ---------------------------------------------------------------------
# Two figures per run: the wall time a user waits, and the CPU time, which
# the load of other work on the machine hardly changes: that of the run's
# processes (a console program's console included) and what Wine's server
# spent meanwhile (registry and file requests), as perf counts them.
SERVER_PID=""
now_ms() { echo $(($(date +%s%N) / 1000000)); }
task_ms() { awk -F, '$3 == "task-clock" { printf "%d", $1 }' "$1"; }

# measure COMMAND...: "WALL-MS CPU-MS" of one run.
measure() {
    start=$(now_ms)
    perf stat -x, -e task-clock -p "$SERVER_PID" -o "$BENCH/server.csv" -- \
        perf stat -x, -e task-clock -o "$BENCH/run.csv" -- "$@" >/dev/null 2>&1
    wall=$(($(now_ms) - start))
    echo "$wall $(($(task_ms "$BENCH/run.csv") + $(task_ms "$BENCH/server.csv")))"
}

# The least of the runs: other work on the machine only ever adds time.
least() { sort -n | head -1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

# --- what each turn lays down -------------------------------------------------
DESC='[HKEY_LOCAL_MACHINE\SOFTWARE\Tarnwell\802.11\UninstallInfo]
"FullProductName"="Bench Adapter"
"UninstallKey"="Bench Adapter"'

tree_reg() {
    {
        printf 'REGEDIT4\r\n\r\n%s\r\n' "$DESC"
        printf '[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tarnwell\\802.11\\UninstallInfo\\RegistryKeys\\0]\r\n"BaseKey"="HKLM"\r\n"SubKey"="SOFTWARE:BenchTree"\r\n"DeleteIfNonEmpty"=""\r\n\r\n'
        awk -v o="$KEYS_OUTER" -v i="$KEYS_INNER" 'BEGIN {
            for (a = 0; a < o; a++) for (b = 0; b < i; b++)
                printf "[HKEY_LOCAL_MACHINE\\SOFTWARE\\BenchTree\\Group%02d\\Key%02d]\r\n\"Data\"=\"x\"\r\n\r\n", a, b }'
    } >"$BENCH/tree.reg"
}

files_reg() {
    printf 'REGEDIT4\r\n\r\n%s\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tarnwell\\802.11\\UninstallInfo\\InstalledFiles]\r\n"Bench"="C:\\\\bench\\\\files\\\\*.tmp"\r\n' \
        "$(printf '%s' "$DESC" | sed 's/$/\r/')" >"$BENCH/files.reg"
}

seed() { wine regedit /S "$(zpath "$1")" >/dev/null 2>&1; }
lay_files() {
    dir=$(unix_path 'C:\bench\files')
    rm -rf "$dir" && mkdir -p "$dir"
    (cd "$dir" && seq -f 'f%04g.tmp' 1 "$FILES" | xargs touch)
}
tree_gone() { ! wine reg query 'HKLM\SOFTWARE\BenchTree' >/dev/null 2>&1; }
files_gone() { [ -z "$(ls "$(unix_path 'C:\bench\files')")" ]; }

# --- the runs -----------------------------------------------------------------
scenario_begin bench winxp
apply_registry
# Named like the program, so that Wine applies the same settings to it (the
# Windows version it reports is set for that name).
mkdir -p "$WINEPREFIX/drive_c/noop"
cp "$BENCH/noop.exe" "$WINEPREFIX/drive_c/noop/uninst.exe"
# One server for the whole run: no run pays for starting it or saving the
# registry, and its CPU time can be read.
wineserver -w
wineserver -f -p &
SERVER_PID=$!
sleep 1
[ -r "/proc/$SERVER_PID/stat" ] || { echo "bench: Wine's server did not stay"; exit 1; }
tree_reg
files_reg
printf 'REGEDIT4\r\n\r\n%s\r\n' "$(printf '%s' "$DESC" | sed 's/$/\r/')" >"$BENCH/empty.reg"
for turn in $(seq 0 "$RUNS"); do
    [ "$turn" = 1 ] && : >"$BENCH/times.txt"
    sleep 2  # the last turn's console ends before the do-nothing program runs
    echo "noop $(measure wine 'C:\noop\uninst.exe')" >>"$BENCH/times.txt"
    echo "silent $(measure wine "$UNINST_WIN" silent)" >>"$BENCH/times.txt"
    seed "$BENCH/empty.reg"
    echo "empty $(measure wine "$UNINST_WIN" silent)" >>"$BENCH/times.txt"
    echo "reg-start $(measure wine reg query 'HKLM\SOFTWARE\BenchNothing')" >>"$BENCH/times.txt"
    echo "cmd-start $(measure wine cmd /c exit)" >>"$BENCH/times.txt"
    seed "$BENCH/tree.reg"
    echo "tree-uninst $(measure wine "$UNINST_WIN" silent)" >>"$BENCH/times.txt"
    tree_gone || check_failed "turn $turn: uninst.exe left the tree"
    seed "$BENCH/tree.reg"
    echo "tree-reg $(measure wine reg delete 'HKLM\SOFTWARE\BenchTree' /f)" >>"$BENCH/times.txt"
    tree_gone || check_failed "turn $turn: reg delete left the tree"
    lay_files
    seed "$BENCH/files.reg"
    echo "files-uninst $(measure wine "$UNINST_WIN" silent)" >>"$BENCH/times.txt"
    files_gone || check_failed "turn $turn: uninst.exe left files"
    lay_files
    echo "files-del $(measure wine cmd /c del /q 'C:\bench\files\*.tmp')" >>"$BENCH/times.txt"
    files_gone || check_failed "turn $turn: del left files"
done
wineserver -k
wait "$SERVER_PID" 2>/dev/null

# med KEY COLUMN: the least of one figure (2 wall, 3 CPU) of one kind of run.
med() { awk -v k="$1" -v c="$2" '$1 == k { print $c }' "$BENCH/times.txt" | least; }
size=$(stat -c %s "$UNINST_EXE")
rsrc=$((0x$("$cc-objdump" -h "$UNINST_EXE" | awk '$2 == ".rsrc" { print $3 }')))
echo "bench: the best of $RUNS runs each under Wine ($WINE_BITS-bit), in ms; the timings of work net of each program's start"
printf '  %-44s %20s %20s   %s\n' "" "wall time" "CPU time" "CPU ratio per round: least/median/most"
# spread COLUMN KEY OTHER-KEY [KEY-START OTHER-START]: each round's ratio
# (net of the starts of that same round), as "least/median/most", so that
# one run of the bench shows how far a ratio moves between rounds.
spread() {
    awk -v c="$1" -v k="$2" -v o="$3" -v ks="${4:-}" -v os="${5:-}" '
        $1 == k { a[na++] = $c } $1 == o { b[nb++] = $c }
        $1 == ks { as[nas++] = $c } $1 == os { bs[nbs++] = $c }
        END {
            for (i = 0; i < na && i < nb; i++) {
                x = a[i] - (ks != "" ? as[i] : 0); y = b[i] - (os != "" ? bs[i] : 0)
                r[n++] = y > 0 ? x / y : 0
            }
            for (i = 1; i < n; i++) for (j = i; j > 0 && r[j - 1] > r[j]; j--) { t = r[j]; r[j] = r[j - 1]; r[j - 1] = t }
            if (n) printf "%.2f/%.2f/%.2f", r[0], r[int((n - 1) / 2)], r[n - 1]
        }' "$BENCH/times.txt"
}
# line NAME KEY OTHER-KEY [KEY-START OTHER-START]: the two figures and their
# ratio, each net of its own program's start when the starts are named,
# then the CPU ratio's spread over the rounds.
line() {
    row=$(printf '  %-44s' "$1")
    for col in 2 3; do
        a=$(med "$2" $col) b=$(med "$3" $col)
        [ $# -gt 3 ] && a=$((a - $(med "$4" $col))) b=$((b - $(med "$5" $col)))
        row="$row $(printf '%6s/%-6s %5sx' "$a" "$b" "$(ratio "$a" "$b")")"
    done
    shift
    echo "$row   rounds $(spread 3 "$@")x"
}
line "silent, no description / do-nothing program" silent noop
line "5,000-key tree / reg delete /f" tree-uninst tree-reg empty reg-start
line "2,000 wildcard matches / cmd /c del" files-uninst files-del empty cmd-start
printf '  %-44s %6s B / %6s B = %sx\n' "executable / its resource section" "$size" "$rsrc" \
    "$(ratio "$size" "$rsrc")"
