#!/usr/bin/env bash
# Rewrites the expected output of golden scripts from the current doxrun:
#   tests/golden/regen.sh NAME...   (NAME without .dox; none: every script)
# NAME.err.trace (exit status and refusal lines) is rewritten only where it
# exists. Review every change with git diff before committing it: the
# expected files are the reference, not a copy of whatever the code does today.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
doxrun=$(realpath "${DOXRUN:-$here/../../build/default/doxrun}")
[ $# -gt 0 ] || set -- $(cd "$here" && ls *.dox errors/*.dox | sed 's/\.dox$//')
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for name in "$@"; do
  rc=0
  opt=()
  case $(basename "$name") in stop_*) opt=(--stop) ;; esac
  (cd "$work" && "$doxrun" "${opt[@]}" -o "$here/$name.rtf" --trace "$here/$name.trace" "$here/$name.dox" \
     2>"$work/err") < /dev/null || rc=$?
  sed -i "s|$here/$name.dox|$(basename "$name").dox|" "$work/err"
  case $name in errors/*) touch "$here/$name.err.trace" ;; esac
  if [ "$rc" = 2 ]; then rm -f "$here/$name.rtf" "$here/$name.trace"; touch "$here/$name.err.trace"; fi
  [ "$rc" -le 1 ] || [ -f "$here/$name.err.trace" ] || { cat "$work/err"; exit 1; }
  if [ -f "$here/$name.err.trace" ]; then { echo "exit $rc"; cat "$work/err"; } >"$here/$name.err.trace"; fi
done
