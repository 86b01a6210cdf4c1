#!/usr/bin/env bash
# screenshot.sh EXE OUT.png CLASS: starts EXE under Wine on the current display, waits for
# its top-level window of window class CLASS, saves a picture of that window to OUT.png
# and closes the program again. Meant to run inside scripts/wine-session.sh.
set -euo pipefail
exe="$1" out="$2" class="$3"
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
import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$out"
kill "$pid" 2>/dev/null || true
