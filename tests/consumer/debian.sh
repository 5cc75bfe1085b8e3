#!/usr/bin/env bash
# Makes the Debian packages of a build (cpack -G DEB), checks what each one
# holds, unpacks both into a scratch root and builds the consumer against them.
#   debian.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail
build=$1
scratch=$2
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$scratch"
mkdir -p "$scratch/root"
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  exit 1
fi
runtime=$(ls "$scratch"/libdox[0-9]*_*.deb)
devel=$(ls "$scratch"/libdox-dev_*.deb)

# The runtime package holds the shared library only; the development package
# everything to build against it, and depends on the runtime one.
files() { dpkg-deb -c "$1" | awk '{print $6}' | grep -v '/$'; }
if files "$runtime" | grep -v '/libdox\.so\.[0-9.]*$'; then
  echo "unexpected files in $runtime" >&2
  exit 1
fi
for f in include/dox.h 'lib/libdox\.a' 'lib/libdox\.so' cmake/dox/doxConfig.cmake pkgconfig/dox.pc bin/doxrun; do
  files "$devel" | grep -q "$f\$" || { echo "$devel lacks $f" >&2; exit 1; }
done
dpkg-deb -f "$devel" Depends | grep -q "$(dpkg-deb -f "$runtime" Package) (= $(dpkg-deb -f "$runtime" Version))"

dpkg -x "$runtime" "$scratch/root"
dpkg -x "$devel" "$scratch/root"
"$here/run.sh" --prefix "$scratch/root/usr" "$scratch/consumer"
echo "debian packages ok: $(basename "$runtime") $(basename "$devel")"
