#!/usr/bin/env bash
# Installs what building and testing Quorvel needs on a Debian 12 machine, and builds
# the static MinGW libraries (libpng, libjpeg-turbo) from Debian's source packages.
# Idempotent: a second run only checks and returns within seconds.
set -euo pipefail

CACHE="${QUORVEL_CACHE:-$HOME/.cache/quorvel}"
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi

NATIVE_PKGS=(cmake ninja-build g++ pkg-config googletest libgtest-dev libbenchmark-dev
             zlib1g-dev libpng-dev libjpeg-dev libpixman-1-dev)
# Wine's 64-bit loader runs the x86_64 build everywhere; Wine's 32-bit part (wine32,
# below) is added only where the kernel starts 32-bit programs: elsewhere (as on our CI
# machines) Wine's 32-bit loader cannot start at all.
WIN32_PKGS=(g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
            g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev
            wine wine64 fonts-wine xvfb xauth x11-utils xdotool imagemagick dpkg-dev
            clang libclang-rt-14-dev)
# The layout and lint checks of scripts/test.sh (check-format.sh, tidy.sh).
LINT_PKGS=(clang-format-14 clang-tidy-14)

missing_packages() {
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
    done
}

apt_updated=0
apt_update() {
    [ "$apt_updated" = 1 ] && return 0
    # Unrelated third-party sources may be unreachable; Debian's own are what we need.
    $SUDO apt-get update -qq || true
    apt_updated=1
}

ensure_deb_src() {
    local f=/etc/apt/sources.list.d/debian.sources
    if [ -f "$f" ] && ! grep -q 'deb-src' "$f"; then
        $SUDO sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"
        apt_updated=0
    elif [ ! -f "$f" ] && ! grep -rqs '^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        echo "deb-src http://deb.debian.org/debian bookworm main" | $SUDO tee /etc/apt/sources.list.d/quorvel-src.list >/dev/null
        apt_updated=0
    fi
}

install_packages() {
    local want=("$@") miss
    miss=$(missing_packages "${want[@]}")
    [ -z "$miss" ] && return 0
    apt_update
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $miss
}

# Builds one static MinGW library from Debian's source package into $CACHE/mingw-ARCH,
# keyed by the package version so a new Debian version rebuilds and an old one is reused.
build_mingw_lib() {
    local arch="$1" srcpkg="$2" suite="$3"; shift 3
    local version
    version=$(apt-cache showsrc "$srcpkg" 2>/dev/null | awk '/^Version:/{print $2; exit}')
    [ -n "$version" ] || { apt_update; version=$(apt-cache showsrc "$srcpkg" | awk '/^Version:/{print $2; exit}'); }
    local prefix="$CACHE/mingw-$arch"
    local stamp="$prefix/stamps/$srcpkg-$version"
    [ -f "$stamp" ] && return 0
    echo "deps: building $srcpkg $version for MinGW $arch"
    local work="$CACHE/src/$srcpkg-$version-$arch"
    rm -rf "$work"; mkdir -p "$work"
    ( cd "$work"
      apt-get source -qq --download-only "$srcpkg${suite:+/$suite}" >/dev/null 2>&1 \
        || apt-get source -qq --download-only "$srcpkg" >/dev/null
      dpkg-source -x ./*.dsc src >/dev/null )
    cmake -S "$work/src" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$HERE/../cmake/mingw-$arch.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_PREFIX_PATH="$prefix" "$@" >/dev/null
    cmake --build "$work/build" -j2 >/dev/null
    cmake --install "$work/build" >/dev/null
    rm -rf "$work"
    mkdir -p "$(dirname "$stamp")"; touch "$stamp"
}

# Wine's 32-bit part, from Debian's i386 architecture, where the kernel can start it: the
# product's own (i686) build then runs its tests too.
install_wine32() {
    "$HERE/can-run-32bit.sh" --kernel 2>/dev/null || return 0
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
        apt_updated=0
    fi
    # The i686 test run is an extra: a mirror whose i386 index is out of step with the
    # amd64 one (seen during a mirror sync) must not stop the build and the 64-bit tests.
    if ! install_packages wine32:i386; then
        echo "deps.sh: Wine's 32-bit part could not be installed; the i686 tests will be skipped" >&2
    fi
}

main() {
    local what="${1:-all}"
    case "$what" in
        native) install_packages "${NATIVE_PKGS[@]}" ;;
        lint) install_packages "${LINT_PKGS[@]}" ;;
        all|win32)
            ensure_deb_src
            install_packages "${NATIVE_PKGS[@]}" "${WIN32_PKGS[@]}" "${LINT_PKGS[@]}"
            install_wine32
            local arch
            for arch in i686 x86_64; do
                build_mingw_lib "$arch" libjpeg-turbo "" \
                    -DENABLE_SHARED=OFF -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF
                build_mingw_lib "$arch" libpng1.6 bookworm \
                    -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF \
                    -DZLIB_ROOT="/usr/$arch-w64-mingw32"
            done
            ;;
        *) echo "usage: deps.sh [native|lint|win32|all]" >&2; exit 2 ;;
    esac
}
main "$@"
