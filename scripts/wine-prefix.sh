#!/usr/bin/env bash
# Creates a Wine prefix once (safe when several tests start at the same time):
# 32-bit, Wine's fonts installed, 96 DPI unless BLOBSMITH_DPI says otherwise.
# There is no window manager under Xvfb: Wine draws the window frames itself
# (Decorated=N) and does not wait for one (Managed=N; otherwise every hidden or
# destroyed top-level window costs about 2 s).
# A prefix made with other settings (an older stamp) is made again.
#   wine-prefix.sh PREFIX
set -euo pipefail
prefix="$1"
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock -w 600 9 || { echo "wine-prefix.sh: $prefix.lock still held after 600 s" >&2; exit 1; }
# Change the stamp whenever the settings below change. The DPI is part of it:
# a prefix made at another DPI is made again.
stamp="2 managed=N decorated=N dpi=${BLOBSMITH_DPI:-96}"
if [ "$(cat "$prefix/.blobsmith-ready" 2>/dev/null)" = "$stamp" ]; then exit 0; fi

export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -d "$prefix" ]; then
    wineserver -k >/dev/null 2>&1 || true  # this prefix's own server, if one still runs
fi
rm -rf "$prefix"
# The first command starts Wine's helper processes, which inherit its output:
# send it to a file so that nothing waits on a pipe.
# Bounded, so that a Wine that hangs while booting fails the run in minutes.
boot=(timeout -k 10 300 bash -c '
    set -e
    wineboot -i
    wine reg add "HKCU\Software\Wine\X11 Driver" /v Decorated /t REG_SZ /d N /f
    wine reg add "HKCU\Software\Wine\X11 Driver" /v Managed /t REG_SZ /d N /f
    wine reg add "HKCU\Control Panel\Desktop" /v LogPixels /t REG_DWORD /d "${BLOBSMITH_DPI:-96}" /f
    wine reg add "HKCU\Software\Wine\WineDbg" /v ShowCrashDialog /t REG_DWORD /d 0 /f
    wineserver -w')
status=0
if [ -z "${DISPLAY:-}" ]; then
    xvfb-run -a "${boot[@]}" >"$prefix.boot.log" 2>&1 </dev/null || status=$?
else
    "${boot[@]}" >"$prefix.boot.log" 2>&1 </dev/null || status=$?
fi
if [ "$status" -ne 0 ]; then
    echo "wine-prefix.sh: making the Wine prefix $prefix failed (status $status; 124: it took over 300 s)," \
        "see $prefix.boot.log" >&2
    exit 1
fi
fonts="$prefix/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp -n /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
echo "$stamp" >"$prefix/.blobsmith-ready"
