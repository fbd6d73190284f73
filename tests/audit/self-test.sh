#!/bin/sh
# Shows that the audits catch what they are for: tiny programs built here
# with the same toolchain, each with one known fault, must fail the named
# check with the named offender in its report; the clean ones and the
# product (uninst.exe and the device-manager tools beside it) must pass.
# Usage: self-test.sh [PRODUCT-EXE]
set -eu

here=$(cd "$(dirname "$0")" && pwd)
product=${1:-$here/../../dist/uninst.exe}
cc=${CC_WIN:-i686-w64-mingw32-gcc-win32}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/ticks.c" <<'C'
#define _WIN32_WINNT 0x0600
#include <windows.h>
void start(void) { ExitProcess((UINT)GetTickCount64()); }
C
cat >"$work/semaphore.c" <<'C'
#include <windows.h>
void start(void) { ExitProcess(CreateSemaphoreW(0, 0, 1, 0) ? 0 : 1); }
C
cat >"$work/commctl.c" <<'C'
#include <windows.h>
#include <commctrl.h>
void start(void) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS};
    ExitProcess(InitCommonControlsEx(&icc) ? 0 : 1);
}
C
cat >"$work/runtime.c" <<'C'
#include <windows.h>
#include <string.h>
void start(void) { ExitProcess((UINT)strlen(GetCommandLineA())); }
C
cat >"$work/plain.c" <<'C'
#include <windows.h>
void start(void) { ExitProcess((UINT)GetCommandLineA()[0]); }
C
# A branch-free minimum and a floating-point comparison: the compiler emits
# CMOV and FCOMI/FUCOMI for them when it may use Pentium Pro instructions.
cat >"$work/pick.c" <<'C'
#include <windows.h>
__attribute__((noinline)) int pick(int a, int b) { return a < b ? a : b; }
__attribute__((noinline)) int less(double a, double b) { return a < b; }
void start(void) {
    const char* line = GetCommandLineA();
    ExitProcess((UINT)(pick(line[0], line[1]) + less(line[0] * 0.5, line[1])));
}
C
# A frame of several pages: unprobed, its first touch lands beyond the
# stack's guard page.
cat >"$work/frame.c" <<'C'
#include <windows.h>
void start(void) {
    char name[20000];
    ExitProcess(GetModuleFileNameA(0, name, sizeof name));
}
C

# The device-manager tools' own limits: no SetupAPI on NT 4, no service
# calls on Windows 95, no C run-time at all.
cat >"$work/devices.c" <<'C'
#include <windows.h>
#include <setupapi.h>
void start(void) { ExitProcess(SetupDiGetClassDevsA(0, 0, 0, DIGCF_ALLCLASSES) != 0); }
C
cat >"$work/services.c" <<'C'
#include <windows.h>
void start(void) { ExitProcess(OpenSCManagerA(0, 0, SC_MANAGER_ALL_ACCESS) != 0); }
C
cat >"$work/runtime.c" <<'C'
#include <windows.h>
#include <string.h>
void start(void) { ExitProcess((UINT)strlen(GetCommandLineA())); }
C

gui="-nostdlib -nostartfiles -Wl,-e,_start -Wl,--subsystem,windows:4.0 \
-Wl,--major-os-version,4 -Wl,--minor-os-version,0 -Wl,--major-subsystem-version,4 \
-Wl,--minor-subsystem-version,0"
failures=0
rows=0

# row NAME SOURCE "CFLAGS" "LDFLAGS" CHECK pass|fail "TEXT IN THE REPORT" ["CHECK ARGS"]
row() {
    name=$1 src=$2 cflags=$3 ldflags=$4 check=$5 want=$6 text=$7
    rows=$((rows + 1))
    exe="$work/$name.exe"
    # shellcheck disable=SC2086
    $cc $cflags "$work/$src" -o "$exe" $ldflags -lkernel32 -lcomctl32 -ladvapi32 -lsetupapi -lmsvcrt -lgcc
    judge "$name" "$exe" "$check" "$want" "$text" "${8:-}"
}

# judge NAME EXE CHECK pass|fail "TEXT" ["CHECK ARGS", split at blanks]
judge() {
    name=$1 exe=$2 check=$3 want=$4 text=$5 args=${6:-}
    # shellcheck disable=SC2086
    if "$here/$check" "$exe" $args >"$work/out" 2>&1; then got=pass; else got=fail; fi
    if [ "$got" != "$want" ]; then
        echo "FAIL $name: $check should ${want}, it gave $got:"; sed 's/^/    /' "$work/out"
        failures=$((failures + 1))
    elif [ -n "$text" ] && ! grep -q -- "$text" "$work/out"; then
        echo "FAIL $name: $check's report does not name '$text':"; sed 's/^/    /' "$work/out"
        failures=$((failures + 1))
    else
        verb=fails; [ "$want" = pass ] && verb=passes
        echo "ok   $name: $check $verb as it should${text:+, naming '$text'}"
    fi
}

row off-list-import semaphore.c "-Os -march=i486" "$gui -s" check-imports.sh fail "not on the allow-list: kernel32.dll CreateSemaphoreW"
row vista-import ticks.c "-Os -march=i486" "$gui -s" check-imports.sh fail "(none, VISTA): kernel32.dll GetTickCount64"
row too-new-import commctl.c "-Os -march=i486" "$gui -s" check-imports.sh fail "not on both Windows 95 and NT 4 (98, 2000): comctl32.dll InitCommonControlsEx"
row c-runtime-import runtime.c "-Os -march=i486 -fno-builtin" "$gui -s -lmsvcrt" check-imports.sh fail "not a system library: msvcrt.dll strlen"
row allowed-imports plain.c "-Os -march=i486" "$gui -s" check-imports.sh pass ""
row cmov pick.c "-O2 -march=pentiumpro" "$gui -s" check-cpu.sh fail "cmov"
row fcomi pick.c "-O2 -march=pentiumpro" "$gui -s" check-cpu.sh fail "comi"
row pentium-code pick.c "-O2 -march=i486" "$gui -s" check-cpu.sh pass ""
row console-subsystem plain.c "-Os -march=i486" "-nostdlib -nostartfiles -Wl,-e,_start -Wl,--subsystem,console:4.0 -Wl,--major-os-version,4 -Wl,--minor-os-version,0 -s" check-cpu.sh fail "Subsystem is '00000003'"
row os-version-6 plain.c "-Os -march=i486" "-nostdlib -nostartfiles -Wl,-e,_start -Wl,--subsystem,windows:6.0 -Wl,--major-os-version,6 -s" check-cpu.sh fail "MajorOSystemVersion is '6'"
row not-stripped plain.c "-Os -march=i486" "$gui" check-cpu.sh fail "symbols not stripped"
row unprobed-frame frame.c "-Os -march=i486 -mno-stack-arg-probe" "$gui -s" check-cpu.sh fail "unprobed stack steps"
row probed-frame frame.c "-Os -march=i486 -mno-stack-arg-probe -fstack-clash-protection" "$gui -s" check-cpu.sh pass ""
row file-alignment-256 plain.c "-Os -march=i486" "$gui -s -Wl,--file-alignment,256" check-cpu.sh fail "FileAlignment is '00000100'"

row setupapi-on-nt4 devices.c "-Os -march=i486" "$gui -s" check-imports.sh fail "not a system library: setupapi.dll SetupDiGetClassDevsA" "$here/xlnwldnt.allow NT4"
row service-on-95 services.c "-Os -march=i486" "$gui -s" check-imports.sh fail "not on Windows 95 (none, NT3.1): advapi32.dll OpenSCManagerA" "$here/xlnwldnt.allow 95"
row service-on-nt4 services.c "-Os -march=i486" "$gui -s" check-imports.sh pass "" "$here/xlnwldnt.allow NT4"
row runtime-in-tool runtime.c "-Os -march=i486 -fno-builtin" "$gui -s" check-imports.sh fail "not a system library: msvcrt.dll strlen" "$here/xlnwld9x.allow 95"

rows=$((rows + 2))
judge product "$product" check-imports.sh pass ""
judge product "$product" check-cpu.sh pass ""
# The tools beside the product, each against its own list and Windows.
dist=$(dirname "$product")
for tool in XLNWLD9X:xlnwld9x:95 XLNWLDNT:xlnwldnt:NT4 XLNWLD2K:xlnwld2k:2000; do
    tool_name=${tool%%:*} rest=${tool#*:}
    rows=$((rows + 2))
    judge "$tool_name" "$dist/$tool_name.exe" check-imports.sh pass "" "$here/${rest%%:*}.allow ${rest#*:}"
    judge "$tool_name" "$dist/$tool_name.exe" check-cpu.sh pass ""
done

echo "audit self-test: $((rows - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
