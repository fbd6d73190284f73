#!/bin/sh
# Attacks on the system through the description: a "/rootkey=" that names
# no description or the system's own keys, and descriptions whose software
# key, listed keys and file patterns name hive keys, control sets, the
# Windows and system folders, drive roots and Program Files. The system's
# keys and files stay as they were; only each description key and the one
# product file its pattern names in the product's folder go.
# Usage: guard-attacks.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
scenario_begin "guard-attacks-$1" "$1"

seed_registry "$WINE_ROOT/tests/wine/data/hostile.reg"
lay_file 'C:\Program Files\XLN\xln.hlp' 'the product help'
lay_file 'C:\Program Files\readme.txt' 'not the product'
lay_file 'C:\keep.txt' 'at the root of the drive'
lay_file 'C:\windows\system32\drivers\keep.sys' 'another driver'
snapshot before

expect_exit 1 silent '/rootkey=SOFTWARE\Victim'
expect_exit 1 silent '/rootkey=SOFTWARE\Microsoft'
expect_exit 1 silent '/rootkey=SOFTWARE'
# Whether this key looks like a description depends on the prefix: either
# way nothing of it may go.
run_uninst silent '/rootkey=SOFTWARE\Microsoft\Windows\CurrentVersion'
snapshot between
expect_only_changes before between

expect_exit 0 silent '/rootkey=SOFTWARE\Hostile\Sweep'
expect_exit 0 silent '/rootkey=SOFTWARE\Hostile\Wine'
snapshot after
expect_only_changes between after \
    '^- reg HKLM\\Software\\Hostile\\Sweep(\\|	|$)' \
    '^- reg HKLM\\Software\\Hostile\\Wine(\\|	|$)' \
    '^- file \./Program Files/XLN/xln\.hlp	'
expect_key_present 'HKLM\Software\Victim\Files'
expect_key_present 'HKLM\Software\Wine'
