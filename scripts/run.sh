#!/usr/bin/env bash
# Builds Pelmira32 and runs it under Wine. With a display ($DISPLAY) it opens
# there; without one it runs headless in a Wine virtual desktop on Xvfb, saves
# a screenshot of the screen and closes the program again.
#   scripts/run.sh [image-file]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

bash scripts/setup.sh
pelmira_cross_build build/win32 i686
pelmira_choose_wine
if [ "$PELMIRA_WIN_ARCH" != i686 ]; then
    echo "note: this machine cannot execute 32-bit code; running the x86_64 build instead."
    pelmira_cross_build "$PELMIRA_WIN_BUILD" x86_64
fi
bin=$PELMIRA_WIN_BUILD/bin
args=()
[ $# -ge 1 ] && args+=("$1")

if [ -n "${DISPLAY:-}" ]; then
    pelmira_prepare_prefix
    exec env LC_ALL=ja_JP.UTF-8 "$PELMIRA_WINE" "$bin/Pelmira32.exe" "${args[@]}"
fi

trap pelmira_stop_xvfb EXIT
pelmira_start_xvfb 24 93
pelmira_prepare_prefix
shot=$PELMIRA_BUILD/screenshot.png
exe=$(pelmira_wine winepath -w "$bin/Pelmira32.exe" 2>/dev/null)
pelmira_wine explorer /desktop=Pelmira,1024x768 "$exe" "${args[@]}" >/dev/null 2>&1 &
if ! pelmira_wine "$bin/window_driver.exe" wait TQMMain 60000 Pelmira; then
    echo "Pelmira32's main window did not appear" >&2
    exit 1
fi
sleep 1 # let the window finish painting before the picture is taken
xwd -root -silent | convert xwd:- "$shot"
pelmira_wine "$bin/window_driver.exe" close TQMMain 30000 Pelmira || true
echo "Pelmira32 ran; screenshot of the display: $shot"
