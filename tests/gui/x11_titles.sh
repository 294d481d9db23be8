#!/usr/bin/env bash
# Under a real X server the titles are exactly the program's own: the message about the missing help
# file is titled "Error" and the frame "Quillmere", with nothing appended by the platform. Skipped
# (exit 77) where Xvfb or xdotool is missing.
set -u
editor=$1
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: skipped"; exit 77; }
done

work=$(mktemp -d)
pids=()
cleanup() {
    local p
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# A copy of the program in a folder of its own: no help file beside it, so start-up reports it.
mkdir -p "$work/bin" "$work/settings"
cp "$editor" "$work/bin/kmr"

# The X server picks a display nobody uses and writes its number once it takes connections: a number
# looked up beforehand could be taken meanwhile, or still be served by a server going away.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for i in $(seq 300); do
    [ -s "$work/display" ] && break
    kill -0 "${pids[0]}" 2>/dev/null || break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "no X server could be started:"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"

# Waits (at most about thirty seconds, for a loaded machine) for a window whose whole title is $1; prints its id.
window() {
    local i id
    for i in $(seq 300); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}


env -u QT_QPA_PLATFORM KMR_SETTINGS_DIR="$work/settings" "$work/bin/kmr" >"$work/kmr.log" 2>&1 &
pids+=($!)

titles() { xdotool search --onlyvisible --name '.' 2>/dev/null | while read -r w; do xdotool getwindowname "$w"; done; }

error=$(window 'Error') || { echo "no window titled exactly \"Error\"; visible: $(titles | tr '\n' '|')"; exit 1; }
xdotool windowfocus --sync "$error" key Return
window 'Quillmere' >/dev/null || { echo "no window titled exactly \"Quillmere\"; visible: $(titles | tr '\n' '|')"; exit 1; }
echo "titles: Error, Quillmere"
