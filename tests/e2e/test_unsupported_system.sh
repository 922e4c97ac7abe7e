#!/usr/bin/env bash
# On a system that reports Windows NT the program refuses to run: a message
# box captioned "Tethra", no settings file, and the end once it is closed.
# Wine reports NT on a prefix without the win98 Version value, so the test
# makes one of its own.
. "$(dirname "$0")/lib.sh"
e2e_begin unsupported_system

SHARED_PREFIX=$WINEPREFIX
NT_ROOT=$(mktemp -d /tmp/tethra-e2e-nt.XXXXXX)
# Ends the NT prefix's processes and removes it, then hands the shared
# prefix back to e2e_end.
nt_end() {
    local status=$?
    [ "$status" -ne 0 ] && screenshot "$E2E_NAME-failure.png" >/dev/null 2>&1
    timeout 30 wineserver -k >/dev/null 2>&1
    rm -rf "$NT_ROOT"
    export WINEPREFIX=$SHARED_PREFIX
    (exit "$status")
    e2e_end
}
trap nt_end EXIT

export WINEPREFIX="$NT_ROOT/prefix"
WINEARCH=$TETHRA_PREFIX_ARCH timeout 180 wine wineboot -i >/dev/null 2>&1 || fail "wineboot failed"
timeout 60 wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
timeout 60 wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 800x600 /f >/dev/null 2>&1
timeout 60 wine reg query 'HKCU\Software\Wine' /v Version >/dev/null 2>&1 && fail "the new prefix has a Version value"
log "NT-mode prefix ready"

dir="$WINEPREFIX/drive_c/tethra-nt"
mkdir -p "$dir"
cp "$TETHRA_EXE" "$dir/Tethra.exe"
start_program 'C:\tethra-nt\Tethra.exe'
pid=$TETHRA_PID

# The first program in a new prefix waits for the prefix to finish setting up.
wait_window 60 class=#32770 title="$TITLE_TETHRA" visible=1 || fail "no message box captioned Tethra"
box=$WIN_HWND
probe children "$box" | awk -v t="$(shown_hex "本程序不支持你所使用的操作系统。")" '$5 == t { found = 1 } END { exit !found }' ||
    fail "the box does not say the system is unsupported: $(probe children "$box")"
probe find $FRAME_FILTER >/dev/null && fail "a main frame exists beside the refusal"
is_running "$pid" || fail "the program ended before the box was closed"
[ -e "$dir/Tethra.INI" ] && fail "a settings file was written"
E2E_DESKTOP_GEOMETRY="$(probe screen | tr ' ' x)+0+0"
screenshot unsupported-system.png >/dev/null
log "refusal box shown"

# The box's only button is OK.
click_item "$box" 1
wait_exit "$pid" 15 || fail "closing the box did not end the program"
log "ended with $EXIT_CODE after the box was closed"
[ -e "$dir/Tethra.INI" ] && fail "a settings file was written"
log "pass"
