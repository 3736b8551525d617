#!/usr/bin/env bash
# Provides a static Qt for 64-bit Windows, cross-built with the project's MinGW-w64 toolchain from
# Debian's own qt6-base source package, the same Qt version the Linux build uses.
#
# The result is cached outside the clone, in a folder named after the Qt source version and a hash
# of the configure options and of the toolchain file, and reused while it is complete; otherwise it is
# fetched, configured, built and installed again. Prints the install prefix as its last line.
#
# Usage: scripts/qt-windows.sh
#   ORVIK_QT_WINDOWS_CACHE  cache folder (default /var/cache/orvik as root, else
#                           ${XDG_CACHE_HOME:-~/.cache}/orvik)
#
# What it fetches is verified by apt-get source itself: the .dsc's checksums are checked against
# the signed Release file of the Debian archive, and every tarball against the .dsc; an unsigned or
# altered file stops the fetch.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
started=$(date +%s)
phase() { echo "-- Qt for Windows: $* ($(($(date +%s) - started)) s)" >&2; }

if [ "$(id -u)" -eq 0 ]; then
    cache="${ORVIK_QT_WINDOWS_CACHE:-/var/cache/orvik}"
else
    cache="${ORVIK_QT_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/orvik}"
fi

"$here/scripts/install-packages.sh" --no-install-recommends g++-mingw-w64-x86-64-posix cmake ninja-build \
    qt6-base-dev qt6-base-dev-tools dpkg-dev

# Only what the window and its tests link: Core, Gui, Widgets, Test, the Windows and offscreen
# platforms and the Vista style. No networking, SQL, printing, XML, D-Bus or OpenGL; no image
# formats beyond the built-in PNG. The tablet header is missing from Debian's source.
toolchain="$here/cmake/mingw-w64-x86_64.cmake"
configure_options=(-release -static -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32-
    -qt-host-path /usr -nomake examples -nomake tests -no-opengl -no-dbus -no-icu -qt-zlib -qt-pcre
    -qt-libpng -no-libjpeg -no-gif -no-ico -qt-harfbuzz -qt-freetype -no-feature-sql -no-feature-network
    -no-feature-printsupport -no-feature-concurrent -no-feature-xml -no-feature-tabletevent
    -no-feature-imageformatplugin -no-feature-testlib_selfcover)

# The source version comes from the archive, so a Debian point release of Qt gives a new cache key.
add_source_entry() {
    local list=/etc/apt/sources.list.d/orvik-qt-source.sources
    [ -f "$list" ] && return 0
    local sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    phase "adding a deb-src entry for Debian's own suites ($list)"
    # The same URIs, suites and components as the machine's Debian entries, for sources.
    {
        if [ -f /etc/apt/sources.list.d/debian.sources ]; then
            sed -n -e 's/^Types:.*/Types: deb-src/p' -e '/^\(URIs\|Suites\|Components\|Signed-By\):/p' \
                -e 's/^$//p' /etc/apt/sources.list.d/debian.sources
        fi
        if [ -f /etc/apt/sources.list ]; then
            awk '$1 == "deb" && $0 ~ /debian/ {
                    sub(/^deb /, ""); n = split($0, f, " ")
                    opts = ""; i = 1
                    if (f[1] ~ /^\[/) { while (f[i] !~ /\]$/) i++; i++ }
                    printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents:", f[i], f[i+1]
                    for (j = i + 2; j <= n; j++) printf " %s", f[j]
                    printf "\n\n" }' /etc/apt/sources.list
        fi
    } | $sudo_cmd tee "$list" >/dev/null
    $sudo_cmd apt-get update -q >/dev/null
}

version="$(apt-cache showsrc qt6-base 2>/dev/null | sed -n 's/^Version: //p' | sort -V | tail -1 || true)"
if [ -z "$version" ]; then
    add_source_entry
    version="$(apt-cache showsrc qt6-base | sed -n 's/^Version: //p' | sort -V | tail -1)"
fi
key="$(printf '%s\n' "${configure_options[@]}" | cat - "$toolchain" | sha256sum | cut -c1-12)"
prefix="$cache/qt-windows-${version//[^A-Za-z0-9.+-]/_}-$key"
if [ -f "$prefix/.complete" ]; then
    phase "reusing $prefix"
    echo "$prefix"
    exit 0
fi

work="$cache/work-$key"
mkdir -p "$cache"
rm -rf "$work" "$prefix"
mkdir -p "$work"
phase "fetching qt6-base $version"
# apt's unprivileged download user must be able to write into the folder.
chown _apt "$work" 2>/dev/null || true
(cd "$work" && apt-get source -q --download-only "qt6-base=$version" >"$work/fetch.log" 2>&1) || {
    cat "$work/fetch.log" >&2
    exit 1
}
# apt-get has checked the .dsc against the archive's signed index; dpkg-source checks each tarball
# against the .dsc's checksums and applies Debian's patches.
(cd "$work" && dpkg-source -x ./*.dsc src >>"$work/fetch.log" 2>&1) || {
    cat "$work/fetch.log" >&2
    exit 1
}

phase "configuring"
mkdir -p "$work/build"
(cd "$work/build" && "$work/src/configure" -prefix "$prefix" "${configure_options[@]}" -- -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    >"$work/configure.log" 2>&1) || {
    tail -40 "$work/configure.log" >&2
    exit 1
}

# The configure options above leave only what the window and its tests use; all of it is built.
steps="$(cd "$work/build" && ninja -n | grep -c '^\[' || true)"
phase "building $steps steps on $(nproc) cores"
set +e
(cd "$work/build" && ninja -j"$(nproc)" 2>&1) | tee "$work/build.log" | awk '
    /^\[[0-9]+\/[0-9]+\]/ {
        split(substr($1, 2), n, "/")
        if (n[1] % 100 == 0 || n[1] == n[2]) { printf "-- Qt for Windows: step %d of %d\n", n[1], n[2]; fflush() }
    }' >&2
status=${PIPESTATUS[0]}
set -e
if [ "$status" -ne 0 ]; then
    grep -B2 -A10 -m3 'FAILED' "$work/build.log" >&2 || tail -30 "$work/build.log" >&2
    exit 1
fi

phase "installing into $prefix"
(cd "$work/build" && cmake --install . >"$work/install.log" 2>&1) || {
    tail -20 "$work/install.log" >&2
    exit 1
}
# The licence texts of Qt and of the third-party code it carries, for whoever ships a program
# linked with it.
mkdir -p "$prefix/licenses"
cp "$work/src/LICENSES/"*.txt "$prefix/licenses/"
sed -n 's/^set(QT_REPO_MODULE_VERSION "\([0-9.]*\)")/\1/p' "$work/src/.cmake.conf" >"$prefix/licenses/VERSION"
touch "$prefix/.complete"
rm -rf "$work"
phase "done, $(du -sh "$prefix" | cut -f1) in $prefix"
echo "$prefix"
