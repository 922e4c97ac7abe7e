#!/usr/bin/env bash
# With InitTray=1 the program starts into the tray: the hidden frame and the
# icon, no panel. A second start ends at once while the first runs on.
. "$(dirname "$0")/lib.sh"
e2e_begin tray_start
e2e_desktop

ini_file "[Option]" "InitTray=1"
start_tethra
wait_frame 15 || fail "no main frame"
frame=$WIN_HWND
probe find $FRAME_FILTER visible=0 >/dev/null || fail "the main frame is visible"
wait_until 10 tray_icon_shown || fail "no tray icon drawn at the taskbar's right end"
# Once the program first waits for input, a panel opened at start would exist.
probe idle "$frame" 15000 || fail "the program never became idle"
probe find $PANEL_FILTER >/dev/null && fail "a panel opened although InitTray=1"
log "tray only: frame $frame, icon drawn, no panel"

# A second instance: gone at once, silently, with exit code 0.
first=$TETHRA_PID
start_tethra
second=$TETHRA_PID
wait_exit "$second" 15 || fail "the second instance did not end"
[ "$EXIT_CODE" = 0 ] || fail "the second instance ended with $EXIT_CODE"
is_running "$first" || fail "the first instance ended too"
[ "$(probe count $FRAME_FILTER)" = 1 ] || fail "frames: $(probe count $FRAME_FILTER)"
probe find class=#32770 visible=1 >/dev/null && fail "the second start showed a window"
log "second start ended with 0; first still running"

# A single click does nothing; watch past the double-click time.
xdotool mousemove "$TRAY_ICON_X" "$TRAY_ICON_Y" click 1
probe wait 1500 $PANEL_FILTER >/dev/null && fail "a single click on the icon opened the panel"

# The icon is live: a double click opens the panel.
tray_double_click
wait_panel 10 || fail "double click on the icon opened no panel"
click_item "$PANEL_HWND" 1
wait_exit "$first" 15 || fail "Close did not end the program"
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
wait_until 10 tray_icon_gone || fail "the tray icon stayed after the program ended"
log "pass"
