#!/usr/bin/env bash
# Builds the program and runs it under Wine. With no display it starts a headless one,
# takes a screenshot of the main window to build/screenshot.png and exits.
# Installs whatever the machine lacks first.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

scripts/deps.sh all
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target quorvel
EXE="$ROOT/build/win32/src/app/quorvel.exe"

if [ -n "${DISPLAY:-}" ]; then
    exec scripts/wine-session.sh --use-display build/win32 wine "$EXE"
fi
scripts/wine-session.sh build/win32 scripts/screenshot.sh "$EXE" "$ROOT/build/screenshot.png" "Marrowind Quorvel"
echo "screenshot: $ROOT/build/screenshot.png"
