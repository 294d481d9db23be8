#!/usr/bin/env bash
# Start-up of the editor against a bare Qt window (QMainWindow + QMdiArea + menu bar + tool bar):
# both are started in turn, interleaved, and each prints the moment its window is first painted
# (KMR_EXIT_AT_FIRST_PAINT) and quits. Wall time runs from just before the process is started to
# that paint; CPU and peak memory are the process's own at that moment, and /usr/bin/time gives the
# peak memory of the whole run. The editor runs a second start (its settings already written), with
# the help file beside it, once without and once with a project on the command line.
#
#   bench/startup.sh [RUNS] [BUILD_DIR]      # defaults: 15 runs, build/
#   KMR_EDITOR=other/kmr bench/startup.sh    # times another build of the editor
#   KMR_OTHER_EDITOR=old/kmr bench/startup.sh  # times a second build too, in the same runs ("other")
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
build=${2:-build}
editor=${KMR_EDITOR:-$build/bin/kmr}
[ -x "$editor" ] || { echo "no editor at $editor: build the kmr target first" >&2; exit 2; }

cmake -S bench/startup -B "$build/startup" -G Ninja >/dev/null
cmake --build "$build/startup" >/dev/null
bare="$build/startup/bare_window"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The editor looks for its help file beside the program.
mkdir -p "$work/bin" "$work/settings"
cp "$editor" "$work/bin/kmr"
echo help >"$work/bin/kmr.hlp"
names="bare editor editor-file"
if [ -n "${KMR_OTHER_EDITOR:-}" ]; then
    mkdir -p "$work/otherbin"
    cp "$KMR_OTHER_EDITOR" "$work/otherbin/kmr"
    echo help >"$work/otherbin/kmr.hlp"
    names="$names other other-file"
fi
project="$work/proyecto.kmr"
cp tests/data/projects/example.kmr "$project"

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export KMR_SETTINGS_DIR="$work/settings"
export KMR_EXIT_AT_FIRST_PAINT=1

# One run: "wall-ms cpu-ms rss-kb time-rss-kb" of the command.
measure() {
    local start out
    start=$(date +%s%N)
    out=$(/usr/bin/time -f "time-rss %M" "$@" 2>&1)
    awk -v start="$start" '
        /^first-paint/ { wall = ($2 - start) / 1e6; cpu = $4; rss = $6 }
        /^time-rss/ { trss = $2 }
        END { if (wall == "") exit 1; printf "%.1f %.1f %d %d\n", wall, cpu, rss, trss }' <<<"$out"
}

# The first start writes the settings; only second starts are timed.
"$work/bin/kmr" >/dev/null 2>&1 || true

for name in $names; do : >"$work/$name"; done
for ((i = 0; i < runs; i++)); do
    measure "$bare" >>"$work/bare"
    measure "$work/bin/kmr" >>"$work/editor"
    measure "$work/bin/kmr" "$project" >>"$work/editor-file"
    if [ -n "${KMR_OTHER_EDITOR:-}" ]; then
        measure "$work/otherbin/kmr" >>"$work/other"
        measure "$work/otherbin/kmr" "$project" >>"$work/other-file"
    fi
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
column() { awk -v c="$2" '{ print $c }' "$1" | median; }

printf '%-26s %9s %9s %11s %13s\n' "median of $runs runs" "wall ms" "CPU ms" "RSS kB" "time RSS kB"
for name in $names; do
    printf '%-26s %9s %9s %11s %13s\n' "$name" "$(column "$work/$name" 1)" "$(column "$work/$name" 2)" \
        "$(column "$work/$name" 3)" "$(column "$work/$name" 4)"
done
for name in ${names#bare }; do
    awk -v n="$name" 'NR == FNR { bw[FNR] = $1; bc[FNR] = $2; next }
        { printf "%s %.3f %.3f\n", n, $1 / bw[FNR], $2 / bc[FNR] }' "$work/bare" "$work/$name" >"$work/$name.ratio"
    printf '%-26s %9s %9s   (median of per-run ratios against the bare window run just before)\n' "$name / bare" \
        "$(awk '{ print $2 }' "$work/$name.ratio" | median)" "$(awk '{ print $3 }' "$work/$name.ratio" | median)"
done
