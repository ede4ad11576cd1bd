#!/usr/bin/env bash
# Runs every libFuzzer target in the given folder for a short, bounded time.
# Fails on the first crash, leak or sanitizer report.
set -euo pipefail
dir=${1:?usage: run-fuzzers.sh FOLDER [SECONDS-EACH]}
seconds=${2:-15}
shopt -s nullglob
targets=("$dir"/*)
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets in $dir"; exit 1; }
for target in "${targets[@]}"; do
  corpus=$(mktemp -d)
  echo "fuzzing $(basename "$target") for ${seconds}s"
  "$target" -max_total_time="$seconds" -max_len=256 -print_final_stats=0 "$corpus" 2>"$corpus.log" ||
    { tail -n 40 "$corpus.log"; exit 1; }
  grep -E '^Done [0-9]+ runs' "$corpus.log" | tail -n 1 || true
  rm -rf "$corpus" "$corpus.log"
done
echo "fuzzing: ${#targets[@]} targets, no crash"
