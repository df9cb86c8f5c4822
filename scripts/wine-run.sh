#!/usr/bin/env bash
# Runs a Windows program under Wine for ctest: its own prefix inside the build
# tree, a virtual display when there is none, quiet debug output, bounded time.
#   wine-run.sh [--prefix DIR] [--timeout SECONDS] PROGRAM.exe [ARGS...]
set -euo pipefail

prefix=""
limit="${BLOBSMITH_WINE_TIMEOUT:-120}"  # ctest sets each suite's own
while [ $# -gt 0 ]; do
    case "$1" in
        --prefix) prefix="$2"; shift 2 ;;
        --timeout) limit="$2"; shift 2 ;;
        *) break ;;
    esac
done
[ $# -ge 1 ] || { echo "usage: wine-run.sh [--prefix DIR] [--timeout S] PROGRAM [ARGS...]" >&2; exit 2; }
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export WINEPREFIX="${prefix:-${WINEPREFIX:-$here/../build/wineprefix}}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEARCH=win32

"$here/wine-prefix.sh" "$WINEPREFIX"

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" timeout -k 10 "$limit" wine "$@"
fi
exec timeout -k 10 "$limit" wine "$@"
