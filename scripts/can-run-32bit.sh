#!/usr/bin/env bash
# Exit 0 when this machine can run Wine's 32-bit loader (a kernel with 32-bit support and
# Wine's 32-bit packages installed), 1 otherwise.
[ -x /usr/lib/wine/wineserver32 ] && /usr/lib/wine/wineserver32 --version >/dev/null 2>&1
