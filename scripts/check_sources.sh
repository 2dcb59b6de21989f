#!/usr/bin/env bash
# Fails on a C++ source that does not match the repo's .clang-format, and on an include that
# crosses from one folder into another the dependency table below does not allow.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0

mapfile -t sources < <(git ls-files '*.cpp' '*.h')
unformatted=()
for f in "${sources[@]}"; do
  [ -f "$f" ] || continue
  if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then unformatted+=("$f"); fi
done
if ((${#unformatted[@]})); then
  echo "check: not formatted with clang-format: ${unformatted[*]}" >&2
  status=1
fi

# What each folder may include from the others: the layers from the bottom (platform) up to the
# program (app) and the tools on top. A test may also include test_support/. Anything else is
# an error, and the table itself must have no cycle, so the folders cannot form one either.
declare -A allowed=(
  [platform]=""
  [settings]="platform"
  [widgets]="platform"
  [calendar]="platform settings widgets"
  [daydata]="platform settings calendar widgets"
  [archive]="platform settings"
  [search]="platform settings calendar daydata"
  [clock]="platform settings calendar daydata"
  [options]="platform settings calendar daydata"
  [ical]="platform settings calendar daydata"
  [month]="platform settings calendar daydata"
  [sync]="platform settings calendar daydata ical"
  [app]="platform settings widgets calendar daydata month archive search clock options ical sync"
  [cli]="platform settings calendar daydata month archive search ical sync"
  [help]=""
  [test_support]="platform settings calendar daydata clock"
  [bench]="platform settings widgets calendar daydata month archive search clock options ical sync app test_support"
  [fuzz]="platform settings calendar daydata month archive search ical sync cli"
)
pairs=()
for from in "${!allowed[@]}"; do
  for to in ${allowed[$from]}; do pairs+=("$to $from"); done
done
if ! printf '%s\n' "${pairs[@]}" | tsort >/dev/null 2>/tmp/check_sources_tsort.$$; then
  echo "check: the dependency table has a cycle:" >&2
  cat /tmp/check_sources_tsort.$$ >&2
  status=1
fi
rm -f /tmp/check_sources_tsort.$$

while IFS=: read -r file line include; do
  from=${file%%/*}
  to=${include#*\"}
  to=${to%%/*}
  [ "$to" = "$from" ] && continue
  if [[ ! -v allowed[$from] ]]; then
    echo "check: $file: folder $from is missing from the dependency table" >&2
    status=1
    continue
  fi
  ok=" ${allowed[$from]} "
  case $file in *_test.cpp | *_test.h | */*test_fixture.h | test_support/*) ok="$ok test_support " ;; esac
  if [[ "$ok" != *" $to "* ]]; then
    echo "check: $file:$line includes $to/, which $from/ may not use" >&2
    status=1
  fi
done < <(git grep -n -E '^\s*#\s*include\s+"[a-z_]+/' -- '*.cpp' '*.h' | sed -E 's/^([^:]+):([0-9]+):.*#\s*include\s+("[^"]*").*/\1:\2:\3/')

exit $status
