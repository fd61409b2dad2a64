#!/usr/bin/env bash
# Fuzzes every target of the libFuzzer build for SECONDS each (default 300), with
# AddressSanitizer and UndefinedBehaviorSanitizer, as many at a time as there are cores.
# Builds build/fuzz with clang first. New inputs go to build/fuzz/corpus/<target>/, crashes
# to build/fuzz/crashes/ (add each one to fuzz/seeds/<target>/ once its fault is fixed).
# Prints each target's executions per second; fails when any target found a fault.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
jobs=${FUZZ_JOBS:-$(nproc)}
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTARVEX_FUZZ=ON -DTARVEX_TESTS=OFF -DTARVEX_BENCH=OFF >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target fuzz_targets
mkdir -p build/fuzz/crashes build/fuzz/logs

run_one() {  # name seed...
  local name=$1; shift
  local work=build/fuzz/corpus/$name dirs=()
  mkdir -p "$work"
  for s in "$@"; do
    if [ -d "$s" ]; then dirs+=("$s"); else cp -f "$s" "$work/"; fi
  done
  local log=build/fuzz/logs/$name.log status=0
  QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "build/fuzz/fuzz/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -max_len="${FUZZ_MAX_LEN:-8192}" \
    -artifact_prefix="build/fuzz/crashes/$name-" "$work" "${dirs[@]}" >"$log" 2>&1 || status=$?
  local speed
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  if [ "$status" -eq 0 ]; then
    printf '%-14s ok    %8s exec/s\n' "$name" "${speed:-?}"
  else
    printf '%-14s FAULT (see %s)\n' "$name" "$log"
    grep -m5 -E 'ERROR|property failed|runtime error|SUMMARY' "$log" | sed 's/^/    /'
    return 1
  fi
}
export -f run_one
export seconds

echo "== fuzzing every target for ${seconds} s, ${jobs} at a time"
xargs -P "$jobs" -L 1 bash -c 'run_one "$@"' _ < build/fuzz/fuzz/targets.txt
