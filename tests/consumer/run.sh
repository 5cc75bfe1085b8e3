#!/usr/bin/env bash
# Builds and runs a user's C program against an installed dox: with
# find_package (dox::dox and dox::dox_static) and with pkg-config (shared, and
# fully static with --static), adding no library by hand.
#   run.sh BUILD_DIR SCRATCH_DIR        installs BUILD_DIR into SCRATCH_DIR/prefix first
#   run.sh --prefix PREFIX SCRATCH_DIR  uses an existing installation (e.g. the
#                                       Debian packages unpacked under PREFIX)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ "$1" = --prefix ]; then
  prefix=$2
  scratch=$3
  rm -rf "$scratch"
  mkdir -p "$scratch"
else
  build=$1
  scratch=$2
  rm -rf "$scratch"
  mkdir -p "$scratch"
  prefix=$scratch/prefix
  cmake --install "$build" --prefix "$prefix" >/dev/null
fi
prefix=$(realpath "$prefix")
scratch=$(realpath "$scratch")
pc=$(find "$prefix" -path '*/pkgconfig/dox.pc' | head -1)
libdir=$(dirname "$(dirname "$pc")")
test -f "$prefix/include/dox.h"
# The SONAME carries the header's major version.
major=$(sed -n 's/^#define DOX_VERSION_MAJOR \([0-9]*\).*/\1/p' "$prefix/include/dox.h")
soname=$(objdump -p "$libdir/libdox.so" | awk '$1 == "SONAME" {print $2}')
if [ "$soname" != "libdox.so.$major" ]; then
  echo "SONAME $soname, header major version $major" >&2
  exit 1
fi

cmake -S "$here" -B "$scratch/cmake" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$scratch/cmake" >/dev/null
LD_LIBRARY_PATH=$libdir "$scratch/cmake/consumer_shared"
"$scratch/cmake/consumer_static"
if ldd "$scratch/cmake/consumer_static" | grep -q libdox; then
  echo "consumer_static links the shared library" >&2
  exit 1
fi

export PKG_CONFIG_PATH=$libdir/pkgconfig
cc "$here/main.c" -o "$scratch/consumer_pc" $(pkg-config --cflags --libs dox)
LD_LIBRARY_PATH=$libdir "$scratch/consumer_pc"
cc -static "$here/main.c" -o "$scratch/consumer_pc_static" $(pkg-config --static --cflags --libs dox)
"$scratch/consumer_pc_static"
