#!/usr/bin/env bash
# How fast and in how little memory kmrc refuses inputs above its 64 MiB limit: a 2 GB sparse file
# for each reading verb, /dev/zero as a stream, and a template folder holding such a file. Prints the
# exit code, the wall time and the peak resident memory of each run (GNU time).
#
#   bench/huge_inputs.sh [BUILD_DIR]      # default: build/
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
kmrc=$build/bin/kmrc
[ -x "$kmrc" ] || { echo "no kmrc at $kmrc: build the kmrc target first" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "GNU time (/usr/bin/time) is needed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
truncate -s 2G "$work/huge.kmr"
mkdir "$work/templates"
truncate -s 2G "$work/templates/huge.kmrt"

run() {
    local label=$1
    shift
    local code=0
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>"$work/err" || code=$?
    read -r seconds kib < <(tail -1 "$work/time")
    printf '%-34s exit %s  %6s s  %7s KiB peak\n' "$label" "$code" "$seconds" "$kib"
}

run "show (2 GB sparse file)" "$kmrc" show --force "$work/huge.kmr"
run "convert (2 GB sparse file)" "$kmrc" convert "$work/huge.kmr" "$work/out.kmr"
run "import (2 GB sparse file)" "$kmrc" import --json "$work/huge.kmr"
run "import (/dev/zero)" "$kmrc" import --json /dev/zero
run "show (/dev/zero)" "$kmrc" show /dev/zero
mkdir -p "$work/xdg/kmr" && mv "$work/templates" "$work/xdg/kmr/templates"
run "templates (folder with 2 GB file)" env XDG_DATA_HOME="$work/xdg" "$kmrc" templates
