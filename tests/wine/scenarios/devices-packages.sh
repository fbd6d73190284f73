#!/bin/sh
# The tool for Windows 2000 and later, started by uninst.exe "silent" with
# a run log, where the adapter's driver service is also the driver of a
# partner's card that stays: the adapter goes, the service stays (and the
# result and the log say so), and so does the partner's card. Of the INF
# folder's packages, the adapter's own goes, and so does an earlier
# package of the adapter (UTF-16, used by no device); a package of the
# adapter that the partner's card uses stays, and so does another
# vendor's. Then the tool alone removes the partner's card, and the
# service, its last user gone, goes too.
# Usage: devices-packages.sh winxp|win10 (any other word: win10)
set -u
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/../box.sh"
. "$(dirname "$0")/../devices.sh"

case ${1:-winxp} in winxp) version=winxp ;; *) version=win10 ;; esac
WINE_TIMEOUT=60
PARTNER_ID='PCI\VEN_1B2D&DEV_0001'
scenario_begin "devices-packages-$version" "$version"
place_device_tools
describe_devices WDM2k
queue_reg_text "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Class\\$NET_CLASS]
\"Class\"=\"Net\""
apply_registry
lay_inf 'C:\windows\inf\oem5.inf' XLN "$ADAPTER_ID"
lay_inf 'C:\windows\inf\oem7.inf' XLN "$ADAPTER_ID" utf16
lay_inf 'C:\windows\inf\oem8.inf' Other "$OTHER_ID"
lay_inf 'C:\windows\inf\oem9.inf' XLN "$ADAPTER_ID"
devices add "$ADAPTER_ID" 'Wireless LAN Card' oem5.inf XLNW11 || check_failed "the adapter not made"
devices add "$PARTNER_ID" 'Partner Wireless Card' oem9.inf XLNW11 || check_failed "the partner's card not made"
sc_run create XLNW11 type= kernel start= demand binPath= 'C:\windows\system32\drivers\xlnw11.sys' ||
    check_failed "sc create XLNW11 failed"
snapshot before

expect_exit 0 silent '/log=C:\run.log'
snapshot after
expect_devices "$ADAPTER_ID" 0
expect_devices "$PARTNER_ID" 1
expect_only_changes before after \
    '^- reg HKLM\\Software\\Tarnwell(\\|	|$)' \
    '^- file \./windows/inf/oem[57]\.inf	' \
    '^\+ file \./run\.log	' \
    '^- reg HKLM\\System\\CurrentControlSet\\Enum\\ROOT\\NET\\0000(	|$)' \
    "^- reg HKLM\\\\System\\\\CurrentControlSet\\\\Control\\\\Class\\\\$NET_CLASS_RE\\\\0000(	|\$)"
expect_key_present 'HKLM\System\CurrentControlSet\Services\XLNW11'
expect_log_line 'C:\run.log' 'device tool request: Log=C:\run.log'
expect_log_line 'C:\run.log' 'XLNWLD2K: removed device ROOT\NET\0000'
expect_log_line 'C:\run.log' 'XLNWLD2K: kept service XLNW11: another device uses it'
expect_log_line 'C:\run.log' 'XLNWLD2K: removed driver package oem5.inf'
expect_log_line 'C:\run.log' 'XLNWLD2K: removed driver package oem7.inf'
expect_log_line 'C:\run.log' 'XLNWLD2K: kept driver package oem9.inf: a device uses it'
expect_log_line 'C:\run.log' 'XLNWLD2K: ended: 1 device(s) removed'
expect_log_line 'C:\run.log' 'step RemoveDevices: ends with result 0'

# The tool alone: while the partner's card uses it, the result says the
# service stays; with the card gone, the service and its package go.
run_tool XLNWLD2K "ServiceName=XLNW11
HardwareID=$ADAPTER_ID"
expect_equal "result for a service still used" "0 XLNWLD2K 0 kept service XLNW11 " "$TOOL_RESULT"
run_tool XLNWLD2K "Class=Net
ServiceName=XLNW11
HardwareID=$ADAPTER_ID
HardwareID=$PARTNER_ID"
expect_equal "result for the partner's card" "1 XLNWLD2K 0 " "$TOOL_RESULT"
snapshot alone
expect_devices "$PARTNER_ID" 0
expect_key_absent 'HKLM\System\CurrentControlSet\Services\XLNW11'
expect_file_absent 'C:\windows\inf\oem9.inf'
expect_file_present 'C:\windows\inf\oem8.inf'
