#!/usr/bin/env bash
# The idle lock, one minute: left alone, the program in the tray opens its
# panel locked, the pointer really held. After the unlock the count starts
# again: the pointer moved every 20 s, or keys used in another program
# (notepad) every 20 s, keep the open panel unlocked well past the minute.
. "$(dirname "$0")/lib.sh"
e2e_begin idle_lock
e2e_desktop

xdotool mousemove 300 300
ini_file "[Option]" "InitTray=1" "IdleLock=1" "[Time]" "IdleMinutes=1"
start_tethra
started=$SECONDS
wait_frame 15 || fail "no main frame"
wait_panel 75 || fail "no idle lock within 75 s"
elapsed=$((SECONDS - started))
# The count starts while the frame is created, a little after the start.
[ "$elapsed" -ge 58 ] || fail "the idle lock came after ${elapsed} s, before its minute"
expect_locked
log "idle lock after ${elapsed} s"
enter_password ""
expect_item "$PANEL_HWND" 1000 "锁定" 1

# still_unlocked_after <seconds> <use...>: runs the use every 20 s; the
# panel must still be unlocked at the end, half a minute past the minute.
still_unlocked_after() {
    local until=$((SECONDS + $1)) next=$SECONDS
    shift
    while [ "$SECONDS" -lt "$until" ]; do
        if [ "$SECONDS" -ge "$next" ]; then
            "$@"
            next=$((next + 20))
        fi
        item "$PANEL_HWND" 1000 || fail "the panel went"
        [ "$ITEM_TEXT" = "$(shown_hex 锁定)" ] || fail "locked although $* ran every 20 s"
        sleep 0.5
    done
}

step=0
move_pointer() {
    step=$((step + 1))
    xdotool mousemove $((300 + step % 2 * 40)) 300
}
still_unlocked_after 90 move_pointer
log "the pointer moved every 20 s: no lock in 90 s"

notepad_in_front() {
    local front pad
    front=$(probe foreground | awk '{print $1}')
    pad=$(probe find class=Notepad | awk 'NR == 1 {print $1}')
    [ -n "$pad" ] && [ "$front" = "$pad" ]
}
wine notepad >/dev/null 2>&1 &
E2E_PIDS="$E2E_PIDS $!"
wait_until 20 notepad_in_front || fail "notepad did not come to the front"
type_in_notepad() {
    notepad_in_front || fail "notepad lost the foreground"
    xdotool type --delay 40 "nobody here "
    xdotool keydown x
    sleep 1.5
    xdotool keyup x
}
still_unlocked_after 90 type_in_notepad
log "keys used in notepad every 20 s: no lock in 90 s; pass"
