# The adapter's devices and driver service as the device-manager tools
# find them, laid down in a scenario's prefix, and the tools placed beside
# uninst.exe. Sourced after lib.sh by the device scenarios and the demo.
# shellcheck shell=sh

# The tools' build for the Wine that runs here.
if [ "$WINE_BITS" = 64 ]; then DEVTOOLS_DIR=$WINE_ROOT/build/win64; else DEVTOOLS_DIR=$WINE_ROOT/dist; fi
NET_CLASS='{4d36e972-e325-11ce-bfc1-08002be10318}'
NET_CLASS_RE='\{4d36e972-e325-11ce-bfc1-08002be10318\}'
ADAPTER_ID='PCI\VEN_1B2C&DEV_0011'
USB_ADAPTER_ID='USB\VID_1B2C&PID_0020'
OTHER_ID='PCI\VEN_8086&DEV_1229'
TOOL_DIR='C:\Program Files\XLN'

# place_device_tools: the three tools beside uninst.exe.
place_device_tools() {
    for device_tool in XLNWLD2K XLNWLD9X XLNWLDNT; do
        cp "$DEVTOOLS_DIR/$device_tool.exe" "$WINEPREFIX/$UNINST_DIR_REL/$device_tool.exe"
    done
}

# devices add|count ...: the SetupAPI helper (tests/wine/tools/devices.c).
devices() { timeout "$WINE_TIMEOUT" wine "$(zpath "$WINE_TOOLS_DIR/devices.exe")" "$@" | tr -d '\r'; }

# sc ARG...: Wine's service control program.
sc_run() { timeout "$WINE_TIMEOUT" wine sc "$@" >>"$SCENARIO_DIR/run-output.txt" 2>&1; }

# describe_devices MODEL: the description asks for the device removal of
# that driver model (WDM2k, WDM98, NT4), with the adapter's ids and names.
describe_devices() {
    seed_registry "$WINE_ROOT/tests/wine/data/devices.reg"
    queue_reg_text "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tarnwell\\802.11\\UninstallInfo]
\"WinVer\"=\"$1\""
}

# lay_adapter_devices: on Windows 2000 and later, the adapter as two devices
# (one named by its hardware id, one by its description) whose drivers
# came from oem5.inf and oem6.inf, and another vendor's device that also
# uses oem6.inf ("again": the adapter's alone, the neighbour being there).
# The Net class key comes first: Wine's prefix lacks it.
lay_adapter_devices() {
    queue_reg_text "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Class\\$NET_CLASS]
\"Class\"=\"Net\""
    apply_registry
    lay_file 'C:\windows\inf\oem5.inf' '[Version]'
    lay_file 'C:\windows\inf\oem6.inf' '[Version]'
    devices add "$ADAPTER_ID" 'Wireless LAN Card' oem5.inf || check_failed "device 1 not made"
    devices add "$USB_ADAPTER_ID" 'XLN 802.11g USB Adapter' oem6.inf || check_failed "device 2 not made"
    [ "${1:-}" = again ] && return 0
    devices add "$OTHER_ID" 'Other Vendor Ethernet Adapter' oem6.inf || check_failed "device 3 not made"
}

# lay_adapter_2000: the devices and the driver service.
lay_adapter_2000() {
    lay_adapter_devices
    sc_run create XLNW11 type= kernel start= demand binPath= 'C:\windows\system32\drivers\xlnw11.sys' ||
        check_failed "sc create XLNW11 failed"
}

# expect_devices ID COUNT [-display]: how many Net (or Display) devices
# carry the hardware id.
expect_devices() {
    got=$(devices ${3:-} count "$1")
    if [ "$got" = "$2" ]; then say "ok: $2 device(s)${3:+ ($3)} with id $1"
    else check_failed "${got:-no answer} device(s)${3:+ ($3)} with id $1, expected $2"; fi
}

# run_tool TOOL [REQUEST-TEXT]: runs the tool itself with "remove" on the
# request given (none: no request file) and keeps its result in TOOL_RESULT.
run_tool() {
    request=$(unix_path 'C:\windows\XLNWL.dms')
    result=$(unix_path 'C:\windows\XLNWL.dmr')
    rm -f "$request" "$result"
    [ $# -gt 1 ] && printf '%s' "$2" | sed 's/$/\r/' >"$request"
    apply_registry
    timeout "$WINE_TIMEOUT" wine "$TOOL_DIR\\$1.exe" remove >>"$SCENARIO_DIR/run-output.txt" 2>&1
    TOOL_RESULT=$(tr -d '\r' <"$result" 2>/dev/null | tr '\n' ' ')
    rm -f "$request" "$result"
}

# tool_log_text 'C:\file': a run log's lines, time stamps and CRs dropped.
tool_log_text() { tr -d '\r' <"$(unix_path "$1")" 2>/dev/null | sed 's/^[^[]*\[[0-9]*\] //'; }

# expect_log_line FILE LINE: the run log holds the line exactly.
expect_log_line() {
    if tool_log_text "$1" | grep -q -x -F -- "$2"; then say "ok: log line '$2'"
    else check_failed "no log line '$2'"; fi
}

# lay_inf 'C:\windows\inf\NAME' MODELS-SECTION ID [utf16]: a driver INF
# whose Manufacturer names the models section (decorated for x86 and
# x64), where one model lists the id; as UTF-16 with its byte-order mark
# when asked, as many vendors ship them.
lay_inf() {
    text=$(printf '[Version]\r\nSignature="$Windows NT$"\r\nClass=Net\r\n\r\n[Manufacturer]\r\n%%Mfg%% = %s, NTx86, NTamd64\r\n\r\n[%s.NTx86]\r\n%%Card%% = Card.Install, %s\r\n\r\n[%s.NTamd64]\r\n%%Card%% = Card.Install, %s\r\n\r\n[Strings]\r\nMfg="%s"\r\nCard="Network card"\r\n' \
        "$2" "$2" "$3" "$2" "$3" "$2")
    path=$(unix_path "$1")
    mkdir -p "$(dirname "$path")"
    if [ "${4:-}" = utf16 ]; then
        { printf '\377\376'; printf '%s' "$text" | iconv -f UTF-8 -t UTF-16LE; } >"$path"
    else
        printf '%s' "$text" >"$path"
    fi
}
