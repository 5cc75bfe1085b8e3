#!/usr/bin/env bash
# Rewrites the expected output of golden scripts from the current doxrun:
#   tests/golden/regen.sh [--trace] NAME...   (NAME without .dox)
# Review every change with git diff before committing it: the expected files
# are the reference, not a copy of whatever the code does today.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
doxrun=${DOXRUN:-$here/../../build/default/doxrun}
trace=0
if [ "${1:-}" = "--trace" ]; then trace=1; shift; fi
for name in "$@"; do
  if [ $trace = 1 ] || [ -f "$here/$name.trace" ]; then
    "$doxrun" -o "$here/$name.rtf" --trace "$here/$name.trace" "$here/$name.dox"
  else
    "$doxrun" -o "$here/$name.rtf" "$here/$name.dox"
  fi
done
