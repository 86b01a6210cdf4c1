# Sourced by the Wine scripts: picks the Wine loader and the session's environment.
# Where the kernel cannot run 32-bit Linux programs, Wine's 32-bit loader cannot start
# at all; the `wine` front script would still prefer it when it is installed, so then the
# 64-bit loader is named directly and the tests run the x86_64 build.
if "$(dirname "${BASH_SOURCE[0]}")/can-run-32bit.sh" 2>/dev/null; then
    WINE="$(command -v wine)"
elif [ -x /usr/lib/wine/wine64 ]; then
    WINE=/usr/lib/wine/wine64
    export WINELOADER=/usr/lib/wine/wine64
else
    WINE="$(command -v wine64 || command -v wine)"
fi
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
