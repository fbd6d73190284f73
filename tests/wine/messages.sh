#!/bin/bash
# What the user sees, end to end under Wine with Xvfb: the error box of a
# malformed description in English and in German, registry overrides of its
# texts (UTF-16 strings on XP, UTF-16 bytes on 98, where the narrow query is
# used), nothing at all in "silent", and the Windows family that the
# product's own source reports under each version Wine can pretend to be.
# Each scenario runs in its own copy of a template prefix, deleted after.
# Usage: tests/wine/messages.sh   (prints "N passed, N failed")
set -u

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=${WINE_WORK:-$(mktemp -d /tmp/uninst-messages.XXXXXX)}
out="$root/build/wine"
passed=0
failed=0
xvfb_pid=""

export WINEARCH=win32 WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all

cleanup() {
    for prefix in "$work"/p-*; do
        [ -d "$prefix" ] && WINEPREFIX="$prefix" wineserver -k 2>/dev/null
    done
    [ -d "$work/template" ] && WINEPREFIX="$work/template" wineserver -k 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

check() {  # NAME EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then
        passed=$((passed + 1)); echo "ok: $1"
    else
        failed=$((failed + 1)); printf 'FAILED: %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
    fi
}

start_xvfb() {
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    sleep 1
}

build() {
    make -C "$root" dist >/dev/null || exit 2
    mkdir -p "$out"
    i686-w64-mingw32-g++-win32 -Os -static -I"$root" "$here/family_probe.cpp" \
        "$root/system/windows_family.cpp" -o "$out/family_probe.exe" || exit 2
    i686-w64-mingw32-g++-win32 -Os -static "$here/box_probe.cpp" -o "$out/box_probe.exe" || exit 2
}

make_template() {
    WINEPREFIX="$work/template" wineboot -i >/dev/null 2>&1
    WINEPREFIX="$work/template" wineserver -w
}

# new_prefix NAME VERSION: a fresh copy with the program beside its probes.
new_prefix() {
    prefix="$work/p-$1"
    cp -a "$work/template" "$prefix"
    mkdir -p "$prefix/drive_c/xln"
    cp "$root/dist/uninst.exe" "$out/family_probe.exe" "$out/box_probe.exe" "$prefix/drive_c/xln/"
    seed "$(printf '[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\uninst.exe]\n"Version"="%s"\n\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\family_probe.exe]\n"Version"="%s"\n' "$2" "$2")"
}

drop_prefix() {
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null
    rm -rf "$prefix"
}

seed() {  # REGEDIT4 body
    printf 'REGEDIT4\n\n%s\n' "$1" >"$prefix/drive_c/seed.reg"
    WINEPREFIX="$prefix" wine regedit /S 'C:\seed.reg' >/dev/null 2>&1
    WINEPREFIX="$prefix" wineserver -w
}

# Nine applet subkeys: one more than the description may hold (TAVK1415).
seed_malformed_description() {
    local body='[HKEY_LOCAL_MACHINE\SOFTWARE\Tarnwell\802.11\UninstallInfo]
"FullProductName"="XLN 802.11g Network Adapter"'
    for i in 1 2 3 4 5 6 7 8 9; do
        body="$body
[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tarnwell\\802.11\\UninstallInfo\\Applets\\Applet$i]
\"Class\"=\"XlnApplet$i\""
    done
    seed "$body"
}

# run_with_box MODE CAPTION [LANG]: runs uninst.exe, reads the box with that
# caption (if any) and presses OK. Sets box (probe output) and code.
run_with_box() {
    (cd "$prefix/drive_c/xln" && LANG=${3:-en_US.UTF-8} WINEPREFIX="$prefix" \
        wine 'C:\xln\uninst.exe' "$1" >/dev/null 2>&1) &
    local pid=$!
    box=$(LANG=${3:-en_US.UTF-8} WINEPREFIX="$prefix" wine 'C:\xln\box_probe.exe' "$2" 10 2>/dev/null |
        iconv -f CP1252 -t UTF-8 | tr -d '\r')
    wait "$pid"
    code=$?
}

expect_box() {  # NAME CAPTION TEXT
    check "$1: caption" "caption: $2" "$(echo "$box" | grep '^caption: ')"
    check "$1: text" "text: $3" "$(echo "$box" | grep '^text: ' | head -1)"
    check "$1: exit code" 1 "$code"
}

scenario_quiet_english() {
    new_prefix quiet-en winxp
    seed_malformed_description
    run_with_box quiet "Uninstall Error"
    expect_box "quiet, English" "Uninstall Error" \
        "The removal of XLN 802.11g Network Adapter cannot continue due to error code TAVK1415."
    drop_prefix
}

scenario_quiet_german() {
    new_prefix quiet-de winxp
    seed_malformed_description
    run_with_box quiet "Deinstallationsfehler" de_DE.UTF-8
    expect_box "quiet, German" "Deinstallationsfehler" \
        "Das Entfernen von XLN 802.11g Network Adapter kann nicht fortgesetzt werden. Fehlercode: TAVK1415."
    drop_prefix
}

# "Custom caption" and "Custom head" as UTF-16 bytes with a terminator.
utf16_hex() {
    printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE | od -An -tx1 -v | tr -s ' \n' ',' |
        sed 's/^,//; s/,$//; s/$/,00,00/'
}

scenario_override() {  # VERSION STRING-FORM
    new_prefix "override-$1" "$1"
    seed_malformed_description
    local key='[HKEY_LOCAL_MACHINE\SOFTWARE\Tarnwell\802.11\LocalizedStrings\uninst\9\1]'
    if [ "$2" = string ]; then
        seed "$key
\"13\"=\"Custom caption\"
\"14\"=\"Custom head of %OEM_FULL_PRODUCT_NAME%\""
    else
        seed "$key
\"13\"=hex:$(utf16_hex "Custom caption")
\"14\"=hex:$(utf16_hex "Custom head of %OEM_FULL_PRODUCT_NAME%")"
    fi
    run_with_box quiet "Custom caption"
    expect_box "override on $1" "Custom caption" \
        "Custom head of XLN 802.11g Network Adapter TAVK1415."
    drop_prefix
}

scenario_silent() {
    new_prefix silent winxp
    seed_malformed_description
    (cd "$prefix/drive_c/xln" && WINEPREFIX="$prefix" wine 'C:\xln\uninst.exe' silent >/dev/null 2>&1) &
    local pid=$!
    WINEPREFIX="$prefix" wine 'C:\xln\box_probe.exe' "Uninstall Error" 5 >/dev/null 2>&1
    check "silent: no box" 1 "$?"
    wait "$pid"
    check "silent: exit code" 1 "$?"
    drop_prefix
}

scenario_families() {
    local version family
    for pair in win95:4 win98:1 winme:5 nt40:3 win2k:2 winxp:2 win10:2; do
        version=${pair%%:*}
        family=${pair##*:}
        new_prefix "family-$version" "$version"
        check "family under $version" "$family" \
            "$(WINEPREFIX="$prefix" wine 'C:\xln\family_probe.exe' 2>/dev/null | tr -d '\r')"
        drop_prefix
    done
}

build
start_xvfb
make_template
scenario_quiet_english
scenario_quiet_german
scenario_override winxp string
scenario_override win98 hex
scenario_silent
scenario_families
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
