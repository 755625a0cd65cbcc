#!/usr/bin/env bash
# Coverage-guided fuzzing (libFuzzer, AddressSanitizer, UBSan) of the bitmap
# reader and of the checks on plug-in blocks. Each target first replays the
# inputs kept in tests/fuzz/regressions, then fuzzes for the given number of
# seconds (30 unless told), starting from the bitmap test pictures. A new
# crashing input is left in build/fuzz as crash-* and fails the run; keep it
# in tests/fuzz/regressions/<target>/ once mended.
#   scripts/fuzz.sh [seconds-per-target]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
cmake -S tests/fuzz -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/fuzz -- --quiet
for target in BitmapReaderFuzz PluginBlocksFuzz; do
    corpus=build/fuzz/corpus-$target
    mkdir -p "$corpus"
    [ "$target" = BitmapReaderFuzz ] && cp -n tests/data/bmp/*/*.bmp "$corpus"/ 2>/dev/null || true
    regressions=tests/fuzz/regressions/$target
    if compgen -G "$regressions/*" >/dev/null; then
        (cd build/fuzz && "./$target" ../../"$regressions"/* >/dev/null 2>&1) ||
            { echo "fuzz: $target fails on a kept input"; exit 1; }
    fi
    echo "== fuzzing $target for $seconds s"
    (cd build/fuzz && "./$target" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 \
        "corpus-$target" 2>&1 | grep -E "stat::number_of_executed_units|ERROR|SUMMARY" ) || true
    if compgen -G "build/fuzz/crash-*" >/dev/null; then
        echo "fuzz: $target found a crashing input: $(ls build/fuzz/crash-*)"
        exit 1
    fi
done
