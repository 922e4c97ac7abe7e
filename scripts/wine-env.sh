# Sourced by the run and test scripts: a headless-capable Windows 98 desktop
# under Wine. Every wait is bounded.
#
#   tethra_wine_up [prefix-dir]   DISPLAY (Xvfb when there is none), a prefix
#                                 set to win98 with a virtual desktop and taskbar
#   tethra_wine_down              ends what tethra_wine_up started
#   tethra_wine32_missing         prints why 32-bit Wine cannot run here, if so
#   tethra_i686_missing           prints why this i686 test cannot run here, if so
#
# TETHRA_WINE_ARCH names the pass: win64 (default; the x86_64 build in a
# 64-bit prefix) or win32, the i686 product and its i686 test programs, on
# one of two roads (TETHRA_I686_ROAD):
#   wine32  the kernel runs i386 programs and 32-bit Wine is installed: a
#           32-bit prefix like Windows 98 itself (one registry view, one
#           architecture);
#   wow64   the kernel refuses them: wine64 runs the i686 programs as WoW64
#           processes in a 64-bit prefix, with Wine's i386 PE DLLs that
#           scripts/deps.sh puts beside it. There they read the 32-bit
#           registry view, as the product does.
# TETHRA_TRY_WOW64=1 takes the WoW64 road even where the kernel runs i386
# programs, to try it there (scripts/deps.sh then fetches the DLLs too).

export WINEDEBUG=-all

: "${TETHRA_WINE_ARCH:=win64}"
export TETHRA_WINE_ARCH
TETHRA_SCRIPTS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# Where Debian's wine64 looks for Wine's i386 PE DLLs; it ships only zlib1.dll there.
TETHRA_WOW64_DLLS=/usr/lib/x86_64-linux-gnu/wine/i386-windows

tethra_wine32_missing() {
    local p
    if [ "${TETHRA_TRY_WOW64:-}" = 1 ] || ! bash "$TETHRA_SCRIPTS/runs-i386.sh"; then
        echo "this machine cannot run 32-bit programs: its kernel refuses i386 executables, so 32-bit Wine cannot start"
        return 0
    fi
    for p in wine32 libxi6; do
        if ! dpkg-query -W -f='${Status}' "$p:i386" 2>/dev/null | grep -q 'install ok installed'; then
            echo "32-bit Wine is not installed ($p:i386 missing; scripts/deps.sh could not get it from the package mirror)"
            return 0
        fi
    done
    return 1
}

# TETHRA_I686_ROAD, or empty with the reason in TETHRA_I686_SKIP. Where the
# kernel runs i386 programs, only 32-bit Wine is tried: with it installed
# Wine never takes WoW64.
tethra_choose_road() {
    TETHRA_I686_ROAD="" TETHRA_I686_SKIP=""
    if TETHRA_I686_SKIP=$(tethra_wine32_missing); then
        if [ "${TETHRA_TRY_WOW64:-}" = 1 ] || ! bash "$TETHRA_SCRIPTS/runs-i386.sh"; then
            if [ -f "$TETHRA_WOW64_DLLS/kernel32.dll" ]; then
                TETHRA_I686_ROAD=wow64 TETHRA_I686_SKIP=""
            else
                TETHRA_I686_SKIP="$TETHRA_I686_SKIP, and Wine's i386 PE DLLs for WoW64 are not in $TETHRA_WOW64_DLLS (scripts/deps.sh could not get libwine:i386 from the package mirror)"
            fi
        fi
    else
        TETHRA_I686_ROAD=wine32
    fi
    export TETHRA_I686_ROAD TETHRA_I686_SKIP
}
tethra_choose_road

# Prints why this test of the i686 pass cannot run here, if so: no road, or
# the WoW64 road and a test that depends on what Wine 8's WoW64 gets wrong,
# as its TETHRA_WOW64_BREAKS says (set with its ctest label wow64_<what>).
tethra_i686_missing() {
    if [ -n "$TETHRA_I686_SKIP" ]; then
        echo "$TETHRA_I686_SKIP"
        return 0
    fi
    [ "$TETHRA_I686_ROAD" = wow64 ] || return 1
    local road="the i686 pass runs through Wine 8's WoW64 here, which"
    case ${TETHRA_WOW64_BREAKS:-} in
        pixels) echo "$road draws the program black: this test reads its pixels" ;;
        chinese_text) echo "$road converts the program's ANSI texts as UTF-8, so they read ???? (U+FFFD) wherever they are not ASCII: this test reads such texts" ;;
        gdi) echo "$road fails 32-bit GDI and icon calls (GetTextExtentPoint32A, GetTextMetricsA and LoadIconA fail, so no tray icon; an edit box crashes the program as text goes in): this test needs them" ;;
        *) return 1 ;;
    esac
    return 0
}

# Wine takes the ANSI code page from the locale name. TETHRA_LOCALE holds the
# locale variables to run under, as NAME=value words: by default
# LC_ALL=zh_CN.UTF-8 (code page 936, Simplified Chinese); LC_ALL=C gives
# 1252, and "LANG=C LC_MESSAGES=zh_CN.UTF-8" 1252 with a Chinese user locale.
# The i686 pass on the WoW64 road runs under LC_ALL=C by default: its texts
# can be read there only in English.
tethra_apply_locale() {
    local setting name default=LC_ALL=zh_CN.UTF-8
    [ "$TETHRA_WINE_ARCH" = win32 ] && [ "$TETHRA_I686_ROAD" = wow64 ] && default=LC_ALL=C
    unset LC_ALL LANG LANGUAGE LC_CTYPE LC_MESSAGES LC_NUMERIC LC_TIME LC_COLLATE LC_MONETARY
    for setting in ${TETHRA_LOCALE:-$default}; do
        name=${setting%%=*}
        export "$name=${setting#*=}"
    done
    # The code page Wine gives under that locale: 936 for the zh_CN locale
    # names the tests use, 1252 for C and en_US.
    case ${LC_ALL:-${LC_CTYPE:-${LANG:-C}}} in
        zh_CN*) TETHRA_CODEPAGE=936 ;;
        *) TETHRA_CODEPAGE=1252 ;;
    esac
    export TETHRA_CODEPAGE
}
export WINEDLLOVERRIDES="mscoree,mshtml="

# What follows from the pass and the road: the prefix's architecture, 32-bit
# only for the i686 pass under 32-bit Wine; the registry branch of the
# product's HKLM\Software keys as the 64-bit reg command sees them (in a
# 64-bit prefix the i686 product's are the 32-bit view's); the locale; and
# the loader: Debian's wine command takes the 32-bit one whenever 32-bit
# Wine is installed, even for a 64-bit prefix, so a 64-bit prefix names its
# own (scripts/wine64/wine, first in PATH). tethra_wine_up runs this again,
# for a caller that set TETHRA_WINE_ARCH after sourcing this file.
tethra_pass_settings() {
    TETHRA_PREFIX_ARCH=win64 TETHRA_HKLM_SOFTWARE='HKLM\Software'
    if [ "$TETHRA_WINE_ARCH" = win32 ]; then
        if [ "$TETHRA_I686_ROAD" = wow64 ]; then
            TETHRA_HKLM_SOFTWARE='HKLM\Software\Wow6432Node'
        else
            TETHRA_PREFIX_ARCH=win32
        fi
    fi
    export TETHRA_PREFIX_ARCH TETHRA_HKLM_SOFTWARE
    tethra_apply_locale
    PATH=$(printf '%s' ":$PATH:" | sed "s#:$TETHRA_SCRIPTS/wine64:#:#g; s#^:##; s#:\$##")
    [ "$TETHRA_PREFIX_ARCH" = win64 ] && PATH="$TETHRA_SCRIPTS/wine64:$PATH"
    export PATH
}
tethra_pass_settings
TETHRA_XVFB_PID=""
TETHRA_OWN_PREFIX=""

tethra_display_works() {
    [ -n "${DISPLAY:-}" ] && timeout 5 xdpyinfo >/dev/null 2>&1
}

tethra_start_xvfb() {
    local n
    for n in $(seq 90 130); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        TETHRA_XVFB_PID=$!
        export DISPLAY=":$n"
        local i
        for i in $(seq 1 50); do
            tethra_display_works && return 0
            kill -0 "$TETHRA_XVFB_PID" 2>/dev/null || break
            sleep 0.2
        done
        kill "$TETHRA_XVFB_PID" 2>/dev/null
        TETHRA_XVFB_PID=""
    done
    echo "could not start Xvfb" >&2
    return 1
}

# Prepares $1 (default: a new temporary folder) as a Windows 98 prefix.
tethra_wine_up() {
    tethra_pass_settings
    if ! tethra_display_works; then
        tethra_start_xvfb || return 1
    fi
    if [ -n "${1:-}" ]; then
        export WINEPREFIX="$1"
    else
        TETHRA_OWN_PREFIX=$(mktemp -d /tmp/tethra-wine.XXXXXX)
        export WINEPREFIX="$TETHRA_OWN_PREFIX/prefix"
    fi
    if [ "$(cat "$WINEPREFIX/.tethra-ready" 2>/dev/null)" != "$TETHRA_WINE_ARCH" ] ||
        ! grep -qx "#arch=$TETHRA_PREFIX_ARCH" "$WINEPREFIX/system.reg" 2>/dev/null; then
        # A prefix's architecture is fixed when it is made.
        [ -f "$WINEPREFIX/.tethra-ready" ] && rm -rf "$WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        WINEARCH=$TETHRA_PREFIX_ARCH timeout 180 wine wineboot -i >/dev/null 2>&1 ||
            { echo "wineboot failed" >&2; return 1; }
        timeout 60 wine reg add 'HKCU\Software\Wine' /v Version /d win98 /f >/dev/null 2>&1
        # One virtual desktop with a taskbar: the tray lives there, and every
        # process of the prefix shares it.
        timeout 60 wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
        timeout 60 wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 800x600 /f >/dev/null 2>&1
        # A program that crashes ends at once instead of waiting behind
        # Wine's crash dialog until its test times out.
        timeout 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        # On the WoW64 road wineboot's 32-bit steps run as WoW64 processes,
        # whose failing text metrics store smaller desktop fonts (a menu font
        # of -11, not -12, in the x86_64 pass's prefix too): forget them, so
        # that the first program of the prefix measures them again.
        if [ "$TETHRA_I686_ROAD" = wow64 ]; then
            timeout 60 wine reg delete 'HKCU\Control Panel\Desktop\WindowMetrics' /f >/dev/null 2>&1
        fi
        timeout 60 wineserver -w
        echo "$TETHRA_WINE_ARCH" >"$WINEPREFIX/.tethra-ready"
    fi
}

tethra_wine_down() {
    # Wine may have shut an idle prefix down already: nothing to end is fine.
    [ -n "${WINEPREFIX:-}" ] && timeout 30 wineserver -k >/dev/null 2>&1 || true
    if [ -n "$TETHRA_XVFB_PID" ]; then
        kill "$TETHRA_XVFB_PID" 2>/dev/null
        wait "$TETHRA_XVFB_PID" 2>/dev/null
        TETHRA_XVFB_PID=""
    fi
    if [ -n "$TETHRA_OWN_PREFIX" ]; then
        rm -rf "$TETHRA_OWN_PREFIX"
        TETHRA_OWN_PREFIX=""
    fi
}
