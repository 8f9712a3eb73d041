# Shared by the scripts: where things are, the Wine environment and the virtual display.
# shellcheck shell=bash

WUZZLE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WUZZLE_BUILD="$WUZZLE_ROOT/build"
WUZZLE_DIST="$WUZZLE_BUILD/dist/WuzzlePlayer"

# Wine with code page 936 (GBK), quiet, with a private prefix in the build tree. The
# tests' virtual display has no window manager, so their prefix tells Wine to manage
# its windows itself (otherwise hiding a captioned window waits 2 s for a manager);
# a run on the user's own desktop gets a prefix of its own. $1: "desktop" for that one.
# WUZZLE_WINEPREFIX names another prefix, so that runs side by side keep apart (they
# would otherwise share one Wine server, its windows and the single-instance mutex).
wuzzle_wine_env() {
    export WINEPREFIX="${WUZZLE_WINEPREFIX:-$WUZZLE_BUILD/wineprefix${1:+-$1}}"
    export WINEDEBUG=-all
    export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
    # No debugger on a crash: it would wait for a person, and the test run with it.
    export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d;winedbg.exe=d"
}

# Makes the prefix once (about 15 s); later runs reuse it.
wuzzle_ensure_prefix() {
    wuzzle_wine_env "${1:-}"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || true
        if [ -z "${1:-}" ]; then
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
        fi
        wineserver -w
    fi
}

# Starts Xvfb on a free display number and exports DISPLAY. The caller stops it with
# wuzzle_stop_xvfb. $1: optional root window colour.
wuzzle_start_xvfb() {
    local colour=${1:-}
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    WUZZLE_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 100); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    if [ -n "$colour" ]; then xsetroot -solid "$colour"; fi
}

wuzzle_stop_xvfb() {
    if [ -n "${WUZZLE_XVFB_PID:-}" ]; then
        kill "$WUZZLE_XVFB_PID" 2>/dev/null || true
        wait "$WUZZLE_XVFB_PID" 2>/dev/null || true
        WUZZLE_XVFB_PID=
    fi
}

# Keeps one Wine server up for a while and starts its background services now, with
# no terminal or pipe: services started later by a test would inherit the test's
# output pipe and keep the test runner waiting for it to close.
wuzzle_start_wine_session() {
    wineserver -p 60 2>/dev/null || true
    wine wineboot </dev/null >/dev/null 2>&1 || true
}
