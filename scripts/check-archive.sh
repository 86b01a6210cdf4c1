#!/usr/bin/env bash
# check-archive.sh BUILD_DIR
# Checks the release archive the package target wrote into BUILD_DIR (a win32 build): it is
# named after the project's version, holds exactly the program, the skin tool, the README
# and the third-party notices in one folder named like the archive, and its quorvel.exe is
# byte for byte the 32-bit x86 program of that build.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$(cd "$1" && pwd)"
fail() { echo "check-archive: $*" >&2; exit 1; }

version="$(sed -n 's/^project(Quorvel VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")"
[ -n "$version" ] || fail "no project version in CMakeLists.txt"
name="quorvel-$version-win32"
zip="$BUILD/$name.zip"
[ -f "$zip" ] || fail "$zip is missing"

expected="$(printf '%s\n' "$name/README.md" "$name/THIRD-PARTY-NOTICES.txt" \
                          "$name/quorvel-skin.exe" "$name/quorvel.exe" | LC_ALL=C sort)"
actual="$(cmake -E tar tf "$zip" | grep -v '/$' | LC_ALL=C sort)"
if [ "$expected" != "$actual" ]; then
    echo "check-archive: $zip holds" >&2
    diff <(echo "$expected") <(echo "$actual") | sed -n 's/^[<>]/  &/p' >&2 || true
    fail "not the expected files (< missing, > unexpected)"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(cd "$work" && cmake -E tar xf "$zip")
exe="$work/$name/quorvel.exe"
cmp -s "$exe" "$BUILD/src/app/quorvel.exe" || fail "quorvel.exe in the archive is not the one this build made"
# The PE header's machine field: 0x014c is 32-bit x86.
pe="$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')"
machine="$(od -An -tx2 -j$((pe + 4)) -N2 "$exe" | tr -d ' ')"
[ "$machine" = "014c" ] || fail "quorvel.exe in the archive is not a 32-bit x86 program (machine $machine)"
grep -q "Independent JPEG Group" "$work/$name/THIRD-PARTY-NOTICES.txt" || fail "the notices lack the JPEG attribution"
echo "check-archive: $name.zip holds quorvel.exe (i686), quorvel-skin.exe, README.md, THIRD-PARTY-NOTICES.txt"
