#!/usr/bin/env bash
# Nothing but the password ends a lock. A protected lock is tried with every
# key, click and message a person at the machine or another program could
# use; after each try the panel must still be locked, the pointer confined to
# it and task switching still off (the screen-saver flag, which Wine keeps
# and reports). Then the program is ended while locked, by WM_QUIT and by the
# end of the session: it goes, and takes the confinement and the flag with
# it, but the Run value that brings the lock back after a restart stays.
. "$(dirname "$0")/lib.sh"
e2e_begin lock_escape
e2e_desktop
delete_run_value
trap 'status=$?; delete_run_value; (exit $status); e2e_end' EXIT

WM_CLOSE=0x0010 WM_COMMAND=0x0111 WM_SYSCOMMAND=0x0112 SC_CLOSE=0xF060 WM_TRAYNOTIFY=0x040A
WM_ENDSESSION=0x0016 WM_RBUTTONUP=0x0205 WM_LBUTTONDBLCLK=0x0203 WM_DESTROY=0x0002 WM_NCDESTROY=0x0082
ID_APP_EXIT=57665 ID_APP_ABOUT=57664 ID_SETTINGS=32776 ID_SLEEP=32771 ID_RESTART=32772
ID_SHUTDOWN=32773 ID_LOGOFF=32774 ID_SHOW=32779 ID_LOCK=32775 ID_HOMEPAGE=32780

# LS_*: the panel's state in one probe call.
lock_state() {
    local line
    line=$(probe lock-state "$PANEL_HWND")
    read -r LS_ALIVE LS_TEXT l t r b cl ct cr cb LS_FLAG <<<"$line"
    LS_WANT="$((l + 12)) $((t + 12)) $((r - 12)) $((b - 12))"
    LS_CLIP="$cl $ct $cr $cb"
    CLIP_L=$cl CLIP_T=$ct CLIP_R=$cr CLIP_B=$cb
}

# Longer than e2e_desktop's keeper: the desktop must outlast every try.
wine "$TETHRA_PROBE" hold 400000 >/dev/null 2>&1 &
E2E_PIDS="$E2E_PIDS $!"

password="no-way-out"
ini_file "[Option]" "InitLock=1" "Protected=1" "[System]" "Password=$(probe stored-password "$password")"
[ "$(probe ssrunning)" = 0 ] || fail "the screen-saver flag is set before the test"
start_tethra
wait_panel 15 || fail "InitLock=1 opened no panel"
wait_frame 15 || fail "no main frame"
FRAME_HWND=$WIN_HWND
wait_until 10 eval '[ "$(probe ssrunning)" = 1 ]' || fail "locking did not set the screen-saver flag"
value=$(run_value) || fail "no VQS value while locked"
wait_until 10 eval 'lock_state; [ "$LS_CLIP" = "$LS_WANT" ]' || fail "the pointer was never confined: clip $LS_CLIP"

attempts=0 escapes=0
UNLOCK_HEX=$(shown_hex "解锁")

# The prompt the next press opens comes after the try in the panel's queue
# (posted messages and input alike): once it has opened and closed again
# (Escape cancels it), the try was handled. A menu the try opened may eat
# the first press, so the press is repeated.
handled() {
    local i
    for i in 1 2 3; do
        item "$PANEL_HWND" 1000 || return 1
        click_at $(((ITEM_L + ITEM_R) / 2)) $(((ITEM_T + ITEM_B) / 2))
        if wait_window 4 $PROMPT_FILTER; then
            xdotool key Escape
            probe wait-gone 5000 $PROMPT_FILTER >/dev/null && return 0
            return 1
        fi
    done
    return 1
}

# try <name> <command...>: runs the try, waits until it was handled, checks.
try() {
    local name=$1 why=""
    shift
    attempts=$((attempts + 1))
    "$@"
    handled || why="the panel no longer opens its prompt;"
    is_running "$TETHRA_PID" || why="$why the program ended;"
    lock_state
    [ "$LS_ALIVE" = 1 ] || why="$why the panel is gone;"
    [ "${LS_TEXT:-}" = "$UNLOCK_HEX" ] || why="$why the lock button reads ${LS_TEXT:-nothing};"
    [ "$LS_CLIP" = "$LS_WANT" ] || why="$why clip $LS_CLIP, not $LS_WANT;"
    [ "${LS_FLAG:-0}" = 1 ] || why="$why the screen-saver flag is off;"
    [ -n "$why" ] || pointer_held || why="pointer reached $POINTER_ESCAPE;"
    probe find class=#32768 visible=1 >/dev/null && [ "$name" != ctrl+Escape ] && [ "$name" != super ] &&
        why="$why a popup menu is open;"
    if [ -n "$why" ]; then
        escapes=$((escapes + 1))
        log "ESCAPE by $name: $why"
        screenshot "lock-escape-$attempts.png" >/dev/null 2>&1
        is_running "$TETHRA_PID" || fail "the program ended: $attempts attempts, $escapes escapes"
    else
        log "held against $name"
    fi
}

# Keys.
for key in Escape Return alt+F4 alt+Tab ctrl+Escape super alt+space; do
    try "$key" xdotool key "$key"
    # A start menu the Windows key opened on Wine's desktop is not ours; close it.
    probe find class=#32768 visible=1 >/dev/null && xdotool key Escape
done

# Clicks outside the panel and on the tray icon: the pointer cannot get there,
# but the buttons are pressed wherever it was stopped.
try "click at the top-left corner" eval 'xdotool mousemove 0 0 click 1'
try "click at the bottom-right corner" eval 'xdotool mousemove $((TRAY_R - 1)) $((TRAY_T - 30)) click 1'
try "left click on the tray icon" eval 'xdotool mousemove $TRAY_ICON_X $TRAY_ICON_Y click 1'
try "right click on the tray icon" tray_right_click
try "double click on the tray icon" tray_double_click

# Second instances.
second_instance() {
    local first=$TETHRA_PID code
    start_tethra "$@"
    local second=$TETHRA_PID
    TETHRA_PID=$first
    wait_exit "$second" 15 || return 1
    [ "$EXIT_CODE" = 0 ] || log "second instance ended with $EXIT_CODE"
}
try "a second instance" second_instance
try "a second instance with /protected" second_instance /protected

# The pointer pushed to every edge and corner of the desktop.
edge_push() {
    local w h
    read -r w h <<<"$(probe screen)"
    pointer_pushed_to "0 $((h / 2))" "$((w - 1)) $((h / 2))" "$((w / 2)) 0" "$((w / 2)) $((h - 1))" \
        "0 0" "$((w - 1)) 0" "0 $((h - 1))" "$((w - 1)) $((h - 1))" || log "pushed out: $POINTER_ESCAPE"
}
try "the pointer pushed to every edge" edge_push

# Another program's messages.
try "WM_CLOSE to the panel" probe post "$PANEL_HWND" $WM_CLOSE 0 0
try "SC_CLOSE to the panel" probe post "$PANEL_HWND" $WM_SYSCOMMAND $SC_CLOSE 0
try "WM_CLOSE to the frame" probe post "$FRAME_HWND" $WM_CLOSE 0 0
try "SC_CLOSE to the frame" probe post "$FRAME_HWND" $WM_SYSCOMMAND $SC_CLOSE 0
try "Exit to the frame, posted" probe post "$FRAME_HWND" $WM_COMMAND $ID_APP_EXIT 0
try "Exit to the frame, sent" probe send "$FRAME_HWND" $WM_COMMAND $ID_APP_EXIT 0
for id in $ID_APP_ABOUT $ID_SETTINGS $ID_SHOW $ID_LOCK $ID_HOMEPAGE $ID_SLEEP $ID_RESTART $ID_SHUTDOWN $ID_LOGOFF; do
    try "command $id to the frame" probe post "$FRAME_HWND" $WM_COMMAND $id 0
done
try "a forged tray right-click" probe post "$FRAME_HWND" $WM_TRAYNOTIFY 128 $WM_RBUTTONUP
try "a forged tray double click" probe post "$FRAME_HWND" $WM_TRAYNOTIFY 128 $WM_LBUTTONDBLCLK
# The window's last messages, forged while it stays on the screen.
try "WM_NCDESTROY to the panel, sent" probe send "$PANEL_HWND" $WM_NCDESTROY 0 0
try "WM_DESTROY and WM_NCDESTROY to the panel, posted" \
    eval 'probe post "$PANEL_HWND" $WM_DESTROY 0 0 && probe post "$PANEL_HWND" $WM_NCDESTROY 0 0'
try "WM_DESTROY and WM_NCDESTROY to the frame" \
    eval 'probe send "$FRAME_HWND" $WM_DESTROY 0 0 && probe send "$FRAME_HWND" $WM_NCDESTROY 0 0'
try "IDOK and IDCANCEL to the panel" eval 'probe post "$PANEL_HWND" $WM_COMMAND 1 0 && probe post "$PANEL_HWND" $WM_COMMAND 2 0'

# Disabled buttons enabled from outside, then clicked for real.
enable_and_click() {
    probe enable "$PANEL_HWND" "$1" 1 || return 1
    wait_until 5 eval 'item "$PANEL_HWND" '"$1"' && [ "$ITEM_ENABLED" = 1 ]' || return 1
    click_item "$PANEL_HWND" "$1"
}
try "Settings enabled and clicked" enable_and_click 1002
try "Hide enabled and clicked" enable_and_click 2
try "Close enabled and clicked" enable_and_click 1

echo "lock-escape: $attempts attempts, $escapes escapes"
log "$attempts attempts, $escapes escapes"
[ "$escapes" = 0 ] || fail "$escapes of $attempts attempts escaped the lock"

# Ended while locked. Each road: the process goes, the confinement and the
# flag go with it, the Run value stays and the icon leaves the tray.
expect_clean_end() {
    wait_exit "$TETHRA_PID" 15 || fail "$1 did not end the locked program"
    wait_until 5 eval '[ "$(probe ssrunning)" = 0 ]' || fail "$1 left the screen-saver flag set"
    [ "$(probe clip)" = "0 0 $(probe screen)" ] || fail "$1 left the pointer confined to $(probe clip)"
    value=$(run_value) || fail "$1 removed the VQS value"
    [ "$value" = "$E2E_EXE_WIN /protected" ] || fail "VQS is '$value' after $1"
    wait_until 10 tray_icon_gone || fail "the tray icon stayed after $1"
    log "$1: ended, pointer and flag released, VQS kept"
}
probe quit-thread "$PANEL_HWND" || fail "cannot post WM_QUIT"
expect_clean_end WM_QUIT

start_tethra /protected
wait_panel 15 || fail "/protected opened no panel"
wait_until 10 eval '[ "$(probe ssrunning)" = 1 ]' || fail "the protected start did not set the flag"
probe send "$PANEL_HWND" $WM_ENDSESSION 1 0 >/dev/null || fail "cannot send WM_ENDSESSION"
expect_clean_end "the end of the session"
log "pass"
