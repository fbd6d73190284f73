#!/bin/sh
# The device-manager tool for Windows 2000 and later, started by uninst.exe
# "silent": the adapter's two devices (one named by its hardware id, one by
# its description) and its driver service go, another vendor's device of
# the same class stays, and of the two OEM INF files only the one that no
# remaining device uses is uninstalled. Then the tool on its own: a request
# that names nothing installed is a success that removes nothing, a
# missing request is a failure with the system's error code, a request
# without classes finds a network adapter, and a generic id or another
# class's device is never taken: display devices, one with a class-code
# id and one with an id the request lists, stay while the adapter goes.
# Usage: devices-2000.sh winxp|win10 (any other word: win10)
set -u
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/../box.sh"
. "$(dirname "$0")/../devices.sh"

case ${1:-winxp} in winxp) version=winxp ;; *) version=win10 ;; esac
WINE_TIMEOUT=60
scenario_begin "devices-2000-$version" "$version"
place_device_tools
describe_devices WDM2k
lay_adapter_2000
snapshot before

expect_exit 0 silent
snapshot after
expect_devices "$ADAPTER_ID" 0
expect_devices "$USB_ADAPTER_ID" 0
expect_devices "$OTHER_ID" 1
expect_only_changes before after \
    '^- reg HKLM\\Software\\Tarnwell(\\|	|$)' \
    '^- reg HKLM\\System\\CurrentControlSet\\Services\\XLNW11(\\|	|$)' \
    '^- file \./windows/inf/oem5\.inf	' \
    '^- reg HKLM\\System\\CurrentControlSet\\Enum\\ROOT\\NET\\000[01](	|$)' \
    "^- reg HKLM\\\\System\\\\CurrentControlSet\\\\Control\\\\Class\\\\$NET_CLASS_RE\\\\000[01](	|\$)"
expect_file_present 'C:\windows\inf\oem6.inf'
expect_file_absent 'C:\windows\XLNWL.dms'
expect_file_absent 'C:\windows\XLNWL.dmr'

# The tool alone, on a request for what is not there.
snapshot alone-before
run_tool XLNWLD2K 'Class=Net
Class=NoSuchClass
ServiceName=NoSuchService
Desc=No Such Adapter
HardwareID=PCI\VEN_DEAD&DEV_BEEF'
expect_equal "result for nothing installed" "0 XLNWLD2K 0 " "$TOOL_RESULT"
run_tool XLNWLD2K
expect_equal "result without a request" "-1 XLNWLD2K 2 " "$TOOL_RESULT"
snapshot alone-after
expect_only_changes alone-before alone-after
expect_devices "$OTHER_ID" 1

# A request without classes looks at the network adapters; the last user
# of oem6.inf gone, that INF goes too.
run_tool XLNWLD2K "HardwareID=$OTHER_ID"
expect_equal "result for the other device" "1 XLNWLD2K 0 " "$TOOL_RESULT"
expect_devices "$OTHER_ID" 0
expect_file_absent 'C:\windows\inf\oem6.inf'

# A generic id is refused, logged; without classes a display device named
# by its id stays.
DISPLAY_ID='PCI\VEN_10DE&DEV_0020'
devices add "$ADAPTER_ID" 'Wireless LAN Card' || check_failed "adapter not made again"
devices -display add 'PCI\CC_0300' 'Standard VGA Adapter' || check_failed "display 1 not made"
devices -display add "$DISPLAY_ID" 'Other Vendor Display' || check_failed "display 2 not made"
lay_file 'C:\tool.log' ''
run_tool XLNWLD2K "HardwareID=PCI\CC_0300
HardwareID=$DISPLAY_ID
HardwareID=$ADAPTER_ID
Log=C:\tool.log"
expect_equal "result with a generic id" "1 XLNWLD2K 0 " "$TOOL_RESULT"
expect_devices "$ADAPTER_ID" 0
expect_devices 'PCI\CC_0300' 1 -display
expect_devices "$DISPLAY_ID" 1 -display
expect_log_line 'C:\tool.log' 'XLNWLD2K: refused hardware id PCI\CC_0300: a generic id names no one vendor'"'"'s device'
