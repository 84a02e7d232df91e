#!/usr/bin/env bash
# Runs each fuzz target for a bounded time with one job, from a seed corpus
# of the examples and the test fixtures (and every regression input).
#   tests/fuzz/run.sh [BUILD_DIR] [SECONDS_PER_TARGET]
# BUILD_DIR defaults to build-fuzz, SECONDS to 240. Findings (crash-*,
# timeout-*, oom-*) land in BUILD_DIR/fuzz-findings/<target>.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build-fuzz}
seconds=${2:-240}
for target in project_v20 project_v118 settings analyse; do
  corpus="$build/fuzz-corpus/$target"
  findings="$build/fuzz-findings/$target"
  mkdir -p "$corpus" "$findings"
  case $target in
    settings) cp "$root"/tests/data/*.ini "$corpus"/ ;;
    *) cp "$root"/examples/*.pdd "$root"/tests/data/*.pdd "$corpus"/ ;;
  esac
  cp "$root/tests/fuzz/regressions/$target"/* "$corpus"/ 2>/dev/null || true
  "$build/tests/fuzz/fuzz_$target" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings/" 2>&1 | tail -20
done
