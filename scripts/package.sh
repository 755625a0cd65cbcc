#!/usr/bin/env bash
# Makes the release archive from a build folder of its own, without the
# tests: build/release/package/Pelmira32-<version>.zip.
#   scripts/package.sh [build folder [i686|x86_64]]
# Only the i686 archive is a release; an x86_64 one is for the tests of
# machines that cannot run 32-bit code.
set -euo pipefail
cd "$(dirname "$0")/.."
folder=${1:-build/release}
arch=${2:-i686}

bash scripts/setup.sh
cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELMIRA_TESTS=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-$arch.cmake" >/dev/null
cmake --build "$folder" -- --quiet
(cd "$folder" && cpack >/dev/null)
ls "$folder"/package/*.zip
