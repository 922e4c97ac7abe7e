#!/usr/bin/env bash
# Wrong passwords typed during a lock are counted, survive a protected
# restart, and are reported once at the unlock: the count and the local
# date and time of the last one, in a message box over the panel.
. "$(dirname "$0")/lib.sh"
e2e_begin wrong_passwords
e2e_desktop

password="right-7"
ini_file "[Option]" "InitLock=1" "[System]" "Password=$(probe stored-password "$password")"

lock_text_is() { item "$PANEL_HWND" 1000 && [ "$ITEM_TEXT" = "$(shown_hex "$1")" ]; }

# wrong_password <n>: a wrong password; the panel stays locked and the
# settings file counts n.
wrong_password() {
    WANT_COUNT=$1
    enter_password "wrong-$1"
    lock_text_is 解锁 || fail "a wrong password unlocked"
    wait_until 5 eval '[ "$(ini_get System WrongPasswords)" = "$WANT_COUNT" ]' ||
        fail "WrongPasswords=$(ini_get System WrongPasswords) after $1 wrong passwords"
}

# expect_report <count>: the right password brings one message box whose
# text names count and a local time within the last minute; once it is
# answered the panel is unlocked and the keys are gone.
expect_report() {
    click_item "$PANEL_HWND" 1000
    wait_window 5 $PROMPT_FILTER || fail "no password prompt"
    xdotool type --delay 30 "$password"
    xdotool key Return
    wait_window 10 $MESSAGE_BOX_FILTER || fail "no message after the unlock"
    local box=$WIN_HWND text when stamp
    text=$(probe children "$box" | awk '$4 == "Static" && $5 != "" { print $5 }' | xxd -r -p | iconv -f GBK -t UTF-8)
    log "message: $text"
    case "$text" in
    *" $1 次错误"*) ;;
    *) fail "the message does not say $1: '$text'" ;;
    esac
    when=$(grep -o '[0-9]\{4\}-[0-9]\{2\}-[0-9]\{2\} [0-9]\{2\}:[0-9]\{2\}:[0-9]\{2\}' <<<"$text") ||
        fail "no date and time in '$text'"
    stamp=$(date -d "$when" +%s) || fail "'$when' is no date"
    [ $(($(date +%s) - stamp)) -ge 0 ] && [ $(($(date +%s) - stamp)) -le 60 ] ||
        fail "the last wrong password's time $when is not within the last minute ($(date '+%F %T'))"
    # The panel reads unlocked while the report is up.
    lock_text_is 锁定 || fail "the panel was still locked under the report"
    xdotool key Return
    probe wait-gone 5000 $MESSAGE_BOX_FILTER || fail "the message stayed"
    expect_unlocked
    wait_until 5 eval '[ -z "$(ini_get System WrongPasswords)$(ini_get System LastWrongPassword)" ]' ||
        fail "the count stayed in the settings file after the report"
}

start_tethra
wait_panel 15 || fail "InitLock=1 opened no panel"
wait_until 5 lock_text_is 解锁 || fail "the panel did not lock at start"
for n in 1 2 3; do
    wrong_password "$n"
done
[ -n "$(ini_get System LastWrongPassword)" ] || fail "no time of the last wrong password"
expect_report 3
log "three wrong passwords reported"

# The next lock and unlock shows nothing. A report would hold the panel
# disabled under it: once the next press of 锁定 has locked again, none came.
click_item "$PANEL_HWND" 1000
wait_until 5 lock_text_is 解锁 || fail "the panel did not lock"
expect_locked
enter_password "$password"
wait_until 5 lock_text_is 锁定 || fail "the right password did not unlock"
expect_unlocked

# Two wrong, then the program ends as at a system restart and comes back
# with /protected: the count was kept.
click_item "$PANEL_HWND" 1000
wait_until 5 lock_text_is 解锁 || fail "the panel did not lock: a report after a lock without wrong passwords?"
probe find $MESSAGE_BOX_FILTER >/dev/null && fail "a message after a lock without wrong passwords"
log "no message after a lock without wrong passwords"
wrong_password 1
wrong_password 2
restart_desktop
start_tethra /protected
wait_panel 15 || fail "/protected opened no panel"
wait_until 5 lock_text_is 解锁 || fail "the /protected start did not lock"
# Wine can drop the confinement while the start-up's activations settle; the
# panel takes the pointer back.
wait_until 10 eval 'rect=$(probe rect "$PANEL_HWND") && read -r l t r b <<<"$rect" &&
    [ "$(probe clip)" = "$((l + 12)) $((t + 12)) $((r - 12)) $((b - 12))" ]' ||
    fail "the /protected lock never confined the pointer (clip $(probe clip))"
expect_locked
expect_report 2
log "two wrong passwords reported after a protected restart"
click_item "$PANEL_HWND" 1
wait_exit "$TETHRA_PID" 15 || fail "Close did not end the program"
log "pass"
