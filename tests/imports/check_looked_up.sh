#!/bin/bash
# Fails when the executable imports any of the named functions: they exist
# only on some Windows 95/98 machines (InitCommonControlsEx is missing from
# the first Windows 95 COMCTL32), so the program looks them up at run time,
# and one import would keep it from starting where they are missing.
#
# usage: check_looked_up.sh EXE FUNCTION...
# OBJDUMP may name another objdump (default i686-w64-mingw32-objdump).
set -u
if [ $# -lt 2 ]; then
    echo "usage: $0 EXE FUNCTION..." >&2
    exit 2
fi
exe=$1
shift
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
imports=$(LC_ALL=C "$objdump" -p "$exe") || { echo "cannot read $exe" >&2; exit 2; }
echo "$imports" | grep -q "DLL Name" || { echo "no import table in $exe" >&2; exit 2; }
status=0
for name in "$@"; do
    # Import lines read "<hint-rva> <ordinal> <name>".
    if echo "$imports" | awk -v n="$name" '$NF == n { found = 1 } END { exit !found }'; then
        echo "imported although it must be looked up at run time: $name"
        status=1
    fi
done
[ "$status" = 0 ] && echo "none of $* imported"
exit $status
