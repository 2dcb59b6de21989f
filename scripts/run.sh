#!/usr/bin/env bash
# Sets up the machine, builds Mirune and starts it in the current folder (its start-up folder,
# where it keeps the memo and ToDo lists and, by default, the data folder "Myデータ").
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh"
"$here/scripts/build.sh"
exec "$here/build/bin/mirune"
