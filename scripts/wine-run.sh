#!/usr/bin/env bash
# Runs one Windows program under Wine in the project's test environment. The
# prefix and display come from the caller (scripts/wine-env.sh prepares them).
set -euo pipefail
: "${WINEPREFIX:?run through scripts/test.sh or set WINEPREFIX}"
export WINEDEBUG=-all
# A run for one Windows version (PELMIRA_WINDOWS: winxp, win10...) gets a
# prefix of its own set to that version, copied from the template at its
# first use after scripts/wine-env.sh made the run's prefix.
if [ -n "${PELMIRA_WINDOWS:-}" ]; then
    export WINEPREFIX="$WINEPREFIX-$PELMIRA_WINDOWS"
    if [ ! -f "$WINEPREFIX/.pelmira-windows" ]; then
        : "${PELMIRA_PREFIX_TEMPLATE:?run through scripts/test.sh or set PELMIRA_PREFIX_TEMPLATE}"
        rm -rf "$WINEPREFIX"
        cp -a "$PELMIRA_PREFIX_TEMPLATE" "$WINEPREFIX"
        env LC_ALL=ja_JP.UTF-8 "${PELMIRA_WINE:-wine}" reg add 'HKCU\Software\Wine' \
            /v Version /d "$PELMIRA_WINDOWS" /f >/dev/null
        touch "$WINEPREFIX/.pelmira-windows"
    fi
fi
# Drive X: of the test prefix points nowhere: a drive with no medium in it.
[ -L "$WINEPREFIX/dosdevices/x:" ] || ln -s /nonexistent-pelmira-medium "$WINEPREFIX/dosdevices/x:"
exec env LC_ALL=ja_JP.UTF-8 "${PELMIRA_WINE:-wine}" "$@"
