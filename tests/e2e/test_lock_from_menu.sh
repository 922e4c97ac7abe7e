#!/usr/bin/env bash
# Lock, chosen from the tray menu, opens the panel already locked. With no
# password stored the empty one unlocks; with UnlockHide=1 the panel then
# closes and the program stays in the tray.
. "$(dirname "$0")/lib.sh"
e2e_begin lock_from_menu
e2e_desktop

ini_file "[Option]" "InitTray=1" "UnlockHide=1"
start_tethra
wait_frame 15 || fail "no main frame"
wait_until 10 tray_icon_shown || fail "no tray icon"
# Once the program first waits for input, a panel opened at start would exist.
probe idle "$WIN_HWND" 15000 || fail "the program never became idle"
probe find $PANEL_FILTER >/dev/null && fail "a panel opened although InitTray=1"

tray_menu_choose "$MENU_LOCK"
wait_panel 10 || fail "Lock from the tray menu opened no panel"
expect_locked
log "locked from the menu: clip $CLIP_L $CLIP_T $CLIP_R $CLIP_B"

# No Password key: the empty password is the right one.
enter_password ""
panel_gone 5 || fail "UnlockHide=1 but the panel stayed after the unlock"
is_running "$TETHRA_PID" || fail "the unlock ended the program"
wait_frame 2 || fail "the main frame went away"
expect_pointer_free
log "unlocked with the empty password; panel hidden, program in the tray"

# Still usable from the tray afterwards.
tray_double_click
wait_panel 10 || fail "no panel after the unlock"
expect_item "$PANEL_HWND" 1000 "锁定" 1
click_item "$PANEL_HWND" 1
wait_exit "$TETHRA_PID" 15 || fail "Close did not end the program"
log "pass"
