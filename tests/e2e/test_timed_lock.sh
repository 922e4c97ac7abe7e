#!/usr/bin/env bash
# The timed lock: after a running time (its length is the local time of day
# of AfterTime), and at a clock time (the time of day of OnTime, any date).
# Both start in the tray and open the panel locked, once.
. "$(dirname "$0")/lib.sh"
e2e_begin timed_lock
e2e_desktop

# 00:00:03 in the local zone: epoch 3 shifted by the zone's offset (TZ is
# Wine's too). A running time of three seconds.
after=$(( $(date -d "1970-01-01 00:00:03" +%s) ))
ini_file "[Option]" "InitTray=1" "TimeLock=1" "UnlockHide=1" "[Time]" "TimeLockType=0" "AfterTime=$after"
start_tethra
wait_frame 15 || fail "no main frame"
started=$SECONDS
probe find $PANEL_FILTER >/dev/null && fail "the panel opened before the running time was up"
wait_panel 15 || fail "the running-time lock never came"
[ $((SECONDS - started)) -ge 2 ] || fail "the lock came after $((SECONDS - started)) s, before the running time"
expect_locked
enter_password ""
panel_gone 5 || fail "UnlockHide=1 but the panel stayed"
sleep 2
probe find $PANEL_FILTER >/dev/null && fail "the timed lock came a second time"
log "running-time lock came once, after about $((SECONDS - started)) s"
kill "$TETHRA_PID" 2>/dev/null
timeout 30 wineserver -k >/dev/null 2>&1
timeout 30 wineserver -w >/dev/null 2>&1
e2e_desktop

# A clock time five seconds ahead, stored with a date years in the past.
target=$(( $(date +%s) + 5 - 20 * 365 * 86400 ))
ini_file "[Option]" "InitTray=1" "TimeLock=1" "UnlockHide=1" "[Time]" "TimeLockType=1" "OnTime=$target"
start_tethra
wait_frame 15 || fail "no main frame"
probe find $PANEL_FILTER >/dev/null && fail "the panel opened before the clock time"
wait_panel 20 || fail "the clock-time lock never came"
expect_locked
enter_password ""
panel_gone 5 || fail "UnlockHide=1 but the panel stayed"
log "pass"
