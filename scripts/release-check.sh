#!/usr/bin/env bash
# Checks the release archive: two clean builds in different folders must give
# the same bytes, and the archive, unpacked under a path with spaces and
# Japanese characters in a fresh prefix, must run from there. The unpacked
# archive is of the architecture the Wine tests run (i686 where this machine
# runs 32-bit code, x86_64 otherwise). Run by scripts/test.sh after the Wine
# test build.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

archive_of() { ls "$1"/package/*.zip; }

rm -rf build/release-a build/release-b
bash scripts/package.sh build/release-a >/dev/null || exit 1
bash scripts/package.sh build/release-b >/dev/null || exit 1
if ! cmp "$(archive_of build/release-a)" "$(archive_of build/release-b)"; then
    echo "two clean builds gave different archives"
    exit 1
fi
echo "two clean builds gave the same archive: $(archive_of build/release-a)"

pelmira_choose_wine test
archive=$(archive_of build/release-a)
if [ "$PELMIRA_WIN_ARCH" != i686 ]; then
    rm -rf build/release-x86_64
    bash scripts/package.sh build/release-x86_64 x86_64 >/dev/null || exit 1
    archive=$(archive_of build/release-x86_64)
fi
archive=$(realpath "$archive")

trap pelmira_stop_xvfb EXIT
pelmira_start_xvfb 24 || exit 1
pelmira_fresh_prefix
# The archive holds one folder, Pelmira32-<version>; it is unpacked as
# C:\Program Files\壁紙 ツール\Pelmira32.
target="$WINEPREFIX/drive_c/Program Files/壁紙 ツール"
mkdir -p "$target/unpacked"
(cd "$target/unpacked" && cmake -E tar xf "$archive") || exit 1
mv "$target"/unpacked/* "$target/Pelmira32" && rmdir "$target/unpacked" || exit 1
cd "$PELMIRA_WIN_BUILD/bin" && "$PELMIRA_ROOT/scripts/wine-run.sh" ./wine_release_tests.exe
