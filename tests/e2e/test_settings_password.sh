#!/usr/bin/env bash
# The password set through 设置 → 密码 is the one that unlocks: typed into
# the change-password dialog, it replaces the old one, which no longer
# unlocks. The settings dialog's picture for the README is taken here.
. "$(dirname "$0")/lib.sh"
e2e_begin settings_password
e2e_desktop

old="old-pw1"
new="New-pw2"
ini_file "[System]" "Password=$(probe stored-password "$old")"
start_tethra
wait_panel 15 || fail "no panel at start"
open_settings
expect_ascii_texts
read -r _ SL ST SR SB <<<"$(probe rect "$SETTINGS_HWND" | sed 's/^/x /')"
screenshot settings-dialog.png "$((SR - SL + 24))x$((SB - ST + 24))+$((SL - 12))+$((ST - 12))" >/dev/null ||
    fail "no screenshot"

click_item "$SETTINGS_HWND" 1008
wait_window 10 $CHANGE_PASSWORD_FILTER || fail "no change-password dialog"
change=$WIN_HWND
[ "$(probe focus "$change")" = 1010 ] || fail "the old-password box does not have the focus"
expect_ascii_texts

# A wrong old password is refused and selected for typing again.
xdotool type --delay 30 "wrong"
xdotool key Tab
xdotool type --delay 30 "$new"
xdotool key Tab
xdotool type --delay 30 "$new"
xdotool key Return
wait_window 10 $MESSAGE_BOX_FILTER || fail "no message after a wrong old password"
expect_ascii_texts
xdotool key Return
probe wait-gone 5000 $MESSAGE_BOX_FILTER || fail "the message stayed"
[ "$(probe focus "$change")" = 1010 ] || fail "the old-password box did not get the focus back"
[ "$(ini_get System Password)" = "$(probe stored-password "$old")" ] || fail "a refused change wrote the password"

# The selection is typed over.
xdotool type --delay 30 "$old"
xdotool key Return
wait_window 10 $MESSAGE_BOX_FILTER || fail "no message after the change"
xdotool key Return
probe wait-gone 5000 $CHANGE_PASSWORD_FILTER || fail "the change-password dialog stayed"
[ "$(ini_get System Password)" = "$(probe stored-password "$new")" ] || fail "the new password was not stored"
log "password changed through the dialog"

# Cancel leaves the new password in place.
click_item "$SETTINGS_HWND" 2
probe wait-gone 5000 $SETTINGS_FILTER || fail "the settings dialog stayed"

click_item "$PANEL_HWND" 1000
wait_until 5 eval 'item "$PANEL_HWND" 1000 && [ "$ITEM_TEXT" = "$(shown_hex 解锁)" ]' || fail "the panel did not lock"
expect_locked
enter_password "$old"
sleep 0.3
expect_locked
log "the old password no longer unlocks"
enter_password "$new"
answer_wrong_password_report
wait_until 5 eval 'item "$PANEL_HWND" 1000 && [ "$ITEM_TEXT" = "$(shown_hex 锁定)" ]' || fail "the new password did not unlock"
expect_unlocked
click_item "$PANEL_HWND" 1
wait_exit "$TETHRA_PID" 15 || fail "Close did not end the program"
log "pass"
