#!/usr/bin/env bash
# A longer fuzzing run: every libFuzzer target (or those named) for MINUTES each, or until it
# has run RUNS inputs if that comes first, one at a time, from its seeds in fuzz/corpus, then a
# table of target, inputs run, inputs per second and findings. A target that finds something
# starts again with what it has learnt, until its time or its inputs are used up (at most 5
# findings a target: they are often the same fault). Findings and the grown corpora stay in the
# folder printed at the end; copy a finding into fuzz/corpus/<target> once its fault is fixed.
#
# usage: [RUNS=N] [NICE=N] bench/fuzz_campaign.sh MINUTES [TARGET...]
#   builds into build-fuzz/ (or $MIRUNE_FUZZ_BUILD_DIR) as scripts/fuzz_smoke.sh does. NICE
#   runs the fuzzers at that niceness (nice -n 19 on a machine others compile on).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
# shellcheck source=fuzz/targets.sh
source "$here/fuzz/targets.sh"
if [ $# -lt 1 ] || ! [[ $1 =~ ^[0-9]+$ ]] || [ "$1" -lt 1 ]; then
  echo "usage: [RUNS=N] [NICE=N] bench/fuzz_campaign.sh MINUTES [TARGET...]" >&2
  exit 2
fi
want_runs=${RUNS:-0}
if ! [[ $want_runs =~ ^[0-9]+$ ]]; then
  echo "fuzz_campaign: RUNS must be a number of inputs" >&2
  exit 2
fi
if [ -n "${NICE:-}" ]; then
  renice -n "$NICE" -p $$ >/dev/null
fi
minutes=$1
shift
targets=("$@")
((${#targets[@]})) || mapfile -t targets < <(fuzz_targets)
build=${MIRUNE_FUZZ_BUILD_DIR:-build-fuzz}
fuzz_build "$build" "${targets[@]}" >/dev/null

work=$(fuzz_tmpdir)
export TMPDIR=$work
rows=()
for target in "${targets[@]}"; do
  runs=0 findings=0
  start=$SECONDS
  left=$((minutes * 60))
  while ((left > 0 && findings < 5)); do
    status=0
    fuzz_run "$build" "$target" "$left" "$work/$target" \
      $((want_runs > 0 ? want_runs - runs : 0)) || status=$?
    n=$(fuzz_runs "$work/$target")
    runs=$((runs + ${n:-0}))
    cp "$work/$target/log" "$work/$target/log.$findings"
    ((status == 0)) && break
    findings=$((findings + 1))
    ((want_runs > 0 && runs >= want_runs)) && break
    left=$((minutes * 60 - (SECONDS - start)))
  done
  elapsed=$((SECONDS - start))
  rows+=("$(printf '%-28s %12d %10d %9d' "$target" "$runs" $((runs / (elapsed > 0 ? elapsed : 1))) \
    "$findings")")
  echo "${rows[-1]}" >&2
done

printf '%-28s %12s %10s %9s\n' target runs runs/s findings
printf '%s\n' "${rows[@]}"
echo "corpora, logs and findings: $work"
