#!/usr/bin/env bash
# fuzz/build.sh [BUILD_DIR]: builds the libFuzzer targets (clang, AddressSanitizer and
# UBSan) from the portable core's sources into BUILD_DIR (default build/fuzz).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/build/fuzz}"
mkdir -p "$out/obj"
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -I"$root/src")
objects=()
stale=()
for src in "$root"/src/framework/*.cpp "$root"/src/paint/*.cpp "$root"/src/skin/*.cpp; do
    obj="$out/obj/$(basename "$(dirname "$src")")_$(basename "$src" .cpp).o"
    if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ -n "$(find "$root/src" -name '*.h' -newer "$obj" -print -quit)" ]; then
        stale+=("$src" "$obj")
    fi
    objects+=("$obj")
done
# Two compilers at a time: the machines have two cores.
for ((k = 0; k < ${#stale[@]}; k += 2)); do
    while [ "$(jobs -rp | wc -l)" -ge 2 ]; do wait -n; done
    clang++ "${flags[@]}" -c "${stale[k]}" -o "${stale[k + 1]}" &
done
while [ "$(jobs -rp | wc -l)" -gt 0 ]; do wait -n; done
for target in "$root"/fuzz/*_fuzzer.cpp; do
    name="$(basename "$target" .cpp)"
    # Linked again only when its source, a header beside it or an object is newer.
    if [ -f "$out/$name" ] && [ -z "$(find "$target" "$root"/fuzz/*.h "${objects[@]}" -newer "$out/$name" -print -quit 2>/dev/null)" ]; then
        continue
    fi
    clang++ "${flags[@]}" -fsanitize=fuzzer "$target" "${objects[@]}" -lz -lpng -ljpeg -o "$out/$name"
done
echo "fuzz targets in $out"
