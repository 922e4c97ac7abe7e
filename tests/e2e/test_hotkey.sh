#!/usr/bin/env bash
# The lock hotkey, typed as real keys: Ctrl+Alt+L locks from the tray and
# locks the open panel, the pointer really held. A key another program holds
# is reported by the settings dialog's OK and not saved; a key chosen there
# survives a restart, and the old one no longer locks.
. "$(dirname "$0")/lib.sh"
: "${TETHRA_HOTKEY_HOLDER:?}"
e2e_begin hotkey
e2e_desktop

password="hot-Key5"
ini_file "[Option]" "InitTray=1" "[System]" "Password=$(probe stored-password "$password")"

# start_in_tray: the program started, idle in the tray, no panel.
start_in_tray() {
    start_tethra
    wait_frame 15 || fail "no main frame"
    wait_until 10 tray_icon_shown || fail "no tray icon"
    probe idle "$WIN_HWND" 15000 || fail "the program never became idle"
    probe find $PANEL_FILTER >/dev/null && fail "a panel opened although InitTray=1"
}

lock_text_is() { item "$PANEL_HWND" 1000 && [ "$ITEM_TEXT" = "$(shown_hex "$1")" ]; }

unlock() {
    enter_password "$password"
    wait_until 5 lock_text_is 锁定 || fail "the password did not unlock"
    expect_unlocked
}

start_in_tray
xdotool key ctrl+alt+l
wait_panel 10 || fail "Ctrl+Alt+L in the tray state opened no panel"
expect_locked
log "Ctrl+Alt+L locked from the tray: clip $CLIP_L $CLIP_T $CLIP_R $CLIP_B"
unlock

# The unlocked panel is open: the hotkey locks it.
xdotool key ctrl+alt+l
wait_until 5 lock_text_is 解锁 || fail "Ctrl+Alt+L did not lock the open panel"
expect_locked
log "Ctrl+Alt+L locked the open panel"
unlock

# Ctrl+Alt+J, typed into the dialog's hotkey control, then taken by another
# program before OK.
open_settings
click_item "$SETTINGS_HWND" 1020
wait_until 5 eval '[ "$(probe focus "$SETTINGS_HWND")" = 1020 ]' || fail "the hotkey control took no focus"
xdotool key ctrl+alt+j
# MOD_ALT | MOD_CONTROL, 'J'
wine "$TETHRA_HOTKEY_HOLDER" 3 0x4A 120000 >/dev/null 2>&1 &
holder=$!
E2E_PIDS="$E2E_PIDS $holder"
wait_window 15 title="$(shown_hex tethra-hotkey-holder)" || fail "the helper could not take Ctrl+Alt+J"
click_item "$SETTINGS_HWND" 1
wait_window 10 $MESSAGE_BOX_FILTER || fail "no message for a key another program holds"
box=$WIN_HWND
probe children "$box" | grep -q " $(shown_hex "这个热键已被其他程序占用，请另选一个。")\$" ||
    fail "the message does not say the key is taken: $(probe children "$box")"
xdotool key Return
probe wait-gone 5000 $MESSAGE_BOX_FILTER || fail "the message stayed"
probe find $SETTINGS_FILTER >/dev/null || fail "the settings dialog closed after the refusal"
[ -z "$(ini_get Option HotKey)" ] || fail "a key another program holds was saved: HotKey=$(ini_get Option HotKey)"
log "a key held by another program is reported and not saved"
kill "$holder" 2>/dev/null
timeout 30 wine "$TETHRA_PROBE" wait-gone 15000 title="$(shown_hex tethra-hotkey-holder)" >/dev/null

# Ctrl+Alt+K is free: OK keeps it.
click_item "$SETTINGS_HWND" 1020
wait_until 5 eval '[ "$(probe focus "$SETTINGS_HWND")" = 1020 ]' || fail "the hotkey control took no focus"
xdotool key ctrl+alt+k
click_item "$SETTINGS_HWND" 1
probe wait-gone 5000 $SETTINGS_FILTER || fail "OK with a free key left the dialog open"
# HOTKEYF_CONTROL | HOTKEYF_ALT in the high byte, 'K' in the low one.
[ "$(ini_get Option HotKey)" = $(((0x06 << 8) | 0x4B)) ] || fail "HotKey=$(ini_get Option HotKey), expected Ctrl+Alt+K"
click_item "$PANEL_HWND" 1
wait_exit "$TETHRA_PID" 15 || fail "Close did not end the program"

# After a restart the old key does nothing: a double click on the icon,
# queued after it, finds no panel and opens an unlocked one.
start_in_tray
xdotool key ctrl+alt+l
tray_double_click
wait_panel 10 || fail "no panel from the double click"
lock_text_is 锁定 || fail "Ctrl+Alt+L still locks after Ctrl+Alt+K was chosen"
expect_unlocked
xdotool key ctrl+alt+k
wait_until 5 lock_text_is 解锁 || fail "Ctrl+Alt+K did not lock after the restart"
expect_locked
log "after the restart Ctrl+Alt+K locks and Ctrl+Alt+L does not"
unlock
click_item "$PANEL_HWND" 1
wait_exit "$TETHRA_PID" 15 || fail "Close did not end the program"
log "pass"
