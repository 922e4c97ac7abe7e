#!/usr/bin/env bash
# Builds Tethra and runs it on a Windows 98 desktop under Wine: on your
# display when there is one, else on a virtual one (Xvfb). The Wine prefix
# is kept in build/wine, so settings survive between runs.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Tethra

. scripts/wine-env.sh
trap tethra_wine_down EXIT
tethra_wine_up "$top/build/wine/prefix"
echo "Tethra runs on DISPLAY=$DISPLAY; its icon is in the taskbar's notification area."
wine build/win64/Tethra.exe "$@"
timeout 10 wineserver -w || true
