#!/usr/bin/env bash
# fuzz/build.sh [BUILD_DIR]: builds the libFuzzer targets (clang, AddressSanitizer and
# UBSan) of the portable core through the "fuzz" preset, into BUILD_DIR (default
# build/fuzz).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/build/fuzz}"
cd "$root"
cmake --preset fuzz -B "$out" >/dev/null
cmake --build "$out" --target fuzzers -j2
echo "fuzz targets in $out"
