#!/usr/bin/env bash
# Measures the command users run: blobsmith-cli on one 256 MiB file of random
# bytes, natively (optimised build in build/bench) and, when the Windows build
# (build/win32) and Wine are there, under Wine; side by side with `xxd -i` and
# `od -An -tx8 -v` on the same file. Every command writes to /dev/null; each
# figure is the best of three whole processes, with the processor time (user +
# system, which the load of a shared machine disturbs far less than the wall
# time) and the peak memory (maximum resident set) of that run. Then the breakdown: the window's generation in
# this process, and the Google Benchmark suite.
#   bench/run.sh [--quick] [--no-wine] [--files]
#   (--quick: no Google Benchmark suite; --files: only the many small files,
#   with the steps of the window's drop of them)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build/bench"
MIB=256
quick=0; wine_too=1; files_only=0
for arg in "$@"; do
    case "$arg" in
        --quick) quick=1 ;;
        --no-wine) wine_too=0 ;;
        --files) files_only=1 ;;
        *) echo "usage: bench/run.sh [--quick] [--no-wine] [--files]" >&2; exit 2 ;;
    esac
done

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DBLOBSMITH_SANITIZE=OFF >/dev/null
cmake --build "$BUILD" -j2 --target blobsmith-cli blobsmith_bench blobsmith_convert_bench >/dev/null

file="$BUILD/random-${MIB}MiB.bin"
bytes=$((MIB * 1024 * 1024))
if [ ! -f "$file" ] || [ "$(stat -c %s "$file")" != "$bytes" ]; then
    head -c "$bytes" /dev/urandom >"$file"
fi
cat "$file" >/dev/null  # everyone reads from the page cache

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
echo "input: $MIB MiB of random bytes; every command writes to /dev/null; best of 3"

# best COMMAND... : prints "wall-seconds peak-KiB cpu-seconds" of the run
# with the least wall time of three.
best() {
    local t m u s best_t="" best_m="" best_c=""
    for _ in 1 2 3; do
        /usr/bin/time -f "%e %M %U %S" -o "$BUILD/time.txt" "$@" >/dev/null 2>"$BUILD/stderr.txt"
        read -r t m u s <"$BUILD/time.txt"
        if [ -z "$best_t" ] || awk -v a="$t" -v b="$best_t" 'BEGIN { exit !(a < b) }'; then
            best_t=$t; best_m=$m; best_c=$(awk -v u="$u" -v s="$s" 'BEGIN { print u + s }')
        fi
    done
    echo "$best_t $best_m $best_c"
}

row() {  # row LABEL SECONDS PEAK-KIB CPU-SECONDS [INPUT-BYTES]
    awk -v l="$1" -v s="$2" -v m="$3" -v c="$4" -v b="${5:-$bytes}" 'BEGIN {
        printf "%-36s %7.2f s %8.1f MB/s   cpu %6.2f s   %8.1f MiB peak\n", l, s, b / 1e6 / (s > 0 ? s : 0.005), c, m / 1024 }'
}
ratio() {  # ratio LABEL SLOW FAST GOAL
    awk -v l="$1" -v a="$2" -v b="$3" -v g="$4" \
        'BEGIN { printf "  %-48s %7.1fx  (goal: at least %sx)\n", l, a / (b > 0 ? b : 0.005), g }'
}

if [ "$files_only" = 0 ]; then
    read -r xxd_t xxd_m xxd_c < <(best xxd -i "$file")
    read -r od_t od_m od_c < <(best od -An -tx8 -v "$file")
    read -r cli_t cli_m cli_c < <(best "$BUILD/bin/blobsmith-cli" "$file")
    read -r cli16_t cli16_m cli16_c < <(best "$BUILD/bin/blobsmith-cli" --utf16 "$file")
    row "xxd -i" "$xxd_t" "$xxd_m" "$xxd_c"
    row "od -An -tx8 -v" "$od_t" "$od_m" "$od_c"
    row "blobsmith-cli (UTF-8)" "$cli_t" "$cli_m" "$cli_c"
    row "blobsmith-cli --utf16" "$cli16_t" "$cli16_m" "$cli16_c"
fi

exe="$ROOT/build/win32/bin/blobsmith-cli.exe"
if [ "$wine_too" = 1 ] && [ -f "$exe" ] && command -v wine >/dev/null; then
    export WINEPREFIX="$ROOT/build/win32/wineprefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    "$ROOT/scripts/wine-prefix.sh" "$WINEPREFIX"
    wineserver -p 2>/dev/null || true  # one server for every run: its start-up is not the program's time
    wine cmd /c exit >/dev/null 2>&1 </dev/null || true
    winfile="Z:${file//\//\\}"
    if [ "$files_only" = 0 ]; then
        read -r wine_t wine_m wine_c < <(best wine "$exe" "$winfile")
        read -r wine_empty_t wine_empty_m wine_empty_c < <(best wine "$exe" --help)
        row "blobsmith-cli.exe under Wine" "$wine_t" "$wine_m" "$wine_c"
        row "  (of which Wine's start: --help)" "$wine_empty_t" "$wine_empty_m" "$wine_empty_c" 0
    fi
fi

# many-small-files TREE COUNT: COUNT files of 100 random bytes in folders of 1000.
many_small_files() {
    if [ ! -f "$1/.complete" ]; then
        rm -rf "$1"
        python3 - "$1" "$2" <<'PY'
import os, sys
root, count = sys.argv[1], int(sys.argv[2])
for i in range(count):
    folder = os.path.join(root, "d%03d" % (i // 1000))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "file%06d.bin" % i), "wb") as f:
        f.write(os.urandom(100))
open(os.path.join(root, ".complete"), "w").close()
PY
    fi
}
many_small_files "$BUILD/small-100k" 100000
many_small_files "$BUILD/small-10k" 10000
read -r many_t many_m many_c < <(best "$BUILD/bin/blobsmith-cli" "$BUILD/small-100k")
row "blobsmith-cli, 100 000 small files" "$many_t" "$many_m" "$many_c" 10000000
echo "  (goal: under 1 s)"
if [ -n "${winfile:-}" ]; then
    floor="$BUILD/file_floor_win32.exe"
    i686-w64-mingw32-g++-posix -O2 -static -municode -o "$floor" "$ROOT/bench/file_floor_win32.cpp"
    small="Z:${BUILD//\//\\}\\small-10k"
    read -r wsmall_t wsmall_m wsmall_c < <(best wine "$exe" "$small")
    read -r wfloor_t wfloor_m wfloor_c < <(best wine "$floor" "$small")
    row "blobsmith-cli.exe, 10 000 small files" "$wsmall_t" "$wsmall_m" "$wsmall_c" 1000000
    row "floor under Wine (list, open, read)" "$wfloor_t" "$wfloor_m" "$wfloor_c" 1000000
    awk -v a="$wsmall_t" -v b="$wfloor_t" \
        'BEGIN { printf "  blobsmith-cli.exe takes %.2fx the floor'"'"'s time (goal: at most 1.5x)\n", a / (b > 0 ? b : 0.005) }'
    steps="$ROOT/build/win32/bin/blobsmith-drop-steps.exe"
    if [ -f "$steps" ]; then
        echo "the window's drop of the same 10 000 files, its steps in one process under Wine (best of 5):"
        wine "$steps" "$small" | sed 's/^/  /'
    fi
fi
if command -v wineserver >/dev/null && [ -n "${WINEPREFIX:-}" ]; then wineserver -k || true; fi
if [ "$files_only" = 1 ]; then
    echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
    exit 0
fi

echo "ratios, wall time (whole processes):"
ratio "blobsmith-cli / xxd -i" "$xxd_t" "$cli_t" 50
ratio "blobsmith-cli / od -An -tx8 -v" "$od_t" "$cli_t" 10
if [ -n "${wine_t:-}" ]; then ratio "blobsmith-cli.exe under Wine / xxd -i" "$xxd_t" "$wine_t" 20; fi
echo "ratios, processor time:"
ratio "blobsmith-cli / xxd -i" "$xxd_c" "$cli_c" 50
ratio "blobsmith-cli / od -An -tx8 -v" "$od_c" "$cli_c" 10
if [ -n "${wine_c:-}" ]; then ratio "blobsmith-cli.exe under Wine / xxd -i" "$xxd_c" "$wine_c" 20; fi
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"

echo "breakdown: the window's generation of the same file in one process (whole text in memory):"
read -r gen_t out_bytes < <("$BUILD/bin/blobsmith_convert_bench" generate "$file")
awk -v s="$gen_t" -v b="$bytes" -v o="$out_bytes" \
    'BEGIN { printf "  build_data_section: %.2f s, %.1f MB/s, %d bytes of UTF-16 text\n", s, b / 1e6 / s, o }'

if [ "$quick" = 0 ]; then
    "$BUILD/bin/blobsmith_bench" --benchmark_min_time=1
fi
