#!/usr/bin/env bash
# Builds the fuzz targets (the fuzz preset: clang, libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer), generates their seed corpora, replays the
# kept regression inputs and then fuzzes each target for SECONDS seconds.
#
#   tests/fuzz/run.sh [SECONDS] [BUILD_DIR] [TARGET...]
#
# SECONDS defaults to 60 per target, BUILD_DIR to build/fuzz, the targets to
# all four (fuzz_pict_file, fuzz_paste, fuzz_api, fuzz_image). New inputs that reach new
# code are kept in BUILD_DIR/corpus/<target> across runs; an input that makes
# a target fail is written to BUILD_DIR/artifacts/ and the script fails.
# Further libFuzzer options can be given in FUZZ_FLAGS (for example
# FUZZ_FLAGS="-jobs=4 -workers=4").
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds=${1:-60}
build=${2:-build/fuzz}
shift $(( $# > 2 ? 2 : $# ))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_pict_file fuzz_paste fuzz_api fuzz_image)

cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}" dox_fuzz_seeds
rm -rf "$build/seeds"
"$build/tests/fuzz/dox_fuzz_seeds" "$build/seeds"
mkdir -p "$build/artifacts"

for target in "${targets[@]}"; do
  corpus=${target#fuzz_}
  mkdir -p "$build/corpus/$target"
  echo "== $target: ${seconds}s"
  # The first directory receives the new inputs; the seeds and the kept
  # regression inputs are read as well.
  mkdir -p "$build/seeds/$corpus"
  dirs=("$build/corpus/$target" "$build/seeds/$corpus")
  [ -d "tests/fuzz/regressions/$corpus" ] && dirs+=("tests/fuzz/regressions/$corpus")
  [ -d "tests/fuzz/corpus/$corpus" ] && dirs+=("tests/fuzz/corpus/$corpus")
  # shellcheck disable=SC2086
  "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" ${FUZZ_FLAGS:-} \
    "${dirs[@]}" 2>"$build/$target.log" || { tail -n 60 "$build/$target.log"; exit 1; }
  grep -E "^Done|stat::number_of_executed_units|stat::average_exec_per_sec|stat::new_units_added" \
    "$build/$target.log" || true
done
