#!/bin/sh
# The product's own family test, built into a probe, under every version
# Wine can report: each gives the code of the fixed numbering.
# Usage: windows-family.sh WINDOWS-VERSION (the table is checked whole)
set -u
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/../box.sh"
probe_exe="$WINE_TOOLS_DIR/family_probe.exe"
scenario_begin "windows-family-$1" "$1"

for pair in win95:4 win98:1 winme:5 nt40:3 win2k:2 winxp:2 win10:2; do
    version=${pair%%:*}
    queue_reg_text "[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\family_probe.exe]
\"Version\"=\"$version\"
"
    apply_registry
    family=$(timeout "$WINE_TIMEOUT" wine "$(zpath "$probe_exe")" 2>/dev/null | tr -d '\r')
    expect_equal "family under $version" "${pair##*:}" "$family"
done
