#!/usr/bin/env bash
# can-run-32bit.sh [--kernel]
# Exit 0 when this machine can run Wine's 32-bit loader: the kernel starts 32-bit x86
# programs and Wine's 32-bit part (wine32) is installed. With --kernel only the kernel is
# asked. Otherwise exit 1 and say why on standard error.
#
# The kernel is asked by starting a tiny static i386 program: a 64-bit kernel built
# without IA-32 emulation, or booted with it off, refuses it ("Exec format error")
# whatever packages are installed.
set -u
kernel_only=0
[ "${1:-}" = "--kernel" ] && kernel_only=1

kernel_runs_i386() {
    if ! command -v as >/dev/null 2>&1 || ! command -v ld >/dev/null 2>&1; then
        echo "no assembler and linker (binutils) to build the 32-bit probe program" >&2
        return 1
    fi
    local dir status
    dir="$(mktemp -d)" || return 1
    # exit(42) through the i386 system call gate: only a kernel that runs the program
    # answers 42.
    printf '.globl _start\n_start:\n  movl $1, %%eax\n  movl $42, %%ebx\n  int $0x80\n' >"$dir/probe.s"
    if ! as --32 -o "$dir/probe.o" "$dir/probe.s" 2>/dev/null ||
       ! ld -m elf_i386 -static -o "$dir/probe" "$dir/probe.o" 2>/dev/null; then
        rm -rf "$dir"
        echo "binutils here cannot build an i386 program" >&2
        return 1
    fi
    "$dir/probe" 2>"$dir/error"
    status=$?
    if [ "$status" != 42 ]; then
        echo "the kernel does not start 32-bit programs (a static i386 program failed:" \
             "$(sed -e 's/.*: //' "$dir/error" | head -n 1))" >&2
        rm -rf "$dir"
        return 1
    fi
    rm -rf "$dir"
}

kernel_runs_i386 || exit 1
[ "$kernel_only" = 1 ] && exit 0
if ! [ -x /usr/lib/wine/wineserver32 ] || ! /usr/lib/wine/wineserver32 --version >/dev/null 2>&1; then
    echo "Wine's 32-bit part (wine32) is not installed" >&2
    exit 1
fi
