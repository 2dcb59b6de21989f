#!/usr/bin/env bash
# Times the iCalendar export of a hundred-year data folder (31,000 day files of one to six
# lines, as a planner's days are, a fifth of them coloured) and its import into an empty
# folder, through mirune-cli as a user runs it.
# Each is run three times; the best is printed. The target is under 2 s for each.
# usage: bench/ics_bench.sh [BUILD_DIR]   (default build)
set -euo pipefail
cd "$(dirname "$0")/.."
cli="$PWD/${1:-build}/bin/mirune-cli"
# The folder is made under $TMPDIR: point it at a tmpfs (/dev/shm) to time the program
# rather than the disk, which creating 31,000 files loads.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 - "$work/days" <<'PY'
import datetime, os, random, sys
sys.path.insert(0, "bench")
import grep_corpus
random.seed(19500101)
pool = [line.encode("cp932") for line in grep_corpus.pool(20000)]
day, end = datetime.date(1950, 1, 1), datetime.date(2050, 1, 1)
while day < end:
    if random.random() < 0.85:
        folder = os.path.join(sys.argv[1], "%04d" % day.year)
        os.makedirs(folder, exist_ok=True)
        data = b"%d\r\n" % random.randint(1, 4) if random.random() < 0.2 else b""
        data += b"".join(random.choice(pool) + b"\r\n" for _ in range(random.randint(1, 6)))
        with open(os.path.join(folder, "KVR%04d%02d%02d.dat" % (day.year, day.month, day.day)), "wb") as f:
            f.write(data)
    day += datetime.timedelta(days=1)
PY
days=$(find "$work/days" -name 'KVR*.dat' -size +0 | wc -l)

best() {  # best wall time of three runs of "$@", in seconds; $prepare runs before each
  local best=999
  for _ in 1 2 3; do
    eval "$prepare"
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    best=$(echo "$end - $start" | bc -l | awk -v b="$best" '{print ($1 < b) ? $1 : b}')
  done
  printf '%.3f' "$best"
}

prepare=":"
export_time=$(best "$cli" --data "$work/days" ics export -o "$work/days.ics")
prepare="rm -rf '$work/back'; mkdir '$work/back'"
import_time=$(best "$cli" --data "$work/back" ics import "$work/days.ics")
if diff -r "$work/days" "$work/back" >/dev/null 2>&1; then
  same=yes
else
  same=NO
fi
size=$(stat -c %s "$work/days.ics")
echo "days: $days  calendar: $((size / 1024)) KB"
echo "export: ${export_time} s  import into an empty folder: ${import_time} s  (target < 2 s each)"
echo "every day back byte for byte: $same"
