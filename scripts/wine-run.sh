#!/usr/bin/env bash
# Runs one Windows program under Wine in the project's test environment. The
# prefix and display come from the caller (scripts/wine-env.sh prepares them).
set -euo pipefail
: "${WINEPREFIX:?run through scripts/test.sh or set WINEPREFIX}"
export WINEDEBUG=-all
# Drive X: of the test prefix points nowhere: a drive with no medium in it.
[ -L "$WINEPREFIX/dosdevices/x:" ] || ln -s /nonexistent-pelmira-medium "$WINEPREFIX/dosdevices/x:"
exec env LC_ALL=ja_JP.UTF-8 "${PELMIRA_WINE:-wine}" "$@"
