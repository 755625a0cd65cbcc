#!/usr/bin/env bash
# The long reliability run of automatic mode: Pelmira32 changes the wallpaper
# every second for the given number of changes (2000 unless told), while the
# test samples its handles and private bytes every 100 changes. Builds first;
# runs on a prefix and display of its own, so other runs may go on beside it.
#   scripts/soak.sh [changes]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
bash scripts/setup.sh
pelmira_choose_wine soak
pelmira_cross_build "$PELMIRA_WIN_BUILD" "$PELMIRA_WIN_ARCH"
trap pelmira_stop_xvfb EXIT
pelmira_start_xvfb 24 || exit 1
pelmira_fresh_prefix
PELMIRA_SOAK_CHANGES=${1:-2000} pelmira_wine "$PELMIRA_WIN_BUILD/bin/wine_e2e_tests.exe" \
    --gtest_filter=AutomaticMode.ChangeAfterChangeNothingGrows
