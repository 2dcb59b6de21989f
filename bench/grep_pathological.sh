#!/usr/bin/env bash
# Patterns and inputs that make a naive engine quadratic, timed with `mirune-cli grep --files`:
# wall time and peak memory (/usr/bin/time) for each, and the number of lines found next to a
# reference count (GNU grep where it means the same, else the count the input is built for; with
# a pattern of 100,000 characters GNU grep runs out of memory, and Python's re counts instead).
# Each should finish in well under a second on its 100,000 bytes.
#
# usage: bench/grep_pathological.sh [MIRUNE_CLI] [WORK_DIR]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-$here/../build/bin/mirune-cli}
dir=${2:-/tmp/mirune-pathological}
mkdir -p "$dir"

python3 - "$dir" <<'EOF'
import random, sys
d = sys.argv[1]
random.seed(26)
w = lambda name, text: open(f"{d}/{name}", "w").write(text)
w("lit100k.pat", "a" * 100000)
w("lit16k.pat", "a" * 16111)
w("a100k.txt", "b\n" + "a" * 100000 + "\nab\n" + "a" * 99999 + "\n")
words = set()
while len(words) < 5000:
    words.add("".join(random.choice("abcdefghijklmnopqrstuvwxyz") for _ in range(random.randint(4, 10))))
words = sorted(words)
w("alt5000.pat", "|".join(words))
w("alt5000.list", "\n".join(words) + "\n")
lines = []
while sum(len(l) + 1 for l in lines) < 100000:
    if len(lines) % 7 == 0:
        lines.append("xx " + random.choice(words) + " yy")
    else:
        lines.append(" ".join("".join(random.choice("abcdefghijklmnopqrstuvwxyz") for _ in range(3)) for _ in range(2)))
w("words.txt", "\n".join(lines) + "\n")
w("ab.txt", "".join(random.choice("ab") for _ in range(100000)) + "\n")  # one line, no c
w("abc.txt", "".join(random.choice("ab") for _ in range(99999)) + "c\n")  # one match, at the end
w("an.txt", "a\n" * 50000)            # 100,000 bytes, no b
w("anb.txt", "a\n" * 49999 + "b\n")   # every line starts a match that ends at the b
w("abx15.pat", "[ab]*a" + "[ab]" * 15 + "c")
# Lines around a fixed start of 100,000 a's: one more a, an x, and three more a's and "bbc".
w("tails.txt", "b\n" + "a" * 100000 + "x\n" + "a" * 100003 + "bbc\n" + "ab\n")
w("nest400.pat", "(" * 400 + "a" + ")" * 400)
w("nest5000.pat", "(" * 5000 + "a" + ")" * 5000)
EOF

# name | pattern file or pattern | input | reference count
run() {
  local name=$1 pattern=$2 input=$3 expected=$4
  local t m count status
  local tf
  tf=$(mktemp)
  set +e
  count=$( { /usr/bin/time -f "%e %M" -o "$tf" "$cli" grep --files "$pattern" "$dir/$input" 2>&1 >&3 | head -c 200 >&2; } 3>&1 | wc -l)
  status=$?
  set -e
  read -r t m < <(tail -n 1 "$tf")
  rm -f "$tf"
  printf '%-28s %-12s %7.2f s %8.1f MB  lines %6s  reference %6s\n' "$name" "$input" "$t" \
    "$(echo "$m / 1024" | bc -l)" "$count" "$expected"
}

ref_grep() { LC_ALL=C grep -c "$@" || true; }
# Lines of a file (ASCII) in which the pattern (its ERE meaning, as Python reads it) matches.
ref_re() {
  python3 -c 'import re, sys
r = re.compile(sys.argv[1].encode())
print(sum(1 for line in open(sys.argv[2], "rb").read().split(b"\n")[:-1] if r.search(line)))' "$@"
}

run "100,000 x a" "$(cat "$dir/lit100k.pat")" a100k.txt "$(ref_grep -F "$(cat "$dir/lit100k.pat")" "$dir/a100k.txt")"
run "16,111 x a" "$(cat "$dir/lit16k.pat")" a100k.txt "$(ref_grep -F "$(cat "$dir/lit16k.pat")" "$dir/a100k.txt")"
run "5,000-word alternation" "$(cat "$dir/alt5000.pat")" words.txt "$(ref_grep -F -f "$dir/alt5000.list" "$dir/words.txt")"
for input in ab.txt abc.txt; do
  run ".*a..........c" '.*a..........c' $input "$(ref_grep -E '.*a..........c' "$dir/$input")"
  run "a.*b........c" 'a.*b........c' $input "$(ref_grep -E 'a.*b........c' "$dir/$input")"
  run "[ab]*a[ab]{8}c" '[ab]*a[ab][ab][ab][ab][ab][ab][ab][ab]c' $input \
    "$(ref_grep -E '[ab]*a[ab]{8}c' "$dir/$input")"
  run "[ab]*a[ab]{15}c" "$(cat "$dir/abx15.pat")" $input "$(ref_grep -E '[ab]*a[ab]{15}c' "$dir/$input")"
done
run "(a|\\n)*b" '(a|\n)*b' an.txt 0
run "(a|\\n)*b" '(a|\n)*b' anb.txt 50000
a100k=$(python3 -c 'print("a" * 100000, end="")')
run "100,000 x a then ." "$a100k." a100k.txt "$(ref_re "$a100k." "$dir/a100k.txt")"
for tail in . '[ab]' 'b*c' '(x|y)'; do
  run "100,000 x a then $tail" "$a100k$tail" tails.txt "$(ref_re "$a100k$tail" "$dir/tails.txt")"
done
run "^ 100,000 x a then ." "^$a100k." tails.txt "$(ref_re "^$a100k." "$dir/tails.txt")"
# The same fixed text after a short start: found by its bytes too, with the start matched
# before it, instead of followed character by character through the whole text.
for head in . '[ab]' 'b*' '(x|y)' '^.'; do
  run "$head then 100,000 x a" "$head$a100k" tails.txt "$(ref_re "$head$a100k" "$dir/tails.txt")"
done
run ". then 100,000 x a then b*c" ".${a100k}b*c" tails.txt "$(ref_re ".${a100k}b*c" "$dir/tails.txt")"
run ". then 99,999 x a then \$" ".${a100k:1}\$" a100k.txt "$(ref_re ".${a100k:1}\$" "$dir/a100k.txt")"
# Two and three long words, each after a short class: every word is found by its bytes, not
# only the longest, else the shorter ones are followed character by character.
a50k=${a100k:50000}
run "2 x ([ab] 50,000 x a)" "[ab]$a50k[ab]$a50k" tails.txt "$(ref_re "[ab]$a50k[ab]$a50k" "$dir/tails.txt")"
a33k=${a100k:66667}
run "3 x ([ab] 33,333 x a)" "[ab]$a33k[ab]$a33k[ab]$a33k" tails.txt \
  "$(ref_re "[ab]$a33k[ab]$a33k[ab]$a33k" "$dir/tails.txt")"
# Words of unequal length, the last followed by ".": the longest alone would leave the others
# to be followed character by character.
w3=".${a100k:60000}[ab]${a100k:70000}[ab]${a100k:71000}."
run "3 unequal words, then ." "$w3" tails.txt "$(ref_re "$w3" "$dir/tails.txt")"
a3k=$(python3 -c 'print("a" * 3000, end="")')
run "3,000 x a then ." "$a3k." a100k.txt "$(ref_grep -E "$a3k." "$dir/a100k.txt")"
run ". then 3,000 x a" ".$a3k" tails.txt "$(ref_re ".$a3k" "$dir/tails.txt")"
run "400 nested parentheses" "$(cat "$dir/nest400.pat")" a100k.txt 3
run "5,000 nested parentheses" "$(cat "$dir/nest5000.pat")" a100k.txt 3
