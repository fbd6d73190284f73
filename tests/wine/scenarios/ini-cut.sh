#!/bin/sh
# An INI value longer than the reader's buffer: Windows cuts InstalledFiles
# at 259 characters, and here the cut turns the last piece,
# C:\APP\XLNDRV.DLL.BAK, into C:\APP\XLNDRV.DLL, a file the description
# does not name. The cut piece is dropped: both files stay, while the two
# whole pieces before it are deleted. Exit code 0 (a section ran).
# Usage: ini-cut.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
scenario_begin "ini-cut-$1" "$1"

# 127 + 1 + 113 + 1 characters, so that 17 of the last piece fit.
first="C:\\APP\\$(printf 'a%.0s' $(seq 120))"
second="C:\\APP\\$(printf 'b%.0s' $(seq 106))"
printf '[Main]\r\nSectionsNumber=1\r\n[UnistallData0]\r\nInstalledFiles=%s,%s,C:\\APP\\XLNDRV.DLL.BAK\r\n' \
    "$first" "$second" >"$(unix_path 'C:\Program Files\XLN\uninst.ini')"
lay_file "$first" 'listed'
lay_file "$second" 'listed'
lay_file 'C:\APP\XLNDRV.DLL' 'not named'
lay_file 'C:\APP\XLNDRV.DLL.BAK' 'named, but cut'
snapshot before

expect_exit 0 silent '/log=C:\ini.log'
snapshot after
expect_only_changes before after \
    '^- file \./APP/a{120}	' \
    '^- file \./APP/b{106}	' \
    '^\+ file \./ini\.log	'
dropped=$(tr -d '\r' <"$(unix_path 'C:\ini.log')" | grep -c 'InstalledFiles: its last piece is cut, and is dropped$')
expect_equal "lines telling of the dropped piece" 1 "$dropped"
expect_file_present 'C:\APP\XLNDRV.DLL'
expect_file_present 'C:\APP\XLNDRV.DLL.BAK'
