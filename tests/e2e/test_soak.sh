#!/usr/bin/env bash
# A short soak: 20 tray-menu showings and 20 lock/unlock cycles leave the
# program's GDI and USER objects and its private memory where they were.
# bench/soak.sh runs the long one.
. "$(dirname "$0")/lib.sh"
e2e_begin soak
e2e_desktop

soak_run 20
# One object kept per cycle would show as 20. Wine's cache of window device
# contexts may still take a few more (a context and its region each).
[ "$SOAK_GDI_GROWTH" -le 8 ] || fail "GDI objects grew by $SOAK_GDI_GROWTH over 20 cycles"
[ "$SOAK_USER_GROWTH" -le 2 ] || fail "USER objects grew by $SOAK_USER_GROWTH over 20 cycles"
[ "$SOAK_PRIVATE_KB_GROWTH" -le 256 ] || fail "private memory grew by $SOAK_PRIVATE_KB_GROWTH KiB over 20 cycles"
log "pass"
