#!/usr/bin/env bash
# Runs the same kmrc command lines with the Linux build and with kmrc.exe under Wine, each in its own
# copy of one folder, and fails on any difference: standard output, errors, exit code, or the files
# left behind. File names carry "ñ" and accents, and the disc folder is also named with drive letter
# and backslashes.
# Usage: same_as_linux.sh LINUX_KMRC WINDOWS_KMRC_EXE   (WINEPREFIX set up by the caller)
set -euo pipefail
linux=$(realpath "$1")
windows=$(realpath "$2")
here=$(cd "$(dirname "$0")/../.." && pwd)
data="$here/tests/data"
# Wine reads the command line in the locale's character set.
export LC_ALL=C.UTF-8 WINEDEBUG=-all

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
seed="$work/seed"
mkdir -p "$seed/dísco ñ/Docs"
cp "$data/projects/"*.kmr "$seed/"
cp "$data/projects/example.kmr" "$seed/año ñú.kmr"
cp "$data/autorun/hand-written/input.inf" "$seed/autorun de prueba.inf"
cp "$data/autorun/utf16/input.inf" "$seed/utf16.inf"
# Above the input limit: refused by its size, before it is read (sparse, so it costs no disc space).
truncate -s 65M "$seed/grande ñ.kmr"
printf 'MZ' >"$seed/dísco ñ/SETUP.EXE"
printf 'léeme\r\n' >"$seed/dísco ñ/Docs/Léeme.txt"
printf '[Brenlowe KMR File]\r\nVersion=2.0\r\nPrograma=setup.exe\r\nEtiqueta=Ñandú\r\nDisco=dísco ñ\r\nMenus=1\r\n\r\n[Menu1]\r\nTexto=Léame\r\nComando=notepad Docs\\léeme.txt\r\nNombre=leame\r\n' \
    >"$seed/con disco.kmr"
cp -r "$seed" "$work/linux"
cp -r "$seed" "$work/windows"

# One command line a row, arguments separated by "|". @DISC@ is the disc folder's absolute path,
# written with drive letter and backslashes for Windows.
cases=(
    "--help"
    "show|año ñú.kmr"
    "show|v2-utf16.kmr"
    "show|v1-broken.kmr"
    "show|no está.kmr"
    "show|grande ñ.kmr"
    "convert|v1-two-menus.kmr|convertido ñ.kmr"
    "compile|año ñú.kmr|-o|-"
    "compile|--strict|año ñú.kmr|-o|estricto.inf"
    "compile|con disco.kmr|-o|dísco ñ/autorun.inf"
    "check|año ñú.kmr"
    "check|--explain|con disco.kmr"
    "check|--json|--disc|@DISC@|con disco.kmr"
    "check|--medium|usb|--disc|dísco ñ|con disco.kmr"
    "check|--disc|no hay disco|con disco.kmr"
    "preview|con disco.kmr"
    "preview|--json|--windows|7|--medium|usb-disk|--disc|@DISC@|con disco.kmr"
    "import|autorun de prueba.inf|-o|importado ñ.kmr"
    "import|--json|utf16.inf"
    "new|--program|setup.exe|--label|Mi CD ñ|--menu|Léame=notepad léeme.txt|-o|nuevo ñ.kmr"
    "new|--template|Instalador|-o|plantilla.kmr"
    "iso|con disco.kmr|-o|disco.iso"
    "show"
    "sin-orden"
)

run() {  # run SIDE PROGRAM... : runs in the side's folder, keeps out, err and the exit code
    local side=$1
    shift
    (cd "$work/$side" && "$@" >"$work/$side.out" 2>"$work/$side.err"; echo $? >"$work/$side.code") || true
}

failed=0
for line in "${cases[@]}"; do
    IFS='|' read -r -a args <<<"$line"
    linuxArgs=() windowsArgs=()
    for a in "${args[@]}"; do
        linuxArgs+=("${a//@DISC@/$work/linux/dísco ñ}")
        windowsArgs+=("${a//@DISC@/Z:${work//\//\\}\\windows\\dísco ñ\\}")
    done
    # Neither side has xorriso on its PATH: iso says so and changes nothing.
    if [ "${args[0]}" = iso ]; then
        run linux env PATH=/nonexistent "$linux" "${linuxArgs[@]}"
    else
        run linux "$linux" "${linuxArgs[@]}"
    fi
    run windows wine "$windows" "${windowsArgs[@]}"
    for part in out err code; do
        if ! cmp -s "$work/linux.$part" "$work/windows.$part"; then
            # The disc folder's own spelling is the one difference the JSON may show.
            if [ "$part" = out ] && [[ "$line" == *@DISC@* ]] &&
                diff <(sed 's/"disc": ".*"/"disc": D/' "$work/linux.out") \
                    <(sed 's/"disc": ".*"/"disc": D/' "$work/windows.out") >/dev/null; then
                continue
            fi
            echo "DIFFERENT ($part): kmrc ${line//|/ }"
            diff <(cat -A "$work/linux.$part") <(cat -A "$work/windows.$part") | head -20 || true
            failed=$((failed + 1))
        fi
    done
done
rm -f "$work"/linux.* "$work"/windows.*
if ! diff -r "$work/linux" "$work/windows" >"$work/tree.diff"; then
    echo "DIFFERENT files left behind:"
    head -40 "$work/tree.diff"
    failed=$((failed + 1))
fi
passed=$((${#cases[@]} * 3 + 1 - failed))
echo "kmrc.exe under Wine against Linux: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
