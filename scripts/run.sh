#!/usr/bin/env bash
# Builds Tethra and runs it on a Windows 98 desktop under Wine: on your
# display when there is one, else on a virtual one (Xvfb), whose picture is
# then saved to a file while Tethra runs. The Wine prefix is kept in
# build/wine/<preset>, so settings survive between runs. The i686 product
# runs when 32-bit Wine can; otherwise the x86_64 build, and it says so.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/deps.sh
. scripts/wine-env.sh

# The product is the i686 build; it needs 32-bit Wine. Without it the same
# sources built for x86_64 run instead.
if reason=$(TETHRA_WINE_ARCH=win32 tethra_wine32_missing); then
    preset=win64
    echo "Starting the x86_64 build under 64-bit Wine: $reason."
else
    preset=win32
    echo "Starting the i686 product under 32-bit Wine."
fi
export TETHRA_WINE_ARCH=$preset
exe="build/$preset/Tethra.exe"
cmake --preset $preset >/dev/null
cmake --build --preset $preset --target Tethra

headless=1
tethra_display_works && headless=0
trap tethra_wine_down EXIT
tethra_wine_up "$top/build/wine/$preset"
if [ "$headless" = 0 ]; then
    echo "Tethra runs on DISPLAY=$DISPLAY; its icon is in the taskbar's notification area."
    wine "$exe" "$@"
    timeout 10 wineserver -w || true
    exit 0
fi

# Nobody can see the virtual display: keep a picture of it in a file.
shot="$top/build/tethra-screen.png"
rm -f "$shot"
echo "There is no display here, so Tethra runs on a virtual one (DISPLAY=$DISPLAY) that nobody can see."
echo "To look at it, open $shot: a picture of that desktop, taken anew every 2 seconds while Tethra runs."
echo "Input goes in with xdotool, for example: DISPLAY=$DISPLAY xdotool mousemove 789 590 click 3"
wine "$exe" "$@" &
tethra=$!
while kill -0 "$tethra" 2>/dev/null; do
    # Written beside and moved, so a viewer never reads half a picture.
    timeout 20 import -window root "$shot.part.png" 2>/dev/null && mv -f "$shot.part.png" "$shot"
    sleep 2
done
wait "$tethra" || true
rm -f "$shot.part.png"
echo "Tethra has ended; the last picture stays in $shot."
timeout 10 wineserver -w || true
