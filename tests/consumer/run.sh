#!/usr/bin/env bash
# Installs the built library into a scratch prefix, then builds and runs a
# user's project against it: with find_package (shared and static) and with
# pkg-config.
#   run.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail
build=$1
scratch=$2
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$scratch"
mkdir -p "$scratch"
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
test -f "$prefix/include/dox.h"
ls "$prefix"/lib*/libdox.so.0 >/dev/null  # versioned SONAME

cmake -S "$here" -B "$scratch/cmake" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$scratch/cmake" >/dev/null
LD_LIBRARY_PATH=$(echo "$prefix"/lib*) "$scratch/cmake/consumer_shared"
"$scratch/cmake/consumer_static"
if ldd "$scratch/cmake/consumer_static" | grep -q libdox; then
  echo "consumer_static links the shared library" >&2
  exit 1
fi

pcdir=$(echo "$prefix"/lib*/pkgconfig)
cc "$here/main.c" -o "$scratch/consumer_pc" $(PKG_CONFIG_PATH=$pcdir pkg-config --cflags --libs dox)
LD_LIBRARY_PATH=$(echo "$prefix"/lib*) "$scratch/consumer_pc"
