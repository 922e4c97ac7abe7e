#!/bin/bash
# Checks, without running anything, what the end-to-end harness needs of its
# own i686 binaries and what only shows there when they run:
#  - every name the probe looks up in the counting DLL (the *_EXPORT names of
#    its header) is in the probe and, undecorated, in the DLL's export table
#    (__stdcall decorates an i686 export as Name@4 unless told otherwise);
#  - the probe, the DLL and the other helpers are PE images for the product's
#    machine: the probe loads the DLL into itself and into the product;
#  - none of them imports a MinGW runtime DLL (libgcc_s_dw2-1.dll on i686),
#    which no Wine prefix and no Windows has.
# The counter's calling convention (a thread start routine) is checked when
# the DLL is compiled.
#
# usage: check_harness.sh HEADER PRODUCT PROBE DLL [HELPER...]
# OBJDUMP names the objdump (default i686-w64-mingw32-objdump).
set -u
if [ $# -lt 4 ]; then
    echo "usage: $0 HEADER PRODUCT PROBE DLL [HELPER...]" >&2
    exit 2
fi
header=$1 product=$2 probe=$3 dll=$4
shift 4
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
export LC_ALL=C
status=0
problem() {
    echo "$*"
    status=1
}

# "<magic> <machine>" of a PE image, from its headers.
pe_kind() {
    local pe
    pe=$(od -An --endian=little -t u4 -j 60 -N 4 "$1" | tr -d ' ')
    [ -n "$pe" ] || return 1
    echo "$(od -An --endian=little -t x2 -j $((pe + 24)) -N 2 "$1" | tr -d ' ')" \
        "$(od -An --endian=little -t x2 -j $((pe + 4)) -N 2 "$1" | tr -d ' ')"
}

names=$(sed -n 's/^#define [A-Z_]*_EXPORT "\([^"]*\)".*/\1/p' "$header")
[ -n "$names" ] || { echo "no *_EXPORT names in $header" >&2; exit 2; }
dump=$("$objdump" -p "$dll") || { echo "cannot read $dll" >&2; exit 2; }
exports=$(printf '%s\n' "$dump" | awk '/^\[Ordinal\/Name Pointer\] Table/ { on = 1; next }
    on && /^[ \t]*$/ { on = 0 } on { print $NF }')
for name in $names; do
    grep -qaF "$name" "$probe" || problem "the probe does not ask for $name (built from another header?)"
    printf '%s\n' "$exports" | grep -qxF "$name" ||
        problem "$(basename "$dll") does not export $name; it exports: $(echo $exports)"
done

want=$(pe_kind "$product") || { echo "cannot read $product" >&2; exit 2; }
for image in "$probe" "$dll" "$@"; do
    kind=$(pe_kind "$image") || { echo "cannot read $image" >&2; exit 2; }
    [ "$kind" = "$want" ] ||
        problem "$(basename "$image") is PE magic/machine $kind, the product $want"
    runtime=$("$objdump" -p "$image" | sed -n 's/^\tDLL Name: //p' | grep -i '^lib')
    [ -z "$runtime" ] || problem "$(basename "$image") imports a MinGW runtime DLL: $(echo $runtime)"
done

[ "$status" = 0 ] && echo "harness binaries fit the product ($want): $(echo $names) exported"
exit $status
