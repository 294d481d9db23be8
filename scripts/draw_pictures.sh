#!/usr/bin/env bash
# Draws the editor's own pictures with ImageMagick (Debian package imagemagick); run once, and again only
# when a picture changes. The results are kept in resources/pictures/:
#   banner.jpg  600x129  the band of the about box and the splash window (the title is drawn by the program)
#   kmr64.png    64x64   the program's icon: a disc with a play arrow, on a transparent ground
set -euo pipefail
cd "$(dirname "$0")/.."
out=resources/pictures
mkdir -p "$out"

# The banner: a deep blue gradient, a few light arcs, and a disc at the right end. The left two thirds stay
# quiet so that the title reads well over them.
convert -size 600x129 gradient:'#0b2a5c'-'#2f6fb5' -rotate 0 \
    -fill none -stroke '#ffffff22' -strokewidth 2 \
    -draw 'arc -200,40 520,420 200,330' -draw 'arc -160,70 560,450 200,330' \
    -stroke '#ffffff14' -draw 'arc -120,100 600,480 200,330' \
    -stroke none -fill '#c9d6e8' -draw 'circle 520,64 520,4' \
    -fill '#e8eef7' -draw 'circle 520,64 520,10' \
    -fill '#9fb8d9' -draw 'circle 520,64 520,26' \
    -fill '#2f6fb5' -draw 'circle 520,64 520,50' \
    -fill '#0b2a5c' -draw 'circle 520,64 520,58' \
    -fill '#ffffff55' -draw 'path "M 520,64 L 575,40 A 60,60 0 0,1 578,58 Z"' \
    -fill '#ffcc33' -stroke '#8a6400' -strokewidth 1 -draw 'polygon 512,52 512,76 532,64' \
    -quality 90 -sampling-factor 2x2 -strip "$out/banner.jpg"

# The icon: the same disc, small, with the play arrow in the hole's place.
convert -size 64x64 xc:none \
    -fill '#7d8ea8' -draw 'circle 32,32 32,2' \
    -fill '#dfe6f0' -draw 'circle 32,32 32,4' \
    -fill '#b7c8e0' -draw 'circle 32,32 32,14' \
    -fill '#ffffff88' -draw 'path "M 32,32 L 58,20 A 29,29 0 0,1 61,30 Z"' \
    -fill '#2f6fb5' -draw 'circle 32,32 32,20' \
    -fill '#ffcc33' -stroke '#8a6400' -strokewidth 1 -draw 'polygon 27,23 27,41 42,32' \
    -strip "PNG32:$out/kmr64.png"
