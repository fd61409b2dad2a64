#!/usr/bin/env bash
# Builds the tests with gcov instrumentation (build/coverage), runs them all, and prints one
# table of line and branch coverage for each group of the sources. Branches that only throw
# and branches the compiler made unreachable are left out of the counts.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
build=build/coverage
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O0 -g0 --coverage" \
  -DCMAKE_EXE_LINKER_FLAGS=--coverage -DTARVEX_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
find "$build" -name '*.gcda' -delete
ctest --test-dir "$build" -j "$(nproc)" --output-on-failure | tail -3
gcovr -r . --object-directory "$build" --exclude-throw-branches --exclude-unreachable-branches \
  --filter '(common|scrivane|lirrel|orvane)/' --exclude '.*_autogen/.*' --json "$build/coverage.json" >/dev/null

# Group name, then the folders it covers (a folder that does not exist yet is ignored).
groups=(
  "common:common/"
  "scrivane/core:scrivane/core/"
  "lirrel/core:lirrel/core/"
  "scrivane/setup/core:scrivane/setup/core/"
  "orvane/core:orvane/core/"
  "windows:scrivane/gui/ lirrel/gui/ scrivane/setup/gui/ orvane/gui/"
)
printf '%-22s %8s %16s %8s %16s\n' group lines "" branches ""
for g in "${groups[@]}"; do
  name=${g%%:*}
  filters=()
  for dir in ${g#*:}; do
    [ -d "$dir" ] && filters+=(--filter "$dir")
  done
  [ ${#filters[@]} -eq 0 ] && continue
  # The report itself goes to a scratch file: gcovr replaces its output file, and as root it
  # would replace /dev/null with a regular file.
  summary=$(gcovr -r . -a "$build/coverage.json" "${filters[@]}" --print-summary -o "$build/coverage-group.txt")
  read -r lp lc lt < <(sed -n 's/^lines: \([0-9.]*\)% (\([0-9]*\) out of \([0-9]*\)).*/\1 \2 \3/p' <<<"$summary")
  read -r bp bc bt < <(sed -n 's/^branches: \([0-9.]*\)% (\([0-9]*\) out of \([0-9]*\)).*/\1 \2 \3/p' <<<"$summary")
  printf '%-22s %7s%% %16s %7s%% %16s\n' "$name" "$lp" "($lc of $lt)" "$bp" "($bc of $bt)"
done

# Lines of code and of tests, counted as non-blank lines of the C++ sources; the fuzz
# targets count as tests.
count() {
  local dirs=()
  for d in "$@"; do [ -d "$d" ] && dirs+=("$d"); done
  find "${dirs[@]}" \( -name '*.cpp' -o -name '*.h' \) -exec cat {} + | grep -cv '^[[:space:]]*$'
}
code=$(count common scrivane lirrel orvane icons)
tests=$(count tests fuzz)
printf 'code %s lines, tests %s lines, tests/code %s\n' "$code" "$tests" "$(awk -v t="$tests" -v c="$code" 'BEGIN{printf "%.2f", t/c}')"
