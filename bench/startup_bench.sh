#!/usr/bin/env bash
# Start-up time of the program against a bare Qt window: milliseconds from the launch until
# the main window is mapped, the median of $RUNS runs each (default 5), on an X display
# (xvfb-run -a when DISPLAY is not set). The program starts as a user's would: with its
# version window, a settings file that names a data folder holding May 2026 and a maxims file.
#
# usage: bench/startup_bench.sh [BUILD_DIR]     (BUILD_DIR defaults to build/)
#   MIRUNE=path/to/mirune times another build of the program with this build's tools.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
runs=${RUNS:-5}
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s '-screen 0 1600x1000x24' "$0" "$build"
fi
watch=$build/bin/startup_watch
bare=$build/bin/bare_window
program_bin=${MIRUNE:-$build/bin/mirune}
for f in "$watch" "$bare" "$program_bin"; do
  [ -x "$f" ] || { echo "startup_bench: $f is missing (build with the GUI)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The program keeps its settings beside its executable: it runs from a copy of its own.
mkdir -p "$work/bin" "$work/start/Myデータ/2026"
cp "$program_bin" "$work/bin/mirune"
python3 - "$work" <<'PY'
import os, sys
work = sys.argv[1]
data = os.path.join(work, "start", "Myデータ")
maxims = os.path.join(work, "start", "maxims.txt")
def sjis(text):
    return text.encode("cp932")
with open(maxims, "wb") as f:
    for i in range(200):
        f.write(sjis("格言その%d: 急がば回れ、善は急げ。\r\n" % i))
for day in range(1, 32):
    with open(os.path.join(data, "2026", "KVR202605%02d.dat" % day), "wb") as f:
        f.write(sjis("10:00 会議\r\n資料作成 %d\r\n" % day))
def entry(section, key, value):
    return sjis("[%s]\r\n%s=%s\r\n" % (section, key, value))
with open(os.path.join(work, "bin", "vuruva.ini"), "wb") as f:
    f.write(entry("フォルダ移動", "Current_Dir", "｢%s｣" % data))
    f.write(entry("流れ文字表示", "KakuGenFile", "｢%s｣" % maxims))
    f.write(entry("祝祭日表示", "Syukucolor", "1"))
    f.write(entry("六曜表示", "Rokuyou", "1"))
PY

median() { sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
cd "$work/start"
# One run of each first, so that both find the font caches warm.
"$watch" "ミルネ-/" "$work/bin/mirune" >/dev/null
"$watch" "bare-window" "$bare" >/dev/null
program=() base=() text=()
for ((i = 0; i < runs; i++)); do
  program+=("$("$watch" "ミルネ-/" "$work/bin/mirune")")
  base+=("$("$watch" "bare-window" "$bare")")
  text+=("$("$watch" "bare-window" "$bare" --text)")
done
p=$(printf '%s\n' "${program[@]}" | median)
b=$(printf '%s\n' "${base[@]}" | median)
t=$(printf '%s\n' "${text[@]}" | median)
echo "mirune:                 ${program[*]} ms, median $p ms"
echo "bare window:            ${base[*]} ms, median $b ms"
echo "bare window with text:  ${text[*]} ms, median $t ms"
awk -v p="$p" -v b="$b" -v t="$t" \
  'BEGIN {printf "ratio: %.2f to the bare window, %.2f to the one with text\n", p / b, p / t}'
