#!/bin/sh
# Every language's status lines fit the progress dialog. Under each carried
# language's locale (tests/wine/locales.txt), the window probe builds the
# program's own dialog template and measures each status text (messages 6
# to 12 of that language's table, product name filled in, in the locale's
# ANSI code page) in the status control's own font on its DC, against the
# control's client area, wrapped as the static control wraps it. The
# measurements go to artifacts/status-width-VERSION.txt.
# Usage: status-width.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
scenario_begin "status-width-$1" "$1"
apply_registry
report="$ARTIFACTS/$SCENARIO.txt"
: >"$report"
grep -v '^#' "$WINE_ROOT/tests/wine/locales.txt" >"$SCENARIO_DIR/locales"
start=$(date +%s)

while read -r file locale table; do
    code=0
    (export LANG="$locale.UTF-8"; probe measure "$UNINST_WIN" "$table") >"$SCENARIO_DIR/measure.txt" \
        2>>"$SCENARIO_DIR/run-output.txt" || code=$?
    tr -d '\r' <"$SCENARIO_DIR/measure.txt" | sed "s/^/$file $locale: /" >>"$report"
    # The locale took hold: the user's language is the table's.
    user=$(tr -d '\r' <"$SCENARIO_DIR/measure.txt" | sed -n 's/^user=\([0-9A-F]*\) .*/\1/p')
    [ -n "$user" ] && [ $((0x$user & 0x3FF)) -eq $((table & 0x3FF)) ] ||
        check_failed "$file: the user's language is '$user' under $locale, not $table's"
    case $code in
        0) ;;
        3) check_failed "$file: a status text does not fit: $(grep -a 'fits=0' "$SCENARIO_DIR/measure.txt" | tr -d '\r' | sed 's/ text=.*//' | tr '\n' ' ')" ;;
        *) check_failed "$file: the probe could not measure (exit code $code)" ;;
    esac
done <"$SCENARIO_DIR/locales"

measured=$(grep -ac ' id=' "$report")
expect_lines=$(($(wc -l <"$SCENARIO_DIR/locales") * 7))
[ "$measured" -eq "$expect_lines" ] || check_failed "$measured status texts measured, expected $expect_lines"
say "measured $measured status texts in $(($(date +%s) - start)) s (artifacts/$SCENARIO.txt)"
