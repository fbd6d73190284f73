#!/bin/sh
# Files by evidence. The realistic installation, whose driver and
# co-installer keep the driver kit's version resource (it names Microsoft)
# and are listed by the product's INF (and its OEM copy), is removed whole,
# with the driver's service key. The same description also names Windows'
# data files (win.ini, sys*.ini, drivers\etc\hosts, locale.nls, l_i*.nls),
# every vendor's OEM packages (oem*.inf, oem*.pnf) and another maker's file:
# all of them stay and none waits for the restart. The log says why each
# stays and what made each of the product's files outside its own folders
# the product's.
# Usage: files-evidence.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/../box.sh"
. "$(dirname "$0")/../installation.sh"
WINE_TIMEOUT=60
scenario_begin "files-evidence-$1" "$1"

PRODUCT_INF='[Version]
Signature="$Windows NT$"
Class=Net
Provider=%XLN%

[XLN.NTx86]
%DeviceDesc%=XLNW11, PCI\VEN_1A2B&DEV_0C11

[XLNW11.NT]
CopyFiles=XLNW11.Files, @xlnw11ui.dll

[XLNW11.NT.Services]
AddService=XLNW11, 2, XLNW11.Service

[XLNW11.NT.CoInstallers]
CopyFiles=XLNW11.CoInstaller

[SourceDisksFiles.x86]
xlnw11.sys = 1
xlnw11co.dll = 1

[Strings]
XLN="XLN Technologies"
FullProductName="XLN 802.11g Network Adapter"
DeviceDesc="XLN 802.11g Network Adapter"'
OTHER_INF='[Version]
Signature="$Windows NT$"
Provider="Contoso"

[SourceDisksFiles]
ctsonet.sys = 1

[Strings]
FullProductName="Contoso Wireless"'

lay_installation
# The driver and co-installer as the kit builds them; the product's INF
# and its OEM copy beside another vendor's package.
place_tool kit_default.exe 'C:\windows\system32\drivers\xlnw11.sys'
place_tool kit_default.exe 'C:\windows\system32\xlnw11co.dll'
lay_file 'C:\windows\inf\xlnw11.inf' "$PRODUCT_INF"
lay_file 'C:\windows\inf\oem7.inf' "$PRODUCT_INF"
lay_file 'C:\windows\inf\oem7.pnf' 'precompiled'
lay_file 'C:\windows\inf\oem8.inf' "$OTHER_INF"
lay_file 'C:\windows\inf\oem8.pnf' 'precompiled'
place_tool other_vendor.exe 'C:\windows\system32\xlnctso.dll'
WINDOWS_DATA='C:\windows\win.ini C:\windows\system.ini C:\windows\system32\drivers\etc\hosts
C:\windows\system32\locale.nls C:\windows\system32\l_intl.nls'
for file in $WINDOWS_DATA; do
    # Wine's prefix has them; a missing one is laid so that the rule is shown.
    [ -f "$(unix_path "$file")" ] || { say "laying $file"; lay_file "$file" 'Windows data'; }
done
queue_reg_text '[HKEY_LOCAL_MACHINE\SOFTWARE\Tarnwell\802.11\UninstallInfo\InstalledFiles]
"Others"="%WIN_DIR%\\win.ini;%WIN_DIR%\\sys*.ini;%WIN_SYS_DIR%\\drivers\\etc\\hosts;%WIN_SYS_DIR%\\locale.nls;%WIN_SYS_DIR%\\l_i*.nls;%WIN_DIR%\\INF\\oem*.inf;%WIN_DIR%\\INF\\oem*.pnf;%WIN_SYS_DIR%\\xlnctso.dll"
'
snapshot before

LOG='C:\windows\temp\files-evidence.log'
expect_exit 0 silent "/log=$LOG"
snapshot after
expect_installation_removed "$1" before after '^- file \./windows/inf/oem7\.inf	'
for file in $WINDOWS_DATA 'C:\windows\inf\oem8.inf' 'C:\windows\inf\oem8.pnf' 'C:\windows\system32\xlnctso.dll'; do
    expect_file_present "$file"
done
expect_file_absent 'C:\windows\inf\oem7.pnf'

# Nothing of theirs waits for the restart: only the program's own copy does.
pending=$(grep -i -E 'PendingFileRenameOperations' "$(latest_snapshot)"; cat "$(unix_path 'C:\windows\WININIT.INI')" 2>/dev/null)
case $(printf '%s' "$pending" | tr '[:upper:]' '[:lower:]') in
    *win.ini* | *system.ini* | *hosts* | *.nls* | *oem8* | *xlnctso*) check_failed "a file of theirs waits for the restart: $pending" ;;
    *) say "ok: nothing of Windows' or another vendor's waits for the restart" ;;
esac

expect_log_lines \
    "delete file C:\\windows\\win.ini: refused by a guardrail: Windows' own data file" \
    "delete file C:\\windows\\system.ini: refused by a guardrail: Windows' own data file" \
    "drivers\\etc\\hosts: refused by a guardrail: Windows' own data file" \
    "delete file C:\\windows\\system32\\locale.nls: refused by a guardrail: Windows' own data file" \
    "l_intl.nls: refused by a guardrail: Windows' own data file" \
    "delete file C:\\windows\\INF\\oem8.inf: kept: another vendor's package" \
    "delete file C:\\windows\\INF\\oem8.pnf: kept: another vendor's package" \
    "xlnctso.dll: kept: another vendor's file" \
    "the product's file C:\\windows\\system32\\drivers\\xlnw11.sys: the product's INF copies it" \
    "the product's file C:\\windows\\system32\\xlnw11co.dll: the product's INF copies it" \
    "the product's file C:\\windows\\INF\\oem7.inf: one of the product's driver packages" \
    "delete key HKLM\\SYSTEM\\CurrentControlSet\\Services\\XLNW11: done"
