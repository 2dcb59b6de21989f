#!/usr/bin/env bash
# Fails on a C++ source that does not match the repo's .clang-format, and on an include of an
# app/ header from any other folder: the main window's headers are for the program's entry
# points, the command-line tool and the benchmarks, so that no window or engine depends on the
# whole main window.
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

layering=$(git grep -n -E '^\s*#\s*include\s+"app/' -- '*.cpp' '*.h' ':!app/' ':!cli/' ':!bench/' || true)
if [ -n "$layering" ]; then
  echo "check: app/ headers included outside app/ and cli/:" >&2
  echo "$layering" >&2
  status=1
fi

exit $status
