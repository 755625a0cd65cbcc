#!/usr/bin/env bash
# Builds Pelmira32 and runs it under Wine on an image, which becomes the
# wallpaper: the given image file, or a sample picture the script makes.
# With a display ($DISPLAY) the program opens there. Without one it runs
# headless in a Wine virtual desktop on Xvfb, then starts the desktop again
# (it paints the wallpaper only when it starts), saves a screenshot showing
# the wallpaper and the main window, closes the program and prints where the
# picture is.
#   scripts/run.sh [image-file]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

bash scripts/setup.sh
pelmira_cross_build build/win32 i686
pelmira_choose_wine run
if [ "$PELMIRA_WIN_ARCH" != i686 ]; then
    echo "note: this machine cannot execute 32-bit code; running the x86_64 build instead."
    pelmira_cross_build "$PELMIRA_WIN_BUILD" x86_64
fi
bin=$PELMIRA_WIN_BUILD/bin

image=${1:-}
if [ -z "$image" ]; then
    image=$PELMIRA_BUILD/sample/pelmira-sample.bmp
    if [ ! -f "$image" ]; then
        mkdir -p "$(dirname "$image")"
        convert -size 1024x768 gradient:'#1d4e89-#7fb7e6' \
            -fill '#f4d35e' -draw 'circle 780,190 780,250' \
            -fill '#2e6b3a' -draw 'polygon 0,768 0,560 220,430 430,560 640,420 1024,600 1024,768' \
            -fill '#1f4a28' -draw 'polygon 0,768 0,650 300,560 620,680 1024,640 1024,768' \
            -type TrueColor BMP3:"$image"
    fi
fi
[ -f "$image" ] || { echo "no such image: $image" >&2; exit 1; }

if [ -n "${DISPLAY:-}" ]; then
    pelmira_prepare_prefix
    winimage=$(pelmira_wine winepath -w "$(realpath "$image")" 2>/dev/null)
    exec env LC_ALL=ja_JP.UTF-8 "$PELMIRA_WINE" "$bin/Pelmira32.exe" "$winimage"
fi

trap pelmira_stop_xvfb EXIT
pelmira_start_xvfb 24 || exit 1
pelmira_prepare_prefix
exe=$(pelmira_wine winepath -w "$bin/Pelmira32.exe" 2>/dev/null)
winimage=$(pelmira_wine winepath -w "$(realpath "$image")" 2>/dev/null)
driver=$bin/window_driver.exe

run_on_desktop() { # starts the program in the virtual desktop and waits for its window
    pelmira_wine explorer /desktop=Pelmira,1024x768 "$exe" "$@" >/dev/null 2>&1 &
    if ! pelmira_wine "$driver" wait TQMMain 60000 Pelmira; then
        echo "Pelmira32's main window did not appear" >&2
        exit 1
    fi
}

# First run: the image becomes the wallpaper.
run_on_desktop "$winimage"
pelmira_wine "$driver" close TQMMain 30000 Pelmira
"${WINESERVER:-wineserver}" -k >/dev/null 2>&1 || true
"${WINESERVER:-wineserver}" -w >/dev/null 2>&1 || true

# Second run: the restarted desktop shows the wallpaper behind the window.
run_on_desktop
sleep 1 # let the window finish painting before the picture is taken
shot=$PELMIRA_BUILD/screenshot.png
xwd -root -silent | convert xwd:- "$shot"
pelmira_wine "$driver" close TQMMain 30000 Pelmira || true
echo "Pelmira32 made $image the wallpaper; screenshot of the desktop: $shot"
