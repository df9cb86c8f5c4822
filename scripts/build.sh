# Build steps shared by test.sh and run.sh (sourced, not run). Warnings are
# errors in both, so that switching between them rebuilds nothing.

build_native() {
    cmake -S "$ROOT" -B "$ROOT/build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBLOBSMITH_SANITIZE=ON \
        -DBLOBSMITH_WERROR=ON -DBLOBSMITH_DEPS="${BLOBSMITH_DEPS:-$ROOT/.deps}" >/dev/null
    cmake --build "$ROOT/build/native" -j"$(nproc)"
}

# build_win32 [TARGET...]: everything, or only the targets named.
build_win32() {
    cmake -S "$ROOT" -B "$ROOT/build/win32" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBLOBSMITH_WERROR=ON -DBLOBSMITH_DEPS="${BLOBSMITH_DEPS:-$ROOT/.deps}" >/dev/null
    cmake --build "$ROOT/build/win32" -j"$(nproc)" ${1:+--target "$@"}
}
