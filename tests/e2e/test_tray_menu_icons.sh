#!/usr/bin/env bash
# The tray menu is drawn by the program: items 21 pixels high, a picture in
# the cell of sleep, restart, shut down, log off, about and exit, none beside
# the others, no trace of the pictures' magenta background, and a raised
# frame round the picture of the item under the pointer.
. "$(dirname "$0")/lib.sh"
e2e_begin tray_menu_icons
e2e_desktop

ini_file "[Option]" "InitTray=1"
start_tethra
wait_frame 15 || fail "no main frame"
wait_until 10 tray_icon_shown || fail "no tray icon"

open_tray_menu
row_h=$(menu_row_height)
[ "$row_h" = 21 ] || fail "menu items are $row_h pixels high, not 21"
log "menu at $MENU_L $MENU_T $MENU_R $MENU_B, items $row_h pixels high"

WITH_ICON=" 5 6 7 8 12 14 "
# The cell: the item's left 21 pixels; items start 3 pixels into the menu.
cells_as_expected() {
    menu_capture || return 1
    local row kind i=0 counts
    CELL_REPORT=""
    for kind in $TRAY_MENU_ROWS; do
        row=$i
        i=$((i + 1))
        [ "$kind" = I ] || continue
        local top
        top=$(menu_row_top "$row")
        read -r colourful magenta <<<"$(menu_region 3 "$top" 24 $((top + 21)))"
        CELL_REPORT="$CELL_REPORT row$row=$colourful"
        if [[ $WITH_ICON == *" $row "* ]]; then
            [ "$colourful" -ge 30 ] || return 1
        else
            [ "$colourful" -eq 0 ] || return 1
        fi
    done
    read -r colourful magenta <<<"$(menu_region 0 0 $((MENU_R - MENU_L)) $((MENU_B - MENU_T)))"
    CELL_REPORT="$CELL_REPORT magenta=$magenta"
    [ "$magenta" -eq 0 ]
}

# Nothing highlighted: the pointer away from the menu.
xdotool mousemove $((MENU_L - 40)) $((MENU_T + 10))
wait_until 5 cells_as_expected || fail "icon cells not as expected:$CELL_REPORT"
log "icons where expected:$CELL_REPORT"

# The exit row under the pointer: the highlight right of its cell, and the
# cell's bottom and right edges in the 3-D shadow, not the menu colour.
exit_top=$(menu_row_top "$MENU_EXIT")
xdotool mousemove $((MENU_L + 60)) $((MENU_T + exit_top + 10))
exit_raised() {
    menu_capture || return 1
    local menu_colour shadow text_area
    menu_colour=$(awk -v y=$((exit_top + 10)) '$1 == 2 && $2 == y { print $3, $4, $5 }' "$MENU_PIXELS")
    shadow=$(awk -v y=$((exit_top + 10)) '$1 == 23 && $2 == y { print $3, $4, $5 }' "$MENU_PIXELS")
    read -r text_area _ <<<"$(menu_region 26 "$exit_top" 40 $((exit_top + 3)))"
    RAISED_REPORT="menu '$menu_colour', cell edge '$shadow', highlighted text-area pixels $text_area"
    [ -n "$shadow" ] && [ "$shadow" != "$menu_colour" ] && [ "$text_area" -ge 30 ]
}
wait_until 5 exit_raised || fail "no raised frame on the highlighted exit row: $RAISED_REPORT"
log "highlighted exit row: $RAISED_REPORT"
# For the README: the menu over the taskbar's right end, with the icon.
screenshot tray-menu.png "$((TRAY_R - MENU_L + 60))x$((TRAY_B - MENU_T + 10))+$((MENU_L - 60))+$((MENU_T - 10))" >/dev/null

# Chosen from the owner-drawn menu, exit still ends the program.
xdotool click 1
probe wait-gone 5000 class=#32768 visible=1 || fail "the tray menu stayed open"
wait_exit "$TETHRA_PID" 15 || fail "exit from the drawn menu did not end the program"
log "pass"
