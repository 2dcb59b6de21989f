#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test: the whole suite once, then the
# whole suite again, windows and command-line tool included, under AddressSanitizer,
# LeakSanitizer and UndefinedBehaviorSanitizer, and last every fuzz target for 20 seconds.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
"$here/scripts/setup.sh"
"$here/scripts/check_sources.sh"
jobs=$(nproc)

"$here/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --parallel "$jobs" --timeout 600

MIRUNE_BUILD_DIR=build-asan "$here/scripts/build.sh" -DMIRUNE_SANITIZE=ON -DMIRUNE_WITH_BENCH=OFF
# Leaks are reported except those inside the libraries listed, each with its reason.
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$here/scripts/lsan.supp:print_suppressions=0" \
  ctest --test-dir build-asan --output-on-failure --parallel "$jobs" --timeout 900

# About five minutes with the build: every fuzz target from its committed seeds.
"$here/scripts/fuzz_smoke.sh" 20
