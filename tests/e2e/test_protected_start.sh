#!/usr/bin/env bash
# "/protected" opens locked whatever the options, and with Protected=1 the
# lock puts "<exe> /protected" under the machine's Run key until the unlock;
# UnlockQuit=1 ends the program at the unlock. InitLock=1 opens locked too,
# and without Protected=1 the Run key is left alone.
. "$(dirname "$0")/lib.sh"
e2e_begin protected_start
e2e_desktop
delete_run_value
trap 'status=$?; delete_run_value; (exit $status); e2e_end' EXIT

# A panel locked as the program starts: the locked state, Windows' clip
# rectangle, the pointer in its middle, and the real pointer held there.
# (Wine can drop the confinement while the start-up's activations settle;
# the panel takes the pointer back: wait until Windows reports it again.)
expect_start_lock() {
    wait_until 10 eval 'rect=$(probe rect "$PANEL_HWND") && read -r l t r b <<<"$rect" &&
        [ "$(probe clip)" = "$((l + 12)) $((t + 12)) $((r - 12)) $((b - 12))" ]' ||
        fail "the start-time lock never confined the pointer to the panel (clip $(probe clip))"
    expect_locked_state
    read -r cx cy <<<"$(probe cursor)"
    [ "$cx $cy" = "$(((CLIP_L + CLIP_R) / 2)) $(((CLIP_T + CLIP_B) / 2))" ] ||
        fail "pointer at $cx,$cy, not in the middle of $CLIP_WANT"
    pointer_held || fail "the pointer reached $POINTER_ESCAPE outside $CLIP_WANT"
}

password="guard7"
stored=$(probe stored-password "$password")
ini_file "[Option]" "InitTray=1" "Protected=1" "UnlockQuit=1" "[System]" "Password=$stored"
start_tethra /protected
wait_panel 15 || fail "/protected opened no panel"
expect_start_lock
value=$(run_value) || fail "no VQS value under the Run key while locked"
[ "$value" = "$E2E_EXE_WIN /protected" ] || fail "VQS is '$value', expected '$E2E_EXE_WIN /protected'"
log "locked by /protected; VQS = $value"

enter_password "$password"
wait_exit "$TETHRA_PID" 15 || fail "UnlockQuit=1 but the program runs on after the unlock"
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
value=$(run_value) && fail "VQS still there after the unlock: '$value'"
wait_until 10 tray_icon_gone || fail "the tray icon stayed after the program ended"
log "unlocked: VQS removed, program ended"

# InitLock=1, no switch, Protected off: locked, Run key untouched.
ini_file "[Option]" "InitLock=1" "[System]" "Password=$stored"
start_tethra
wait_panel 15 || fail "InitLock=1 opened no panel"
expect_start_lock
value=$(run_value) && fail "VQS written although Protected is off: '$value'"
enter_password "$password"
wait_until 5 eval 'item "$PANEL_HWND" 1000 && [ "$ITEM_TEXT" = "$(shown_hex 锁定)" ]' || fail "the right password did not unlock"
expect_unlocked
is_running "$TETHRA_PID" || fail "the unlock ended the program without UnlockQuit"

# Locked again by hand, the pointer is held for certain.
click_item "$PANEL_HWND" 1000
wait_until 5 eval 'item "$PANEL_HWND" 1000 && [ "$ITEM_TEXT" = "$(shown_hex 解锁)" ]' || fail "the panel did not lock"
expect_locked
value=$(run_value) && fail "VQS written although Protected is off: '$value'"
enter_password "$password"
wait_until 5 eval 'item "$PANEL_HWND" 1000 && [ "$ITEM_TEXT" = "$(shown_hex 锁定)" ]' || fail "the right password did not unlock"
expect_unlocked
click_item "$PANEL_HWND" 1
wait_exit "$TETHRA_PID" 15 || fail "Close did not end the program"
log "pass"
