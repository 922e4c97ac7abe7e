#!/usr/bin/env bash
# The Windows 95/98 rules reach what the scripts start, as the program is
# started: the probe, started that way, makes a sound call and ends with no
# line written and its own exit code passed on; then a call with an action
# Windows 95 lacks (the screen-saver flag's query), which is written naming
# the program, the call and the argument. The log is emptied at the end, so
# this script's own end does not fail on it.
. "$(dirname "$0")/lib.sh"
e2e_begin rules_layer
probe_win="Z:${TETHRA_PROBE//\//\\}"

start_program "$probe_win" workarea
wait_exit "$TETHRA_PID" 30 || fail "the probe's work-area query did not end"
[ "$EXIT_CODE" = 0 ] || fail "the work-area query ended with $EXIT_CODE"
[ -s "$E2E_RULES_LOG" ] && fail "a sound call was logged: $(cat "$E2E_RULES_LOG")"
start_program "$probe_win" no-such-command
wait_exit "$TETHRA_PID" 30 || fail "the probe's usage error did not end"
[ "$EXIT_CODE" = 2 ] || fail "the usage error's exit code 2 came back as $EXIT_CODE"

start_program "$probe_win" ssrunning
wait_exit "$TETHRA_PID" 30 || fail "the probe's screen-saver query did not end"
grep -q '^tethra_probe.exe (process [0-9]*): Windows 95/98 rule broken: SystemParametersInfoA: uiAction 0x72 is newer than Windows 95' \
    "$E2E_RULES_LOG" || fail "the broken rule was not logged: '$(cat "$E2E_RULES_LOG" 2>/dev/null)'"
[ "$(wc -l <"$E2E_RULES_LOG")" = 1 ] || fail "more than the one line: $(cat "$E2E_RULES_LOG")"
log "logged: $(cat "$E2E_RULES_LOG")"
: >"$E2E_RULES_LOG"
log "pass"
