#!/bin/sh
# Audits an executable for the machines of the first 32-bit Windows: no
# instruction newer than the Pentium (CMOV, FCMOV, FCOMI, FUCOMI arrived with
# the Pentium Pro), no step down the stack of a page or more that is not
# probed at once (Windows commits a thread's stack one guard page at a time:
# a touch beyond that page ends the process), and the PE header facts the old loaders need: PE32 for
# i386, GUI subsystem, OS and subsystem version 4.0, stripped, file
# alignment 512, and no import of the MinGW run-time DLLs.
# Usage: check-cpu.sh EXE
set -eu

exe=${1:?usage: check-cpu.sh EXE}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
[ -f "$exe" ] || { echo "check-cpu: no such file: $exe" >&2; exit 2; }

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$objdump" -d "$exe" >"$dir/code" || { echo "check-cpu: objdump -d failed on $exe" >&2; exit 2; }
"$objdump" -p "$exe" >"$dir/header"
"$objdump" -f "$exe" >"$dir/file"
failures=0

fail() { echo "  $*"; failures=$((failures + 1)); }

# The mnemonic is the first word after the address and the code bytes.
check_instructions() {
    awk -F '\t' 'NF >= 3 { split($3, w, " "); print w[1] "\t" $0 }' "$dir/code" |
        grep -E '^(cmov[a-z]*|fcmov[a-z]*|fcomip?|fucomip?)[[:space:]]' >"$dir/newer" || true
    count=$(wc -l <"$dir/newer")
    if [ "$count" -gt 0 ]; then
        fail "$count instructions the Pentium lacks, first ones:"
        cut -f2- "$dir/newer" | head -5 | sed 's/^/      /'
    fi
}

# The compiler's probing loop steps down one page and touches it at once;
# any larger step, or an untouched one, would skip the guard page.
check_stack_steps() {
    awk -F '\t' 'NF >= 3 {
        if (step != "" && $3 !~ /^orl? +\$0x0,\(%esp\)/) print step
        step = ""
        if (match($3, /^sub +\$0x[0-9a-f]+,%esp/)) {
            hex = substr($3, RSTART, RLENGTH); sub(/^sub +\$0x/, "", hex); sub(/,%esp$/, "", hex)
            if (length(hex) > 4 || (length(hex) == 4 && hex >= "1000")) step = $0
        }
    }' "$dir/code" >"$dir/steps"
    count=$(wc -l <"$dir/steps")
    if [ "$count" -gt 0 ]; then
        fail "$count unprobed stack steps of a page or more, first ones:"
        head -5 "$dir/steps" | sed 's/^/      /'
    fi
}

# header_field NAME: the value of a line "NAME  value" of objdump -p.
header_field() { awk -v n="$1" '$1 == n { print $2; exit }' "$dir/header"; }

expect_field() {
    value=$(header_field "$1")
    [ "$value" = "$2" ] || fail "$1 is '${value:-missing}', expected $2 ($3)"
}

check_header() {
    grep -q 'file format pei-i386' "$dir/file" || fail "not a PE image for i386"
    expect_field Magic 010b "PE32"
    expect_field Subsystem 00000002 "Windows GUI"
    expect_field MajorOSystemVersion 4 "OS version 4.0"
    expect_field MinorOSystemVersion 0 "OS version 4.0"
    expect_field MajorSubsystemVersion 4 "subsystem version 4.0"
    expect_field MinorSubsystemVersion 0 "subsystem version 4.0"
    expect_field FileAlignment 00000200 "512: smaller alignments do not load on old Windows"
    grep -q 'symbols stripped' "$dir/header" || fail "symbols not stripped"
    if grep -q 'HAS_SYMS' "$dir/file"; then fail "symbol table present"; fi
}

check_runtime_dlls() {
    awk '/DLL Name:/ { print $3 }' "$dir/header" |
        grep -i -E '^(libstdc\+\+|libgcc_s|libwinpthread)' >"$dir/dlls" || true
    while read -r dll; do fail "imports the MinGW run-time DLL $dll"; done <"$dir/dlls"
}

check_instructions
check_stack_steps
check_header
check_runtime_dlls
if [ "$failures" -eq 0 ]; then
    echo "check-cpu: $exe: PASS"
else
    echo "check-cpu: $exe: FAIL ($failures problems above)"
    exit 1
fi
