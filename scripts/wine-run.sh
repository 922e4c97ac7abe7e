#!/usr/bin/env bash
# How ctest runs a Windows test program: under Wine in the prepared prefix.
# scripts/test.sh prepares it; run alone, this prepares a temporary one.
# The locale (and with it the code page) is TETHRA_LOCALE's (wine-env.sh).
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
if [ -z "${WINEPREFIX:-}" ] || [ ! -f "$WINEPREFIX/.tethra-ready" ]; then
    trap tethra_wine_down EXIT
    tethra_wine_up || exit 1
    timeout 600 wine "$@"
    exit $?
fi
exec timeout 600 wine "$@"
