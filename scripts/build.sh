#!/usr/bin/env bash
# Configures and builds Mirune into build/ (or the folder given as $MIRUNE_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${MIRUNE_BUILD_DIR:-build}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
fi
cmake --build "$build" --parallel "$(nproc)"
