#!/bin/sh
# Audits an executable's static imports against platform/win32/imports.allow:
# each import must come from a system library (kernel32, user32, advapi32,
# shell32, comctl32; setupapi only for Windows 2000 and later), never from a
# C run-time library, which a stock Windows 95 lacks; it must be listed, and
# listed as present on Windows 95 and on NT 4 or earlier. Prints every
# offender and fails when there is one.
# TARGETS names the Windows versions the program must start on instead
# (for instance "95" or "2000"; the default is "95 NT4").
# Usage: check-imports.sh EXE [ALLOW-LIST [TARGETS]]
set -eu

here=$(cd "$(dirname "$0")" && pwd)
exe=${1:?usage: check-imports.sh EXE [ALLOW-LIST]}
allow=${2:-$here/../../platform/win32/imports.allow}
targets=${3:-95 NT4}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}

[ -f "$exe" ] || { echo "check-imports: no such file: $exe" >&2; exit 2; }
[ -f "$allow" ] || { echo "check-imports: no allow-list: $allow" >&2; exit 2; }

dump=$(mktemp)
trap 'rm -f "$dump"' EXIT
"$objdump" -p "$exe" >"$dump" || { echo "check-imports: objdump failed on $exe" >&2; exit 2; }

# One "DLL FUNCTION" line per import (DLL in lower case); an import by
# ordinal becomes "DLL #N" so that it is reported, never waved through.
imports() {
    awk '
        /^[ \t]*DLL Name:/ { dll = tolower($3); next }
        /^[ \t]*$/ { dll = "" ; next }
        dll != "" && /^[ \t]*vma:/ { next }
        dll != "" && $1 ~ /^[0-9a-f]+$/ && NF >= 3 { print dll, $3; next }
        dll != "" && $1 ~ /^[0-9a-f]+$/ && NF == 2 { print dll, "#" $2 }
    ' "$dump"
}

# Version order of each column; "none" and anything unknown sort last.
verdict() {
    awk -v list="$allow" -v targets="$targets" '
        BEGIN {
            split("95 98 ME", v9, " "); for (i in v9) rank9[v9[i]] = i
            split("NT3.1 NT3.5 NT3.51 NT4 2000 XP VISTA 7 8 10", vn, " ")
            for (i in vn) rankn[vn[i]] = i
            while ((getline line < list) > 0) {
                sub(/#.*/, "", line)
                if (split(line, f, " ") < 4) continue
                key = tolower(f[1]) " " f[2]
                first9x[key] = f[3]; firstnt[key] = f[4]
            }
            ntargets = split(targets, target, " ")
            label = targets == "95 NT4" ? "both Windows 95 and NT 4" : "Windows " targets
            libs = "^(kernel32|user32|advapi32|shell32|comctl32" (targets == "2000" ? "|setupapi" : "") ")\\.dll$"
        }
        {
            key = $1 " " $2
            n++
            if ($1 !~ libs) { print "not a system library: " $1 " " $2; bad++; next }
            if (!(key in first9x)) { print "not on the allow-list: " $1 " " $2; bad++; next }
            r9 = (first9x[key] in rank9) ? rank9[first9x[key]] : 99
            rn = (firstnt[key] in rankn) ? rankn[firstnt[key]] : 99
            late = 0
            for (t = 1; t <= ntargets; t++)
                if (target[t] in rank9) late += r9 > rank9[target[t]]
                else late += rn > rankn[target[t]]
            if (late) { print "not on " label " (" first9x[key] ", " firstnt[key] "): " $1 " " $2; bad++ }
        }
        END { printf "%d imports checked, %d offending\n", n + 0, bad + 0; exit bad > 0 }
    '
}

if imports | verdict; then
    echo "check-imports: $exe: PASS"
else
    echo "check-imports: $exe: FAIL"
    exit 1
fi
