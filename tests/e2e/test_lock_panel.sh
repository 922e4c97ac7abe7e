#!/usr/bin/env bash
# Locking from the panel: the pointer is held inside the panel, the other
# buttons are off and Escape or Alt+F4 cannot close it; a wrong password
# keeps the lock, the right one lifts it and frees the pointer.
. "$(dirname "$0")/lib.sh"
e2e_begin lock_panel
e2e_desktop

password="Tethra-42"
ini_file "[System]" "Password=$(probe stored-password "$password")"
start_tethra
wait_panel 15 || fail "no panel at start"
expect_unlocked

click_item "$PANEL_HWND" 1000
wait_until 5 eval 'item "$PANEL_HWND" 1000 && [ "$ITEM_TEXT" = "$(shown_hex 解锁)" ]' || fail "the panel did not lock"
# The pointer goes to the middle of the confinement.
clip_rect
read -r cx cy <<<"$(probe cursor)"
[ "$cx $cy" = "$(((CLIP_L + CLIP_R) / 2)) $(((CLIP_T + CLIP_B) / 2))" ] ||
    fail "pointer at $cx,$cy after locking, not in the middle of $CLIP_L $CLIP_T $CLIP_R $CLIP_B"
expect_locked
expect_ascii_texts
log "locked: clip $CLIP_L $CLIP_T $CLIP_R $CLIP_B"

# The panel with its banner, as the user sees it while locked.
xdotool mousemove $(((CLIP_L + CLIP_R) / 2)) $(((CLIP_T + CLIP_B) / 2))
screenshot locked-panel.png "$((PANEL_R - PANEL_L + 40))x$((PANEL_B - PANEL_T + 40))+$((PANEL_L - 20))+$((PANEL_T - 20))" >/dev/null ||
    fail "no screenshot"

# Keys that close a dialog do nothing while locked. The prompt that the next
# click opens comes after them in the queue: once it shows, they were handled.
xdotool key Escape
xdotool key alt+F4
xdotool key Return
enter_password "wrong-$password"
probe find $PANEL_FILTER >/dev/null || fail "a key closed the locked panel"
is_running "$TETHRA_PID" || fail "a key ended the locked program"
expect_locked

# The wrong password was handled once the next press opens a prompt again.
enter_password "wrong-again"
probe find $PANEL_FILTER >/dev/null || fail "the panel closed after a wrong password"
expect_locked
log "wrong password: still locked"

enter_password "$password"
answer_wrong_password_report
wait_until 5 eval 'item "$PANEL_HWND" 1000 && [ "$ITEM_TEXT" = "$(shown_hex 锁定)" ]' || fail "the right password did not unlock"
expect_unlocked
log "right password: unlocked, pointer free"

click_item "$PANEL_HWND" 1
wait_exit "$TETHRA_PID" 15 || fail "Close did not end the program"
log "pass"
