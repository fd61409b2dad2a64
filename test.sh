#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in a normal build and once
# with AddressSanitizer and UndefinedBehaviorSanitizer; then fuzzes every fuzz target briefly
# (FUZZ_SECONDS each, 20 by default) under libFuzzer with both sanitizers; compiles the
# programs' and tests' sources as a Windows build sees them; makes the Debian package from the
# normal build and installs, checks and removes it. Ends with CTest's summary line.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVEX_BENCH=ON
cmake --build build/release -j "$jobs"

cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O0 -g1" -DTARVEX_SANITIZE=ON -DTARVEX_BENCH=OFF
cmake --build build/sanitize -j "$jobs"

echo "== tests with AddressSanitizer and UndefinedBehaviorSanitizer"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/sanitize --output-on-failure -j "$jobs"
FUZZ_JOBS=$jobs ./scripts/fuzz.sh "${FUZZ_SECONDS:-20}"
./scripts/portability-check.sh
./scripts/package-check.sh build/release

echo "== tests"
ctest --test-dir build/release --output-on-failure -j "$jobs"
