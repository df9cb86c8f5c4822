#!/usr/bin/env bash
# Builds Blobsmith for Windows and starts it under Wine (on this display, or on
# a virtual one when there is none). Installs what it needs first.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

"$ROOT/scripts/install-deps.sh"
source "$ROOT/scripts/build.sh"
build_win32

exe="$ROOT/build/win32/bin/blobsmith.exe"
if [ ! -f "$exe" ]; then
    echo "Built everything; the program's window (blobsmith.exe) does not exist yet, so there is nothing to start." >&2
    exit 0
fi
source "$ROOT/scripts/wine-session.sh"
wine_session_start "$ROOT/build/win32/wineprefix"
trap wine_session_stop EXIT
wine "$exe" "$@"
