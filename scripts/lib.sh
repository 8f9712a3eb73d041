# Shared by the scripts: where things are, the Wine environment and the virtual display.
# shellcheck shell=bash

WUZZLE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WUZZLE_BUILD="$WUZZLE_ROOT/build"

# Two builds of the same sources. i686 is the product, the 32-bit program in the zip.
# x86_64 exists for testing: it runs where the kernel runs no 32-bit programs, and so
# Wine's 32-bit loader cannot start. Debian's `wine` script takes that loader whenever
# wine32 is installed, so the 64-bit build names its loader itself.
WUZZLE_WINE32_LOADER=${WUZZLE_WINE32_LOADER:-/usr/lib/wine/wine}
WUZZLE_WINE64_LOADER=/usr/lib/wine/wine64
WUZZLE_NO_I686="this kernel runs no 32-bit programs"

# A machine "runs 32-bit" when Wine's 32-bit loader starts.
wuzzle_runs_i686() {
    "$WUZZLE_WINE32_LOADER" --version >/dev/null 2>&1
}

# What the caller asked for, before a build is selected below.
WUZZLE_ARCH_ASKED=${WUZZLE_ARCH:-}

# The builds to test, one word each: the one WUZZLE_ARCH names (failing at once when it
# asks for i686 where that cannot run), else every build this machine runs.
wuzzle_test_arches() {
    case "$WUZZLE_ARCH_ASKED" in
        i686) wuzzle_runs_i686 || { echo "WUZZLE_ARCH=i686: $WUZZLE_NO_I686" >&2; return 1; }
              echo i686 ;;
        x86_64) echo x86_64 ;;
        "") if wuzzle_runs_i686; then echo i686 x86_64; else echo x86_64; fi ;;
        *) echo "WUZZLE_ARCH must be i686 or x86_64, not $WUZZLE_ARCH_ASKED" >&2; return 1 ;;
    esac
}

# The build that runs here, 32-bit first: for the demo and the benchmarks.
wuzzle_run_arch() {
    local arches
    arches=$(wuzzle_test_arches) || return 1
    echo "${arches%% *}"
}

# Selects one build for the functions below and for the e2e harness: its CMake preset,
# its build tree, its staged folder and its Wine loader. $1: i686 or x86_64.
wuzzle_select_arch() {
    export WUZZLE_ARCH=$1
    if [ "$1" = x86_64 ]; then
        WUZZLE_PRESET=win64
        export WUZZLE_DIST="$WUZZLE_BUILD/dist-x86_64/WuzzlePlayer"
        export WUZZLE_WINE=$WUZZLE_WINE64_LOADER WINELOADER=$WUZZLE_WINE64_LOADER
    else
        WUZZLE_PRESET=win32
        export WUZZLE_DIST="$WUZZLE_BUILD/dist/WuzzlePlayer"
        export WUZZLE_WINE=wine
        unset WINELOADER
    fi
    export WUZZLE_ARCH_BUILD="$WUZZLE_BUILD/$WUZZLE_PRESET"
}
wuzzle_select_arch "${WUZZLE_ARCH_ASKED:-i686}"

# The loader's own message when it cannot start, and a failure: a test that cannot
# start says so at once instead of waiting for its timeout.
wuzzle_check_loader() {
    local loader=$WUZZLE_WINE
    [ "$WUZZLE_ARCH" = i686 ] && loader=$WUZZLE_WINE32_LOADER
    if ! "$loader" --version >/dev/null 2>&1; then
        "$loader" --version 2>&1 | head -n 1 >&2 || true
        echo "$loader cannot start: $WUZZLE_NO_I686" >&2
        return 1
    fi
}

# Wine with code page 936 (GBK), quiet, with a private prefix in the build tree, one
# for each build (a 32-bit prefix cannot run 64-bit programs). The
# tests' virtual display has no window manager, so their prefix tells Wine to manage
# its windows itself (otherwise hiding a captioned window waits 2 s for a manager);
# a run on the user's own desktop gets a prefix of its own. $1: "desktop" for that one.
# WUZZLE_WINEPREFIX names another prefix, so that runs side by side keep apart (they
# would otherwise share one Wine server, its windows and the single-instance mutex).
wuzzle_wine_env() {
    local arch=""
    [ "$WUZZLE_ARCH" = x86_64 ] && arch=-x86_64
    export WINEPREFIX="${WUZZLE_WINEPREFIX:-$WUZZLE_BUILD/wineprefix${1:+-$1}}$arch"
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
        "$WUZZLE_WINE" wineboot -i >/dev/null 2>&1 || true
        if [ -z "${1:-}" ]; then
            "$WUZZLE_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
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
    "$WUZZLE_WINE" wineboot </dev/null >/dev/null 2>&1 || true
}

# The benchmark programs of the selected build (and what they play through), built
# when missing or out of date.
wuzzle_build_benchmarks() {
    [ -f "$WUZZLE_ARCH_BUILD/build.ninja" ] || cmake --preset "$WUZZLE_PRESET" >/dev/null
    cmake --build --preset "$WUZZLE_PRESET" -j"$(nproc)" --target benchmarks all >/dev/null
}

# The benchmarks and the demo: the build that runs here, 32-bit first, said aloud.
wuzzle_select_running_arch() {
    local arch
    arch=$(wuzzle_run_arch) || exit 1
    wuzzle_select_arch "$arch"
    local why=$WUZZLE_NO_I686
    [ -n "$WUZZLE_ARCH_ASKED" ] && why="WUZZLE_ARCH=$WUZZLE_ARCH_ASKED"
    if [ "$arch" = i686 ]; then
        echo "running the i686 build (the product)" >&2
    else
        echo "running the x86_64 build of the same sources ($why)" >&2
    fi
}
