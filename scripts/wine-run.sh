#!/usr/bin/env bash
# Runs one Windows program under Wine in the project's test environment. The
# prefix and display come from the caller (scripts/wine-env.sh prepares them).
set -euo pipefail
: "${WINEPREFIX:?run through scripts/test.sh or set WINEPREFIX}"
export WINEDEBUG=-all
# A run for one Windows version (PELMIRA_WINDOWS: winxp, win10...) or at
# another DPI (PELMIRA_DPI: 120, 144...) gets a prefix of its own, copied
# from the template at its first use after scripts/wine-env.sh made the
# run's prefix, with one registry value set: $1 = the prefix's suffix, the
# rest = the value for "reg add". Wine reads the DPI when its server starts,
# so the server that wrote it ends first.
own_prefix() {
    local suffix=$1
    shift
    export WINEPREFIX="$WINEPREFIX-$suffix"
    [ -f "$WINEPREFIX/.pelmira-run" ] && return 0
    : "${PELMIRA_PREFIX_TEMPLATE:?run through scripts/test.sh or set PELMIRA_PREFIX_TEMPLATE}"
    rm -rf "$WINEPREFIX"
    cp -a "$PELMIRA_PREFIX_TEMPLATE" "$WINEPREFIX"
    env LC_ALL=ja_JP.UTF-8 "${PELMIRA_WINE:-wine}" reg add "$@" /f >/dev/null
    "${WINESERVER:-wineserver}" -w
    touch "$WINEPREFIX/.pelmira-run"
}
if [ -n "${PELMIRA_WINDOWS:-}" ]; then
    own_prefix "$PELMIRA_WINDOWS" 'HKCU\Software\Wine' /v Version /d "$PELMIRA_WINDOWS"
fi
if [ -n "${PELMIRA_DPI:-}" ]; then
    own_prefix "dpi$PELMIRA_DPI" 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
        /d "$PELMIRA_DPI"
fi
# Drive X: of the test prefix points nowhere: a drive with no medium in it.
[ -L "$WINEPREFIX/dosdevices/x:" ] || ln -s /nonexistent-pelmira-medium "$WINEPREFIX/dosdevices/x:"
exec env LC_ALL=ja_JP.UTF-8 "${PELMIRA_WINE:-wine}" "$@"
