#!/usr/bin/env bash
# Checks that the code depends only downward, as the README's "Layers" describe:
#   foundation <- core, kit <- ui <- app; testing (test doubles) sits beside them.
# A source file may include only headers of its own layer and of the layers below it, and the
# screen folders under ui/ may not include each other in a circle. Prints every offending
# include with its file and line and exits with 1; exits with 0 when the tree is clean.
#
#   ./scripts/check-layers.sh [ROOT]
set -euo pipefail
root="${1:-$(dirname "$0")/..}"
cd "$root"

allowed_for() {
  case "$1" in
    foundation) echo "foundation" ;;
    core) echo "foundation core" ;;
    kit) echo "foundation kit" ;;
    ui) echo "foundation core kit ui" ;;
    app) echo "foundation core kit ui app" ;;
    testing) echo "foundation kit testing" ;;
  esac
}

failed=0
for layer in foundation core kit ui app testing; do
  [ -d "$layer" ] || continue
  allowed=" $(allowed_for "$layer") "
  while IFS=: read -r file line include; do
    target="${include#*\"}"
    target="${target%%/*}"
    if [[ "$allowed" != *" $target "* ]]; then
      echo "$file:$line: $layer may not include $target: $include" >&2
      failed=1
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[a-z]+/' "$layer" \
             --include='*.h' --include='*.cpp' || true)
done

# The screen folders form a graph of "includes"; tsort finds any circle in it.
if [ -d ui ]; then
  edges=$(grep -rnoE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"ui/[a-z]+/' ui \
            --include='*.h' --include='*.cpp' |
          sed -E 's|^ui/([a-z]+)/[^:]*:[0-9]+:.*"ui/([a-z]+)/$|\1 \2|' |
          awk '$1 != $2' | sort -u || true)
  if [ -n "$edges" ]; then
    loops=$(printf '%s\n' "$edges" | tsort 2>&1 >/dev/null | sed -n 's/^tsort: //p' || true)
    if [ -n "$loops" ]; then
      echo "screen folders include each other in a circle:" >&2
      printf '%s\n' "$loops" | grep -v 'input contains a loop' | sed 's/^/  ui\//' >&2
      echo "includes between them:" >&2
      printf '%s\n' "$edges" | sed 's/^/  /' >&2
      failed=1
    fi
  fi
fi

if [ "$failed" -eq 0 ]; then
  echo "layers: every include points downward"
fi
exit "$failed"
