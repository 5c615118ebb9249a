#!/usr/bin/env bash
# Runs the importer's mutation fuzzer (ICalendarFuzzTest) under AddressSanitizer and
# UndefinedBehaviorSanitizer for a fixed budget of mutated files:
#   ./scripts/fuzz.sh [ROUNDS] [SEED]      (20000 rounds and seed 7 by default)
# It prints how many mutated files were read or refused cleanly; a crash, a hang (the time limit
# below) or a sanitizer report fails it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh

rounds="${1:-20000}"
seed="${2:-7}"
cmake -S . -B build/sanitize -G Ninja -DORVELLA_SANITIZE=ON -DORVELLA_BUILD_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1" >/dev/null
cmake --build build/sanitize -j "$(nproc)" --target core_tests >/dev/null
ORVELLA_FUZZ_ROUNDS="$rounds" ORVELLA_FUZZ_SEED="$seed" QT_QPA_PLATFORM=offscreen TZ=UTC LANG=en_US.UTF-8 \
    timeout "$((rounds / 10 + 300))" build/sanitize/tests/core_tests --gtest_brief=1 \
    --gtest_filter=ICalendarFuzzTest.*
