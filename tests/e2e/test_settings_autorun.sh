#!/usr/bin/env bash
# The autorun box writes "Tethra" (the executable's path) under the
# machine's Run key at OK and deletes it when unchecked; a value too long
# for the 80-byte query still shows as set, so OK does not delete it.
. "$(dirname "$0")/lib.sh"
e2e_begin settings_autorun
e2e_desktop
reg_delete Tethra
trap 'status=$?; reg_delete Tethra; (exit $status); e2e_end' EXIT

start_tethra
wait_panel 15 || fail "no panel at start"
open_settings
[ "$(checked "$SETTINGS_HWND" 1011)" = 0 ] || fail "the autorun box is checked with no value"
set_box "$SETTINGS_HWND" 1011 1
click_item "$SETTINGS_HWND" 1
probe wait-gone 5000 $SETTINGS_FILTER || fail "OK did not close the settings dialog"
value=$(reg_value Tethra) || fail "no Tethra value after OK"
[ "$value" = "$E2E_EXE_WIN" ] || fail "Tethra is '$value', expected '$E2E_EXE_WIN'"
log "written: $value"

open_settings
[ "$(checked "$SETTINGS_HWND" 1011)" = 1 ] || fail "the autorun box does not show the value"
set_box "$SETTINGS_HWND" 1011 0
click_item "$SETTINGS_HWND" 1
probe wait-gone 5000 $SETTINGS_FILTER || fail "OK did not close the settings dialog"
value=$(reg_value Tethra) && fail "Tethra still there after OK with the box off: '$value'"
log "deleted"

long="C:\\$(printf 'p%.0s' $(seq 1 90))\\Tethra.exe"
timeout 60 wine reg add "$RUN_KEY" /v Tethra /d "$long" /f >/dev/null 2>&1 || fail "cannot write the long value"
open_settings
[ "$(checked "$SETTINGS_HWND" 1011)" = 1 ] || fail "a value of ${#long} characters shows as unset"
click_item "$SETTINGS_HWND" 1
probe wait-gone 5000 $SETTINGS_FILTER || fail "OK did not close the settings dialog"
value=$(reg_value Tethra) || fail "OK deleted the long autorun value"
log "a ${#long}-character value counts as set"
click_item "$PANEL_HWND" 1
wait_exit "$TETHRA_PID" 15 || fail "Close did not end the program"
log "pass"
