#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the tree: the programs, the data folder, the
# manual pages and, with the editor, its desktop entry, file types, icons and metainfo. The desktop
# entry, MIME file and metainfo go through their validators where those are installed.
# Usage: check_install.sh BUILD_DIR APP_ID WITH_EDITOR(0|1) BINDIR DATADIR MANDIR
set -uo pipefail
build=$1 id=$2 editor=$3 bindir=$4 datadir=$5 mandir=$6

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
status=0
fail() {
    echo "FAIL: $*"
    status=1
}
skip() { echo "skipped: $*"; }
have() { command -v "$1" >/dev/null; }

if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
    cat "$work/install.log"
    fail "cmake --install failed"
    exit 1
fi

# Width and height from a PNG's header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }'; }

check_file() { [ -f "$prefix/$1" ] || fail "missing $1"; }

programs=(kmrc)
[ "$editor" = 1 ] && programs+=(kmr)
for p in "${programs[@]}"; do
    [ -x "$prefix/$bindir/$p" ] || fail "missing program $bindir/$p"
    # Installed programs carry no symbols or debug information, whatever the build type.
    if have file; then
        file -b "$prefix/$bindir/$p" | grep -q ', stripped' || fail "$bindir/$p is not stripped"
    fi
    check_file "$mandir/man1/$p.1.gz"
    if have groff; then
        warnings=$(gzip -dc "$prefix/$mandir/man1/$p.1.gz" | LC_ALL=C.UTF-8 groff -man -ww -z -K utf8 2>&1)
        [ -z "$warnings" ] || fail "$p.1: $warnings"
    fi
done
check_file "$datadir/doc/kmr/copyright"
check_file "$datadir/doc/kmr/changelog.gz"
[ -d "$prefix/$datadir/kmr" ] || fail "missing data folder $datadir/kmr"
"$prefix/$bindir/kmrc" --help >/dev/null || fail "the installed kmrc does not run"

if [ "$editor" = 1 ]; then
    desktop=$datadir/applications/$id.desktop
    metainfo=$datadir/metainfo/$id.metainfo.xml
    mime=$datadir/mime/packages/kmr.xml
    for f in "$desktop" "$metainfo" "$mime"; do check_file "$f"; done

    icons=$datadir/icons/hicolor
    check_file "$icons/scalable/apps/$id.svg"
    check_file "$icons/scalable/mimetypes/application-x-kmr-project.svg"
    for size in 16 22 24 32 48 64 128 256; do
        for icon in "apps/$id.png" "mimetypes/application-x-kmr-project.png"; do
            f=$prefix/$icons/${size}x$size/$icon
            if [ ! -f "$f" ]; then
                fail "missing $icons/${size}x$size/$icon"
            elif [ "$(png_size "$f")" != "${size}x$size" ]; then
                fail "$icons/${size}x$size/$icon is $(png_size "$f")"
            fi
        done
    done

    # The entry starts the installed program on a project, under the program's icon, for the
    # project type that the MIME file defines.
    entry=$prefix/$desktop
    grep -qx 'Exec=kmr %f' "$entry" || fail "$desktop: Exec is not 'kmr %f'"
    grep -qx "Icon=$id" "$entry" || fail "$desktop: Icon is not $id"
    types=$(sed -n 's/^MimeType=//p' "$entry")
    [[ ";$types" == *";application/x-kmr-project;"* ]] || fail "$desktop: no MimeType for projects"
    IFS=';' read -ra listed <<<"$types"
    for t in "${listed[@]}"; do
        grep -q "<mime-type type=\"$t\">" "$prefix/$mime" || fail "$desktop: $t is not defined in kmr.xml"
    done
    grep -q "<id>$id</id>" "$prefix/$metainfo" || fail "$metainfo: id is not $id"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$prefix/$metainfo" ||
        fail "$metainfo: does not launch $id.desktop"

    if have desktop-file-validate; then
        desktop-file-validate "$entry" || fail "desktop-file-validate $desktop"
    else
        skip "desktop-file-validate not installed"
    fi
    if have xmllint; then
        xmllint --noout "$prefix/$mime" "$prefix/$metainfo" || fail "xmllint"
    else
        skip "xmllint not installed"
    fi
    if have appstreamcli; then
        appstreamcli validate --no-net "$prefix/$metainfo" >"$work/appstream.log" 2>&1 ||
            { cat "$work/appstream.log"; fail "appstreamcli validate $metainfo"; }
    else
        skip "appstreamcli not installed"
    fi

    # The MIME database built from the file tells each kind of file by its name or its first line.
    if have update-mime-database && have gio; then
        mkdir -p "$work/xdg/mime/packages" "$work/files"
        cp "$prefix/$mime" "$work/xdg/mime/packages/"
        update-mime-database "$work/xdg/mime" >/dev/null 2>&1 || fail "update-mime-database"
        f=$work/files
        printf '[Brenlowe KMR File]\r\nVersion=2.0\r\n' >"$f/v2"
        printf '\xff\xfe[\0B\0r\0e\0n\0l\0o\0w\0e\0 \0K\0M\0R\0 \0F\0i\0l\0e\0]\0' >"$f/v2-utf16"
        printf '[DANTREVA kmr File]\r\nversion=1.0\r\n' >"$f/v1"
        printf '[Brenlowe KMR Template]\r\nVersioMajor=2\r\n' >"$f/template"
        printf 'open=a.exe\r\n' >"$f/named.kmr"
        printf 'open=a.exe\r\n' >"$f/named.kmrt"
        printf ' [dantreva kmr file]\r\n' >"$f/blank-first"
        while read -r name want; do
            got=$(XDG_DATA_HOME="$work/xdg" XDG_DATA_DIRS="$work/xdg:/usr/share" \
                gio info -a standard::content-type "$f/$name" 2>/dev/null | sed -n 's/.*content-type: //p')
            [ "$got" = "$want" ] || fail "MIME type of $name is '$got', not $want"
        done <<'TABLE'
v2 application/x-kmr-project
v2-utf16 application/x-kmr-project
v1 application/x-kmr-project
template application/x-kmr-template
named.kmr application/x-kmr-project
named.kmrt application/x-kmr-template
blank-first text/plain
TABLE
    else
        skip "update-mime-database or gio not installed"
    fi
fi

[ $status = 0 ] && echo "installed tree complete"
exit $status
