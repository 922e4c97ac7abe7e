#!/usr/bin/env bash
# Installs what building and testing Tethra needs, when it is missing.
#
# 32-bit Wine, which runs the i686 product itself, comes from Debian's i386
# packages. Where the kernel cannot run 32-bit programs, 32-bit Wine is left
# out and the 64-bit wine64 runs the i686 programs through WoW64 instead;
# that needs Wine's i386 PE DLLs, taken from Debian's libwine:i386 package
# without installing it. When neither can be had (the mirror's i386 index
# can be out of step with the amd64 one for a while), this says why and
# goes on: the i686 pass is then skipped, never failed.
# TETHRA_TRY_WOW64=1 acts as on a kernel that refuses 32-bit programs.
set -eu
packages="cmake ninja-build g++ googletest libgtest-dev locales
  g++-mingw-w64-i686-win32 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-win32 g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 xvfb x11-utils xdotool imagemagick fonts-wqy-microhei"
# Wine's 32-bit loader and the X libraries it loads at run time. Without
# libxi6 Wine refuses to confine the pointer of a 32-bit program: a lock
# would look locked with the pointer free.
packages32="wine32 libxi6 libxfixes3 libxrandr2 libxinerama1 libxcursor1 libxrender1
  libxcomposite1 libxxf86vm1 libfreetype6 libfontconfig1"

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

missing=""
for p in $packages; do
    installed "$p" || missing="$missing $p"
done
# Where wine64 looks for the i386 PE DLLs (Debian ships only zlib1.dll there).
wow64_dlls=/usr/lib/x86_64-linux-gnu/wine/i386-windows
missing32="" want_wow64=0
if [ "${TETHRA_TRY_WOW64:-}" != 1 ] && bash "$(dirname "$0")/runs-i386.sh"; then
    for p in $packages32; do
        installed "$p:i386" || missing32="$missing32 $p:i386"
    done
else
    # Debian's wine command would pick the 32-bit loader and fail for every
    # program: leave 32-bit Wine out.
    echo "this machine's kernel refuses 32-bit programs: 32-bit Wine is not installed; the i686 product's test pass runs through WoW64" >&2
    [ -f "$wow64_dlls/kernel32.dll" ] || want_wow64=1
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
update_log=$(mktemp)
trap 'rm -f "$update_log"' EXIT
if [ -n "$missing$missing32" ] || [ "$want_wow64" = 1 ]; then
    if [ -n "$missing32" ] || [ "$want_wow64" = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
    # A list that fails to update (an i386 index in the middle of a mirror
    # sync) leaves the others usable: go on and let the installs tell.
    timeout 900 $sudo apt-get update -qq >"$update_log" 2>&1 || cat "$update_log" >&2
fi
if [ -n "$missing" ]; then
    echo "installing:$missing"
    timeout 1800 $sudo apt-get install -y -qq $missing
fi
if [ -n "$missing32" ]; then
    echo "installing:$missing32"
    if ! timeout 1800 $sudo apt-get install -y -qq --no-install-recommends $missing32; then
        reason="32-bit Wine could not be installed from the package mirror"
        grep -q 'unexpected size\|Mirror sync' "$update_log" &&
            reason="$reason (its i386 index is out of step: \"Mirror sync in progress?\")"
        echo "$reason; the i686 product's test pass will be skipped" >&2
    fi
fi
if [ "$want_wow64" = 1 ]; then
    # The package of the same version as the installed 64-bit Wine.
    version=$(dpkg-query -W -f='${Version}' libwine:amd64)
    deb_dir=$(mktemp -d)
    trap 'rm -f "$update_log"; rm -rf "$deb_dir"' EXIT
    echo "fetching Wine's i386 PE DLLs for WoW64 (libwine:i386 $version, not installed)"
    if (cd "$deb_dir" && timeout 900 apt-get download -qq -o APT::Sandbox::User=root "libwine:i386=$version") &&
        dpkg-deb -x "$deb_dir"/libwine_*_i386.deb "$deb_dir/x"; then
        $sudo cp -a "$deb_dir/x/usr/lib/i386-linux-gnu/wine/i386-windows/." "$wow64_dlls/"
    else
        echo "Wine's i386 PE DLLs could not be had from the package mirror; the i686 product's test pass will be skipped" >&2
    fi
    rm -rf "$deb_dir"
fi
# Wine is run in the Simplified Chinese locale (ANSI code page 936).
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
    timeout 120 $sudo localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
exit 0
