#!/usr/bin/env bash
# Builds the program and runs it under Wine. With no display it starts a headless one,
# takes a screenshot of the main window to build/screenshot.png and exits.
# Installs whatever the machine lacks first.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

scripts/deps.sh all
# The 32-bit product is built by the win32 preset; here Wine runs the 64-bit build of the
# same code unless this machine can run 32-bit programs.
if scripts/can-run-32bit.sh 2>/dev/null; then preset=win32; else preset=win64; fi
# The skin pack inside the program is made at build time by the native skin tool.
cmake --preset native >/dev/null
cmake --build --preset native --target quorvel-skin
cmake --preset "$preset" -DQUORVEL_HOST_SKIN_TOOL="$ROOT/build/native/tools/quorvel-skin" >/dev/null
cmake --build --preset "$preset" --target quorvel winrect
EXE="$ROOT/build/$preset/src/app/quorvel.exe"

if [ -n "${DISPLAY:-}" ]; then
    exec scripts/wine-session.sh --use-display "build/$preset" bash -c '"$QUORVEL_WINE" "$1"' _ "$EXE"
fi
scripts/wine-session.sh "build/$preset" scripts/screenshot.sh "$EXE" "$ROOT/build/screenshot.png" TForm_quorvel
echo "screenshot: $ROOT/build/screenshot.png"
