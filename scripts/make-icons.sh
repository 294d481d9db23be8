#!/usr/bin/env bash
# Renders the PNG icons of the hicolor theme from the two drawings in resources/desktop/icons/.
# Run it after changing a drawing and commit the PNGs; the build only copies them.
# Needs rsvg-convert (Debian librsvg2-bin) or ImageMagick's convert.
set -euo pipefail
cd "$(dirname "$0")/../resources/desktop/icons"

render() {  # render SIZE SVG PNG
    if command -v rsvg-convert >/dev/null; then
        rsvg-convert -w "$1" -h "$1" "$2" -o "$3"
    else
        convert -background none -density 384 "$2" -resize "$1x$1" "$3"
    fi
}

for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "${size}x${size}"
    for drawing in kmr kmr-project; do
        render "$size" "$drawing.svg" "${size}x${size}/$drawing.png"
    done
done
echo "icons rendered in $(pwd)"
