#!/usr/bin/env bash
# Builds the libFuzzer targets into build-fuzz/ (or $MIRUNE_FUZZ_BUILD_DIR) with clang and runs
# every one for a short fixed time (SECONDS, 20 by default) from its seeds in fuzz/corpus.
# Fails when any target finds something (a crash, a broken property, a leak or a timeout); the
# input that did it is printed and kept in the folder named.
#
# usage: scripts/fuzz_smoke.sh [SECONDS]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
# shellcheck source=fuzz/targets.sh
source "$here/fuzz/targets.sh"
seconds=${1:-20}
build=${MIRUNE_FUZZ_BUILD_DIR:-build-fuzz}
fuzz_build "$build"

work=$(fuzz_tmpdir)
export TMPDIR=$work
failed=()
for target in $(fuzz_targets); do
  if fuzz_run "$build" "$target" "$seconds" "$work/$target"; then
    printf '%-28s %10s runs  ok\n' "$target" "$(fuzz_runs "$work/$target")"
  else
    printf '%-28s %10s runs  FOUND\n' "$target" "$(fuzz_runs "$work/$target")"
    grep -E '^(==[0-9]+==|SUMMARY|artifact_prefix|Base64)' "$work/$target/log" | head -8
    failed+=("$target")
  fi
done

if ((${#failed[@]})); then
  echo "fuzz_smoke: findings in ${failed[*]} (inputs and logs in $work)"
  exit 1
fi
rm -rf "$work"
