#!/usr/bin/env bash
# Builds and runs every test of both targets: the portable core natively (Linux gcc),
# then everything for Windows (MinGW-w64 i686) under Wine in one headless session.
# Installs whatever the machine lacks first.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

scripts/deps.sh all

echo "== native: configure, build, test"
cmake --preset native -DQUORVEL_WERROR=ON >/dev/null
cmake --build --preset native
ctest --preset native -j2

echo "== win32: configure, build, test under Wine"
cmake --preset win32 -DQUORVEL_WERROR=ON >/dev/null
cmake --build --preset win32
scripts/wine-session.sh build/win32 ctest --preset win32
