#!/usr/bin/env bash
# Options set through the settings dialog take effect at the next start: a
# running time of three seconds typed into the picker, with the program
# starting in the tray, brings a locked panel three seconds after a restart.
. "$(dirname "$0")/lib.sh"
e2e_begin settings_timed_lock
e2e_desktop

start_tethra
wait_panel 15 || fail "no panel at start"
open_settings
item "$SETTINGS_HWND" 1018
[ "$ITEM_ENABLED" = 0 ] || fail "the running-time picker is enabled with the timed lock off"
set_box "$SETTINGS_HWND" 1009 1
set_box "$SETTINGS_HWND" 1015 1
item "$SETTINGS_HWND" 1018
[ "$ITEM_ENABLED" = 1 ] || fail "checking the timed lock did not enable the picker"
[ "$(checked "$SETTINGS_HWND" 1016)" = 1 ] || fail "the running-time mode is not chosen"
[ "$ITEM_TEXT" = "$(shown_hex 01:00:00)" ] || fail "the picker does not start at 01:00:00"

# Hours down to 0, minutes stay 0, seconds up to 3.
click_at $((ITEM_L + 8)) $(((ITEM_T + ITEM_B) / 2))
sleep 0.2
xdotool key Down
sleep 0.1
xdotool key Right Right
sleep 0.1
xdotool key Up Up Up
wait_until 5 eval 'item "$SETTINGS_HWND" 1018 && [ "$ITEM_TEXT" = "$(shown_hex 00:00:03)" ]' ||
    fail "the picker shows hex $ITEM_TEXT, not 00:00:03"
click_item "$SETTINGS_HWND" 1
probe wait-gone 5000 $SETTINGS_FILTER || fail "OK did not close the settings dialog"

want=$(date -d "2000-01-01 00:00:03" +%s)
[ "$(ini_get Option TimeLock)" = 1 ] || fail "TimeLock not stored"
[ "$(ini_get Option InitTray)" = 1 ] || fail "InitTray not stored"
[ "$(ini_get Time TimeLockType)" = 0 ] || fail "TimeLockType not stored as 0"
[ "$(ini_get Time AfterTime)" = "$want" ] || fail "AfterTime is $(ini_get Time AfterTime), expected $want"
log "stored: AfterTime=$want"

click_item "$PANEL_HWND" 1
wait_exit "$TETHRA_PID" 15 || fail "Close did not end the program"

start_tethra
wait_frame 15 || fail "no main frame after the restart"
started=$SECONDS
probe find $PANEL_FILTER >/dev/null && fail "a panel opened at start although the tray box is checked"
wait_panel 15 || fail "the running-time lock never came"
[ $((SECONDS - started)) -ge 2 ] || fail "the lock came after $((SECONDS - started)) s"
expect_locked
log "locked about $((SECONDS - started)) s after the restart"
enter_password ""
wait_until 5 eval 'item "$PANEL_HWND" 1000 && [ "$ITEM_TEXT" = "$(shown_hex 锁定)" ]' || fail "no unlock"
click_item "$PANEL_HWND" 1
wait_exit "$TETHRA_PID" 15 || fail "Close did not end the program"
log "pass"
