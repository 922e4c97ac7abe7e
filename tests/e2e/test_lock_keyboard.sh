#!/usr/bin/env bash
# The locked panel keeps the keyboard: a window another program opens during
# the lock (Wine's notepad) takes the foreground, and the panel takes it back
# within half a second; keys typed a second later reach the panel, not that
# window. Then the wrong-password report: the panel is unlocked while it is
# up, and the lock hotkey pressed then locks the panel again instead of the
# hide that UnlockHide asks for.
. "$(dirname "$0")/lib.sh"
e2e_begin lock_keyboard
e2e_desktop

password="keys-9"
ini_file "[Option]" "InitLock=1" "UnlockHide=1" "[System]" "Password=$(probe stored-password "$password")"

lock_text_is() { item "$PANEL_HWND" 1000 && [ "$ITEM_TEXT" = "$(shown_hex "$1")" ]; }
foreground_is() { [ "$(probe foreground | cut -d' ' -f1)" = "$1" ]; }

start_tethra
wait_panel 15 || fail "InitLock=1 opened no panel"
wait_until 5 lock_text_is 解锁 || fail "the panel did not lock at start"
wait_until 10 foreground_is "$PANEL_HWND" || fail "the locked panel never had the foreground"

wine notepad >/dev/null 2>&1 &
E2E_PIDS="$E2E_PIDS $!"
wait_window 30 class=Notepad visible=1 || fail "notepad did not start"
NOTEPAD=$WIN_HWND
log "notepad opened during the lock"
wait_until 5 foreground_is "$PANEL_HWND" || fail "the foreground stayed with $(probe foreground)"
sleep 1
# Letters do nothing on the panel; Space presses its focused 解锁 button.
xdotool type --delay 30 "typed"
xdotool key space
wait_window 5 $PROMPT_FILTER || fail "the keys did not reach the panel: no password prompt"
probe children "$NOTEPAD" | awk '$4 == "Edit" && $5 != "" { found = 1 } END { exit !found }' &&
    fail "the keys reached notepad: $(probe children "$NOTEPAD")"
log "keys typed after notepad opened reached the panel"
wait_until 5 eval '[ "$(probe focus "$WIN_HWND")" = 1007 ]' || fail "the password field does not have the focus"
xdotool type --delay 30 "wrong"
xdotool key Return
probe wait-gone 5000 $PROMPT_FILTER || fail "the prompt stayed open"
lock_text_is 解锁 || fail "a wrong password unlocked"

# The right password: the report comes with the panel already unlocked.
enter_password "$password"
wait_window 10 $MESSAGE_BOX_FILTER || fail "no report of the wrong password"
expect_item "$PANEL_HWND" 1000 "锁定" 1
expect_item "$PANEL_HWND" 1002 "设置" 1
expect_item "$PANEL_HWND" 2 "隐藏" 1
expect_item "$PANEL_HWND" 1 "关闭" 1
expect_pointer_free
# The hotkey's WM_HOTKEY is posted as its keys are read, before the Return
# that follows is: the program takes posted messages before input.
xdotool key ctrl+alt+l
xdotool key Return
probe wait-gone 5000 $MESSAGE_BOX_FILTER || fail "the report stayed"
wait_until 5 lock_text_is 解锁 || fail "the hotkey pressed during the report was lost"
expect_locked
log "the hotkey pressed during the report locked the panel"

# No wrong password this time: no report, and UnlockHide hides the panel.
enter_password "$password"
panel_gone 10 || fail "UnlockHide=1 but the panel stayed"
probe find $MESSAGE_BOX_FILTER >/dev/null && fail "a report after a lock without wrong passwords"
is_running "$TETHRA_PID" || fail "the program ended"
log "pass"
