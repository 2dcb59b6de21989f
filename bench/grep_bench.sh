#!/usr/bin/env bash
# Times `mirune-cli grep --files` against GNU grep (LC_ALL=C grep -n) on a large Shift-JIS
# corpus, and checks that mirune-cli reports the same line numbers as GNU grep does on a UTF-8
# copy of the corpus in a UTF-8 locale (ja_JP.UTF-8, which scripts/setup.sh makes; C.UTF-8 refuses
# ranges of Japanese characters).
#
# Then the same text against GNU grep in a UTF-8 locale (the UTF-8 copy, as a user of a UTF-8
# system would search it), against ripgrep (on the UTF-8 copy, and with -E shift_jis on the
# Shift-JIS file and the data folder; installed by scripts/setup.sh for this benchmark only),
# and the every-year search of a hundred-year data folder
# (bench/day_folder.py: about 31,000 day files) against `LC_ALL=C grep -r -n`.
# "ratio" is mirune's time over grep's: at most 1.0 is the target.
#
# usage: bench/grep_bench.sh [MIRUNE_CLI] [CORPUS_DIR]
#   MIRUNE_CLI defaults to build/bin/mirune-cli, CORPUS_DIR to /tmp/mirune-bench (made with
#   bench/grep_corpus.py and bench/day_folder.py when it holds no corpus).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-$here/../build/bin/mirune-cli}
dir=${2:-/tmp/mirune-bench}
runs=${RUNS:-3}
[ -f "$dir/corpus.sjis" ] || python3 "$here/grep_corpus.py" "$dir"
[ -d "$dir/data" ] || python3 "$here/day_folder.py" "$dir/data"
sjis=$dir/corpus.sjis
utf8=$dir/corpus.utf8

# The Shift-JIS bytes of UTF-8 text, for GNU grep's byte patterns. Bytes that are special in
# an extended regular expression are escaped (trail bytes can be "[", "\", "|" and so on).
sjis_ere() {
  python3 -c '
import sys
out = []
for b in sys.argv[1].encode("cp932"):
    c = chr(b)
    out.append("\\" + c if c in "\\[](){}.*+?^$|" else c)
sys.stdout.buffer.write("".join(out).encode("latin-1"))' "$1"
}

# A search that finds nothing exits 1; here that is a result, not a failure.
quiet() { "$@" || true; }

out=$(mktemp)
times=$(mktemp)
trap 'rm -f "$out" "$times"' EXIT
# Output goes to a real file: GNU grep stops at the first match when it writes to /dev/null.
# Prints "WALL CPU": the best wall time and the best user + system time of $runs runs (the
# machine may be shared, so CPU time is the steadier figure).
best_time() {
  local best_wall="" best_cpu=""
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -f "%e %U %S" -o "$times" "$@" > "$out" || true
    # A command that exits non-zero (no line found) gets a line of its own before the figures.
    read -r wall user sys < <(tail -n 1 "$times")
    best_wall=$(python3 -c "print(min($wall, ${best_wall:-1e9}))")
    best_cpu=$(python3 -c "print(min($user + $sys, ${best_cpu:-1e9}))")
  done
  echo "$best_wall $best_cpu"
}

mb=$(python3 -c "import os; print(os.path.getsize('$sjis') / 1e6)")
printf '%-20s %7s | %8s %8s %6s | %8s %8s %7s %7s %6s | %s\n' pattern lines \
  mirune_s grep_s ratio mirune_cpu grep_cpu mir_MB/s grep_MB/s ratio same_lines

bench() {  # name, mirune pattern (UTF-8), GNU grep -E byte pattern, UTF-8 ERE for the check
  local name=$1 pattern=$2 cbytes=$3 uere=$4
  local ours theirs
  ours=$(quiet env LC_ALL=C "$cli" grep --files "$pattern" "$sjis" | cut -d: -f2 | md5sum)
  theirs=$(quiet env LC_ALL=ja_JP.UTF-8 grep -n -E -- "$uere" "$utf8" | cut -d: -f1 | md5sum)
  local count
  count=$(quiet env LC_ALL=C "$cli" grep --files "$pattern" "$sjis" | wc -l)
  local same=yes
  [ "$ours" = "$theirs" ] || same=NO
  local t_ours t_grep
  t_ours=$(best_time env LC_ALL=C "$cli" grep --files "$pattern" "$sjis")
  t_grep=$(best_time env LC_ALL=C grep -n -E -- "$cbytes" "$sjis")
  python3 - "$name" "$count" $t_ours $t_grep "$mb" "$same" <<'PY'
import sys
name, count = sys.argv[1], int(sys.argv[2])
ow, oc, gw, gc, mb = (float(x) for x in sys.argv[3:8])
same = sys.argv[8]
oc, gc = max(oc, 0.005), max(gc, 0.005)
print("%-20s %7d | %8.3f %8.3f %6.2f | %8.2f %8.2f %7.0f %7.0f %6.2f | %s"
      % (name, count, ow, gw, ow / gw, oc, gc, mb / oc, mb / gc, oc / gc, same))
PY
}

bench "literal ascii" "deadline" "deadline" "deadline"
bench "literal japanese" "会議室" "$(sjis_ere 会議室)" "会議室"
# ぁ is 82 9F and ん 82 F1: the class is the lead byte 82 with a trail byte 9F-F1.
bench "class [ぁ-ん]+を" "[ぁ-ん]+を" "$(printf '(\x82[\x9f-\xf1])+')$(sjis_ere を)" "[ぁ-ん]+を"
bench "alternation" "会議|打合せ|締切" "$(sjis_ere 会議)|$(sjis_ere 打合せ)|$(sjis_ere 締切)" "会議|打合せ|締切"
bench "anchors ^予定.*です\$" '^予定.*です$' "^$(sjis_ere 予定).*$(sjis_ere です)"$'\r''$' '^予定.*です$'
bench "time (午前|午後)[0-9]+時" "(午前|午後)[0-9]+時" \
  "($(sjis_ere 午前)|$(sjis_ere 午後))[0-9]+$(sjis_ere 時)" "(午前|午後)[0-9]+時"
bench "山田.*さん" "山田.*さん" "$(sjis_ere 山田).*$(sjis_ere さん)" "山田.*さん"
bench "no match xyzzy" "xyzzy" "xyzzy" "xyzzy"

# The same text in UTF-8 for GNU grep in a UTF-8 locale.
echo
echo "against GNU grep in ja_JP.UTF-8 on the UTF-8 copy (ratio: mirune / grep)"
printf '%-24s %7s | %8s %8s %6s\n' pattern lines mirune_cpu grep_cpu ratio
bench_utf8() {  # name, pattern (UTF-8, the same for both)
  local name=$1 pattern=$2 count theirs t_ours t_grep
  count=$(quiet env LC_ALL=C "$cli" grep --files "$pattern" "$sjis" | wc -l)
  theirs=$(quiet env LC_ALL=ja_JP.UTF-8 grep -n -E -e "$pattern" "$utf8" | wc -l)
  t_ours=$(best_time env LC_ALL=C "$cli" grep --files "$pattern" "$sjis")
  t_grep=$(best_time env LC_ALL=ja_JP.UTF-8 grep -n -E -e "$pattern" "$utf8")
  python3 - "$name" "$count" "$theirs" $t_ours $t_grep <<'PY'
import sys
name, count, theirs = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
ow, oc, gw, gc = (float(x) for x in sys.argv[4:8])
oc, gc = max(oc, 0.005), max(gc, 0.005)
print("%-24s %7d | %8.2f %8.2f %6.2f%s" % (name, count, oc, gc, oc / gc,
                                          "" if count == theirs else "  (grep: %d)" % theirs))
PY
}
bench_utf8 "literal 会議室" "会議室"
bench_utf8 "alternation" "会議|打合せ|締切"
bench_utf8 "class [ぁ-ん]+を" "[ぁ-ん]+を"
bench_utf8 "(午前|午後)[0-9]+時" "(午前|午後)[0-9]+時"
bench_utf8 ".* 予定.*です" "予定.*です"
bench_utf8 "山田.*さん" "山田.*さん"

# ripgrep: on the UTF-8 copy with no decoding (its best ground), and with -E shift_jis on the
# Shift-JIS file itself. CPU seconds; "lines" are mirune's, rg's are shown where they differ.
echo
echo "against ripgrep (ratio: mirune / rg)"
printf '%-24s %7s | %8s %8s %8s %6s %6s\n' pattern lines mirune_cpu rg_utf8 rg_sjis \
  r_utf8 r_sjis
bench_rg() {  # name, pattern (UTF-8, the same for both)
  local name=$1 pattern=$2 count n_utf8 n_sjis t_ours t_utf8 t_sjis
  count=$(quiet env LC_ALL=C "$cli" grep --files "$pattern" "$sjis" | wc -l)
  n_utf8=$(quiet rg -n -e "$pattern" "$utf8" | wc -l)
  n_sjis=$(quiet rg -n -E shift_jis -e "$pattern" "$sjis" | wc -l)
  t_ours=$(best_time env LC_ALL=C "$cli" grep --files "$pattern" "$sjis")
  t_utf8=$(best_time rg -n -e "$pattern" "$utf8")
  t_sjis=$(best_time rg -n -E shift_jis -e "$pattern" "$sjis")
  python3 - "$name" "$count" "$n_utf8" "$n_sjis" $t_ours $t_utf8 $t_sjis <<'PY'
import sys
name, count, nu, ns = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
ow, oc, uw, uc, sw, sc = (max(float(x), 0.005) for x in sys.argv[5:11])
note = "" if count == nu == ns else "  (rg: %d utf-8, %d shift_jis)" % (nu, ns)
print("%-24s %7d | %8.2f %8.2f %8.2f %6.2f %6.2f%s"
      % (name, count, oc, uc, sc, oc / uc, oc / sc, note))
PY
}
bench_rg "literal 会議" "会議"
bench_rg "alternation" "会議|打合せ|締切"
bench_rg "class [ぁ-ん]+を" "[ぁ-ん]+を"
bench_rg "山田.*さん" "山田.*さん"
bench_rg "(午前|午後)[0-9]+時" "(午前|午後)[0-9]+時"
bench_rg "no match xyzzy" "xyzzy"

# Every year of the data folder: mirune-cli grep --all against grep -r over the same files.
echo
files=$(find "$dir/data" -name '*.dat' | wc -l)
echo "every year: $files day files (ratio: mirune / grep -r)"
printf '%-24s %7s | %8s %8s %6s | %8s %8s %6s\n' pattern lines mirune_s grep_s ratio \
  mirune_cpu grep_cpu ratio
bench_all() {  # name, mirune pattern (UTF-8), GNU grep -E byte pattern
  local name=$1 pattern=$2 cbytes=$3 count theirs t_ours t_grep
  count=$(quiet env LC_ALL=C "$cli" --data "$dir/data" grep --all "$pattern" | wc -l)
  theirs=$(quiet env LC_ALL=C grep -r -n -E -e "$cbytes" "$dir/data" | wc -l)
  t_ours=$(best_time env LC_ALL=C "$cli" --data "$dir/data" grep --all "$pattern")
  t_grep=$(best_time env LC_ALL=C grep -r -n -E -e "$cbytes" "$dir/data")
  python3 - "$name" "$count" "$theirs" $t_ours $t_grep <<'PY'
import sys
name, count, theirs = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
ow, oc, gw, gc = (float(x) for x in sys.argv[4:8])
ow, gw, oc, gc = (max(x, 0.005) for x in (ow, gw, oc, gc))
print("%-24s %7d | %8.3f %8.3f %6.2f | %8.2f %8.2f %6.2f%s"
      % (name, count, ow, gw, ow / gw, oc, gc, oc / gc,
         "" if count == theirs else "  (grep: %d)" % theirs))
PY
}
bench_all "literal 会議室" "会議室" "$(sjis_ere 会議室)"
bench_all "alternation" "会議|打合せ|締切" "$(sjis_ere 会議)|$(sjis_ere 打合せ)|$(sjis_ere 締切)"
bench_all ".* 予定.*です" "予定.*です" "$(sjis_ere 予定).*$(sjis_ere です)"

# The same every-year search against rg -E shift_jis over the folder.
echo
echo "every year against rg -E shift_jis (ratio: mirune / rg)"
printf '%-24s %7s | %8s %8s %6s\n' pattern lines mirune_s rg_s ratio
bench_all_rg() {  # name, pattern (UTF-8)
  local name=$1 pattern=$2 count theirs t_ours t_rg
  count=$(quiet env LC_ALL=C "$cli" --data "$dir/data" grep --all "$pattern" | wc -l)
  theirs=$(quiet rg -n -E shift_jis -e "$pattern" "$dir/data" | wc -l)
  t_ours=$(best_time env LC_ALL=C "$cli" --data "$dir/data" grep --all "$pattern")
  t_rg=$(best_time rg -n -E shift_jis -e "$pattern" "$dir/data")
  python3 - "$name" "$count" "$theirs" $t_ours $t_rg <<'PY'
import sys
name, count, theirs = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
ow, oc, rw, rc = (max(float(x), 0.005) for x in sys.argv[4:8])
print("%-24s %7d | %8.3f %8.3f %6.2f%s" % (name, count, ow, rw, ow / rw,
                                          "" if count == theirs else "  (rg: %d)" % theirs))
PY
}
bench_all_rg "literal 会議室" "会議室"
bench_all_rg "alternation" "会議|打合せ|締切"
bench_all_rg ".* 予定.*です" "予定.*です"
