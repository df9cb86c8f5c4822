#!/usr/bin/env bash
# Builds Blobsmith for Windows and starts it under Wine: on this display when
# there is one; otherwise on a virtual display, printing the path of a
# screenshot of the window taken after start-up, until interrupted (Ctrl+C).
# Installs what it needs first.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

"$ROOT/scripts/install-deps.sh"
source "$ROOT/scripts/build.sh"
build_win32 Blobsmith  # the program only, not the tests

exe="$ROOT/build/win32/bin/Blobsmith.exe"
headless=0
[ -z "${DISPLAY:-}" ] && headless=1
source "$ROOT/scripts/wine-session.sh"
trap wine_session_stop EXIT
# A prefix of its own: Blobsmith left open does not stand in the tests' way.
wine_session_start "$ROOT/build/win32/wineprefix-run"

if [ "$headless" = 0 ]; then
    wine "$exe"
    exit $?
fi

log="$ROOT/build/win32/blobsmith-run.log"
wine "$exe" >"$log" 2>&1 </dev/null &
program=$!
trap 'kill "$program" 2>/dev/null || true; wine_session_stop' EXIT
trap 'exit 130' INT TERM
# The window is there once X knows a window of that name (its title carries
# the version the build wrote).
version="$(sed -n 's/^#define BLOBSMITH_VERSION "\(.*\)"$/\1/p' "$ROOT/build/win32/generated/app/version.h")"
[ -n "$version" ] || { echo "no version in build/win32/generated/app/version.h" >&2; exit 1; }
title="Blobsmith v$version"
for _ in $(seq 1 100); do
    if xwininfo -root -tree 2>/dev/null | grep -qF "\"$title\""; then break; fi
    kill -0 "$program" 2>/dev/null || { echo "Blobsmith ended early; see $log" >&2; exit 1; }
    sleep 0.2
done
sleep 1
shot="$ROOT/build/win32/blobsmith-screenshot.png"
# Wine draws the frame itself here, so the X window is the whole window.
geometry="$(xwininfo -name "$title" 2>/dev/null |
    awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} /Height:/{h=$NF}
         END{if (w) print w "x" h "+" x "+" y}')"
if [ -n "$geometry" ]; then
    import -window root -crop "$geometry" +repage "$shot"
else
    import -window root "$shot"
fi
echo "Blobsmith runs on the virtual display $DISPLAY; screenshot: $shot"
echo "Press Ctrl+C to end it."
wait "$program"
