#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UBSan) in
# build/fuzz, replays each target's committed seeds in tests/fuzz/corpus once,
# then fuzzes each for a bounded time from them. Fails on any crash, leak,
# sanitizer report or time-out; the input that did it is left in build/fuzz/
# (crash-*, leak-*, timeout-*).
#   BLOBSMITH_FUZZ_SECONDS (default 60): time per target; 0 replays only.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build/fuzz"
SECONDS_PER_TARGET="${BLOBSMITH_FUZZ_SECONDS:-60}"

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBLOBSMITH_SANITIZE=ON -DBLOBSMITH_FUZZ=ON \
    -DBLOBSMITH_WERROR=ON >/dev/null
cmake --build "$BUILD" --target xml_fuzz layout_fuzz dialog_fuzz section_fuzz -j"$(nproc)" >/dev/null

TARGETS=(xml layout dialog section)
status=0
for target in "${TARGETS[@]}"; do
    # Files as arguments: each runs once, nothing is fuzzed.
    if ! "$BUILD/bin/${target}_fuzz" "$ROOT/tests/fuzz/corpus/$target"/* >"$BUILD/$target.seeds.log" 2>&1; then
        echo "replaying the $target seeds FAILED (log: $BUILD/$target.seeds.log)" >&2
        grep -E 'ERROR|SUMMARY|Running: ' "$BUILD/$target.seeds.log" | tail -5 >&2 || true
        status=1
    fi
done
if [ "$SECONDS_PER_TARGET" = 0 ] || [ $status != 0 ]; then exit $status; fi

for target in "${TARGETS[@]}"; do
    work="$BUILD/corpus/$target"
    log="$BUILD/$target.log"
    mkdir -p "$work"
    echo "== fuzzing $target for ${SECONDS_PER_TARGET}s" >&2
    # New inputs go to the work folder; the committed seeds are only read.
    if "$BUILD/bin/${target}_fuzz" "$work" "$ROOT/tests/fuzz/corpus/$target" \
        -dict="$ROOT/tests/fuzz/$target.dict" -max_total_time="$SECONDS_PER_TARGET" -max_len=16384 \
        -timeout=30 -rss_limit_mb=2048 -artifact_prefix="$BUILD/" -print_final_stats=1 >"$log" 2>&1; then
        grep -E '^stat::number_of_executed_units|^Done' "$log" >&2 || true
    else
        echo "fuzzing $target FAILED (log: $log)" >&2
        grep -E 'ERROR|SUMMARY|artifact|Test unit written' "$log" | head -20 >&2 || true
        status=1
    fi
done
exit $status
