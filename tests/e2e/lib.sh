# Helpers for the end-to-end tests, sourced by each test_*.sh.
#
# A test runs Tethra from its own folder under the prefix's drive C (so it
# has its own settings file), drives it with real X input through xdotool
# and looks at the Windows side with tethra_probe. Every wait has a
# deadline. e2e_begin and e2e_end (run on exit) both end the prefix's
# processes (wineserver -k), so every test starts on a fresh desktop and
# leaves nothing running; e2e_end also removes the test's folder.
#
# Environment (set by tests/e2e/CMakeLists.txt): TETHRA_EXE, TETHRA_PROBE,
# TETHRA_ARTIFACTS, TETHRA_SOURCE_DIR. DISPLAY and WINEPREFIX come from
# scripts/test.sh; without them a private desktop and prefix are prepared.

set -u
# Window filters are word lists on purpose, and the variables set here are
# read by the tests.
# shellcheck disable=SC2086,SC2034

: "${TETHRA_EXE:?}" "${TETHRA_PROBE:?}" "${TETHRA_ARTIFACTS:?}" "${TETHRA_SOURCE_DIR:?}"
# The Wine helpers, and the locale: Wine takes the ANSI code page from its
# name, TETHRA_LOCALE chooses it (936 by default), and the texts the tests
# expect follow it (shown_hex).
# shellcheck source=/dev/null
. "$TETHRA_SOURCE_DIR/scripts/wine-env.sh"

E2E_NAME=""
E2E_DIR=""            # the test's folder, Unix path
E2E_WIN_DIR=""        # the same folder as Windows sees it
E2E_EXE_WIN=""        # C:\tethra-<name>\Tethra.exe
E2E_INI=""            # its settings file, Unix path
E2E_PIDS=""           # every process the test started
E2E_RULES_LOG=""      # the broken Windows 95/98 rules of the test's program starts
E2E_OWN_WINE=0        # 1 when lib.sh prepared the desktop and prefix itself
E2E_START_SECONDS=$SECONDS

# Tray geometry, set by e2e_desktop.
TRAY_L=0 TRAY_T=0 TRAY_R=0 TRAY_B=0 TRAY_ICON_X=0 TRAY_ICON_Y=0 TRAY_ICON_SIZE=0
TRAY_BASELINE=""

RUN_KEY="$TETHRA_HKLM_SOFTWARE\Microsoft\Windows\CurrentVersion\Run"

log() { echo "[$E2E_NAME $((SECONDS - E2E_START_SECONDS))s] $*" >&2; }

fail() {
    log "FAIL: $*"
    exit 1
}

# ---- start and end --------------------------------------------------------

e2e_begin() {
    E2E_NAME=$1
    if [ "$TETHRA_WINE_ARCH" = win32 ] && E2E_SKIP_REASON=$(tethra_i686_missing); then
        echo "SKIPPED: $E2E_SKIP_REASON"
        exit 77
    fi
    if [ "$(cat "${WINEPREFIX:-/nonexistent}/.tethra-ready" 2>/dev/null)" != "$TETHRA_WINE_ARCH" ] || [ -z "${DISPLAY:-}" ]; then
        tethra_wine_up || fail "no Wine desktop"
        E2E_OWN_WINE=1
    fi
    trap e2e_end EXIT
    mkdir -p "$TETHRA_ARTIFACTS"
    rm -f "$TETHRA_ARTIFACTS/$E2E_NAME-failure.png"
    # Every start of the program loads the rules (start_tethra), which append
    # each rule it breaks to this file, by its path on Wine's drive Z: (the
    # root), so a test's other prefix writes it too.
    E2E_RULES_LOG="$TETHRA_ARTIFACTS/$E2E_NAME-rules.log"
    rm -f "$E2E_RULES_LOG"
    export TETHRA_RULES_LOG="Z:${E2E_RULES_LOG//\//\\}"
    # Whatever an earlier test left running would share the desktop and the
    # mutex. The old server must be gone before a new one starts, or the next
    # wine command can fail at once.
    timeout 30 wineserver -k >/dev/null 2>&1
    timeout 30 wineserver -w >/dev/null 2>&1

    E2E_DIR="$WINEPREFIX/drive_c/tethra-$E2E_NAME"
    E2E_WIN_DIR="C:\\tethra-$E2E_NAME"
    E2E_EXE_WIN="$E2E_WIN_DIR\\Tethra.exe"
    E2E_INI="$E2E_DIR/Tethra.INI"
    rm -rf "$E2E_DIR"
    mkdir -p "$E2E_DIR"
    cp "$TETHRA_EXE" "$E2E_DIR/Tethra.exe"
}

e2e_end() {
    local status=$?
    if [ "$status" -ne 0 ] && [ -n "${DISPLAY:-}" ] && [ ! -e "$TETHRA_ARTIFACTS/$E2E_NAME-failure.png" ]; then
        screenshot "$E2E_NAME-failure.png" >/dev/null 2>&1
        log "screenshot of the failure: $TETHRA_ARTIFACTS/$E2E_NAME-failure.png"
    fi
    local pid
    for pid in $E2E_PIDS; do
        kill "$pid" 2>/dev/null
    done
    [ -n "${WINEPREFIX:-}" ] && timeout 30 wineserver -k >/dev/null 2>&1
    for pid in $E2E_PIDS; do
        wait_until 10 eval "! kill -0 $pid 2>/dev/null" || kill -KILL "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    [ -n "$E2E_DIR" ] && rm -rf "$E2E_DIR"
    # Read once every program of the test has ended.
    if [ -s "$E2E_RULES_LOG" ]; then
        local rule
        while IFS= read -r rule; do
            log "FAIL: $rule"
        done <"$E2E_RULES_LOG"
        log "FAIL: the program broke Windows 95/98 rules (the lines above, from $E2E_RULES_LOG)"
        [ "$status" -eq 0 ] && status=1
    fi
    [ "$E2E_OWN_WINE" = 1 ] && tethra_wine_down
    log "done, status $status"
    exit "$status"
}

# ---- the probe and small utilities -----------------------------------------

# The probe writes CRLF lines (the C runtime's text mode).
probe() {
    wine "$TETHRA_PROBE" "$@" | tr -d '\r'
    return "${PIPESTATUS[0]}"
}

# The hex of a text's ANSI bytes as the program shows it, the way the probe
# prints and compares texts: under code page 936 the Chinese text's GBK
# bytes; under any other the English counterpart, which must be ASCII.
#   shown_hex <text> [control id]   (the panel's 设置 button, control 1002,
#                                   opens a dialog: "Settings...")
shown_hex() {
    local text=$1
    if [ "$TETHRA_CODEPAGE" != 936 ]; then
        case $text in
            锁定) text="Lock" ;;
            解锁) text="Unlock" ;;
            隐藏) text="Hide" ;;
            关闭) text="Close" ;;
            设置) [ "${2:-}" = 1002 ] && text="Settings..." || text="Settings" ;;
            密码) text="Password" ;;
            "关于 Tethra") text="About Tethra" ;;
            本程序不支持你所使用的操作系统。) text="This program does not run on your operating system." ;;
        esac
        if printf '%s' "$text" | LC_ALL=C grep -q '[^ -~]'; then
            log "no English text for '$text'"
            return 1
        fi
    fi
    printf '%s' "$text" | iconv -f UTF-8 -t GBK | od -An -tx1 -v | tr -d ' \n' | tr 'a-f' 'A-F'
}

# Under a code page other than 936: the title of every visible window and
# the text of every control of every visible dialog is ASCII. (An icon
# control's text is its icon's ordinal, 0xFF and the id: no text.)
expect_ascii_texts() {
    [ "$TETHRA_CODEPAGE" = 936 ] && return 0
    local hwnd vis class title id text checked=0
    while read -r hwnd vis class title _; do
        [ "$vis" = vis=1 ] || continue
        [[ ${title#title=} =~ ^([0-7][0-9A-F])*$ ]] || fail "window $hwnd ($class) has a non-ASCII title ${title#title=}"
        [ "$class" = "class=#32770" ] || continue
        while read -r id _ _ class text; do
            [ "$class" = Static ] && [[ $text =~ ^FF[0-9A-F]{2,4}$ ]] && continue
            [[ $text =~ ^([0-7][0-9A-F])*$ ]] || fail "control $id of dialog $hwnd has a non-ASCII text $text"
            checked=$((checked + 1))
        done < <(probe children "$hwnd")
    done < <(probe list)
    [ "$checked" -gt 0 ] || fail "no dialog controls to check"
    log "every shown text is ASCII ($checked controls)"
}

# Polls a shell condition every 0.1 s until it holds or $1 seconds pass.
wait_until() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    while :; do
        "$@" && return 0
        [ "$SECONDS" -ge "$deadline" ] && return 1
        sleep 0.1
    done
}

# screenshot <file> [geometry]: the Wine desktop, or the given part of the screen.
E2E_DESKTOP_GEOMETRY=""
screenshot() {
    local file="$TETHRA_ARTIFACTS/$1" geometry=${2:-$E2E_DESKTOP_GEOMETRY}
    if [ -n "$geometry" ]; then
        timeout 20 import -window root png:- | convert - -crop "$geometry" +repage "$file"
    else
        timeout 20 import -window root "$file"
    fi && echo "$file"
}

# ---- the program ----------------------------------------------------------

# Writes the settings file from lines ("[Section]", "Key=Value"), CRLF-ended.
ini_file() {
    printf '%s\r\n' "$@" >"$E2E_INI"
}

# ini_get Section Key: the value, or nothing when absent.
ini_get() {
    [ -f "$E2E_INI" ] || return 0
    tr -d '\r' <"$E2E_INI" | awk -F= -v s="[$1]" -v k="$2" '
        /^\[/ { in_section = (tolower($0) == tolower(s)); next }
        in_section && tolower($1) == tolower(k) { print substr($0, index($0, "=") + 1); exit }'
}

# start_tethra [args...]: runs the test's copy of the program under Windows
# 95/98's rules; TETHRA_PID is the pid of the probe that started it, which
# waits for it and ends with its exit code.
start_tethra() {
    start_program "$E2E_EXE_WIN" "$@"
}

# start_program <exe> [args...]: start_tethra for another copy.
start_program() {
    wine "$TETHRA_PROBE" start "$@" >/dev/null 2>&1 &
    TETHRA_PID=$!
    E2E_PIDS="$E2E_PIDS $TETHRA_PID"
}

# wait_exit <pid> <seconds>: EXIT_CODE holds the code once it has ended.
wait_exit() {
    local pid=$1
    wait_until "$2" eval "! kill -0 $pid 2>/dev/null" || return 1
    wait "$pid"
    EXIT_CODE=$?
    return 0
}

is_running() { kill -0 "$1" 2>/dev/null; }

# wait_window <seconds> <filter...>: WIN_HWND and WIN_L/T/R/B of the first match.
wait_window() {
    local seconds=$1
    shift
    local line
    line=$(probe wait $((seconds * 1000)) "$@") || return 1
    read -r WIN_HWND WIN_L WIN_T WIN_R WIN_B <<<"$line"
}

TITLE_TETHRA=$(shown_hex "Tethra")
FRAME_FILTER="class^=Afx: title=$TITLE_TETHRA"
PANEL_FILTER="class=#32770 title= item=1000 visible=1"
PROMPT_FILTER="class=#32770 item=1007 visible=1"

wait_frame() { wait_window "$1" $FRAME_FILTER; }

# wait_panel <seconds>: PANEL_HWND and PANEL_L/T/R/B.
wait_panel() {
    wait_window "$1" $PANEL_FILTER || return 1
    PANEL_HWND=$WIN_HWND PANEL_L=$WIN_L PANEL_T=$WIN_T PANEL_R=$WIN_R PANEL_B=$WIN_B
}

panel_gone() { probe wait-gone $(($1 * 1000)) $PANEL_FILTER; }

# item <hwnd> <id>: ITEM_ENABLED ITEM_VISIBLE ITEM_L/T/R/B ITEM_TEXT (hex).
item() {
    local line
    line=$(probe item "$1" "$2") || return 1
    read -r ITEM_ENABLED ITEM_VISIBLE ITEM_L ITEM_T ITEM_R ITEM_B ITEM_TEXT <<<"$line"
}

# expect_item <hwnd> <id> <text> <enabled 0|1>
expect_item() {
    item "$1" "$2" || fail "control $2 missing"
    [ "$ITEM_TEXT" = "$(shown_hex "$3" "$2")" ] || fail "control $2 reads hex $ITEM_TEXT, expected '$3'"
    [ "$ITEM_ENABLED" = "$4" ] || fail "control $2 ('$3') enabled=$ITEM_ENABLED, expected $4"
}

has_caption() {
    local style
    style=$(probe style "$1") || fail "window $1 is gone"
    (((style & 0x00C00000) == 0x00C00000))
}

# ---- real input -----------------------------------------------------------

click_at() {
    xdotool mousemove "$1" "$2"
    sleep 0.05
    xdotool click 1
}

click_item() {
    item "$1" "$2" || fail "control $2 missing"
    click_at $(((ITEM_L + ITEM_R) / 2)) $(((ITEM_T + ITEM_B) / 2))
}

# The pointer's position as X reports it: MOUSE_X MOUSE_Y.
mouse_location() {
    eval "$(xdotool getmouselocation --shell)"
    MOUSE_X=$X MOUSE_Y=$Y
}

# CLIP_L/T/R/B: the confinement Windows reports.
clip_rect() {
    local line
    line=$(probe clip) || return 1
    read -r CLIP_L CLIP_T CLIP_R CLIP_B <<<"$line"
}

# ---- desktop and tray -----------------------------------------------------

# Starts the prefix's desktop and notes where the program's tray icon will
# be drawn (Wine puts the first icon at the taskbar's right end) and how that
# place looks with no icon.
e2e_desktop() {
    # Wine shuts a prefix's desktop down whenever no program runs in it; a
    # program started while it goes down or comes back races with it (its
    # pointer confinement may never take hold). A probe that just runs keeps
    # it up for the test; ctest's timeout bounds the test anyway.
    wine "$TETHRA_PROBE" hold 175000 >/dev/null 2>&1 &
    E2E_PIDS="$E2E_PIDS $!"
    local line
    line=$(probe tray 30000) || fail "no taskbar"
    read -r TRAY_L TRAY_T TRAY_R TRAY_B TRAY_ICON_SIZE <<<"$line"
    # Each icon takes its small-icon width plus a 2-pixel border either side.
    # The taskbar spans the desktop's bottom edge.
    E2E_DESKTOP_GEOMETRY="${TRAY_R}x${TRAY_B}+0+0"
    local slot=$((TRAY_ICON_SIZE + 4))
    TRAY_ICON_X=$((TRAY_R - slot / 2))
    TRAY_ICON_Y=$(((TRAY_T + TRAY_B) / 2))
    xdotool mousemove $((TRAY_L + 400)) $((TRAY_T - 200))
    TRAY_BASELINE=$(tray_slot_pixels) || fail "cannot read the screen"
}

# A checksum of the pixels in the first icon's place.
tray_slot_pixels() {
    local size=$((TRAY_ICON_SIZE + 4))
    timeout 20 import -window root -crop "${size}x${size}+$((TRAY_R - size))+$((TRAY_ICON_Y - size / 2))" rgb:- |
        md5sum | cut -d' ' -f1
}

tray_icon_shown() { [ "$(tray_slot_pixels)" != "$TRAY_BASELINE" ]; }
tray_icon_gone() { [ "$(tray_slot_pixels)" = "$TRAY_BASELINE" ]; }

tray_double_click() {
    xdotool mousemove "$TRAY_ICON_X" "$TRAY_ICON_Y"
    sleep 0.05
    xdotool click --repeat 2 --delay 80 1
}

tray_right_click() {
    xdotool mousemove "$TRAY_ICON_X" "$TRAY_ICON_Y"
    sleep 0.05
    xdotool click 3
}

# The tray menu's rows, top to bottom: I an item, S a separator.
TRAY_MENU_ROWS="I S I I S I I I I S I I I S I"
MENU_SHOW=0 MENU_LOCK=2 MENU_SETTINGS=3 MENU_ABOUT=12 MENU_EXIT=14

# open_tray_menu: right-clicks the icon; MENU_L/T/R/B once the menu shows.
open_tray_menu() {
    tray_right_click
    wait_window 5 class=#32768 visible=1 || fail "no tray menu"
    MENU_L=$WIN_L MENU_T=$WIN_T MENU_R=$WIN_R MENU_B=$WIN_B
    menu_row_height >/dev/null || fail "the tray menu's height $((MENU_B - MENU_T)) fits no $TRAY_MENU_ROWS layout"
}

# The height of one item row, when the open menu's height fits TRAY_MENU_ROWS:
# 3-pixel borders, 9-pixel separators, items of equal height.
menu_row_height() {
    local items=0 separators=0 kind
    for kind in $TRAY_MENU_ROWS; do
        [ "$kind" = I ] && items=$((items + 1)) || separators=$((separators + 1))
    done
    local rest=$((MENU_B - MENU_T - 6 - 9 * separators))
    [ $((rest % items)) -eq 0 ] && [ $((rest / items)) -ge 12 ] || return 1
    echo $((rest / items))
}

# click_menu_row <row>: a row of the open menu, counted from 0 in TRAY_MENU_ROWS.
# Keys do not reach this menu (its owner is hidden); the mouse does.
click_menu_row() {
    local row=$1 kind item_h
    item_h=$(menu_row_height) || fail "unexpected tray menu layout"
    local y=$((MENU_T + 3)) i=0
    for kind in $TRAY_MENU_ROWS; do
        [ "$i" -eq "$row" ] && break
        [ "$kind" = I ] && y=$((y + item_h)) || y=$((y + 9))
        i=$((i + 1))
    done
    xdotool mousemove $(((MENU_L + MENU_R) / 2)) $((y + item_h / 2))
    sleep 0.1
    xdotool click 1
    probe wait-gone 5000 class=#32768 visible=1 || fail "the tray menu stayed open"
}

tray_menu_choose() {
    open_tray_menu
    click_menu_row "$1"
}

# ---- lock and unlock ------------------------------------------------------

# expect_locked_state: the panel shows the locked state and Windows reports
# the pointer confined to its window rectangle less 12 pixels on every side.
expect_locked_state() {
    expect_item "$PANEL_HWND" 1000 "解锁" 1
    expect_item "$PANEL_HWND" 1002 "设置" 0
    expect_item "$PANEL_HWND" 2 "隐藏" 0
    expect_item "$PANEL_HWND" 1 "关闭" 0
    local rect
    rect=$(probe rect "$PANEL_HWND") || fail "panel gone"
    read -r PANEL_L PANEL_T PANEL_R PANEL_B <<<"$rect"
    clip_rect || fail "no clip rectangle"
    CLIP_WANT="$((PANEL_L + 12)) $((PANEL_T + 12)) $((PANEL_R - 12)) $((PANEL_B - 12))"
    [ "$CLIP_L $CLIP_T $CLIP_R $CLIP_B" = "$CLIP_WANT" ] ||
        fail "clip is $CLIP_L $CLIP_T $CLIP_R $CLIP_B, expected $CLIP_WANT (panel $PANEL_L $PANEL_T $PANEL_R $PANEL_B)"
}

# pointer_held: the real pointer cannot leave the clip rectangle; it is
# aimed at two far corners of the desktop. It must come to rest exactly where
# the clip stops it (which also proves the move was made); a pointer seen
# outside the clip on the way, or still elsewhere after the poll, escaped.
pointer_held() {
    pointer_pushed_to "$((TRAY_R - 1)) $((TRAY_B - 1))" "0 0"
}

# pointer_pushed_to "<x> <y>"...: pointer_held's check for the given targets.
pointer_pushed_to() {
    local target tx ty want deadline
    for target in "$@"; do
        read -r tx ty <<<"$target"
        want="$(clamp "$tx" "$CLIP_L" $((CLIP_R - 1))) $(clamp "$ty" "$CLIP_T" $((CLIP_B - 1)))"
        xdotool mousemove $target
        deadline=$((SECONDS + 5))
        while :; do
            mouse_location
            if ! { [ "$MOUSE_X" -ge "$CLIP_L" ] && [ "$MOUSE_X" -lt "$CLIP_R" ] &&
                [ "$MOUSE_Y" -ge "$CLIP_T" ] && [ "$MOUSE_Y" -lt "$CLIP_B" ]; }; then
                POINTER_ESCAPE="$MOUSE_X,$MOUSE_Y (aimed at $target)"
                return 1
            fi
            [ "$MOUSE_X $MOUSE_Y" = "$want" ] && break
            if [ "$SECONDS" -ge "$deadline" ]; then
                POINTER_ESCAPE="$MOUSE_X,$MOUSE_Y instead of $want (aimed at $target)"
                return 1
            fi
            sleep 0.05
        done
    done
}

clamp() {
    if [ "$1" -lt "$2" ]; then echo "$2"; elif [ "$1" -gt "$3" ]; then echo "$3"; else echo "$1"; fi
}

expect_locked() {
    expect_locked_state
    pointer_held || fail "pointer reached $POINTER_ESCAPE outside the clip $CLIP_WANT"
}

# expect_unlocked: buttons back, pointer free anywhere on the desktop.
expect_unlocked() {
    expect_item "$PANEL_HWND" 1000 "锁定" 1
    expect_item "$PANEL_HWND" 1002 "设置" 1
    expect_item "$PANEL_HWND" 2 "隐藏" 1
    expect_item "$PANEL_HWND" 1 "关闭" 1
    expect_pointer_free
}

expect_pointer_free() {
    local screen
    screen=$(probe screen)
    clip_rect || fail "no clip rectangle"
    [ "$CLIP_L $CLIP_T $CLIP_R $CLIP_B" = "0 0 $screen" ] || fail "clip still $CLIP_L $CLIP_T $CLIP_R $CLIP_B"
    # Two opposite corners of the desktop: no panel spans both.
    local target
    for target in "5 5" "$((TRAY_R - 5)) $((TRAY_T - 5))"; do
        xdotool mousemove $target
        wait_until 5 eval 'mouse_location; [ "$MOUSE_X $MOUSE_Y" = "$target" ]' ||
            fail "pointer held at $MOUSE_X,$MOUSE_Y instead of $target"
    done
}

# enter_password <text>: presses 解锁, types text into the prompt and confirms.
enter_password() {
    click_item "$PANEL_HWND" 1000
    wait_window 5 $PROMPT_FILTER || fail "no password prompt"
    local prompt=$WIN_HWND
    wait_until 5 eval '[ "$(probe focus "$prompt")" = 1007 ]' || fail "the password field does not have the focus"
    [ -n "$1" ] && xdotool type --delay 30 "$1"
    xdotool key Return
    probe wait-gone 5000 $PROMPT_FILTER || fail "the prompt stayed open"
}

# answer_wrong_password_report: after an unlock that followed wrong
# passwords, the program reports them in a message box; it is answered.
answer_wrong_password_report() {
    wait_window 10 $MESSAGE_BOX_FILTER || fail "no report of the wrong passwords after the unlock"
    xdotool key Return
    probe wait-gone 5000 $MESSAGE_BOX_FILTER || fail "the report stayed"
}

# run_value: prints the protected-restart value under the Run key; fails when there is none.
run_value() {
    timeout 60 wine reg query "$RUN_KEY" /v VQS 2>/dev/null | tr -d '\r' |
        awk '$1 == "VQS" { sub(/^[ \t]*VQS[ \t]+REG_SZ[ \t]+/, ""); print; found = 1 } END { exit !found }'
}

delete_run_value() {
    timeout 60 wine reg delete "$RUN_KEY" /v VQS /f >/dev/null 2>&1
    return 0
}

# ---- icon menu ------------------------------------------------------------

# menu_row_top <row>: the top of a row of the open tray menu, counted from 0
# in TRAY_MENU_ROWS, relative to the menu's top edge.
menu_row_top() {
    local row=$1 kind item_h y=3 i=0
    item_h=$(menu_row_height) || return 1
    for kind in $TRAY_MENU_ROWS; do
        [ "$i" -eq "$row" ] && break
        [ "$kind" = I ] && y=$((y + item_h)) || y=$((y + 9))
        i=$((i + 1))
    done
    echo "$y"
}

# menu_capture: the open menu's pixels as "x y r g b" lines, relative to its
# top-left corner, in MENU_PIXELS.
menu_capture() {
    MENU_PIXELS="$E2E_DIR/menu-pixels.txt"
    timeout 20 import -window root png:- |
        convert - -crop "$((MENU_R - MENU_L))x$((MENU_B - MENU_T))+$MENU_L+$MENU_T" +repage -depth 8 txt:- |
        awk -F'[:,() ]+' 'NR > 1 { print $1, $2, $3, $4, $5 }' >"$MENU_PIXELS"
}

# menu_region <x0> <y0> <x1> <y1>: "colourful magenta" pixel counts of the
# captured menu in [x0, x1) x [y0, y1). Colourful: channels apart by more
# than 60, which no grey of text, frame or background is.
menu_region() {
    awk -v x0="$1" -v y0="$2" -v x1="$3" -v y1="$4" '
        $1 >= x0 && $1 < x1 && $2 >= y0 && $2 < y1 {
            max = $3; min = $3
            if ($4 > max) max = $4; if ($4 < min) min = $4
            if ($5 > max) max = $5; if ($5 < min) min = $5
            if (max - min > 60) colourful++
            if ($3 >= 250 && $4 <= 5 && $5 >= 250) magenta++
        }
        END { print colourful + 0, magenta + 0 }' "$MENU_PIXELS"
}

# ---- settings dialog, change-password dialog and the Run key ----------------

SETTINGS_FILTER="class=#32770 title=$(shown_hex 设置) item=1009 visible=1"
CHANGE_PASSWORD_FILTER="class=#32770 title=$(shown_hex 密码) item=1012 visible=1"
MESSAGE_BOX_FILTER="class=#32770 title=$TITLE_TETHRA visible=1"

# open_settings: presses the panel's 设置; SETTINGS_HWND once the dialog shows.
open_settings() {
    click_item "$PANEL_HWND" 1002
    wait_window 10 $SETTINGS_FILTER || fail "no settings dialog"
    SETTINGS_HWND=$WIN_HWND
}

# checked <hwnd> <id>: prints the box's check state.
checked() { probe checked "$1" "$2"; }

# set_box <hwnd> <id> <0|1>: clicks the box when it is not in that state.
set_box() {
    local state
    state=$(checked "$1" "$2") || fail "no box $2"
    [ "$state" = "$3" ] && return 0
    click_item "$1" "$2"
    SET_BOX_HWND=$1 SET_BOX_ID=$2 SET_BOX_STATE=$3
    wait_until 5 eval '[ "$(checked "$SET_BOX_HWND" "$SET_BOX_ID")" = "$SET_BOX_STATE" ]' ||
        fail "box $2 did not become $3"
}

# reg_value <name>: prints a value under the Run key; fails when there is none.
reg_value() {
    timeout 60 wine reg query "$RUN_KEY" /v "$1" 2>/dev/null | tr -d '\r' |
        awk -v n="$1" '$1 == n { sub(/^[ \t]*[^ \t]+[ \t]+REG_SZ[ \t]+/, ""); print; found = 1 } END { exit !found }'
}

reg_delete() {
    timeout 60 wine reg delete "$RUN_KEY" /v "$1" /f >/dev/null 2>&1
    return 0
}

# use_folder <name>: the test's program lives in C:\<name> instead (a name
# with a blank, for instance); the settings file moves with it.
use_folder() {
    local old_dir=$E2E_DIR
    E2E_DIR="$WINEPREFIX/drive_c/$1"
    E2E_WIN_DIR="C:\\$1"
    E2E_EXE_WIN="$E2E_WIN_DIR\\Tethra.exe"
    E2E_INI="$E2E_DIR/Tethra.INI"
    rm -rf "$E2E_DIR"
    mkdir -p "$E2E_DIR"
    cp "$TETHRA_EXE" "$E2E_DIR/Tethra.exe"
    rm -rf "$old_dir"
}

# restart_desktop: every program of the prefix ends, as at a system restart,
# and a fresh desktop comes up.
restart_desktop() {
    local pid
    for pid in $E2E_PIDS; do
        kill "$pid" 2>/dev/null
    done
    timeout 30 wineserver -k >/dev/null 2>&1
    timeout 30 wineserver -w >/dev/null 2>&1
    E2E_PIDS=""
    e2e_desktop
}

# start_run_value <name> [wait-ms]: the system's start of a Run value's
# command line (see the probe's run-value). The started program inherits the
# probe's output, so that goes to a file, not to a pipe that would stay open.
start_run_value() {
    local out="$E2E_DIR.run-value" status
    wine "$TETHRA_PROBE" run-value "$@" >"$out" 2>/dev/null
    status=$?
    tr -d '\r' <"$out"
    rm -f "$out"
    return $status
}

# ---- soak: resources over many menus and locks ------------------------------

SOAK_PASSWORD="Soak-42"

# objects_of <hwnd>: what the window's process holds, from the probe's
# in-process count: OBJ_private_kb, OBJ_gdi, OBJ_user and the details
# (OBJ_windows, OBJ_menus, OBJ_bitmap, ...); OBJ_LINE is the whole line.
objects_of() {
    OBJ_LINE=$(probe objects "$1") || return 1
    local pair
    for pair in $OBJ_LINE; do
        eval "OBJ_${pair%%=*}=${pair#*=}"
    done
}

# soak_cycles <n>: n tray-menu showings (through the tray callback), then the
# panel from the Show command, n lock/unlock cycles through the prompt with
# the password, and the panel hidden again: the program ends in the tray.
soak_cycles() {
    probe soak-menus "$SOAK_FRAME" "$1" >/dev/null || fail "the menu soak stopped"
    probe post "$SOAK_FRAME" 0x0111 32779 0 || fail "cannot send Show"    # WM_COMMAND ID_SHOW
    wait_panel 10 || fail "Show opened no panel"
    probe soak-locks "$PANEL_HWND" "$1" "$SOAK_PASSWORD" >/dev/null || fail "the lock soak stopped"
    probe post "$PANEL_HWND" 0x0111 2 0 || fail "cannot send Hide"        # WM_COMMAND IDCANCEL
    panel_gone 10 || fail "Hide left the panel open"
}

# soak_run <n>: starts the program in the tray and prints its private memory
# and GDI and USER objects before and after soak_cycles n, then the line
# "menus=N locks=N private_kb_growth=N gdi_growth=N user_growth=N". The
# cycles before the start count load what stays loaded for the rest of the
# run (window classes, the menu's and dialogs' fonts, and the device contexts
# Wine caches for windows, each with a region) and are not counted.
# Sets SOAK_PRIVATE_KB_GROWTH, SOAK_GDI_GROWTH and SOAK_USER_GROWTH.
soak_run() {
    local n=$1
    ini_file "[Option]" "InitTray=1" "[System]" "Password=$(probe stored-password "$SOAK_PASSWORD")"
    start_tethra
    wait_frame 15 || fail "no main frame"
    SOAK_FRAME=$WIN_HWND
    wait_until 10 tray_icon_shown || fail "no tray icon"
    soak_cycles 10
    # The first count loads the counter into the program. Wine's cache of
    # window device contexts fills as fast as painting asks for it, which
    # on a busy machine can take longer than ten cycles: more cycles, five
    # at a time, until a batch leaves the count where it was (bounded).
    objects_of "$SOAK_FRAME" || fail "cannot count the program's objects"
    local settled previous_gdi
    for settled in 1 2 3 4 5 6 7 8; do
        objects_of "$SOAK_FRAME" || fail "cannot count the program's objects"
        [ "$settled" -gt 1 ] && [ "$OBJ_gdi" = "$previous_gdi" ] && break
        previous_gdi=$OBJ_gdi
        soak_cycles 5
    done
    local start_private=$OBJ_private_kb start_gdi=$OBJ_gdi start_user=$OBJ_user
    echo "start: $OBJ_LINE"
    log "soak: $n menus and $n locks"
    soak_cycles "$n"
    objects_of "$SOAK_FRAME" || fail "cannot count the program's objects"
    echo "end:   $OBJ_LINE"
    is_running "$TETHRA_PID" || fail "the program ended during the soak"
    SOAK_PRIVATE_KB_GROWTH=$((OBJ_private_kb - start_private))
    SOAK_GDI_GROWTH=$((OBJ_gdi - start_gdi))
    SOAK_USER_GROWTH=$((OBJ_user - start_user))
    echo "menus=$n locks=$n private_kb_growth=$SOAK_PRIVATE_KB_GROWTH gdi_growth=$SOAK_GDI_GROWTH user_growth=$SOAK_USER_GROWTH"
}
