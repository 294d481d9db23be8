#!/usr/bin/env bash
# Writes in place killed at random moments: in a folder that refuses new files (root's, mode 755) a file
# of user 65534 is overwritten by `kmrc convert` and `kmrc compile` run as that user and killed with
# SIGKILL at a random moment of their run. Afterwards the file must be the old one, the new one, or one
# that kmrc refuses as unfinished (exit 4); any other content, which a reader could take for a whole
# file, is a torn write and fails the test. Without --in-place the write is refused and the old file
# stays. Root is needed to drop to user 65534; elsewhere the test is skipped (77).
#
#   tests/cli/in_place_kills.sh KMRC [RUNS]      # RUNS kills per command, 40 by default
set -euo pipefail
kmrc=$(realpath "$1")
runs=${2:-40}
[ "$(id -u)" = 0 ] || { echo "skipped: only root can run the writes as user 65534"; exit 77; }
command -v setpriv >/dev/null || { echo "skipped: setpriv is missing"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
as_nobody() { setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }

# A small old file and a big new one, so that a kill often lands while the new one is written.
awk 'BEGIN { printf "[Brenlowe KMR File]\r\nVersion=2.0\r\nPrograma=viejo.exe\r\nEtiqueta=Viejo\r\n" }' >"$work/old.kmr"
awk 'BEGIN {
    printf "[Brenlowe KMR File]\r\nVersion=2.0\r\nPrograma=nuevo.exe\r\nMenus=60000\r\n"
    for (k = 1; k <= 60000; k++) printf "\r\n[Menu%d]\r\nTexto=Menú %d\r\nComando=abrir %d.txt\r\nNombre=m%d\r\n", k, k, k, k
}' >"$work/new.kmr"
chmod 644 "$work/old.kmr" "$work/new.kmr"
"$kmrc" compile "$work/old.kmr" -o "$work/old.inf" 2>/dev/null
# What a finished write leaves: the same commands into a folder where the file can be replaced.
"$kmrc" convert "$work/new.kmr" "$work/expected.kmr"
"$kmrc" compile "$work/new.kmr" -o "$work/expected.inf" 2>/dev/null

reset_target() {
    cp "$1" "$2"
    chown 65534:65534 "$2"
}

# Without the option nothing is written: the command says why and the old file stays.
reset_target "$work/old.kmr" "$work/target.kmr"
code=0
as_nobody "$kmrc" convert --force "$work/new.kmr" "$work/target.kmr" 2>"$work/err" || code=$?
if [ "$code" != 3 ] || ! cmp -s "$work/target.kmr" "$work/old.kmr" || ! grep -q -- "--in-place" "$work/err"; then
    echo "without --in-place: exit $code, $(cat "$work/err")"
    exit 1
fi

torn=0
# One kill at a random moment of a run as long as a whole write: `$1` names the command, the rest is
# its old file, what it leaves when it finishes, and its arguments.
kill_runs() {
    local name=$1 old=$2 expected=$3 target=$4
    shift 4
    local start end span old_n=0 new_n=0 unfinished_n=0
    reset_target "$old" "$target"
    start=$(date +%s%N)
    as_nobody "$kmrc" "$@" 2>/dev/null
    end=$(date +%s%N)
    span=$(((end - start) / 1000))  # microseconds
    for ((i = 0; i < runs; i++)); do
        reset_target "$old" "$target"
        # setpriv itself, not a function, runs in the background: its process becomes kmrc and is killed.
        setpriv --reuid=65534 --regid=65534 --clear-groups "$kmrc" "$@" 2>/dev/null &
        local pid=$!
        sleep "$(awk -v us=$(((RANDOM * 32768 + RANDOM) % (span + 1))) 'BEGIN { printf "%.6f", us / 1e6 }')"
        kill -9 "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        if cmp -s "$target" "$old"; then
            old_n=$((old_n + 1))
        elif cmp -s "$target" "$expected"; then
            new_n=$((new_n + 1))
        else
            local read_code=0
            if [[ $target == *.kmr ]]; then
                "$kmrc" show "$target" >/dev/null 2>"$work/err" || read_code=$?
            else
                "$kmrc" import --json "$target" >/dev/null 2>"$work/err" || read_code=$?
            fi
            if [ "$read_code" = 4 ] && grep -q "quedó a medias" "$work/err"; then
                unfinished_n=$((unfinished_n + 1))
            else
                torn=$((torn + 1))
                echo "$name: torn after a kill: read with exit $read_code"
            fi
        fi
    done
    echo "$name: $runs kills: $old_n old, $new_n new, $unfinished_n refused as unfinished"
}

kill_runs convert "$work/old.kmr" "$work/expected.kmr" "$work/target.kmr" \
    convert --force --in-place "$work/new.kmr" "$work/target.kmr"
kill_runs compile "$work/old.inf" "$work/expected.inf" "$work/autorun.inf" \
    compile --in-place "$work/new.kmr" -o "$work/autorun.inf"
[ "$torn" = 0 ] || { echo "$torn torn files"; exit 1; }
