#!/usr/bin/env bash
# wine-session.sh [--use-display] BUILD_DIR COMMAND...
# Runs COMMAND inside one Wine session: a private prefix in BUILD_DIR (created
# once, with Wine's own fonts copied in), one Xvfb display (or the current $DISPLAY with
# --use-display), and a wineserver kept alive for the whole command. Everything the
# session started is stopped again afterwards. QUORVEL_WINE_DPI=144 (or any DPI) runs
# in a prefix of its own whose display setting (LogPixels) is that DPI; without it the
# prefix is at 96.
set -euo pipefail
use_display=0
if [ "${1:-}" = "--use-display" ]; then use_display=1; shift; fi
mkdir -p "$1"
BUILD_DIR="$(cd "$1" && pwd)"; shift
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

dpi="${QUORVEL_WINE_DPI:-96}"
# A display of a larger setting has as many more pixels: 1024 x 768 at 96 DPI.
screen="$((1024 * dpi / 96))x$((768 * dpi / 96))"
if [ "$dpi" = 96 ]; then export WINEPREFIX="$BUILD_DIR/wineprefix"; else export WINEPREFIX="$BUILD_DIR/wineprefix-dpi$dpi"; fi

xvfb_pid=""
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" >/dev/null 2>&1 || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT
if [ "$use_display" = 0 ]; then
    # A free display number: none with a lock file or socket.
    display=99
    while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
    Xvfb ":$display" -screen 0 "${screen}x24" -nolisten tcp >/dev/null 2>&1 </dev/null &
    xvfb_pid=$!
    export DISPLAY=":$display"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
fi

if [ ! -f "$WINEPREFIX/.quorvel-ready" ]; then
    rm -rf "$WINEPREFIX"
    timeout 300 "$WINE" wineboot -i >/dev/null 2>&1 </dev/null || true
    wineserver -w || true
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    touch "$WINEPREFIX/.quorvel-ready"
fi
if [ ! -f "$WINEPREFIX/.quorvel-desktop" ]; then
    # One virtual desktop the size of the screen: without a window manager, Wine waits
    # about two seconds for every top-level window it shows or hides; inside a virtual
    # desktop it does not, and frames and standard dialog captions are drawn as on Windows.
    "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f \
        >/dev/null 2>&1 </dev/null || true
    "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d "$screen" /f \
        >/dev/null 2>&1 </dev/null || true
    wineserver -w || true
    touch "$WINEPREFIX/.quorvel-desktop"
fi
if [ "$dpi" != 96 ] && [ ! -f "$WINEPREFIX/.quorvel-dpi" ]; then
    # Read by every process when it starts; DpiScalingVer stays unset, as Wine expects.
    "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
        >/dev/null 2>&1 </dev/null || true
    wineserver -w || true
    touch "$WINEPREFIX/.quorvel-dpi"
fi

# Keep the server alive, then warm up with every standard stream detached: Wine's helper
# services started by the first program inherit its pipes, and a test runner would
# otherwise wait for their end forever.
wineserver -p >/dev/null 2>&1 </dev/null
timeout 120 "$WINE" cmd /c exit >/dev/null 2>&1 </dev/null || true

export QUORVEL_WINE_SESSION=1 QUORVEL_WINE="$WINE"
"$@"
