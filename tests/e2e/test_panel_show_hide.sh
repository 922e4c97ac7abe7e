#!/usr/bin/env bash
# Without a settings file the panel opens at start. Hide closes it and saves
# its place, the program stays in the tray; a double click on the icon opens
# it again at that place; Close ends the program and takes the icon away.
. "$(dirname "$0")/lib.sh"
e2e_begin panel_show_hide
e2e_desktop

start_tethra
wait_panel 15 || fail "no panel at start without a settings file"
has_caption "$PANEL_HWND" && fail "the panel has a caption"
wait_until 10 tray_icon_shown || fail "no tray icon"
log "panel at $PANEL_L $PANEL_T $PANEL_R $PANEL_B"

# No caption: the panel is dragged by its body (the banner).
item "$PANEL_HWND" 1006 || fail "no banner control"
x=$(((ITEM_L + ITEM_R) / 2)) y=$(((ITEM_T + ITEM_B) / 2))
xdotool mousemove "$x" "$y" mousedown 1
# The press starts the system's move loop; moves made before it runs are lost.
wait_until 10 probe movesize "$PANEL_HWND" || fail "pressing the banner started no move"
xdotool mousemove $((x - 40)) $((y - 30))
xdotool mousemove $((x - 90)) $((y - 70))
wait_until 5 eval '[ "$(probe cursor)" = "$((x - 90)) $((y - 70))" ]' || fail "the pointer did not follow the drag"
xdotool mouseup 1
moved="$((PANEL_L - 90)) $((PANEL_T - 70)) $((PANEL_R - 90)) $((PANEL_B - 70))"
wait_until 5 eval '[ "$(probe rect "$PANEL_HWND")" = "$moved" ]' ||
    fail "dragging the banner left the panel at $(probe rect "$PANEL_HWND"), expected $moved"
read -r PANEL_L PANEL_T PANEL_R PANEL_B <<<"$moved"

# Hide.
click_item "$PANEL_HWND" 2
panel_gone 5 || fail "Hide left the panel open"
is_running "$TETHRA_PID" || fail "Hide ended the program"
wait_frame 2 || fail "the main frame went away"
[ "$(ini_get Windows Left) $(ini_get Windows Top)" = "$PANEL_L $PANEL_T" ] ||
    fail "saved place is Left=$(ini_get Windows Left) Top=$(ini_get Windows Top), panel was at $PANEL_L,$PANEL_T"
log "hidden; saved Left=$PANEL_L Top=$PANEL_T"

# Open again from the tray: same place.
tray_double_click
wait_panel 10 || fail "double click on the icon opened no panel"
[ "$PANEL_L $PANEL_T $PANEL_R $PANEL_B" = "$moved" ] ||
    fail "the panel reopened at $PANEL_L $PANEL_T $PANEL_R $PANEL_B, not at $moved"
[ "$(probe count class=#32770 title= item=1000)" = 1 ] || fail "more than one panel"
log "reopened at the saved place"

# Close ends the program and removes the icon.
click_item "$PANEL_HWND" 1
wait_exit "$TETHRA_PID" 15 || fail "Close did not end the program"
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
wait_until 10 tray_icon_gone || fail "the tray icon stayed after Close"
probe find $FRAME_FILTER >/dev/null && fail "the frame outlived the program"
log "pass"
