#!/bin/sh
# The device-manager tools for Windows 98 and NT 4, started by uninst.exe
# "silent" on the registry layouts of those systems. On Windows 98 the
# adapter's Enum entries, their driver keys and the service's entries go,
# the neighbours stay, and the restart question follows (answered Cancel):
# Windows 9x takes note of the removal at its next start. Of the protocol
# instances bound to the adapter, the one the other vendor's adapter also
# binds stays; the one bound to the adapter's two devices only goes with
# its driver key, and so does the client bound to it alone, while the
# service that the staying protocol also binds stays. On NT 4 the
# adapter's NetworkCards entries go with exactly the services they name
# (of type 4, adapter, which no listing of driver services shows) and the
# driver service, and with their entries in the protocols' Linkage values
# and their pairs in NetBIOS's LanaMap; the other card, its service, its
# bindings and an orphan instance that no card names stay; NT 4 applies
# the change at its next start, so the restart question follows. Each tool
# writes what it removed into the run log. Each tool alone on a request
# for nothing reports success.
# Usage: devices-legacy.sh win98|nt40 (any other word: nt40)
set -u
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/../box.sh"
. "$(dirname "$0")/../devices.sh"

case ${1:-win98} in win98) version=win98 tool=XLNWLD9X ;; *) version=nt40 tool=XLNWLDNT ;; esac
export LANG=en_US.UTF-8
WINE_TIMEOUT=60
CCS='HKLM\\System\\CurrentControlSet'
CARDS='HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards'
scenario_begin "devices-legacy-$version" "$version"
place_device_tools

if [ "$version" = win98 ]; then
    describe_devices WDM98
    seed_registry "$WINE_ROOT/tests/wine/data/devices-9x.reg"
    snapshot before
    run_with_box_answer 'Restart Windows' Cancel silent '/log=C:\run.log'
    expect_equal "exit code" 0 "$LAST_EXIT"
    expect_equal "question after the removal" 'Restart Windows' "$BOX_CAPTION"
    snapshot after
    expect_only_changes before after \
        '^- reg HKLM\\Software\\Tarnwell(\\|	|$)' \
        '^\+ file \./run\.log	' \
        '^- reg HKLM\\Enum\\Network\\MSTCP\\0001(\\|	|$)' \
        "^- reg $CCS\\\\Services\\\\Class\\\\NetTrans\\\\0001(	|\$)" \
        '^- reg HKLM\\Enum\\PCI\\VEN_1B2C&DEV_0011(\\|	|$)' \
        '^- reg HKLM\\Enum\\PCMCIA\\XLN-PCCARD-0011(\\|	|$)' \
        '^- reg HKLM\\Enum\\ROOT\\NET(\\0005)?(	|$)' \
        "^- reg $CCS\\\\Services\\\\Class\\\\Net\\\\000[12](\\\\|	|\$)" \
        "^- reg $CCS\\\\Services\\\\(VxD\\\\)?XLNW11(	|\$)" \
        '^- reg HKLM\\Enum\\Network\\VREDIR(\\|	|$)' \
        "^- reg $CCS\\\\Services\\\\Class\\\\NetClient\\\\0000(	|\$)"
    expect_key_absent 'HKLM\System\CurrentControlSet\Services\XLNW11'
    expect_key_absent 'HKLM\System\CurrentControlSet\Services\VxD\XLNW11'
    expect_key_absent 'HKLM\System\CurrentControlSet\Services\Class\Net\0002'
    expect_key_present 'HKLM\System\CurrentControlSet\Services\Class\Net\0000'
    expect_key_present 'HKLM\Enum\ROOT\PORTS\0000'
    expect_key_present 'HKLM\Enum\Network\MSTCP\0000'
    expect_key_present 'HKLM\System\CurrentControlSet\Services\Class\NetTrans\0000'
    expect_log_line 'C:\run.log' 'device tool request: Log=C:\run.log'
    expect_log_line 'C:\run.log' 'XLNWLD9X: removed device Enum\PCI\VEN_1B2C&DEV_0011\BUS_00&DEV_0A&FUNC_00 (Wireless LAN Card)'
    expect_log_line 'C:\run.log' 'XLNWLD9X: kept protocol Enum\Network\MSTCP\0000: another adapter binds it'
    expect_log_line 'C:\run.log' 'XLNWLD9X: removed protocol Enum\Network\MSTCP\0001'
    expect_log_line 'C:\run.log' 'XLNWLD9X: removed client Enum\Network\VREDIR\0000'
    expect_log_line 'C:\run.log' 'XLNWLD9X: kept service Enum\Network\VSERVER\0000: a protocol left binds it'
    expect_key_present 'HKLM\Enum\Network\VSERVER\0000'
    expect_key_present 'HKLM\System\CurrentControlSet\Services\Class\NetService\0000'
    expect_log_line 'C:\run.log' 'XLNWLD9X: ended: 3 device(s) removed'
else
    describe_devices NT4
    seed_registry "$WINE_ROOT/tests/wine/data/devices-nt4.reg"
    apply_registry
    for service in XLNW11 XLNW11X; do
        sc_run create $service type= kernel start= demand binPath= "C:\\windows\\system32\\drivers\\$service.sys" ||
            check_failed "sc create $service failed"
    done
    snapshot before
    run_with_box_answer 'Restart Windows' Cancel silent '/log=C:\run.log'
    expect_equal "exit code" 0 "$LAST_EXIT"
    expect_equal "question after the removal" 'Restart Windows' "$BOX_CAPTION"
    snapshot after
    expect_only_changes before after \
        '^- reg HKLM\\Software\\Tarnwell(\\|	|$)' \
        '^\+ file \./run\.log	' \
        "^- reg $CARDS\\\\1[13](\\\\|	|\$)" \
        "^- reg $CCS\\\\Services\\\\XLNW11(1|2)?(\\\\|	|\$)" \
        "^[-+] reg $CCS\\\\Services\\\\(Tcpip|NetBT|NetBIOS)\\\\Linkage	\"(Bind|Export|Route|LanaMap)\"="
    for service in XLNW11 XLNW111 XLNW112; do expect_key_absent "HKLM\\System\\CurrentControlSet\\Services\\$service"; done
    expect_key_absent 'HKLM\System\CurrentControlSet\Services\XLNW111\Parameters'
    for service in XLNW11X XLNW113 E100B1; do expect_key_present "HKLM\\System\\CurrentControlSet\\Services\\$service"; done
    expect_key_present 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\NetworkCards\12'
    expect_log_line 'C:\run.log' 'XLNWLDNT: removed network card 11 (XLN 802.11g Network Adapter), its service XLNW111'
    expect_log_line 'C:\run.log' 'XLNWLDNT: removed network card 13 (Wireless LAN Card), its service XLNW112'
    expect_log_line 'C:\run.log' 'XLNWLDNT: ended: 2 device(s) removed'
    # Only the other vendor's card is left in the bindings, with its lana.
    LINKAGE='HKLM\System\CurrentControlSet\Services'
    expect_value "$LINKAGE\Tcpip\Linkage" Bind 'str(7):"\\Device\\E100B1\0"'
    expect_value "$LINKAGE\Tcpip\Linkage" Route 'str(7):"\"E100B1\"\0"'
    expect_value "$LINKAGE\NetBT\Linkage" Export 'str(7):"\\Device\\NetBT_E100B1\0"'
    expect_value "$LINKAGE\NetBIOS\Linkage" Bind 'str(7):"\\Device\\NetBT_E100B1\0"'
    expect_value "$LINKAGE\NetBIOS\Linkage" LanaMap 'hex:01,01'
    expect_log_line 'C:\run.log' 'XLNWLDNT: removed binding \Device\Nbf_XLNW112 from Services\NetBIOS\Linkage Bind and its LanaMap pair (lana 2)'
fi

# The tool alone, on a request for what is not there.
snapshot alone-before
run_tool "$tool" 'Class=Net
ServiceName=NoSuchService
Desc=No Such Adapter
HardwareID=PCI\VEN_DEAD&DEV_BEEF'
expect_equal "result for nothing installed" "0 $tool 0 " "$TOOL_RESULT"
snapshot alone-after
expect_only_changes alone-before alone-after
