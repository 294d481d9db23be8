#!/usr/bin/env bash
# Checks that the folders of gui/ depend only downwards: base/ includes no other gui folder, no
# folder includes frame/, and the folder include graph has no cycle. Prints the graph's edges.
# Usage: scripts/check-gui-layers.sh [GUI_DIR]
set -euo pipefail
gui=${1:-"$(dirname "$0")/../gui"}
cd "$gui"
shopt -s nullglob

# One "from to" line per include of a header of another gui folder. Core headers share some
# folder names (project/, editing/...), so an include counts only when the file exists here.
edges=$(
    for file in */*.h */*.cpp; do
        from=${file%%/*}
        sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file" | while read -r header; do
            to=${header%%/*}
            # An "if" rather than "&&": a last include that is no edge must not fail the loop.
            if [ "$to" != "$header" ] && [ "$to" != "$from" ] && [ -f "$header" ]; then echo "$from $to"; fi
        done
    done | sort -u
)

status=0
echo "gui folder includes:"
echo "${edges:-  (none)}" | sed 's/^/  /; s/ \([^ ]*\)$/ -> \1/'
while read -r from to; do
    [ -z "$from" ] && continue
    if [ "$from" = base ]; then
        echo "error: base/ includes $to/: base/ must not depend on another gui folder" >&2
        status=1
    fi
    if [ "$to" = frame ]; then
        echo "error: $from/ includes frame/: nothing below the frame may include it" >&2
        status=1
    fi
done <<<"$edges"
if ! echo "$edges" | tsort >/dev/null 2>&1; then
    echo "error: the gui folders include each other in a cycle:" >&2
    echo "$edges" | tsort 2>&1 >/dev/null | sed 's/^/  /' >&2
    status=1
fi
[ "$status" = 0 ] && echo "gui layers: no cycle"
exit "$status"
