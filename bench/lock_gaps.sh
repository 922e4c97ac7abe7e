#!/usr/bin/env bash
# Measures how long the pointer confinement of a locked panel is lost while
# wrong passwords are entered: a probe samples GetClipCursor as fast as Wine
# answers while xdotool presses 解锁, types a wrong password and confirms,
# again and again. Prints the longest release and how often it happened.
#   bench/lock_gaps.sh [attempts]      (default 20)
# TETHRA_BENCH_EXE=<path> measures another build of Tethra.exe instead.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
attempts=${1:-20}
bash scripts/deps.sh >/dev/null || exit 1
cmake --preset win64 >/dev/null || exit 1
cmake --build --preset win64 --target Tethra tethra_probe >/dev/null || exit 1

export TETHRA_EXE=${TETHRA_BENCH_EXE:-$top/build/win64/Tethra.exe}
export TETHRA_PROBE=$top/build/win64/tests/e2e/tethra_probe.exe
export TETHRA_ARTIFACTS=$top/build/win64/bench-artifacts
export TETHRA_SOURCE_DIR=$top
. tests/e2e/lib.sh
e2e_begin bench_lock_gaps
e2e_desktop

ini_file "[Option]" "InitLock=1" "[System]" "Password=$(probe stored-password right-one)"
start_tethra
wait_panel 15 || fail "no locked panel"
wait_until 5 eval 'item "$PANEL_HWND" 1000 && [ "$ITEM_TEXT" = "$(gbk_hex 解锁)" ]' || fail "the panel did not lock"
want="$((PANEL_L + 12)) $((PANEL_T + 12)) $((PANEL_R - 12)) $((PANEL_B - 12))"
# The start-time lock may still be settling; the backstop timer takes the
# pointer back within half a second.
wait_until 5 eval '[ "$(probe clip)" = "$want" ]' || fail "the panel never confined the pointer to $want"

# Long enough for every attempt; the probe's figures cover its whole run.
watch_ms=$((attempts * 2500 + 2000))
probe clip-watch "$watch_ms" $want >"$TETHRA_ARTIFACTS/clip-watch.txt" &
watcher=$!
started=$SECONDS
for i in $(seq 1 "$attempts"); do
    enter_password "wrong-$i"
done
elapsed=$((SECONDS - started))
[ "$((elapsed * 1000 + 1000))" -lt "$watch_ms" ] || log "attempts took ${elapsed} s, longer than the watch"
wait "$watcher" || fail "the clip watch failed"
read -r _ samples _ off _ longest _ spells <"$TETHRA_ARTIFACTS/clip-watch.txt"
item "$PANEL_HWND" 1000
[ "$ITEM_TEXT" = "$(gbk_hex 解锁)" ] || fail "the panel is no longer locked"
echo "wrong passwords: $attempts in ${elapsed} s; clip samples: $samples over $((watch_ms / 1000)) s (about $((samples * 1000 / watch_ms)) a second)"
echo "confinement lost: $spells times, longest ${longest} ms, $off samples off"
