#!/usr/bin/env bash
# Builds and runs every test: the portable core natively (Linux gcc, also under
# AddressSanitizer and UndefinedBehaviorSanitizer), the product for 32-bit Windows
# (MinGW-w64 i686, warnings as errors) with its release archive, every Windows program of
# the same code as 64-bit programs run under Wine in one headless session, the Windows
# tests of the i686 build where the kernel can start 32-bit programs, then a short run of
# every fuzz target; before and between them the layout of every source file and
# clang-tidy over the sources the newest commit changed. Installs whatever the machine lacks.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

scripts/deps.sh all

echo "== layout: every source file as .clang-format says"
scripts/check-format.sh

echo "== native: configure, build, test"
cmake --preset native -DQUORVEL_WERROR=ON >/dev/null
cmake --build --preset native
ctest --preset native -j2

echo "== native with sanitizers: the portable core's tests"
cmake --preset sanitize -DQUORVEL_WERROR=ON >/dev/null
cmake --build --preset sanitize
ctest --preset sanitize

echo "== win32 (i686): build the product, its tests and the release archive"
cmake --preset win32 -DQUORVEL_WERROR=ON -DQUORVEL_HOST_SKIN_TOOL="$ROOT/build/native/tools/quorvel-skin" >/dev/null
cmake --build --preset win32 --target package
scripts/check-archive.sh build/win32

echo "== win64 (x86_64): build and run the Windows tests under Wine"
cmake --preset win64 -DQUORVEL_WERROR=ON -DQUORVEL_HOST_SKIN_TOOL="$ROOT/build/native/tools/quorvel-skin" >/dev/null
cmake --build --preset win64
scripts/wine-session.sh build/win64 ctest --preset win64

echo "== lint: clang-tidy over the sources of src/ the newest commit changed"
# A whole run over src/ takes about 11 minutes on two cores: scripts/tidy.sh alone does it.
mapfile -t changed < <(git diff --name-only --diff-filter=d HEAD~1 HEAD -- 'src/*.cpp' 2>/dev/null || true)
if [ "${#changed[@]}" -ne 0 ]; then
    scripts/tidy.sh "${changed[@]}"
else
    echo "no source of src/ changed in the newest commit"
fi

if reason="$(scripts/can-run-32bit.sh 2>&1 >/dev/null)"; then
    echo "== win32 (i686): run the Windows tests of the shipped build under Wine"
    scripts/wine-session.sh build/win32 ctest --preset win32
else
    echo "== win32 (i686): Windows tests skipped: $reason"
fi

echo "== fuzz: every libFuzzer target for a short while (fuzz/run.sh runs one for hours)"
for target in fuzz/*_fuzzer.cpp; do
    name="$(basename "$target" .cpp)"
    fuzz/run.sh "$name" "${QUORVEL_FUZZ_SECONDS:-20}" 2>&1 | tail -n 3
done
