#!/usr/bin/env bash
# Builds everything and runs every test: the native build (with AddressSanitizer
# and UBSan) and the Windows build under Wine. Installs what it needs first.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
JOBS="$(nproc)"

# Cheap checks first: a layering fault fails the run before anything builds.
"$ROOT/scripts/check-layers.sh"
"$ROOT/scripts/install-deps.sh"
source "$ROOT/scripts/build.sh"
build_native
build_win32

# One display and one wineserver for the whole Wine run: starting Wine is slow.
source "$ROOT/scripts/wine-session.sh"
wine_session_start "$ROOT/build/win32/wineprefix"
trap wine_session_stop EXIT

status=0
# The fuzzers (clang, own build folder) run first so that ctest's summary ends the output.
"$ROOT/scripts/fuzz.sh" || status=1
echo "== native tests" >&2
ctest --test-dir "$ROOT/build/native" -j"$JOBS" --output-on-failure || status=1
echo "== Windows tests under Wine" >&2
ctest --test-dir "$ROOT/build/win32" --output-on-failure || status=1
exit $status
