#!/bin/sh
# The device-manager tools for Windows 98 and NT 4, started by uninst.exe
# "silent" on the registry layouts of those systems. On Windows 98 the
# adapter's Enum entries, their driver keys and the service's entries go,
# the neighbours stay, and the restart question follows (answered Cancel):
# Windows 9x takes note of the removal at its next start. On NT 4 the
# adapter's NetworkCards entries and the driver service with its numbered
# instances go, the other card and services stay, and no restart is asked.
# Each tool alone on a request for nothing reports success.
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
    run_with_box_answer 'Restart Windows' Cancel silent
    expect_equal "exit code" 0 "$LAST_EXIT"
    expect_equal "question after the removal" 'Restart Windows' "$BOX_CAPTION"
    snapshot after
    expect_only_changes before after \
        '^- reg HKLM\\Software\\Tarnwell(\\|	|$)' \
        '^- reg HKLM\\Enum\\PCI\\VEN_1B2C&DEV_0011(\\|	|$)' \
        '^- reg HKLM\\Enum\\PCMCIA\\XLN-PCCARD-0011(\\|	|$)' \
        '^- reg HKLM\\Enum\\ROOT\\NET(\\0005)?(	|$)' \
        "^- reg $CCS\\\\Services\\\\Class\\\\Net\\\\000[12](\\\\|	|\$)" \
        "^- reg $CCS\\\\Services\\\\(VxD\\\\)?XLNW11(	|\$)"
    expect_key_absent 'HKLM\System\CurrentControlSet\Services\XLNW11'
    expect_key_absent 'HKLM\System\CurrentControlSet\Services\VxD\XLNW11'
    expect_key_absent 'HKLM\System\CurrentControlSet\Services\Class\Net\0002'
    expect_key_present 'HKLM\System\CurrentControlSet\Services\Class\Net\0000'
    expect_key_present 'HKLM\Enum\ROOT\PORTS\0000'
else
    describe_devices NT4
    seed_registry "$WINE_ROOT/tests/wine/data/devices-nt4.reg"
    apply_registry
    for service in XLNW11 XLNW111 XLNW112 XLNW11X E100B1; do
        sc_run create $service type= kernel start= demand binPath= "C:\\windows\\system32\\drivers\\$service.sys" ||
            check_failed "sc create $service failed"
    done
    snapshot before
    expect_exit 0 silent
    snapshot after
    expect_only_changes before after \
        '^- reg HKLM\\Software\\Tarnwell(\\|	|$)' \
        "^- reg $CARDS\\\\1[13](\\\\|	|\$)" \
        "^- reg $CCS\\\\Services\\\\XLNW11(1|2)?(\\\\|	|\$)"
    for service in XLNW11 XLNW111 XLNW112; do expect_key_absent "HKLM\\System\\CurrentControlSet\\Services\\$service"; done
    expect_key_present 'HKLM\System\CurrentControlSet\Services\XLNW11X'
    expect_key_present 'HKLM\System\CurrentControlSet\Services\E100B1'
    expect_key_present 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\NetworkCards\12'
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
