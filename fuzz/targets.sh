# shellcheck shell=bash
# The fuzz targets and how to build and run them, for scripts/fuzz_smoke.sh and
# bench/fuzz_campaign.sh (sourced, not run). Every target of fuzz/CMakeLists.txt is listed by
# fuzz_targets; its seeds are fuzz/corpus/<seeds> as fuzz_seeds names them.

fuzz_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

fuzz_targets() {
  sed -n 's/^add_executable(\([a-z0-9_]*_fuzzer\) .*/\1/p' "$fuzz_root/fuzz/CMakeLists.txt"
}

# The seed folder of a target ("" for none) and the extra options it runs with.
fuzz_seeds() {
  case "$1" in
    lzh_read_fuzzer) echo "$fuzz_root/fuzz/corpus/lzh" ;;
    regex_fuzzer | grep_output_fuzzer) echo "" ;;
    *) echo "$fuzz_root/fuzz/corpus/${1%_fuzzer}" ;;
  esac
}
fuzz_options() {
  case "$1" in
    # A run of these touches thousands of coverage features, and libFuzzer's entropic schedule
    # looks each of them up in its list of rare features, which keeps every feature seen until
    # one has been hit more than 255 times and a new one turns up: that bookkeeping took more
    # time than the runs themselves. The plain schedule ran 2.3 times the inputs in the same CPU
    # time and reached more coverage in a minute.
    regex_fuzzer | grep_fuzzer | regex_differential_fuzzer)
      echo "-dict=$fuzz_root/fuzz/regex.dict -entropic=0"
      ;;
    # libical keeps what it loads for good (a zone named by an input, ICU's caches), so that a
    # run ends with more allocations than frees whenever an input names something new, and
    # libFuzzer answers each such run with a leak scan of the whole heap: three quarters of the
    # time, for a fourth of the runs. Our own import code is checked for leaks by the test
    # suite under LeakSanitizer instead.
    ics_import_fuzzer)
      echo "-detect_leaks=0"
      ;;
  esac
}

# fuzz_build BUILD [TARGET...]: configures BUILD (once) and builds the targets named (every
# target by default) with clang, libFuzzer, ASan and UBSan, with $MIRUNE_FUZZ_JOBS compile jobs
# (all cores by default; one on a machine shared with others).
fuzz_build() {
  local build=$1
  shift
  local targets=("$@")
  ((${#targets[@]})) || mapfile -t targets < <(fuzz_targets)
  if [ ! -f "$build/build.ninja" ]; then
    CXX=clang++ cmake -S "$fuzz_root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DMIRUNE_FUZZ=ON -DMIRUNE_WITH_GUI=OFF -DMIRUNE_WITH_BENCH=OFF -DMIRUNE_WITH_SYNC=OFF \
      -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined" >/dev/null
  fi
  cmake --build "$build" --parallel "${MIRUNE_FUZZ_JOBS:-$(nproc)}" --target "${targets[@]}"
}

# fuzz_run BUILD TARGET SECONDS WORK [RUNS]: runs TARGET for SECONDS (or until it has run RUNS
# inputs, when given and not 0) from its seeds, new inputs going to WORK/corpus (kept between
# runs) and findings to WORK/. The log is WORK/log; the status is libFuzzer's (0: nothing
# found). The targets write their files under $TMPDIR.
fuzz_run() {
  local build=$1 target=$2 seconds=$3 work=$4 runs=${5:-0} status=0 seed_folder
  local limits=(-max_total_time="$seconds") seeds=() options=()
  ((runs > 0)) && limits+=(-runs="$runs")
  seed_folder=$(fuzz_seeds "$target")
  [ -n "$seed_folder" ] && seeds=("$seed_folder")
  read -r -a options <<<"$(fuzz_options "$target")"
  mkdir -p "$work/corpus"
  timeout $((seconds + 300)) "$build/bin/$target" "${limits[@]}" -timeout=30 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/" "${options[@]}" \
    "$work/corpus" "${seeds[@]}" >"$work/log" 2>&1 || status=$?
  return $status
}

# The inputs run in the last fuzz_run of WORK.
fuzz_runs() {
  sed -n 's/^stat::number_of_executed_units: *//p' "$1/log" | tail -1
}

# A temporary folder in memory where there is one: the day and list targets write a file per
# run, and a disk's fsync would make them a hundred times slower.
fuzz_tmpdir() {
  if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    mktemp -d /dev/shm/mirune-fuzz.XXXXXX
  else
    mktemp -d
  fi
}
