#!/usr/bin/env bash
# About, from the tray menu, opens "关于 Tethra" once: choosing it again
# while it is open opens no second one; once closed it opens again.
. "$(dirname "$0")/lib.sh"
e2e_begin about_box
e2e_desktop

ABOUT_FILTER="class=#32770 title=$(shown_hex "关于 Tethra") visible=1"
about_count() { probe count $ABOUT_FILTER; }

ini_file "[Option]" "InitTray=1"
start_tethra
wait_frame 15 || fail "no main frame"
wait_until 10 tray_icon_shown || fail "no tray icon"

tray_menu_choose "$MENU_ABOUT"
wait_window 10 $ABOUT_FILTER || fail "About opened no dialog captioned 关于 Tethra"
about=$WIN_HWND
expect_ascii_texts
screenshot about-box.png >/dev/null
log "about box $about"

tray_menu_choose "$MENU_ABOUT"
# A second box would open as soon as the command ran; watch for a while.
deadline=$((SECONDS + 2))
while [ "$SECONDS" -lt "$deadline" ]; do
    [ "$(about_count)" = 1 ] || fail "$(about_count) about boxes after choosing About twice"
done
probe exists "$about" || fail "the first about box closed"

click_item "$about" 1
probe wait-gone 5000 $ABOUT_FILTER || fail "OK left the about box open"
tray_menu_choose "$MENU_ABOUT"
wait_window 10 $ABOUT_FILTER || fail "About did not open again after the box was closed"
click_item "$WIN_HWND" 1
probe wait-gone 5000 $ABOUT_FILTER || fail "OK left the about box open"
is_running "$TETHRA_PID" || fail "the about box ended the program"
log "pass"
