#!/usr/bin/env bash
# Times `mirune-cli grep --files` against GNU grep (LC_ALL=C grep -n) on a large Shift-JIS
# corpus, and checks that mirune-cli reports the same line numbers as GNU grep does on a UTF-8
# copy of the corpus in a UTF-8 locale (ja_JP.UTF-8, which scripts/setup.sh makes; C.UTF-8 refuses
# ranges of Japanese characters).
#
# usage: bench/grep_bench.sh [MIRUNE_CLI] [CORPUS_DIR]
#   MIRUNE_CLI defaults to build/bin/mirune-cli, CORPUS_DIR to /tmp/mirune-bench (made with
#   bench/grep_corpus.py when it holds no corpus).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-$here/../build/bin/mirune-cli}
dir=${2:-/tmp/mirune-bench}
runs=${RUNS:-3}
[ -f "$dir/corpus.sjis" ] || python3 "$here/grep_corpus.py" "$dir"
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

out=$(mktemp)
trap 'rm -f "$out"' EXIT
# Output goes to a real file: GNU grep stops at the first match when it writes to /dev/null.
best_time() {  # best wall time of $runs runs of "$@"
  local best=""
  for ((i = 0; i < runs; i++)); do
    local start end
    start=$(date +%s.%N)
    "$@" > "$out" || true
    end=$(date +%s.%N)
    best=$(python3 -c "import sys; t=$end-$start; b='$best'; print(min(t, float(b)) if b else t)")
  done
  echo "$best"
}

mb=$(python3 -c "import os; print(os.path.getsize('$sjis') / 1e6)")
printf '%-22s %8s %10s %10s %9s %9s %7s %s\n' pattern lines mirune_s grep_s mirune_MB/s grep_MB/s ratio same_lines

bench() {  # name, mirune pattern (UTF-8), GNU grep -E byte pattern, UTF-8 ERE for the check
  local name=$1 pattern=$2 cbytes=$3 uere=$4
  local ours theirs
  ours=$(LC_ALL=C "$cli" grep --files "$pattern" "$sjis" | cut -d: -f2 | md5sum)
  theirs=$(LC_ALL=ja_JP.UTF-8 grep -n -E -- "$uere" "$utf8" | cut -d: -f1 | md5sum)
  local count
  count=$(LC_ALL=C "$cli" grep --files "$pattern" "$sjis" | wc -l)
  local same=yes
  [ "$ours" = "$theirs" ] || same=NO
  local t_ours t_grep
  t_ours=$(best_time env LC_ALL=C "$cli" grep --files "$pattern" "$sjis")
  t_grep=$(best_time env LC_ALL=C grep -n -E -- "$cbytes" "$sjis")
  python3 - "$name" "$count" "$t_ours" "$t_grep" "$mb" "$same" <<'PY'
import sys
name, count, a, b, mb, same = sys.argv[1], int(sys.argv[2]), float(sys.argv[3]), float(sys.argv[4]), float(sys.argv[5]), sys.argv[6]
print("%-22s %8d %10.3f %10.3f %9.0f %9.0f %7.2f %s" % (name, count, a, b, mb / a, mb / b, b / a, same))
PY
}

bench "literal ascii" "deadline" "deadline" "deadline"
bench "literal japanese" "会議室" "$(sjis_ere 会議室)" "会議室"
# ぁ is 82 9F and ん 82 F1: the class is the lead byte 82 with a trail byte 9F-F1.
bench "class [ぁ-ん]+を" "[ぁ-ん]+を" "$(printf '(\x82[\x9f-\xf1])+')$(sjis_ere を)" "[ぁ-ん]+を"
bench "alternation" "会議|打合せ|締切" "$(sjis_ere 会議)|$(sjis_ere 打合せ)|$(sjis_ere 締切)" "会議|打合せ|締切"
bench "anchors ^予定.*です\$" '^予定.*です$' "^$(sjis_ere 予定).*$(sjis_ere です)"$'\r''$' '^予定.*です$'
