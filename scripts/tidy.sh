#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over src/: the portable code with the native build's
# compile commands, the Windows code (src/*/win32/) with the win64 build's, where clang
# is told the MinGW target and the MinGW compiler's include folders (not gcc's own
# intrinsics headers: clang brings its own). Fails on any
# finding. Usage: scripts/tidy.sh [file.cpp...]   (default: every .cpp in src/)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
NATIVE="${QUORVEL_TIDY_NATIVE:-build/native}"
WIN64="${QUORVEL_TIDY_WIN64:-build/win64}"
JOBS="${QUORVEL_TIDY_JOBS:-2}"

if ! command -v clang-tidy-14 >/dev/null; then scripts/deps.sh lint; fi

if [ "$#" -eq 0 ]; then
    mapfile -t files < <(find src -name '*.cpp' | sort)
else
    files=("$@")
fi
portable=(); windows=()
for f in "${files[@]}"; do
    case "$f" in */win32/*) windows+=("$f") ;; *) portable+=("$f") ;; esac
done

mingw_args=()
if [ "${#windows[@]}" -ne 0 ]; then
    [ -f "$WIN64/compile_commands.json" ] || { echo "tidy.sh: configure $WIN64 first" >&2; exit 2; }
    mingw_args+=(--extra-arg=--target=x86_64-w64-mingw32)
    while read -r dir; do mingw_args+=("--extra-arg=-isystem$dir"); done < <(
        x86_64-w64-mingw32-g++-posix -E -x c++ - -v </dev/null 2>&1 |
            sed -n '/#include <...>/,/End of/{/^ /s/^ //p}' | grep -vE '/lib/gcc/[^ ]*/include(-fixed)?$')
fi
[ "${#portable[@]}" -eq 0 ] || [ -f "$NATIVE/compile_commands.json" ] ||
    { echo "tidy.sh: configure $NATIVE first" >&2; exit 2; }

log="$(mktemp)"; trap 'rm -f "$log"' EXIT
status=0
if [ "${#portable[@]}" -ne 0 ]; then
    printf '%s\0' "${portable[@]}" |
        xargs -0 -P"$JOBS" -n1 clang-tidy-14 -p "$NATIVE" --quiet >>"$log" 2>&1 || status=1
fi
if [ "${#windows[@]}" -ne 0 ]; then
    printf '%s\0' "${windows[@]}" |
        xargs -0 -P"$JOBS" -n1 clang-tidy-14 -p "$WIN64" --quiet "${mingw_args[@]}" >>"$log" 2>&1 || status=1
fi
# One finding in a header shows once per file including it: print each once.
grep -E '^[^ ].*:[0-9]+:[0-9]+: (warning|error):' "$log" | sort -u || true
if [ "$status" -ne 0 ]; then echo "tidy.sh: findings above" >&2; exit 1; fi
echo "tidy.sh: no findings in ${#files[@]} files"
