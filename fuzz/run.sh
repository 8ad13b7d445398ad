#!/usr/bin/env bash
# Runs every fuzz target for the given seconds from its seed corpus in fuzz/corpus/<target>.
# New inputs go to <build>/corpus/<target>; a crash leaves its input in <build>/crashes/ and
# fails the run. Usage: run.sh <build dir> [seconds]
set -euo pipefail
build=$1
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/../scripts/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=()
targets=(fuzz_ini fuzz_replies fuzz_emf fuzz_wmf fuzz_bmp fuzz_jpeg fuzz_ico fuzz_olepicture fuzz_gifframes fuzz_htmltext
         fuzz_mask fuzz_advedit fuzz_dragdrop fuzz_rtf)
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  mkdir -p "$corpus" "$build/crashes"
  echo "== $target: $seconds s"
  if ! "$build/fuzz/$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=3072 -print_final_stats=1 \
      -artifact_prefix="$build/crashes/$target-" "$corpus" "$here/corpus/$target" >"$build/$target.log" 2>&1; then
    failed+=("$target")
    tail -40 "$build/$target.log"
  else
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$build/$target.log" || true
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzz findings in: ${failed[*]} (inputs in $build/crashes/)"
  exit 1
fi
echo "No fuzz findings."
