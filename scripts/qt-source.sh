# Sourced by the scripts that build a static Qt from Debian's own qt6-base source package for another
# platform (scripts/qt-windows.sh, scripts/qt-wasm.sh). Before sourcing, set `qt_target` (the name in
# the progress lines, e.g. "Qt for Windows") and `cache_variable` (the name of the environment
# variable that overrides the cache folder).
#
# What it fetches is verified by apt-get source itself: the .dsc's checksums are checked against
# the signed Release file of the Debian archive, and every tarball against the .dsc; an unsigned or
# altered file stops the fetch.

qt_started=$(date +%s)
phase() { echo "-- $qt_target: $* ($(($(date +%s) - qt_started)) s)" >&2; }

if [ "$(id -u)" -eq 0 ]; then
    cache="${!cache_variable:-/var/cache/orvik}"
else
    cache="${!cache_variable:-${XDG_CACHE_HOME:-$HOME/.cache}/orvik}"
fi

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

# Sets `version` to the newest qt6-base source version of the archive, so a Debian point release of
# Qt gives a new cache key.
qt_source_version() {
    version="$(apt-cache showsrc qt6-base 2>/dev/null | sed -n 's/^Version: //p' | sort -V | tail -1 || true)"
    if [ -z "$version" ]; then
        add_source_entry
        version="$(apt-cache showsrc qt6-base | sed -n 's/^Version: //p' | sort -V | tail -1)"
    fi
}

# qt_fetch_source WORK: fetches qt6-base $version into WORK/src with Debian's patches applied.
qt_fetch_source() {
    local work="$1"
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
}

# qt_build WORK [TARGET...]: runs ninja in WORK/build, printing a line every hundred steps.
qt_build() {
    local work="$1"
    shift
    local steps status
    steps="$(cd "$work/build" && ninja -n "$@" | grep -c '^\[' || true)"
    phase "building $steps steps${*:+ of $*} on $(nproc) cores"
    set +e
    (cd "$work/build" && ninja -j"$(nproc)" "$@" 2>&1) | tee -a "$work/build.log" | awk -v target="$qt_target" '
        /^\[[0-9]+\/[0-9]+\]/ {
            split(substr($1, 2), n, "/")
            if (n[1] % 100 == 0 || n[1] == n[2]) { printf "-- %s: step %d of %d\n", target, n[1], n[2]; fflush() }
        }' >&2
    status=${PIPESTATUS[0]}
    set -e
    if [ "$status" -ne 0 ]; then
        grep -B2 -A10 -m3 'FAILED' "$work/build.log" >&2 || tail -30 "$work/build.log" >&2
        exit 1
    fi
}

# qt_install WORK PREFIX: installs the build, with the licence texts of Qt and of the third-party
# code it carries for whoever ships a program linked with it, and marks the prefix complete.
qt_install() {
    local work="$1" prefix="$2"
    phase "installing into $prefix"
    (cd "$work/build" && cmake --install . >"$work/install.log" 2>&1) || {
        tail -20 "$work/install.log" >&2
        exit 1
    }
    mkdir -p "$prefix/licenses"
    cp "$work/src/LICENSES/"*.txt "$prefix/licenses/"
    sed -n 's/^set(QT_REPO_MODULE_VERSION "\([0-9.]*\)")/\1/p' "$work/src/.cmake.conf" >"$prefix/licenses/VERSION"
    touch "$prefix/.complete"
    rm -rf "$work"
    phase "done, $(du -sh "$prefix" | cut -f1) in $prefix"
}
