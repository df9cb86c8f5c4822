# A virtual display and a persistent wineserver for a run of Wine programs
# (sourced). Uses the caller's display when there is one.

wine_session_start() {
    export WINEPREFIX="$1" WINEDEBUG=-all WINEARCH=win32
    if [ -z "${DISPLAY:-}" ]; then
        local fifo dpy
        fifo="$(mktemp -u)"
        mkfifo "$fifo"
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
        BLOBSMITH_XVFB_PID=$!
        read -r dpy <"$fifo"
        rm -f "$fifo"
        export DISPLAY=":$dpy"
    fi
    "$ROOT/scripts/wine-prefix.sh" "$WINEPREFIX"
    wineserver -p
    # Wine's helper processes (services, explorer, rpcss) inherit the output of
    # whichever program starts them: start them now, writing to a file, so that
    # no later pipe is held open by them.
    wine cmd /c exit >"$WINEPREFIX.session.log" 2>&1 </dev/null || true
}

wine_session_stop() {
    # Only our own prefix's wineserver, never Wine processes by name.
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "${BLOBSMITH_XVFB_PID:-}" ]; then
        kill "$BLOBSMITH_XVFB_PID" 2>/dev/null || true
        wait "$BLOBSMITH_XVFB_PID" 2>/dev/null || true
    fi
}
