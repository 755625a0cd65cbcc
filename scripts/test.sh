#!/usr/bin/env bash
# Builds everything and runs every test: the formatting check, native unit
# tests (sanitized), the Release build the benchmarks come from, a bounded
# fuzzing run, then the Wine tests at display depth 24 and, for those
# labelled depth8, at 8, those labelled desk on a desk of three monitors (Xorg's
# dummy driver), and the release archive's check.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

bash scripts/setup.sh || exit 1
failed=0

echo "== formatting (clang-format against the project's .clang-format)"
find app base config hook help imaging plugins shell tests ui wallpaper win \
    \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 clang-format --dry-run -Werror || failed=1

echo "== native build and unit tests (AddressSanitizer, UBSan)"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPELMIRA_SANITIZE=ON >/dev/null &&
    cmake --build build/native -- --quiet || exit 1
(cd build/native && ctest --output-on-failure) || failed=1

echo "== Release build of everything, benchmarks included (built, not run)"
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null &&
    cmake --build build/bench -- --quiet || failed=1

echo "== fuzzing, 30 seconds a target (clang, libFuzzer)"
bash scripts/fuzz.sh 30 || failed=1

echo "== cross build for 32-bit Windows"
pelmira_cross_build build/win32 i686 || exit 1

pelmira_choose_wine test
if [ "$PELMIRA_WIN_ARCH" != i686 ]; then
    echo "note: this machine cannot execute 32-bit code, so wine32 cannot start;"
    echo "      the Wine tests run on the x86_64 build of the same sources."
    pelmira_cross_build "$PELMIRA_WIN_BUILD" x86_64 || exit 1
fi
trap pelmira_stop_xvfb EXIT

run_wine_tests() { # $1 = depth, $2 = BITSPIXEL Wine reports, $3 = ctest label
    echo "== Wine tests ($PELMIRA_WIN_ARCH build) on a depth-$1 display"
    pelmira_start_xvfb "$1" || { failed=1; return; }
    pelmira_fresh_prefix
    (cd "$PELMIRA_WIN_BUILD" && PELMIRA_EXPECT_BITSPIXEL=$2 ctest --output-on-failure -L "$3") ||
        failed=1
    pelmira_stop_xvfb
}
run_wine_tests 24 32 wine
run_wine_tests 8 8 depth8

echo "== Wine tests ($PELMIRA_WIN_ARCH build) on a desk of three monitors"
if pelmira_start_desk; then
    pelmira_fresh_prefix
    (cd "$PELMIRA_WIN_BUILD" && ctest --output-on-failure -L desk) || failed=1
    pelmira_stop_xvfb
else
    failed=1
fi

echo "== release archive: two clean builds, then unpacked and run"
bash scripts/release-check.sh || failed=1

if [ $failed -ne 0 ]; then
    echo "TESTS FAILED"
    exit 1
fi
echo "all tests passed"
