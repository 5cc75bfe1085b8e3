#!/usr/bin/env bash
# Builds the fuzz targets (the fuzz preset: clang, libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer) and fuzzes each for SECONDS seconds:
#
#   tests/fuzz/run.sh [SECONDS] [BUILD_DIR] [TARGET...]
#
# SECONDS defaults to 60, BUILD_DIR to build/fuzz, the targets to all
# (fuzz_script: call scripts seeded with the golden ones; fuzz_pict: picture
# bytes, PNG and JPEG, UTF-8 text and links). New inputs that reach new code are kept in BUILD_DIR/corpus/<target>;
# an input that makes a target fail is written to BUILD_DIR/artifacts/ and the
# script fails: keep it under tests/fuzz/regressions/<name>/ with the fix.
# Further libFuzzer options can be given in FUZZ_FLAGS.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-60}
build=${2:-build/fuzz}
shift $(( $# > 2 ? 2 : $# ))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_script fuzz_pict)
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}"
mkdir -p "$build/artifacts" "$build/seeds/script"
cp tests/golden/*.dox "$build/seeds/script/"
for target in "${targets[@]}"; do
  name=${target#fuzz_}
  dirs=("$build/corpus/$target")
  [ "$name" = script ] && dirs+=("$build/seeds/script")
  for d in tests/fuzz/corpus/$name tests/fuzz/regressions/$name; do [ -d "$d" ] && dirs+=("$d"); done
  mkdir -p "${dirs[0]}"
  echo "== $target: ${seconds}s"
  # shellcheck disable=SC2086
  "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" ${FUZZ_FLAGS:-} \
    "${dirs[@]}" 2>"$build/$target.log" || { tail -n 60 "$build/$target.log"; exit 1; }
  grep -E "^Done|stat::number_of_executed_units|stat::average_exec_per_sec" "$build/$target.log" || true
done
