#!/usr/bin/env bash
# Installs what building and testing Tethra needs, when it is missing.
set -eu
packages="cmake ninja-build g++ googletest libgtest-dev locales
  g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 xvfb x11-utils xdotool imagemagick fonts-wqy-microhei"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ -n "$missing" ]; then
    echo "installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    timeout 900 $sudo apt-get update -qq
    timeout 1800 $sudo apt-get install -y -qq $missing
fi
# Wine is run in the Simplified Chinese locale (ANSI code page 936).
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
    timeout 120 $sudo localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
