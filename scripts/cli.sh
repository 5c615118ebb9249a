#!/usr/bin/env bash
# Builds orvella-cli (optimised) and runs it; arguments are passed to it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc)" --target orvella-cli >/dev/null
exec build/release/app/orvella-cli "$@"
