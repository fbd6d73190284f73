#!/bin/sh
# Runs every end-to-end scenario under Wine, each on every Windows version
# of WINE_VERSIONS (default: win98 winxp), two at a time, and ends with a
# "N passed, N failed" line. Logs go to artifacts/wine-logs/.
# Usage: run-all.sh [SCENARIO-NAME...]
set -u

here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
versions=${WINE_VERSIONS:-win98 winxp}
jobs=${WINE_JOBS:-2}
logs="$ARTIFACTS/wine-logs"

[ -f "$UNINST_EXE" ] || { echo "run-all: $UNINST_EXE is missing: run 'make wine'" >&2; exit 2; }

if ! wine_can_run; then
    # Say so loudly; WINE_REQUIRED=1 (set it where Wine must run) fails instead.
    echo "run-all: no Wine loader can run on this machine:"
    echo "run-all: the end-to-end scenarios were NOT run."
    [ "${WINE_REQUIRED:-0}" = 1 ] && exit 1
    exit 0
fi

start=$(date +%s)
ensure_template || { echo "run-all: the template prefix could not be made (build/wine-template.log)"; exit 1; }
mkdir -p "$logs"
rm -f "$logs"/*.log

if [ $# -gt 0 ]; then names="$*"; else names=$(cd "$here/scenarios" && ls *.sh | sed 's/\.sh$//'); fi
for name in $names; do
    for version in $versions; do printf '%s %s\n' "$name" "$version"; done
done | WINE_HERE=$here WINE_LOGS=$logs xargs -P "$jobs" -L 1 sh -c '
    "$WINE_HERE/scenarios/$1.sh" "$2" >"$WINE_LOGS/$1-$2.log" 2>&1
    echo "$? $1 $2"' scenario >"$logs/results"

passed=0
failed=0
while read -r status name version; do
    if [ "$status" -eq 0 ]; then
        passed=$((passed + 1)); echo "PASS $name on $version"
    else
        failed=$((failed + 1)); echo "FAIL $name on $version:"; sed 's/^/    /' "$logs/$name-$version.log"
    fi
done <"$logs/results"
echo "wine suite took $(($(date +%s) - start)) s"
echo "wine scenarios: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
