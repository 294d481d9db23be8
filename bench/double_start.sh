#!/usr/bin/env bash
# Two editors started at the same moment, each with a project of its own, on settings where no
# editor runs yet: one of them holds the instance lock and opens its project, the other hands its
# project over through the mailbox "Archivo" (or, when nobody takes it within its wait, opens it
# itself). Each instance prints the projects it opened (KMR_REPORT_OPENED_MS) and quits. A trial
# is right when each of the two projects was opened exactly once; the script prints how many
# trials were right, how many opened a project twice and how many lost one.
#
#   bench/double_start.sh [TRIALS] [BUILD_DIR]     # defaults: 500 trials, build/
#   KMR_EDITOR=other/kmr bench/double_start.sh      # another build of the editor
set -euo pipefail
cd "$(dirname "$0")/.."
trials=${1:-500}
build=${2:-build}
editor=${KMR_EDITOR:-$build/bin/kmr}
[ -x "$editor" ] || { echo "no editor at $editor: build the kmr target first" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The help file lies beside the program, so start-up asks nothing.
mkdir -p "$work/bin" "$work/settings"
cp "$editor" "$work/bin/kmr"
echo help >"$work/bin/kmr.hlp"
cp tests/data/projects/example.kmr "$work/uno.kmr"
cp tests/data/projects/example.kmr "$work/dos.kmr"
# No splash window and no wizard: the instances only start, hand over and open.
printf '[Software\\Brenlowe\\KMR]\nAsistente=0\nBienvenida=0\n' >"$work/settings/machine.ini"

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export KMR_SETTINGS_DIR="$work/settings"
# Long enough for the running instance's first polls (every 450 ms) after its start.
export KMR_REPORT_OPENED_MS=${KMR_REPORT_OPENED_MS:-1500}

right=0 twice=0 lost=0
for ((i = 1; i <= trials; i++)); do
    "$work/bin/kmr" "$work/uno.kmr" >"$work/a.out" 2>/dev/null &
    a=$!
    "$work/bin/kmr" "$work/dos.kmr" >"$work/b.out" 2>/dev/null &
    b=$!
    wait "$a" "$b" || true
    uno=$(cat "$work/a.out" "$work/b.out" | grep -cx "opened $work/uno.kmr" || true)
    dos=$(cat "$work/a.out" "$work/b.out" | grep -cx "opened $work/dos.kmr" || true)
    if [ "$uno" -eq 1 ] && [ "$dos" -eq 1 ]; then
        right=$((right + 1))
    else
        [ "$uno" -gt 1 ] || [ "$dos" -gt 1 ] && twice=$((twice + 1))
        [ "$uno" -eq 0 ] || [ "$dos" -eq 0 ] && lost=$((lost + 1))
        echo "trial $i: uno.kmr opened $uno times, dos.kmr $dos times" >&2
    fi
done
printf '%d double starts: %d right, %d with a project opened twice, %d with a project lost\n' \
    "$trials" "$right" "$twice" "$lost"
[ "$right" -eq "$trials" ]
