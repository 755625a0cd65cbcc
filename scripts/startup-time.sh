#!/usr/bin/env bash
# Start-up time at 96 DPI, this tree against an earlier revision, in one run:
# the time from starting Pelmira32.exe to its main window being shown, runs
# of the two programs taken in turn on the same prefix and display, and the
# medians set side by side. The earlier revision is built in a worktree of
# its own.
#   scripts/startup-time.sh [REVISION [RUNS]]
# REVISION defaults to f385837^, the last one before the forms were laid
# out at the screen's DPI.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
base_rev=${1:-f385837^}
runs=${2:-15}
bash scripts/setup.sh
pelmira_choose_wine startup
pelmira_cross_build "$PELMIRA_WIN_BUILD" "$PELMIRA_WIN_ARCH"
base_tree=$PELMIRA_BUILD/startup-base
rm -rf "$base_tree"
git worktree prune
git worktree add --detach "$base_tree" "$base_rev" >/dev/null
trap 'pelmira_stop_xvfb; git worktree remove --force "$base_tree"' EXIT
# Only the program itself: the earlier tree's tests are not needed here.
cmake -S "$base_tree" -B "$base_tree/build/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$base_tree/cmake/mingw-$PELMIRA_WIN_ARCH.cmake" >/dev/null
cmake --build "$base_tree/build/win" --target Pelmira32 -- --quiet
pelmira_start_xvfb 24 || exit 1
pelmira_fresh_prefix
driver=$PELMIRA_WIN_BUILD/bin/window_driver.exe

# Milliseconds from the start to the shown main window, for one program.
measure() { # $1 = Pelmira32.exe
    local start end program
    start=$(date +%s%N)
    pelmira_wine "$1" >/dev/null 2>&1 &
    program=$!
    pelmira_wine "$driver" wait TQMMain 60000 >/dev/null 2>&1
    end=$(date +%s%N)
    pelmira_wine "$driver" close TQMMain 10000 >/dev/null 2>&1 || true
    wait "$program" || true
    echo $(((end - start) / 1000000))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

measure "$PELMIRA_WIN_BUILD/bin/Pelmira32.exe" >/dev/null # warms the prefix and the caches
: >"$PELMIRA_BUILD/startup-base.ms"
: >"$PELMIRA_BUILD/startup-this.ms"
for _ in $(seq "$runs"); do
    measure "$base_tree/build/win/bin/Pelmira32.exe" >>"$PELMIRA_BUILD/startup-base.ms"
    measure "$PELMIRA_WIN_BUILD/bin/Pelmira32.exe" >>"$PELMIRA_BUILD/startup-this.ms"
done
base=$(median <"$PELMIRA_BUILD/startup-base.ms")
this=$(median <"$PELMIRA_BUILD/startup-this.ms")
awk -v r="$base_rev" -v b="$base" -v t="$this" -v n="$runs" 'BEGIN {
    printf "%-22s %10s\n", "program (" n " runs)", "median ms"
    printf "%-22s %10.0f\n", r, b
    printf "%-22s %10.0f\n", "this tree", t
    printf "%-22s %+9.1f%%\n", "difference", (t - b) * 100 / b
}'
