#!/usr/bin/env bash
# Draws the editor's own pictures with ImageMagick (Debian package imagemagick); run once, and again only
# when a picture changes. The results are kept in resources/pictures/:
#   banner.jpg  600x129  the band of the about box and the splash window (the title is drawn by the program)
#   banner@2x.jpg 1200x258 the same band for screens scaled 1.5 times or more
#   kmr64.png    64x64   the program's icon: a disc with a play arrow, on a transparent ground
set -euo pipefail
cd "$(dirname "$0")/.."
out=resources/pictures
mkdir -p "$out"

# The banner: a deep blue gradient, a few light arcs, and a disc at the right end. The left two thirds stay
# quiet so that the title reads well over them. Drawn at 1 and at 2 times (banner@2x.jpg, 1200x258, for
# screens scaled up), from the same figures multiplied, so both show the same picture.
banner() {
    local s=$1 file=$2
    n() { local out="" v; for v in "$@"; do out+="$((v * s)) "; done; echo "${out% }"; }
    local c; c=$(n 520 64)
    convert -size "$((600 * s))x$((129 * s))" gradient:'#0b2a5c'-'#2f6fb5' -rotate 0 \
        -fill none -stroke '#ffffff22' -strokewidth "$((2 * s))" \
        -draw "arc $(n -200 40 520 420 | tr ' ' ,) 200,330" -draw "arc $(n -160 70 560 450 | tr ' ' ,) 200,330" \
        -stroke '#ffffff14' -draw "arc $(n -120 100 600 480 | tr ' ' ,) 200,330" \
        -stroke none -fill '#c9d6e8' -draw "circle ${c/ /,} $(n 520 4 | tr ' ' ,)" \
        -fill '#e8eef7' -draw "circle ${c/ /,} $(n 520 10 | tr ' ' ,)" \
        -fill '#9fb8d9' -draw "circle ${c/ /,} $(n 520 26 | tr ' ' ,)" \
        -fill '#2f6fb5' -draw "circle ${c/ /,} $(n 520 50 | tr ' ' ,)" \
        -fill '#0b2a5c' -draw "circle ${c/ /,} $(n 520 58 | tr ' ' ,)" \
        -fill '#ffffff55' \
        -draw "path \"M ${c/ /,} L $(n 575 40 | tr ' ' ,) A $(n 60 60 | tr ' ' ,) 0 0,1 $(n 578 58 | tr ' ' ,) Z\"" \
        -fill '#ffcc33' -stroke '#8a6400' -strokewidth "$s" \
        -draw "polygon $(n 512 52 | tr ' ' ,) $(n 512 76 | tr ' ' ,) $(n 532 64 | tr ' ' ,)" \
        -quality 90 -sampling-factor 2x2 -strip "$file"
}
banner 1 "$out/banner.jpg"
banner 2 "$out/banner@2x.jpg"

# The icon: the same disc, small, with the play arrow in the hole's place.
convert -size 64x64 xc:none \
    -fill '#7d8ea8' -draw 'circle 32,32 32,2' \
    -fill '#dfe6f0' -draw 'circle 32,32 32,4' \
    -fill '#b7c8e0' -draw 'circle 32,32 32,14' \
    -fill '#ffffff88' -draw 'path "M 32,32 L 58,20 A 29,29 0 0,1 61,30 Z"' \
    -fill '#2f6fb5' -draw 'circle 32,32 32,20' \
    -fill '#ffcc33' -stroke '#8a6400' -strokewidth 1 -draw 'polygon 27,23 27,41 42,32' \
    -strip "PNG32:$out/kmr64.png"
