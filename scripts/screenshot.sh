#!/usr/bin/env bash
# screenshot.sh EXE OUT.png CLASS [hover|press X Y]: starts EXE under Wine on the current
# display, waits for its top-level window of window class CLASS, saves a picture of that
# window to OUT.png and closes the program again. With "hover X Y" the real pointer rests
# at (X, Y) of the window while the picture is taken (hot faces, glows); with "press X Y"
# the left button is also held down there. Meant to run inside scripts/wine-session.sh.
set -euo pipefail
exe="$1" out="$2" class="$3" action="${4:-}" px="${5:-0}" py="${6:-0}"
winrect="$(dirname "$exe")/../../tools/winrect.exe"
"$QUORVEL_WINE" "$exe" >/dev/null 2>&1 </dev/null &
pid=$!
if ! rect=$("$QUORVEL_WINE" "$winrect" "$class" 30 2>/dev/null </dev/null | tr -d '\r'); then
    echo "screenshot: no window of class $class appeared" >&2
    kill "$pid" 2>/dev/null || true
    exit 1
fi
read -r x y w h <<<"$rect"
sleep 2   # let it finish painting
case "$action" in
    hover|press)
        xdotool mousemove --sync $((x + px)) $((y + py))
        sleep 1   # the hover fade (20 steps of 10 ms) and the glow
        if [ "$action" = press ]; then
            xdotool mousedown 1
            sleep 1   # the press fade
        fi
        ;;
    "")  # the pointer away from the window, so that nothing shows hot by chance
        read -r sw sh < <(xdotool getdisplaygeometry)
        xdotool mousemove --sync $((sw - 1)) $((sh - 1))
        sleep 1
        ;;
    *) echo "screenshot: unknown action $action" >&2; kill "$pid" 2>/dev/null || true; exit 2 ;;
esac
import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$out"
[ "$action" = press ] && xdotool mouseup 1
kill "$pid" 2>/dev/null || true
