#!/usr/bin/env bash
# Fuzzing as a nightly job does it: every libFuzzer target built in the given folder for the given
# number of seconds each (default 600), as many at a time as there are cores, each growing the
# corpus it keeps between runs (build/fuzz-long/<target>/corpus) from its seeds in
# fuzz/corpus/<target>. Ends with one line per target: executions, executions per second,
# coverage (edges and features), corpus size and peak memory, or the path of the input that
# crashed it; fails when any target did not run clean.
#
#   TAVO_FUZZ_JOBS       targets at a time (default: the number of cores)
#   TAVO_FUZZ_LONG_DIR   where the corpora, logs and reproducers live (default build/fuzz-long)
set -euo pipefail
dir=${1:?usage: fuzz-long.sh BUILD_DIR [SECONDS]}
seconds=${2:-600}
jobs=${TAVO_FUZZ_JOBS:-$(nproc)}
out=${TAVO_FUZZ_LONG_DIR:-build/fuzz-long}
# A run that reaches this many executions counts as having soaked.
soaked=10000000
# An input that takes longer than this is a hang, reported like a crash.
hang_seconds=60

if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
  echo "fuzz-long: the time is a whole number of seconds, not '$seconds'" >&2
  exit 2
fi
shopt -s nullglob
targets=()
for t in "$dir"/fuzz/fuzz_*; do
  [ -x "$t" ] && targets+=("$t")
done
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz-long: no fuzz targets built in $dir" >&2
  exit 1
fi

run_one() {
  local t=$1 name work seeds
  name=$(basename "$t")
  work="$out/$name"
  seeds="fuzz/corpus/${name#fuzz_}"
  mkdir -p "$work/corpus"
  local args=("$work/corpus")
  [ -d "$seeds" ] && args+=("$seeds")
  local status=0
  "$t" -max_total_time="$seconds" -timeout="$hang_seconds" -print_final_stats=1 \
    -artifact_prefix="$work/" "${args[@]}" > "$work/log.txt" 2>&1 || status=$?
  echo "$status" > "$work/status"
}

echo "fuzz-long: ${#targets[@]} targets, ${seconds}s each, $jobs at a time; work in $out"
running=0
for t in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
  echo "  $(date -u +%H:%M:%S) $(basename "$t")"
  run_one "$t" &
  running=$((running + 1))
done
wait || true

# The summary, from each target's log: libFuzzer's final statistics, or the last progress line
# and the reproducer it wrote when it stopped early.
failed=0
printf '\n%-22s %12s %8s %7s %8s %7s %7s  %s\n' target executions exec/s cov ft corpus rss_mb result
for t in "${targets[@]}"; do
  name=$(basename "$t")
  work="$out/$name"
  log="$work/log.txt"
  status=$(cat "$work/status" 2>/dev/null || echo 1)
  stat() { sed -n "s/^stat::$1: *//p" "$log" | tail -n 1; }
  progress=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
  execs=$(stat number_of_executed_units)
  [ -n "$execs" ] || execs=$(sed -nE 's/^#([0-9]+).*/\1/p' <<< "$progress")
  cov=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<< "$progress")
  ft=$(sed -nE 's/.* ft: ([0-9]+).*/\1/p' <<< "$progress")
  corpus=$(find "$work/corpus" -type f | wc -l)
  rss=$(stat peak_rss_mb)
  execs=${execs:-0}
  rate=$(stat average_exec_per_sec)
  rate=${rate:-$((execs / seconds))}
  if [ "$status" = 0 ]; then
    result=clean
    [ "$execs" -ge "$soaked" ] && result="clean, 10M after ~$((seconds * soaked / execs))s"
  else
    failed=1
    reproducer=$(sed -nE 's/.*Test unit written to (.*)$/\1/p' "$log" | tail -n 1)
    result="FAILED (exit $status): ${reproducer:-no reproducer; see $log}"
  fi
  printf '%-22s %12s %8s %7s %8s %7s %7s  %s\n' "$name" "$execs" "$rate" \
    "${cov:--}" "${ft:--}" "$corpus" "${rss:--}" "$result"
done
if [ "$failed" -ne 0 ]; then
  echo "fuzz-long: a target failed; each reproducer replays with: <target> <reproducer>"
  exit 1
fi
echo "fuzz-long: every target ran clean for ${seconds}s"
