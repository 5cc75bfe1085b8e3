#!/usr/bin/env bash
# Opens documents in LibreOffice (headless, converted to text) and checks that
# marker texts survive. The converter exits 0 even on garbage, so the markers
# are the proof; a document cut in half must fail the same check.
#   check.sh WORKDIR DOXRUN EXAMPLES_DIR HOST_RTF...
# Each examples/NAME.dox lists its markers in lines "# expect: TEXT".
# Each host document must hold the markers given after it as FILE=MARKER|MARKER.
set -uo pipefail
work=$1 doxrun=$2 examples=$3
shift 3
rm -rf "$work"
mkdir -p "$work/in" "$work/out" "$work/profile"

declare -A markers
for script in "$examples"/*.dox; do
  name=$(basename "$script" .dox)
  "$doxrun" -o "$work/in/$name.rtf" "$script" || { echo "doxrun failed on $script"; exit 1; }
  markers[$name]=$(sed -n 's/^# expect: //p' "$script")
  if [ -z "${markers[$name]}" ]; then echo "$script has no '# expect:' markers"; exit 1; fi
done
for pair in "$@"; do
  file=${pair%%=*}
  name=$(basename "$file" .rtf)
  cp "$file" "$work/in/$name.rtf"
  markers[$name]=$(printf '%s' "${pair#*=}" | tr '|' '\n')
done
# The largest document, cut in half: must not pass.
largest=$(ls -S "$work"/in/*.rtf | head -n 1)
head -c $(( $(stat -c %s "$largest") / 2 )) "$largest" > "$work/in/truncated.rtf"
markers[truncated]=$(printf '%s' "${markers[$(basename "$largest" .rtf)]}")

soffice -env:UserInstallation=file://$work/profile --headless --norestore \
  --convert-to txt:Text --outdir "$work/out" "$work"/in/*.rtf >"$work/soffice.log" 2>&1

fail=0
for rtf in "$work"/in/*.rtf; do
  name=$(basename "$rtf" .rtf)
  txt=$work/out/$name.txt
  ok=1
  if [ ! -s "$txt" ]; then
    ok=0
  else
    while IFS= read -r m; do
      [ -z "$m" ] && continue
      grep -qF -- "$m" "$txt" || { ok=0; echo "$name: marker not found: $m"; }
    done <<<"${markers[$name]}"
  fi
  if [ "$name" = truncated ]; then
    if [ $ok = 1 ]; then echo "a truncated document passed the check"; fail=1;
    else echo "truncated: rejected, as it must be"; fi
  elif [ $ok = 0 ]; then
    echo "$name: did not open cleanly in LibreOffice"; fail=1
  else
    echo "$name: ok"
  fi
done
exit $fail
