#!/usr/bin/env bash
# screenshot.sh EXE OUT.png TITLE: starts EXE under Wine on the current display, waits
# for its top-level window named TITLE, saves a picture of that window to OUT.png and
# closes the program again. Meant to run inside scripts/wine-session.sh.
set -euo pipefail
exe="$1" out="$2" title="$3"
"${QUORVEL_WINE:-wine}" "$exe" >/dev/null 2>&1 </dev/null &
pid=$!
win=""
for _ in $(seq 200); do
    win=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -1 || true)
    [ -n "$win" ] && break
    sleep 0.1
done
if [ -z "$win" ]; then
    echo "screenshot: no window named \"$title\" appeared" >&2
    kill "$pid" 2>/dev/null || true
    exit 1
fi
sleep 1.5   # let it finish painting
import -display "$DISPLAY" -window "$win" "$out"
kill "$pid" 2>/dev/null || true
