#!/usr/bin/env bash
# Builds Orvella (optimised) and runs it; arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc)" --target orvella >/dev/null
exec build/release/app/orvella "$@"
