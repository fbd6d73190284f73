#!/bin/sh
# A realistic installation removed whole: files named through the path
# macros and wildcards (a read-only one among them), the listed registry
# keys in their order with the search of subkeys and the only-when-empty
# rule, the applets' start-up values, the service programs, the uninstall
# registration, the vendor key and the Start-menu shortcut; everything not
# named stays. On Windows Me the running applets' windows are closed first.
# Usage: installation.sh win98|winxp   (each runs its own list of versions)
#        installation.sh VERSION MODE  (one run)
set -u
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/../box.sh"
. "$(dirname "$0")/../installation.sh"

if [ $# -lt 2 ]; then
    case ${1:-winxp} in
        win98) runs='win98:silent win98:quiet winme:silent nt40:silent' ;;
        *) runs='winxp:silent winxp:quiet win2k:silent win10:silent' ;;
    esac
    run_each "$0" $runs
    exit
fi

version=$1 mode=$2
# A box that should not appear would hold the run: fail it early.
WINE_TIMEOUT=60
scenario_begin "installation-$version-$mode" "$version"
lay_installation
snapshot before

extra=""
if [ "$version" = winme ]; then
    # The applets are running; their windows must be closed, after which
    # they exit and their programs can be deleted.
    apply_registry
    wine 'C:\Program Files\XLN\xlnutil.exe' XLNUtilityWnd 'XLN Wireless Utility' &
    wine 'C:\Program Files\XLN\xlntray.exe' XLNTrayWnd 'XLN Tray Monitor' &
    probe wait 'XLN Wireless Utility' 20000 >/dev/null && probe wait 'XLN Tray Monitor' 20000 >/dev/null ||
        check_failed "the applets did not start"
    extra='^\+ file \./applets-closed\.log	'
fi

expect_exit 0 "$mode"
snapshot after
expect_installation_removed "$version" before after $extra
expect_services_ran
if [ "$version" = winme ]; then
    closed=$(tr -d '\r' <"$(unix_path 'C:\applets-closed.log')" 2>/dev/null | sort | tr '\n' ' ')
    expect_equal "applet windows closed" "WM_CLOSE XLNTrayWnd WM_CLOSE XLNUtilityWnd " "$closed"
fi
