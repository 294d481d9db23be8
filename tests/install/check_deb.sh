#!/usr/bin/env bash
# Builds the .deb with cpack into a temporary folder and checks it with lintian: no error and no
# warning. Skipped (exit 77) where lintian or dpkg-deb is not installed.
# Usage: check_deb.sh BUILD_DIR
set -uo pipefail
build=$1
for tool in lintian dpkg-deb dpkg-shlibdeps; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed (scripts/deps.sh's test list installs it)"
        exit 77
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! cpack -G DEB -B "$work" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    echo "FAIL: cpack -G DEB"
    exit 1
fi
deb=$(find "$work" -maxdepth 1 -name '*.deb' | head -1)
[ -n "$deb" ] || { echo "FAIL: cpack made no .deb"; exit 1; }

status=0
fail() {
    echo "FAIL: $*"
    status=1
}
fields=$(dpkg-deb -f "$deb")
echo "$fields"
contents=$(dpkg-deb -c "$deb")
for p in xorriso qt6-translations-l10n fonts-dejavu-core; do
    # The editor's run-time helpers, when the package holds the editor.
    if grep -q '/usr/bin/kmr$' <<<"$contents"; then
        grep -q "^Recommends:.*\b$p\b" <<<"$fields" || fail "Recommends lacks $p"
    fi
done
# The description's lines within 80 columns (characters, not bytes).
while IFS= read -r line; do
    [[ "$line" == " "* ]] && [ "$(LC_ALL=C.UTF-8 wc -m <<<"$line")" -gt 81 ] && fail "description line too long: $line"
done <<<"$fields"

lintian --fail-on error,warning --display-info "$deb" >"$work/lintian.log" 2>&1
code=$?
cat "$work/lintian.log"
[ $code = 0 ] || fail "lintian found errors or warnings"
[ $status = 0 ] && echo "lintian: $(basename "$deb") clean"
exit $status
