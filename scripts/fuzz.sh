#!/usr/bin/env bash
# Coverage-guided fuzzing (libFuzzer, AddressSanitizer, UBSan) of the bitmap
# reader, the checks on plug-in blocks and the plug-in host's messages, and the
# photographs' orientation
# reader. Each target first replays the
# inputs kept in tests/fuzz/regressions, then fuzzes for the given number of
# seconds (30 unless told), starting from the bitmap test pictures and the
# small seeds in tests/fuzz/seeds/<target>. An input
# that crashes, leaks, runs out of time or memory is left in build/fuzz as
# crash-*, leak-*, timeout-* or oom-* and fails the run, as does a fuzzer
# that ends badly; keep the input in tests/fuzz/regressions/<target>/ once
# mended.
#   scripts/fuzz.sh [seconds-per-target]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
cmake -S tests/fuzz -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/fuzz -- --quiet
for target in BitmapReaderFuzz PluginBlocksFuzz ExifOrientationFuzz; do
    corpus=build/fuzz/corpus-$target
    mkdir -p "$corpus"
    [ "$target" = BitmapReaderFuzz ] && cp -n tests/data/bmp/*/*.bmp "$corpus"/ 2>/dev/null || true
    cp -n tests/fuzz/seeds/"$target"/* "$corpus"/ 2>/dev/null || true
    regressions=tests/fuzz/regressions/$target
    if compgen -G "$regressions/*" >/dev/null; then
        (cd build/fuzz && "./$target" ../../"$regressions"/* >/dev/null 2>&1) ||
            { echo "fuzz: $target fails on a kept input"; exit 1; }
    fi
    echo "== fuzzing $target for $seconds s"
    rm -f build/fuzz/{crash,leak,timeout,oom}-*
    status=0
    (cd build/fuzz && "./$target" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 \
        "corpus-$target" >"fuzz-$target.log" 2>&1) || status=$?
    grep -E "stat::number_of_executed_units|ERROR|SUMMARY" "build/fuzz/fuzz-$target.log" || true
    left=$(ls build/fuzz/{crash,leak,timeout,oom}-* 2>/dev/null || true)
    if [ -n "$left" ] || [ "$status" -ne 0 ]; then
        echo "fuzz: $target ended with status $status; inputs left: ${left:-none}"
        exit 1
    fi
done
