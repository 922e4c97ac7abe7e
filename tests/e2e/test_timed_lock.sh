#!/usr/bin/env bash
# The timed lock: after a running time (its length is the local time of day
# of AfterTime), and at a clock time (the time of day of OnTime, any date).
# Both start in the tray and open the panel locked, once. Then a running-time
# lock falls due while the panel the start opened is still open, unlocked:
# that panel locks.
. "$(dirname "$0")/lib.sh"
e2e_begin timed_lock
e2e_desktop

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# 00:00:05 in the local zone: epoch 5 shifted by the zone's offset (TZ is
# Wine's too). A running time of five seconds, counted from a moment after
# this mark: a lock seen sooner after the mark came too early.
after=$(( $(date -d "1970-01-01 00:00:05" +%s) ))
ini_file "[Option]" "InitTray=1" "TimeLock=1" "UnlockHide=1" "[Time]" "TimeLockType=0" "AfterTime=$after"
started=$(now_ms)
start_tethra
wait_frame 15 || fail "no main frame"
wait_panel 30 || fail "the running-time lock never came"
elapsed=$(($(now_ms) - started))
[ "$elapsed" -ge 4900 ] || fail "the lock came ${elapsed} ms after the start, before the running time of 5 s"
expect_locked
enter_password ""
panel_gone 5 || fail "UnlockHide=1 but the panel stayed"
# The timer ticks every second: three ticks would bring a second lock.
probe wait 3500 $PANEL_FILTER >/dev/null && fail "the timed lock came a second time"
log "running-time lock came once, ${elapsed} ms after the start"
kill "$TETHRA_PID" 2>/dev/null
timeout 30 wineserver -k >/dev/null 2>&1
timeout 30 wineserver -w >/dev/null 2>&1
e2e_desktop

# A clock time far enough ahead for a slow start, stored with a date years in
# the past. The lock fires within the target's minute only, so the target
# keeps clear of a minute's end.
at=$(($(date +%s) + 15))
[ $((at % 60)) -ge 50 ] && at=$((at + 15))
target=$((at - 20 * 365 * 86400))
ini_file "[Option]" "InitTray=1" "TimeLock=1" "UnlockHide=1" "[Time]" "TimeLockType=1" "OnTime=$target"
start_tethra
wait_frame 15 || fail "no main frame"
# A lock that ignored the clock would come at the first ticks.
if [ $((at - $(date +%s))) -ge 4 ]; then
    probe wait 2500 $PANEL_FILTER >/dev/null && fail "the panel opened before the clock time"
fi
wait_panel 40 || fail "the clock-time lock never came"
[ "$(date +%s)" -ge "$at" ] || fail "the clock-time lock came before $(date -d "@$at" +%T)"
expect_locked
enter_password ""
panel_gone 5 || fail "UnlockHide=1 but the panel stayed"
log "clock-time lock came"
kill "$TETHRA_PID" 2>/dev/null
timeout 30 wineserver -k >/dev/null 2>&1
timeout 30 wineserver -w >/dev/null 2>&1
e2e_desktop

ini_file "[Option]" "InitTray=0" "TimeLock=1" "UnlockHide=1" "[Time]" "TimeLockType=0" "AfterTime=$after"
started=$(now_ms)
start_tethra
wait_panel 15 || fail "InitTray=0 opened no panel"
wait_frame 15 || fail "no main frame"
opened=$(($(now_ms) - started))
if [ "$opened" -lt 4000 ]; then
    expect_item "$PANEL_HWND" 1000 "锁定" 1
fi
wait_until 30 eval 'item "$PANEL_HWND" 1000 && [ "$ITEM_TEXT" = "$(shown_hex 解锁)" ]' ||
    fail "the running-time lock never took the open panel"
elapsed=$(($(now_ms) - started))
[ "$elapsed" -ge 4900 ] || fail "the open panel locked ${elapsed} ms after the start, before the running time of 5 s"
expect_locked
enter_password ""
panel_gone 5 || fail "UnlockHide=1 but the panel stayed"
log "the open panel locked ${elapsed} ms after the start (shown unlocked after ${opened} ms); pass"
