#!/bin/sh
# Products described only by the INI file beside the program (no registry
# description). "verbose" never reads the INI: exit code 1 (the failed
# registry load) and nothing changes. "silent" then removes both sections,
# the highest number first (their registered uninstall commands run in that
# order, each followed by its local removal), and ends with 0: the listed
# files, keys and Run value, the uninstall entries, the vendor key that is
# not kept, and the USB product's OEM INF with its PNF. Another product's
# OEM INF and everything not named stay.
# Usage: ini-sections.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
data="$WINE_ROOT/tests/wine/data"
WINE_TIMEOUT=60
scenario_begin "ini-sections-$1" "$1"

seed_registry "$data/ini-products.reg"
sed 's/$/\r/' "$data/uninst.ini" >"$(unix_path 'C:\Program Files\XLN\uninst.ini')"
lay_file 'C:\windows\system32\drivers\xlnusb.sys' 'usb driver'
lay_file 'C:\windows\system32\drivers\xlnpci.sys' 'pci driver'
lay_file 'C:\Program Files\XLN\USB\xlnusb.dll' 'usb library'
lay_file 'C:\Program Files\XLN\USB\xlnusbui.dll' 'usb pages'
lay_file 'C:\Program Files\XLN\USB\notes.txt' 'not listed'
lay_file 'C:\Program Files\XLN\PCI\xlnpci.dll' 'pci library'
place_tool record_args.exe 'C:\Program Files\XLN\USB\setup.exe'
place_tool record_args.exe 'C:\Program Files\XLN\PCI\setup.exe'
lay_file 'C:\windows\inf\oem7.inf' '[Strings]
FullProductName="XLN 802.11g USB Adapter"'
lay_file 'C:\windows\inf\oem7.pnf' 'precompiled'
lay_file 'C:\windows\inf\oem8.inf' '[Strings]
FullProductName="Other Vendor Adapter"'
lay_file 'C:\windows\inf\oem8.pnf' 'precompiled'
snapshot before

expect_exit 1 verbose
snapshot after-verbose
expect_only_changes before after-verbose

expect_exit 0 silent
snapshot after
uninstall='HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall'
expect_only_changes after-verbose after \
    "^- reg $uninstall\\\\XLN USB(\\\\|	|\$)" \
    "^- reg $uninstall\\\\XLN PCI(\\\\|	|\$)" \
    '^- reg HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run	"XLNUsbTray"=' \
    '^- reg HKLM\\Software\\Tarnwell\\USB(\\|	|$)' \
    '^- reg HKLM\\System\\CurrentControlSet\\Services\\XLNUSB(\\|	|$)' \
    '^- reg HKLM\\System\\CurrentControlSet\\Services\\XLNPCI(\\|	|$)' \
    '^- reg HKLM\\Software\\XLN Shared\\USB$' \
    '^- file \./windows/system32/drivers/xlnusb\.sys	' \
    '^- file \./windows/system32/drivers/xlnpci\.sys	' \
    '^- file \./Program Files/XLN/USB/xlnusb\.dll	' \
    '^- file \./Program Files/XLN/USB/xlnusbui\.dll	' \
    '^- file \./Program Files/XLN/PCI/xlnpci\.dll	' \
    '^- file \./windows/inf/oem7\.inf	' \
    '^\+ file \./services-called\.log	'
# Wine's own INF caches count as its churn in the snapshots: ask directly.
expect_file_absent 'C:\windows\inf\oem7.pnf'
expect_file_present 'C:\windows\inf\oem8.inf'
expect_file_present 'C:\windows\inf\oem8.pnf'
expect_key_present 'HKLM\Software\Tarnwell\PCI'
expect_key_present 'HKLM\Software\XLN Shared\Other'
expect_value 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' OtherVendorTool '"C:\\Other\\tool.exe"'

got=$(tr -d '\r' <"$(unix_path 'C:\services-called.log')" | sed 's/|.*//' | tr '[:upper:]' '[:lower:]')
want='start c:\program files\xln\pci\setup.exe
end c:\program files\xln\pci\setup.exe
start c:\program files\xln\usb\setup.exe
end c:\program files\xln\usb\setup.exe'
if [ "$got" = "$want" ]; then say "ok: section 1 ran before section 0"
else check_failed "registered commands ran as: $got"; fi
