#!/usr/bin/env bash
# The peak memory of one decode and apply: Pelmira32 is started with a JPEG
# (a red-to-blue gradient ImageMagick draws at each size given, 3840x2160 and
# 12000x8000 unless told) as its argument, on a depth-24 and a depth-8
# display, and the process's peak resident size (VmHWM) is set against the
# picture's 24-bit pixel bytes. Builds first; runs on a prefix and displays
# of its own.
#   scripts/memory-peak.sh [WIDTHxHEIGHT...]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
bash scripts/setup.sh
pelmira_choose_wine memory
pelmira_cross_build "$PELMIRA_WIN_BUILD" "$PELMIRA_WIN_ARCH"
trap pelmira_stop_xvfb EXIT
pictures=$PELMIRA_BUILD/memory
mkdir -p "$pictures"
# Wine reports Windows 7, where the converted wallpaper lives in the user's
# own local application data.
temp_bitmap=$WINEPREFIX/drive_c/users/$(whoami)/AppData/Local/Pelmira32/Pelmira.BMP

# Prints the peak resident kilobytes of the run, or "failed". The main
# window shows once the argument has been applied; a failed change shows
# its message box first.
measure() { # $1 = picture
    rm -f "$temp_bitmap"
    pelmira_wine "$PELMIRA_WIN_BUILD/bin/Pelmira32.exe" "$(pelmira_wine winepath -w "$1")" \
        >/dev/null 2>&1 &
    local driver=$PELMIRA_WIN_BUILD/bin/window_driver.exe
    pelmira_wine "$driver" wait TQMMain 600000 >/dev/null 2>&1 &
    local shown=$!
    pelmira_wine "$driver" wait '#32770' 600000 >/dev/null 2>&1 &
    local boxed=$!
    local peak=0 pid hwm
    while kill -0 "$shown" 2>/dev/null && kill -0 "$boxed" 2>/dev/null; do
        for pid in $(pgrep -f 'Pelmira32\.exe' || true); do
            hwm=$(awk '/VmHWM/{print $2}' "/proc/$pid/status" 2>/dev/null || true)
            if [ -n "$hwm" ] && [ "$hwm" -gt "$peak" ]; then peak=$hwm; fi
        done
        sleep 0.1
    done
    local outcome=$peak
    if kill -0 "$shown" 2>/dev/null || [ ! -s "$temp_bitmap" ]; then outcome=failed; fi
    "${WINESERVER:-wineserver}" -k || true
    wait || true
    echo "$outcome"
}

printf '%-12s %-6s %12s %12s %7s\n' picture depth pixels_MB peak_MB ratio
for size in "${@:-3840x2160 12000x8000}"; do
    for one in $size; do
        file=$pictures/gradient-$one.jpg
        [ -f "$file" ] || convert -size "$one" gradient:red-blue -quality 90 "$file"
        w=${one%x*} h=${one#*x}
        bytes=$(( (3 * w + 3) / 4 * 4 * h ))
        for depth in 24 8; do
            pelmira_start_xvfb "$depth" || exit 1
            pelmira_fresh_prefix
            peak=$(measure "$file")
            pelmira_stop_xvfb
            awk -v p="$one" -v d="$depth" -v b="$bytes" -v k="$peak" 'BEGIN {
                if (k == "failed") printf "%-12s %-6s %12.1f %12s %7s\n", p, d, b / 1048576, "failed", "-"
                else printf "%-12s %-6s %12.1f %12.1f %6.2fx\n", p, d, b / 1048576, k / 1024, k * 1024 / b
            }'
        done
    done
done
