#!/usr/bin/env bash
# How ctest runs a Windows test program: under Wine in the prepared prefix.
# scripts/test.sh prepares it; run alone, this prepares a temporary one.
# Exits 77 (ctest's skip code for these tests) when the program needs
# 32-bit Wine and this machine has none. The locale (and with it the code
# page) is TETHRA_LOCALE's (wine-env.sh).
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
if [ "$TETHRA_WINE_ARCH" = win32 ] && reason=$(tethra_i686_missing); then
    echo "SKIPPED: $reason"
    exit 77
fi
if [ -z "${WINEPREFIX:-}" ] || [ "$(cat "$WINEPREFIX/.tethra-ready" 2>/dev/null)" != "$TETHRA_WINE_ARCH" ]; then
    trap tethra_wine_down EXIT
    tethra_wine_up || exit 1
    timeout 600 wine "$@"
    exit $?
fi
exec timeout 600 wine "$@"
