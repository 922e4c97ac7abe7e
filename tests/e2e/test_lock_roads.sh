#!/usr/bin/env bash
# Every road into a lock first brings the panel wholly inside the work area.
# Moved over the taskbar or half off the screen while unlocked, then locked
# by the timed lock, the hotkey and the lock button, the panel goes back
# inside, and the real pointer, held there, cannot reach the taskbar.
. "$(dirname "$0")/lib.sh"
e2e_begin lock_roads
e2e_desktop

password="roads-3"
# A running time of 15 seconds (see test_timed_lock.sh): time to move the
# panel first.
after=$(date -d "1970-01-01 00:00:15" +%s)
ini_file "[Option]" "InitTray=0" "TimeLock=1" "[Time]" "TimeLockType=0" "AfterTime=$after" \
    "[System]" "Password=$(probe stored-password "$password")"
read -r WORK_L WORK_T WORK_R WORK_B <<<"$(probe workarea)" || fail "no work area"

lock_text_is() { item "$PANEL_HWND" 1000 && [ "$ITEM_TEXT" = "$(shown_hex "$1")" ]; }

# move_panel <x> <y>: the unlocked panel put there, as a drag would.
move_panel() {
    MOVE_TO="$1 $2"
    probe move "$PANEL_HWND" "$1" "$2" || fail "cannot move the panel"
    wait_until 5 eval 'read -r l t _ <<<"$(probe rect "$PANEL_HWND")"; [ "$l $t" = "$MOVE_TO" ]' ||
        fail "the unlocked panel did not stay at $MOVE_TO"
    lock_text_is 锁定 || fail "the panel locked before it was moved"
}

# locked_inside <road> [seconds]: locked, wholly inside the work area, the pointer held
# there: aimed at the taskbar's corner, it stops at the clip.
locked_inside() {
    wait_until "${2:-10}" lock_text_is 解锁 || fail "$1 did not lock the panel"
    # Wine can drop the confinement while the activation settles; the panel
    # takes it back.
    wait_until 5 eval 'rect=$(probe rect "$PANEL_HWND") && read -r l t r b <<<"$rect" &&
        [ "$(probe clip)" = "$((l + 12)) $((t + 12)) $((r - 12)) $((b - 12))" ]' ||
        fail "$1: the pointer was never confined to the panel (clip $(probe clip))"
    expect_locked
    [ "$PANEL_L" -ge "$WORK_L" ] && [ "$PANEL_T" -ge "$WORK_T" ] && [ "$PANEL_R" -le "$WORK_R" ] &&
        [ "$PANEL_B" -le "$WORK_B" ] ||
        fail "$1 locked the panel at $PANEL_L $PANEL_T $PANEL_R $PANEL_B, outside the work area $WORK_L $WORK_T $WORK_R $WORK_B"
    log "$1: locked inside the work area at $PANEL_L $PANEL_T $PANEL_R $PANEL_B, pointer held"
    enter_password "$password"
    wait_until 5 lock_text_is 锁定 || fail "the password did not unlock"
}

start_tethra
wait_panel 15 || fail "InitTray=0 opened no panel"
width=$((PANEL_R - PANEL_L))

# Over the taskbar, the rest off the bottom of the screen.
move_panel 40 $((WORK_B - 30))
locked_inside "the timed lock" 25

# Half off the right edge and over the taskbar's end.
move_panel $((WORK_R - width / 2)) $((WORK_B - 60))
xdotool key ctrl+alt+l
locked_inside "the hotkey"

# Half off the right edge, the lock button still on the screen.
move_panel $((WORK_R - width / 3)) $((WORK_T + 40))
click_item "$PANEL_HWND" 1000
locked_inside "the lock button"

click_item "$PANEL_HWND" 1
wait_exit "$TETHRA_PID" 15 || fail "Close did not end the program"
log "pass"
