#!/usr/bin/env bash
# Builds the benchmarks optimised and runs them; arguments are passed to Google Benchmark.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc)" --target orvella_bench >/dev/null
exec build/release/bench/orvella_bench "$@"
