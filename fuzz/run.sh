#!/usr/bin/env bash
# fuzz/run.sh TARGET SECONDS: builds the fuzz targets and runs TARGET (the name of one of
# fuzz/*_fuzzer.cpp, e.g. bmp_fuzzer) for SECONDS, starting from the seeds in
# fuzz/corpus/TARGET. New inputs go to build/fuzz/corpus/TARGET; crashes to build/fuzz/.
# The readers refuse pictures and files larger than their limits before allocating, so a
# single allocation over 1 GB, like a run over 2 GB, is a fault.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
target="${1:?usage: fuzz/run.sh TARGET SECONDS}"
seconds="${2:?usage: fuzz/run.sh TARGET SECONDS}"
out="${FUZZ_BUILD:-$root/build/fuzz}"
"$root/fuzz/build.sh" "$out"
mkdir -p "$out/corpus/$target"
cd "$out"
exec "./$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=1024 \
    "corpus/$target" "$root/fuzz/corpus/$target"
