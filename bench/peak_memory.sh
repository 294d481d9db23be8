#!/usr/bin/env bash
# The peak memory of kmrc against the size of its input: show, compile, check and import of a project
# of 500 000 menus and of its autorun.inf, and imports of the shapes that cost most per byte (many
# small sections, lines of two bytes, very long lines). Prints, for each run, the exit code, the input's
# size, the peak resident memory (GNU time) and their ratio.
#
#   bench/peak_memory.sh [BUILD_DIR]      # default: build/
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
kmrc=$build/bin/kmrc
[ -x "$kmrc" ] || { echo "no kmrc at $kmrc: build the kmrc target first" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "GNU time (/usr/bin/time) is needed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

awk 'BEGIN {
    printf "[Brenlowe KMR File]\r\nVersion=2.0\r\nPrograma=setup.exe\r\nIcono=disco.ico,3\r\nEtiqueta=Disco\r\n"
    printf "Menus=500000\r\nPredeterminado=250000\r\n"
    for (k = 1; k <= 500000; k++)
        printf "\r\n[Menu%d]\r\nTexto=Menú número %d\r\nComando=explorer \"%%1\\carpeta%d\\leeme.txt\"\r\nNombre=menu%d\r\n", k, k, k, k
}' >"$work/menus.kmr"
"$kmrc" compile "$work/menus.kmr" -o "$work/menus.inf" 2>/dev/null
awk 'BEGIN { print "[autorun]"; for (i = 0; i < 1500000; i++) printf "[%x]\nk\n", i }' >"$work/sections.inf"
awk 'BEGIN { print "[autorun]"; for (i = 0; i < 8000000; i++) print "k" }' >"$work/two-byte-lines.inf"
awk 'BEGIN { print "[autorun]"; line = "v"; while (length(line) < 1000000) line = line line
             for (i = 0; i < 16; i++) print "x" i "=" substr(line, 1, 1000000) }' >"$work/long-lines.inf"

run() {
    local label=$1 input=$2
    shift 2
    local code=0
    /usr/bin/time -f "%M" -o "$work/time" "$@" >/dev/null 2>"$work/err" || code=$?
    local kib size
    kib=$(tail -1 "$work/time")
    size=$(stat -c %s "$input")
    printf '%-44s exit %s  %6.1f MB  %7.1f MB peak  %5.2f bytes per byte\n' "$label" "$code" \
        "$(echo "$size / 1000000" | bc -l)" "$(echo "$kib * 1024 / 1000000" | bc -l)" \
        "$(echo "$kib * 1024 / $size" | bc -l)"
}

run "show (500 000 menus)" "$work/menus.kmr" "$kmrc" show "$work/menus.kmr"
run "compile (500 000 menus)" "$work/menus.kmr" "$kmrc" compile "$work/menus.kmr" -o "$work/out.inf"
run "check (500 000 menus)" "$work/menus.kmr" "$kmrc" check "$work/menus.kmr"
for shape in menus sections two-byte-lines long-lines; do
    run "import --json ($shape)" "$work/$shape.inf" "$kmrc" import --json "$work/$shape.inf"
    run "import -o ($shape)" "$work/$shape.inf" "$kmrc" import --force "$work/$shape.inf" -o "$work/out.kmr"
done
