#!/usr/bin/env bash
# Exit, the tray menu's last row, ends the program and removes its icon.
. "$(dirname "$0")/lib.sh"
e2e_begin tray_exit
e2e_desktop

ini_file "[Option]" "InitTray=1"
start_tethra
wait_frame 15 || fail "no main frame"
wait_until 10 tray_icon_shown || fail "no tray icon"

open_tray_menu
log "menu at $MENU_L $MENU_T $MENU_R $MENU_B"
screenshot tray-menu.png >/dev/null
click_menu_row "$MENU_EXIT"
wait_exit "$TETHRA_PID" 15 || fail "Exit did not end the program"
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
wait_until 10 tray_icon_gone || fail "the tray icon stayed after Exit"
log "pass"
