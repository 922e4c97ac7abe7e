#!/usr/bin/env bash
# Lock latency of the real program on Wine's Windows 98 desktop: the time from
# the release of the left button on the panel's lock button (a real press and
# release, through SendInput) until the system reports the pointer confined
# (GetClipCursor), for each run and their median.
#   bench/latency.sh [runs]      (default 11)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
runs=${1:-11}
bash scripts/deps.sh >/dev/null
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Tethra tethra_probe >/dev/null

export TETHRA_EXE="$top/build/win64/Tethra.exe"
export TETHRA_PROBE="$top/build/win64/tests/e2e/tethra_probe.exe"
export TETHRA_ARTIFACTS="$top/build/win64/bench-artifacts"
export TETHRA_SOURCE_DIR="$top"
unset WINEPREFIX
bash -c '
. tests/e2e/lib.sh
e2e_begin latency_bench
e2e_desktop
password=Latency-42
ini_file "[System]" "Password=$(probe stored-password "$password")"
start_tethra
wait_panel 15 || fail "no panel"
probe lock-latency "$PANEL_HWND" "$1" "$password" || fail "the measurement stopped"
' latency "$runs"
