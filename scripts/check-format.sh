#!/usr/bin/env bash
# Fails, listing them, when a C++ file in src/ tests/ bench/ tools/ fuzz/ is not laid out
# as .clang-format says. Installs clang-format 14 when the machine lacks it.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

if ! command -v clang-format-14 >/dev/null; then scripts/deps.sh lint; fi

unformatted=()
while IFS= read -r -d '' file; do
    clang-format-14 --dry-run -Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done < <(find src tests bench tools fuzz \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)

if [ "${#unformatted[@]}" -ne 0 ]; then
    echo "not formatted (run clang-format-14 -i on them):"
    printf '    %s\n' "${unformatted[@]}"
    exit 1
fi
echo "every source file is formatted"
