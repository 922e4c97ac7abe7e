#!/usr/bin/env bash
# Builds all three presets and runs every test: native unit tests, the
# import check of the Windows 98 build, and the Wine tests and end-to-end
# tests of the x86_64 build on a fresh headless Windows 98 desktop.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/deps.sh

for preset in native win32 win64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done

. scripts/wine-env.sh
trap tethra_wine_down EXIT
tethra_wine_up

status=0
for preset in native win32 win64; do
    ctest --preset "$preset" || status=1
done
exit $status
