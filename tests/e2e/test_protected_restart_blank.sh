#!/usr/bin/env bash
# A program in a folder with a blank, locked with 非法重启系统保护 and
# 系统启动时自动运行 on, comes back locked after a restart: from its own
# "VQS" data alone, and with both Run values started in either order.
. "$(dirname "$0")/lib.sh"
e2e_begin protected_restart_blank
use_folder "tethra blank dir"
e2e_desktop
reg_delete VQS
reg_delete Tethra
trap 'status=$?; reg_delete VQS; reg_delete Tethra; (exit $status); e2e_end' EXIT

password="blank-7"
ini_file "[System]" "Password=$(probe stored-password "$password")"
start_tethra
wait_panel 15 || fail "no panel at start"
open_settings
set_box "$SETTINGS_HWND" 1014 1
set_box "$SETTINGS_HWND" 1011 1
click_item "$SETTINGS_HWND" 1
probe wait-gone 5000 $SETTINGS_FILTER || fail "OK did not close the settings dialog"
[ "$(ini_get Option Protected)" = 1 ] || fail "Protected not stored"

lock_by_hand() {
    click_item "$PANEL_HWND" 1000
    wait_until 5 eval 'item "$PANEL_HWND" 1000 && [ "$ITEM_TEXT" = "$(shown_hex 解锁)" ]' || fail "the panel did not lock"
    value=$(reg_value VQS) || fail "no VQS value while locked"
    [ "$value" = "\"$E2E_EXE_WIN\" /protected" ] || fail "VQS is '$value', expected the quoted path and /protected"
}
lock_by_hand
[ "$(reg_value Tethra)" = "$E2E_EXE_WIN" ] || fail "no Tethra value"
log "locked; VQS = $value"

# unlock_and_relock: the restarted program is locked; the password unlocks
# it and removes VQS; a new lock writes it again for the next restart.
unlock_and_relock() {
    expect_locked_state
    enter_password "$password"
    wait_until 5 eval 'item "$PANEL_HWND" 1000 && [ "$ITEM_TEXT" = "$(shown_hex 锁定)" ]' || fail "no unlock"
    reg_value VQS >/dev/null && fail "VQS still there after the unlock"
    lock_by_hand
}

# The restart runs VQS alone.
restart_desktop
start_run_value VQS || fail "cannot start the VQS command"
wait_panel 15 || fail "the VQS command opened no panel"
log "started from VQS alone: locked"
unlock_and_relock

# Both values, autorun first: the first instance wins, and it locks.
restart_desktop
start_run_value Tethra || fail "cannot start the Tethra command"
wait_panel 15 || fail "the autorun start opened no panel"
code=$(start_run_value VQS 15000) || fail "the second instance ran on"
[ "$(probe count $PANEL_FILTER)" = 1 ] || fail "more than one panel"
log "autorun first, then VQS (second ended with $code): locked"
unlock_and_relock

# Both values, VQS first.
restart_desktop
start_run_value VQS || fail "cannot start the VQS command"
wait_panel 15 || fail "the VQS start opened no panel"
start_run_value Tethra 15000 >/dev/null || fail "the second instance ran on"
[ "$(probe count $PANEL_FILTER)" = 1 ] || fail "more than one panel"
expect_locked_state
log "VQS first, then autorun: locked"
log "pass"
