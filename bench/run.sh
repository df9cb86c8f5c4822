#!/usr/bin/env bash
# Builds the benchmarks optimised (build/bench, no sanitizers) and runs them:
# one 256 MiB file of random bytes converted by Blobsmith and by `xxd -i`,
# Blobsmith against its floor, then the Google Benchmark breakdown.
#   bench/run.sh [--quick]    (--quick: skip the Google Benchmark breakdown)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build/bench"
MIB=256

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DBLOBSMITH_SANITIZE=OFF >/dev/null
cmake --build "$BUILD" -j2 --target blobsmith_bench blobsmith_convert_bench >/dev/null

file="$BUILD/random-${MIB}MiB.bin"
bytes=$((MIB * 1024 * 1024))
if [ ! -f "$file" ] || [ "$(stat -c %s "$file")" != "$bytes" ]; then
    head -c "$bytes" /dev/urandom >"$file"
fi
cat "$file" >/dev/null  # both read from the page cache

now() { date +%s.%N; }
mbps() { awk -v b="$bytes" -v s="$1" 'BEGIN { printf "%.1f", b / 1e6 / s }'; }

# Best of three for each, to damp the noise of a shared machine.
best_xxd=""
for _ in 1 2 3; do
    t0=$(now); xxd -i "$file" >/dev/null; t1=$(now)
    t=$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')
    best_xxd=$(awk -v a="${best_xxd:-1e9}" -v b="$t" 'BEGIN { print (b < a) ? b : a }')
done
best_gen=""; best_wall=""; out_bytes=0
for _ in 1 2 3; do
    t0=$(now); read -r t out_bytes < <("$BUILD/bin/blobsmith_convert_bench" generate "$file"); t1=$(now)
    wall=$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')
    best_gen=$(awk -v a="${best_gen:-1e9}" -v b="$t" 'BEGIN { print (b < a) ? b : a }')
    best_wall=$(awk -v a="${best_wall:-1e9}" -v b="$wall" 'BEGIN { print (b < a) ? b : a }')
done
best_floor=""; best_small=""
for _ in 1 2 3; do
    read -r t _ < <("$BUILD/bin/blobsmith_convert_bench" floor "$file" "$out_bytes")
    best_floor=$(awk -v a="${best_floor:-1e9}" -v b="$t" 'BEGIN { print (b < a) ? b : a }')
    read -r t _ < <("$BUILD/bin/blobsmith_convert_bench" floor "$file" "$out_bytes" small-pages)
    best_small=$(awk -v a="${best_small:-1e9}" -v b="$t" 'BEGIN { print (b < a) ? b : a }')
done

echo "input: $MIB MiB of random bytes ($bytes bytes); output written by a generation: $out_bytes bytes"
printf 'xxd -i (whole process, to /dev/null):    %8.3f s  %8s MB/s\n' "$best_xxd" "$(mbps "$best_xxd")"
printf 'Blobsmith (whole process):               %8.3f s  %8s MB/s\n' "$best_wall" "$(mbps "$best_wall")"
printf 'Blobsmith (generation: rows + text):     %8.3f s  %8s MB/s\n' "$best_gen" "$(mbps "$best_gen")"
printf 'floor (read + write as many bytes):      %8.3f s  %8s MB/s\n' "$best_floor" "$(mbps "$best_floor")"
printf 'floor without the large-page hint:       %8.3f s  %8s MB/s\n' "$best_small" "$(mbps "$best_small")"
awk -v x="$best_xxd" -v w="$best_wall" -v g="$best_gen" -v f="$best_floor" -v s="$best_small" 'BEGIN {
    printf "throughput ratio Blobsmith / xxd -i (whole processes): %.1fx (goal: at least 20x)\n", x / w
    printf "generation / floor: %.2fx (goal: at most 1.3x); against the small-page floor: %.2fx\n", g / f, g / s }'

if [ "${1:-}" != "--quick" ]; then
    "$BUILD/bin/blobsmith_bench" --benchmark_min_time=1
fi
