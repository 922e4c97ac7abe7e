#!/usr/bin/env bash
# Prints Tethra's figures: product size and sections (bench/size.sh),
# start-to-panel time against a minimal one-dialog program under the same
# Wine, and idle CPU use.
#   bench/startup.sh [runs]      (default 5 runs each, medians)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
runs=${1:-5}
bash scripts/deps.sh
for preset in win32 win64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --target Tethra >/dev/null
done

work=$(mktemp -d)
x86_64-w64-mingw32-gcc -O2 -static bench/launch_timer.c -o "$work/launch_timer.exe"
x86_64-w64-mingw32-gcc -O2 -static -mwindows bench/minimal_dialog.c -o "$work/minimal_dialog.exe"

. scripts/wine-env.sh
trap 'tethra_wine_down; rm -rf "$work"' EXIT
tethra_wine_up
drive="$WINEPREFIX/drive_c/bench"
mkdir -p "$drive"
cp build/win64/Tethra.exe "$work/minimal_dialog.exe" "$drive/"
cp "$work/launch_timer.exe" "$drive/"

median() { sort -n | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }

# One start of each to warm Wine's caches, not counted.
wine 'C:\bench\launch_timer.exe' show 'C:\bench\minimal_dialog.exe' >/dev/null || true
wine 'C:\bench\launch_timer.exe' show 'C:\bench\Tethra.exe' >/dev/null || true

time_of() {
    local exe=$1 i
    for i in $(seq 1 "$runs"); do
        rm -f "$drive/Tethra.INI"
        timeout 60 wine 'C:\bench\launch_timer.exe' show "C:\\bench\\$exe" | tr -d '\r'
        timeout 30 wineserver -w 2>/dev/null || true
    done
}
baseline=$(time_of minimal_dialog.exe | median)
tethra=$(time_of Tethra.exe | median)

printf '[Option]\r\nInitTray=1\r\n' > "$drive/Tethra.INI"
idle=$(timeout 120 wine 'C:\bench\launch_timer.exe' idle 'C:\bench\Tethra.exe' 30 | tr -d '\r')

bash bench/size.sh build/win32/Tethra.exe
echo "start to visible dialog, median of $runs under Wine: Tethra ${tethra} ms, minimal dialog ${baseline} ms, ratio $(awk -v a="$tethra" -v b="$baseline" 'BEGIN {printf "%.2f", a / b}')"
echo "idle Tethra in the tray, 30 s from 5 s after its start: ${idle} ms of CPU"
