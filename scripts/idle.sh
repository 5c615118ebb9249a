#!/usr/bin/env bash
# Measures what Orvella costs while nobody uses it: starts the optimised program on the week
# screen under a virtual X server with an empty data folder, lets it settle, then for a number of
# seconds (20 by default) without input prints the processor time it used, as a share of one
# core, and how often its main thread woke up (its context switches).
#
#   ./scripts/idle.sh [SECONDS] [--binary PATH]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=20
binary=""
while [ $# -gt 0 ]; do
  case "$1" in
    --binary) binary="$2"; shift 2 ;;
    *) seconds="$1"; shift ;;
  esac
done

if [ -z "$binary" ]; then
  ./scripts/setup.sh
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build/release -j "$(nproc)" --target orvella >/dev/null
  binary=build/release/app/orvella
fi

data_dir=$(mktemp -d)
trap 'rm -rf "$data_dir"' EXIT

# xvfb-run starts the server and runs the measurement inside it, so that both end together.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -euo pipefail
  binary="$1"; data_dir="$2"; seconds="$3"
  "$binary" --data-dir "$data_dir" >/dev/null 2>&1 &
  pid=$!
  trap "kill $pid 2>/dev/null || true" EXIT
  sleep 5
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "orvella ended before the measurement" >&2
    exit 1
  fi
  ticks_per_second=$(getconf CLK_TCK)
  # Fields 14 and 15 of /proc/PID/stat: user and system time in clock ticks.
  cpu_ticks() { awk "{ print \$14 + \$15 }" "/proc/$pid/stat"; }
  switches() {
    awk "/ctxt_switches/ { sum += \$2 } END { print sum }" "/proc/$pid/task/$pid/status"
  }
  ticks_before=$(cpu_ticks); switches_before=$(switches)
  sleep "$seconds"
  ticks_after=$(cpu_ticks); switches_after=$(switches)
  awk -v t=$((ticks_after - ticks_before)) -v hz="$ticks_per_second" -v s="$seconds" \
      -v w=$((switches_after - switches_before)) \
      "BEGIN { printf \"idle for %d s: %.2f %% of a core, %d main-thread wake-ups (%.1f per second)\\n\", s, 100 * t / hz / s, w, w / s }"
' _ "$binary" "$data_dir" "$seconds"
