#!/usr/bin/env bash
# Fuzzes every target built in BUILD_DIR for SECONDS each, starting from its seed corpus in fuzz/corpus/.
# What the fuzzer learns goes to BUILD_DIR/fuzz-corpus (never into the repository); an input that crashes,
# leaks, trips a sanitizer or takes longer than 10 s is kept in BUILD_DIR/fuzz-findings and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:?usage: scripts/fuzz.sh BUILD_DIR SECONDS}
seconds=${2:?usage: scripts/fuzz.sh BUILD_DIR SECONDS}

findings="$build_dir/fuzz-findings"
mkdir -p "$findings"
failed=()
for seeds in fuzz/corpus/*/; do
  name=$(basename "$seeds")
  learned="$build_dir/fuzz-corpus/$name"
  mkdir -p "$learned"
  echo "Fuzzing $name for ${seconds}s"
  # Long inputs on purpose: patterns that slow down with the square of the text need a few thousand
  # characters to show it.
  if ! QT_QPA_PLATFORM=offscreen "$build_dir/fuzz/fuzz_$name" "$learned" "$seeds" \
      -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$findings/$name-" -print_final_stats=1 > "$build_dir/fuzz-$name.log" 2>&1; then
    tail -n 40 "$build_dir/fuzz-$name.log"
    failed+=("$name")
  else
    grep -E '^stat::number_of_executed_units' "$build_dir/fuzz-$name.log" | sed "s/^/  $name /" || true
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing found faults in: ${failed[*]} (inputs in $findings)"
  exit 1
fi
echo "Fuzzing found nothing in $(ls -d fuzz/corpus/*/ | wc -l) targets"
