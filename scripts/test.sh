#!/usr/bin/env bash
# Builds everything and runs every test: the native build (with AddressSanitizer
# and UBSan), the Windows build under Wine, and a timed fuzzing run. Installs
# what it needs first. Warnings fail the build.
#   BLOBSMITH_FUZZ_SECONDS (default 30): fuzzing time per target; 0 skips the
#   timed run (the committed seeds are still replayed as a test). 30 s each is
#   about as long as the Wine tests the fuzzer runs beside, so fuzzing costs the
#   command no time; longer fuzzing is a run of scripts/fuzz.sh of its own.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
JOBS="$(nproc)"
# Every test, whatever the caller's shell selects for GoogleTest, at the DPI
# the tests expect (the runs at other DPIs set their own).
unset GTEST_FILTER GTEST_ALSO_RUN_DISABLED_TESTS BLOBSMITH_DPI

# Cheap checks first: a layering fault fails the run before anything builds.
"$ROOT/scripts/check-layers.sh"
"$ROOT/scripts/install-deps.sh"
source "$ROOT/scripts/build.sh"
build_native
build_win32
BLOBSMITH_FUZZ_SECONDS=0 "$ROOT/scripts/fuzz.sh"

# One display and one wineserver for the whole Wine run: starting Wine is slow.
# The tests drive the mouse, the keyboard and the clipboard: a display of
# their own, never the user's.
source "$ROOT/scripts/wine-session.sh"
fuzz_pid=""
stop() {
    # The fuzzer runs in a session of its own (setsid): end it with its script.
    if [ -n "$fuzz_pid" ]; then kill -- "-$fuzz_pid" 2>/dev/null || true; fi
    wine_session_stop
}
trap stop EXIT
unset DISPLAY
wine_session_start "$ROOT/build/win32/wineprefix"

failed=()
rm -rf "$ROOT/build/native/test-results" "$ROOT/build/win32/test-results"
echo "== native tests" >&2
ctest --test-dir "$ROOT/build/native" -j"$JOBS" --output-on-failure --no-tests=error || failed+=("native tests")

# The fuzzer needs one core; the Wine tests mostly wait on Wine: run side by side.
fuzz_log="$ROOT/build/fuzz.out"
BLOBSMITH_FUZZ_SECONDS="${BLOBSMITH_FUZZ_SECONDS:-30}" setsid "$ROOT/scripts/fuzz.sh" >"$fuzz_log" 2>&1 </dev/null &
fuzz_pid=$!
echo "== Windows tests under Wine (fuzzing meanwhile)" >&2
ctest --test-dir "$ROOT/build/win32" --output-on-failure --no-tests=error || failed+=("Windows tests")
wait "$fuzz_pid" || failed+=("fuzzing")
fuzz_pid=""
echo "== fuzzing" >&2
cat "$fuzz_log" >&2

skipped="$("$ROOT/scripts/list-skipped.sh" "$ROOT/build/native/test-results" "$ROOT/build/win32/test-results")"
if [ -n "$skipped" ]; then
    echo "== skipped tests (not passed, not failed)" >&2
    echo "$skipped" >&2
fi
if [ ${#failed[@]} -gt 0 ]; then
    echo "== FAILED: ${failed[*]}" >&2
    exit 1
fi
echo "== all passed" >&2
