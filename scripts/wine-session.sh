# A virtual display and a persistent wineserver for a run of Wine programs
# (sourced). Uses the caller's display when there is one.

wine_session_start() {
    export WINEPREFIX="$1" WINEDEBUG=-all WINEARCH=win32
    BLOBSMITH_SESSION_PREFIX="$1"
    if [ -z "${DISPLAY:-}" ]; then
        local fifo dpy=""
        fifo="$(mktemp -u)"
        mkfifo "$fifo"
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
        BLOBSMITH_XVFB_PID=$!
        read -r -t 30 dpy <"$fifo" || true
        rm -f "$fifo"
        if [ -z "$dpy" ]; then
            echo "wine-session.sh: Xvfb gave no display number within 30 s" >&2
            return 1
        fi
        export DISPLAY=":$dpy"
    fi
    "$ROOT/scripts/wine-prefix.sh" "$WINEPREFIX"
    if ! wineserver -p; then
        echo "wine-session.sh: a wineserver already runs for $WINEPREFIX (another run of Blobsmith or of" \
            "the tests in this tree?); end it with: WINEPREFIX=$WINEPREFIX wineserver -k" >&2
        BLOBSMITH_SESSION_PREFIX=""  # not ours to stop
        return 1
    fi
    # Wine's helper processes (services, explorer, rpcss) inherit the output of
    # whichever program starts them: start them now, writing to a file, so that
    # no later pipe is held open by them.
    timeout -k 10 120 wine cmd /c exit >"$WINEPREFIX.session.log" 2>&1 </dev/null || true
}

wine_session_stop() {
    # Only our own prefix's wineserver, never Wine processes by name, and none
    # when the session never started its own.
    if [ -n "${BLOBSMITH_SESSION_PREFIX:-}" ]; then
        WINEPREFIX="$BLOBSMITH_SESSION_PREFIX" wineserver -k >/dev/null 2>&1 || true
    fi
    if [ -n "${BLOBSMITH_XVFB_PID:-}" ]; then
        kill "$BLOBSMITH_XVFB_PID" 2>/dev/null || true
        wait "$BLOBSMITH_XVFB_PID" 2>/dev/null || true
    fi
}
