# Debian packages the project needs; sourced by ./run-tests and ./run.
# kmr_install_deps run installs whatever of the first list is missing (what builds and runs the editor),
# kmr_install_deps test whatever of both lists (what builds and runs every test too).

# Besides the build: Qt's Spanish texts and the stand-in for the interface font, which the editor uses at
# run time, and xorriso, which makes the ISO image of a disc folder (kmrc iso, "Crear imagen ISO...").
kmr_packages_common=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libjpeg62-turbo-dev xorriso
    qt6-translations-l10n fonts-dejavu-core)
kmr_packages_test=(libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
    # the install test's validators, and what it reads a MIME database and manual pages with
    desktop-file-utils libxml2-utils appstream shared-mime-info libglib2.0-bin groff-base
    # cpack -G DEB: dpkg-shlibdeps finds the package's Depends; lintian checks the package
    dpkg-dev file lintian
    # the editor's titles under a real X server
    xvfb xdotool
    # kmrc.exe: the MinGW-w64 cross compiler (POSIX threads), GoogleTest's sources to build for it, and
    # Wine to run both
    g++-mingw-w64-x86-64-posix googletest wine wine64)

kmr_install_deps() {
    local wanted=("${kmr_packages_common[@]}")
    [ "${1:-test}" = test ] && wanted+=("${kmr_packages_test[@]}")
    local missing=() p
    for p in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}
