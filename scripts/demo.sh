#!/bin/sh
# The demonstration: a sample installation's uninstall description in a
# throwaway Wine prefix, what is there before, then uninst.exe run with each
# kind of command line and what each exit code means. A run that loads a
# description removes what it names, the description key included.
set -u
. "$(dirname "$0")/../tests/wine/lib.sh"
data="$WINE_ROOT/tests/wine/data"

explain() { printf '\n%s\n' "$*" | fold -s -w 78; }

if ! wine_can_run; then
    echo "demo: no Wine loader can run on this machine."
    exit 1
fi

explain "Making a throwaway Windows XP prefix (the first run also makes the template prefix, which takes a while)..."
scenario_begin demo "${DEMO_VERSION:-winxp}"
seed_registry "$data/description.reg"
for file in twutil.exe twutil.hlp twmon.exe; do
    lay_file "C:\\Program Files\\XLN\\$file" "sample $file"
done
snapshot before

explain "BEFORE. The product's setup left this uninstall description under HKEY_LOCAL_MACHINE (one line per key and value):"
grep -i '^reg HKLM\\Software\\Tarnwell' "$SCENARIO_DIR/snapshot-before.txt" | sed -e 's/^reg /  /' -e 's/\t/    /'
explain "and these files beside the uninstaller:"
ls -l "$WINEPREFIX/$UNINST_DIR_REL" | sed 's/^/  /'

# demo_run EXPECTED-CODE MEANING ARG...: the explanation is the expected
# outcome's, so a different exit code is called out, never explained away.
demo_run() {
    want=$1 meaning=$2
    shift 2
    run_uninst "$@"
    if [ "$LAST_EXIT" = "$want" ]; then
        explain "uninst.exe $* -> exit code $LAST_EXIT: $meaning"
    else
        check_failed "uninst.exe $* -> exit code $LAST_EXIT, NOT the expected $want ($meaning)"
    fi
}

explain "THE RUNS."
demo_run 4 "no mode word: the program does nothing and shows nothing."
demo_run 4 "'remove' is not a mode word: nothing is done." remove
demo_run 0 "the description was read whole and removed: its installed files are deleted, its service program is offered ' -u', and its key goes." silent
demo_run 1 "the mode word is matched in any letter case, over its own length; the description is gone now, so the load finds nothing." SILENTLY
demo_run 1 "'/rootkey=' moves the description to another key; nothing is there, so the load fails." silent '/rootkey=SOFTWARE\Other\Desc'
seed_registry "$data/description-other-key.reg"
demo_run 1 "the option is case-sensitive: '/ROOTKEY=' is not it, and the default key, removed by the first run, is read." silent '/ROOTKEY=SOFTWARE\Other\Desc'
demo_run 0 "with a description at that key it is read from there and removed." silent '/rootkey=SOFTWARE\Other\Desc'
seed_registry "$data/description.reg" "$data/seven-more-applets.reg" "$data/ninth-applet.reg"
demo_run 1 "the description now lists nine support applets, one more than the record holds: the load fails and nothing is removed." silent

snapshot after
explain "AFTER. What changed besides the demonstration's own seeding of the second description and the extra applets:"
changes before after | grep -v -i -E 'Software\\(Other\\Desc|Tarnwell\\802\.11\\UninstallInfo\\Applets\\Helper)' |
    sed 's/^/  /' | grep . || echo "  nothing."
