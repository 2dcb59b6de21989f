#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test: the whole suite once, then the
# core tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
"$here/scripts/setup.sh"
"$here/scripts/check_sources.sh"
jobs=$(nproc)

"$here/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --parallel "$jobs" --timeout 600

MIRUNE_BUILD_DIR=build-asan "$here/scripts/build.sh" -DMIRUNE_SANITIZE=ON -DMIRUNE_WITH_GUI=OFF \
  -DMIRUNE_WITH_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build-asan --output-on-failure --parallel "$jobs" \
  --timeout 900
