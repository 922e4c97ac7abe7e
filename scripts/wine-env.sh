# Sourced by the run and test scripts: a headless-capable Windows 98 desktop
# under Wine. Every wait is bounded.
#
#   tethra_wine_up [prefix-dir]   DISPLAY (Xvfb when there is none), a prefix
#                                 set to win98 with a virtual desktop and taskbar
#   tethra_wine_down              ends what tethra_wine_up started
#   tethra_wine32_missing         prints why 32-bit Wine cannot run here, if so
#
# TETHRA_WINE_ARCH picks the prefix: win64 (default; runs the x86_64 build)
# or win32, a 32-bit prefix like Windows 98 itself (one registry view, one
# architecture) for the i686 product and its i686 test programs.

export WINEDEBUG=-all

# Wine takes the ANSI code page from the locale name. TETHRA_LOCALE holds the
# locale variables to run under, as NAME=value words: by default
# LC_ALL=zh_CN.UTF-8 (code page 936, Simplified Chinese); LC_ALL=C gives
# 1252, and "LANG=C LC_MESSAGES=zh_CN.UTF-8" 1252 with a Chinese user locale.
tethra_apply_locale() {
    local setting name
    unset LC_ALL LANG LANGUAGE LC_CTYPE LC_MESSAGES LC_NUMERIC LC_TIME LC_COLLATE LC_MONETARY
    for setting in ${TETHRA_LOCALE:-LC_ALL=zh_CN.UTF-8}; do
        name=${setting%%=*}
        export "$name=${setting#*=}"
    done
}
tethra_apply_locale
# The code page Wine gives under that locale: 936 for the zh_CN locale
# names the tests use, 1252 for C and en_US.
case ${LC_ALL:-${LC_CTYPE:-${LANG:-C}}} in
    zh_CN*) TETHRA_CODEPAGE=936 ;;
    *) TETHRA_CODEPAGE=1252 ;;
esac
export TETHRA_CODEPAGE
export WINEDLLOVERRIDES="mscoree,mshtml="

: "${TETHRA_WINE_ARCH:=win64}"
export TETHRA_WINE_ARCH
TETHRA_SCRIPTS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Debian's wine command takes the 32-bit loader whenever 32-bit Wine is
# installed, even for a 64-bit prefix: the x86_64 pass names its loader
# (scripts/wine64/wine, first in PATH), the i686 pass takes the command.
tethra_wine_path() {
    PATH=$(printf '%s' ":$PATH:" | sed "s#:$TETHRA_SCRIPTS/wine64:#:#g; s#^:##; s#:\$##")
    if [ "$TETHRA_WINE_ARCH" = win64 ] && [ -x /usr/lib/wine/wine ]; then
        PATH="$TETHRA_SCRIPTS/wine64:$PATH"
    fi
    export PATH
}
tethra_wine_path
TETHRA_XVFB_PID=""
TETHRA_OWN_PREFIX=""

tethra_wine32_missing() {
    local p
    if ! bash "$TETHRA_SCRIPTS/runs-i386.sh"; then
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
    tethra_wine_path
    if ! tethra_display_works; then
        tethra_start_xvfb || return 1
    fi
    if [ -n "${1:-}" ]; then
        export WINEPREFIX="$1"
    else
        TETHRA_OWN_PREFIX=$(mktemp -d /tmp/tethra-wine.XXXXXX)
        export WINEPREFIX="$TETHRA_OWN_PREFIX/prefix"
    fi
    if [ "$(cat "$WINEPREFIX/.tethra-ready" 2>/dev/null)" != "$TETHRA_WINE_ARCH" ]; then
        # A prefix's architecture is fixed when it is made.
        [ -f "$WINEPREFIX/.tethra-ready" ] && rm -rf "$WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        WINEARCH=$TETHRA_WINE_ARCH timeout 180 wine wineboot -i >/dev/null 2>&1 ||
            { echo "wineboot failed" >&2; return 1; }
        timeout 60 wine reg add 'HKCU\Software\Wine' /v Version /d win98 /f >/dev/null 2>&1
        # One virtual desktop with a taskbar: the tray lives there, and every
        # process of the prefix shares it.
        timeout 60 wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
        timeout 60 wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 800x600 /f >/dev/null 2>&1
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
