#!/usr/bin/env bash
# Checks that the code's includes point only downward through its layers; builds Orvella with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs the whole test suite; then runs the
# foundation and core tests again under ThreadSanitizer; then builds every target optimised, as
# the run, command-line and benchmark scripts do; then installs that build into a temporary folder
# and makes the Debian package, checking both. Prints how long each phase took.
set -euo pipefail
cd "$(dirname "$0")/.."

phase_start=$SECONDS
phase() {
  local now=$SECONDS
  if [ -n "${phase_name:-}" ]; then
    printf '== %s: %d s\n' "$phase_name" $((now - phase_start)) >&2
  fi
  phase_name="$1"
  phase_start=$now
}
finish() {
  phase ""
  printf '== all: %d s\n' "$SECONDS" >&2
}

phase "set-up"
./scripts/setup.sh

# The layers hold by this check, not only by discipline: an upward include fails the run at once.
phase "layer check"
./scripts/check-layers.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Each configuration compiles its sources in batches (one compiler run per batch), which spares
# parsing the same headers and instantiating the same templates again for every file.
unity=(-DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16)
# Light optimisation and line tables only: the sanitizer builds compile much faster this way and
# still report file and line.
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1" "${unity[@]}")

phase "sanitizer build"
cmake -S . -B build/sanitize -G Ninja -DORVELLA_SANITIZE=ON -DORVELLA_BUILD_BENCH=OFF "${flags[@]}" >/dev/null
cmake --build build/sanitize -j "$jobs"

phase "sanitizer tests"
ctest --test-dir build/sanitize -j "$jobs" --output-on-failure --timeout 600

phase "thread sanitizer build"
cmake -S . -B build/tsan -G Ninja -DORVELLA_TSAN=ON -DORVELLA_BUILD_BENCH=OFF "${flags[@]}" >/dev/null
cmake --build build/tsan -j "$jobs" --target core_tests

phase "thread sanitizer tests"
TSAN_OPTIONS=halt_on_error=1 build/tsan/tests/core_tests --gtest_brief=1

# Warnings are errors in every configuration; some only show at full optimisation.
phase "optimised build"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release "${unity[@]}" >/dev/null
cmake --build build/release -j "$jobs"

# Installs that build into a temporary folder, validates the desktop files and makes the package.
phase "install check"
./scripts/check-install.sh

finish
