#!/usr/bin/env bash
# Installs and builds every dependency on a fresh Debian 12 machine.
# Idempotent and quick when everything is already present.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DEPS="${BLOBSMITH_DEPS:-$ROOT/.deps}"
TOOLCHAIN="$ROOT/cmake/mingw-i686.cmake"
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi

log() { printf '[deps] %s\n' "$*" >&2; }
die() { printf '[deps] FAILED: %s\n' "$*" >&2; exit 1; }

# True when apt already knows a source-package entry: an uncommented deb-src
# line, or a deb822 stanza (not disabled) whose Types include deb-src. Only the
# files apt reads count (not *.disabled and the like).
has_source_entries() {
    local f
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] && grep -qE '^[[:space:]]*deb-src[[:space:]]' "$f" && return 0
    done
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        awk 'BEGIN { RS = ""; found = 1 }
             {
                 types = 0; off = 0; n = split($0, line, "\n")
                 for (i = 1; i <= n; i++) {
                     if (line[i] ~ /^[ \t]*#/) continue
                     if (tolower(line[i]) ~ /^types:/ && line[i] ~ /[: \t]deb-src([ \t]|$)/) types = 1
                     if (tolower(line[i]) ~ /^enabled:[ \t]*no[ \t]*$/) off = 1
                 }
                 if (types && !off) found = 0
             }
             END { exit found }' "$f" && return 0
    done
    return 1
}

# ---------------------------------------------------------------- Debian packages
PACKAGES=(
    cmake make g++ clang libclang-rt-14-dev libgtest-dev libbenchmark-dev libexpat1-dev
    g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
    wine wine32:i386 xvfb xauth fonts-wine imagemagick x11-utils xclip xxd dpkg-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    log "installing: ${missing[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
    fi
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq -o Acquire::Retries=3
    $SUDO apt-get install -y -qq -o Acquire::Retries=3 --no-install-recommends "${missing[@]}" >/dev/null
fi

# ---------------------------------------------------------------- Expat for Windows (16-bit characters)
EXPAT_PREFIX="$DEPS/expat-mingw"
# The same file CMakeLists.txt requires: a UTF-8 libexpat.a there would not do.
EXPAT_LIB="$EXPAT_PREFIX/lib/libexpatw.a"
if [ ! -f "$EXPAT_LIB" ] || [ ! -f "$EXPAT_PREFIX/include/expat.h" ]; then
    log "building Expat for Windows (wchar_t) from Debian's source package"
    if ! has_source_entries; then
        # Same mirror and suites as the binary entries, source packages only.
        if [ -f /etc/apt/sources.list.d/debian.sources ]; then
            sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
                $SUDO tee /etc/apt/sources.list.d/blobsmith-src.sources >/dev/null
        else
            sed -n 's/^deb /deb-src /p' /etc/apt/sources.list |
                $SUDO tee /etc/apt/sources.list.d/blobsmith-src.list >/dev/null
        fi
        $SUDO apt-get update -qq -o Acquire::Retries=3
    fi
    src="$DEPS/src"
    rm -rf "$src/expat"
    mkdir -p "$src/expat"
    # The security suite's source files are not always on the mirror: fall back to the release.
    (cd "$src/expat" && { apt-get source -qq --download-only expat >/dev/null 2>&1 ||
        { rm -f ./*; apt-get source -qq --download-only expat/bookworm >/dev/null 2>&1; }; })
    compgen -G "$src/expat/*.dsc" >/dev/null || die "apt-get source could not fetch Expat's source package"
    (cd "$src/expat" && dpkg-source -x --no-check ./*.dsc tree >/dev/null)
    exp_src="$src/expat/tree"
    [ -f "$exp_src/expat/CMakeLists.txt" ] && exp_src="$exp_src/expat"
    # Debian's security patches test "#if XML_DTD == 1", which the CMake
    # config template defines without a value (the autotools one gives 1).
    # A template that changed otherwise stops the build here rather than
    # silently building Expat without DTD support.
    template="$exp_src/expat_config.h.cmake"
    if grep -qx '#cmakedefine XML_DTD' "$template"; then
        sed -i 's/^#cmakedefine XML_DTD$/#cmakedefine XML_DTD 1/' "$template"
        grep -qx '#cmakedefine XML_DTD 1' "$template" || die "could not give XML_DTD a value in $template"
    elif ! grep -qxE '#cmakedefine XML_DTD 1|#cmakedefine01 XML_DTD' "$template"; then
        die "$template no longer defines XML_DTD as expected: check the patch above"
    fi
    cmake -S "$exp_src" -B "$src/expat/build" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$EXPAT_PREFIX" \
        -DEXPAT_CHAR_TYPE=wchar_t -DEXPAT_SHARED_LIBS=OFF -DEXPAT_DTD=ON -DEXPAT_NS=ON \
        -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF -DEXPAT_BUILD_TESTS=OFF \
        -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_PKGCONFIG=OFF >/dev/null
    cmake --build "$src/expat/build" -j"$(nproc)" >/dev/null
    cmake --install "$src/expat/build" >/dev/null
    [ -f "$EXPAT_LIB" ] || die "Expat's build installed no $EXPAT_LIB"
    rm -rf "$src/expat"
fi

# ---------------------------------------------------------------- GoogleTest for Windows
GTEST_PREFIX="$DEPS/gtest-mingw"
# Every file the build links or includes: an install cut short has only some.
if [ ! -f "$GTEST_PREFIX/lib/libgtest.a" ] || [ ! -f "$GTEST_PREFIX/lib/libgtest_main.a" ] ||
    [ ! -f "$GTEST_PREFIX/include/gtest/gtest.h" ]; then
    log "building GoogleTest for Windows from /usr/src/googletest"
    b="$DEPS/src/gtest-build"
    rm -rf "$b" "$GTEST_PREFIX"
    cmake -S /usr/src/googletest -B "$b" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$GTEST_PREFIX" \
        -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=OFF >/dev/null
    cmake --build "$b" -j"$(nproc)" >/dev/null
    cmake --install "$b" >/dev/null
    rm -rf "$b"
fi

log "dependencies ready in $DEPS"
