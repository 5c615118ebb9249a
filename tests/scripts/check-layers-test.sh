#!/usr/bin/env bash
# The layer check passes on a clean tree and fails on a planted upward include and on two screen
# folders that include each other.
set -euo pipefail
check="$(cd "$(dirname "$0")/../.." && pwd)/scripts/check-layers.sh"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT

plant() { mkdir -p "$tree/$(dirname "$1")"; printf '#include "%s"\n' "$2" >"$tree/$1"; }
expect() {
  local want="$1" what="$2" output
  if output=$("$check" "$tree" 2>&1); then got=pass; else got=fail; fi
  if [ "$got" != "$want" ]; then
    echo "check-layers-test: $what: expected $want, got $got" >&2
    echo "$output" >&2
    exit 1
  fi
}

plant foundation/Clock.h foundation/Date.h
plant core/Store.cpp foundation/Clock.h
plant kit/View.cpp foundation/Clock.h
plant ui/week/Week.cpp kit/View.h
plant ui/week/Pages.cpp ui/paging/Pager.h
plant ui/paging/Pager.h kit/View.h
plant app/main.cpp ui/week/Week.h
expect pass "a clean tree"

plant core/Store.cpp kit/View.h
expect fail "core including kit"
plant core/Store.cpp foundation/Clock.h

plant kit/View.cpp ui/week/Week.h
expect fail "kit including ui"
plant kit/View.cpp foundation/Clock.h

plant ui/paging/Back.cpp ui/week/Week.h
expect fail "two screen folders including each other"
rm "$tree/ui/paging/Back.cpp"

expect pass "the clean tree again"
echo "check-layers-test: passed"
