#!/usr/bin/env bash
# Builds Orvella with AddressSanitizer and UndefinedBehaviorSanitizer and runs the whole test
# suite; then runs the foundation and core tests again under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Light optimisation and line tables only: the sanitizer builds compile much faster this way and
# still report file and line.
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1")

cmake -S . -B build/sanitize -G Ninja -DORVELLA_SANITIZE=ON "${flags[@]}" >/dev/null
cmake --build build/sanitize -j "$jobs"
ctest --test-dir build/sanitize -j "$jobs" --output-on-failure --timeout 300

cmake -S . -B build/tsan -G Ninja -DORVELLA_TSAN=ON -DORVELLA_BUILD_BENCH=OFF "${flags[@]}" >/dev/null
cmake --build build/tsan -j "$jobs" --target foundation_tests core_tests
export TSAN_OPTIONS=halt_on_error=1
build/tsan/tests/foundation_tests --gtest_brief=1
build/tsan/tests/core_tests --gtest_brief=1
