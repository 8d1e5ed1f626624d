#!/usr/bin/env bash
# Runs every libFuzzer target built in the given folder for a bounded time each (13 s: eleven
# targets stay within the two and a half minutes `make test` gives them), starting from the seed
# corpus in fuzz/corpus/<target> when there is one. Fails on the first crash. For long runs:
# scripts/fuzz-long.sh.
set -euo pipefail
dir=${1:?usage: run-fuzz.sh BUILD_DIR}
seconds=${TAVO_FUZZ_SECONDS:-13}
shopt -s nullglob
targets=("$dir"/fuzz/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then
  echo "no fuzz targets built"
  exit 0
fi
for t in "${targets[@]}"; do
  [ -x "$t" ] || continue
  name=$(basename "$t")
  work="$dir/fuzz-work/$name"
  mkdir -p "$work/corpus"
  seeds="fuzz/corpus/${name#fuzz_}"
  args=("$work/corpus")
  [ -d "$seeds" ] && args+=("$seeds")
  echo "fuzzing $name for ${seconds}s"
  "$t" -max_total_time="$seconds" -print_final_stats=0 -artifact_prefix="$work/" "${args[@]}" \
    > "$work/log.txt" 2>&1 || { tail -n 40 "$work/log.txt"; echo "fuzz target $name failed"; exit 1; }
done
echo "fuzzing: ${#targets[@]} targets ran clean"
