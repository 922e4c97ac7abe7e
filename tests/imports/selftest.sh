#!/bin/bash
# Builds a few tiny programs and checks that check_imports.sh accepts the
# good one and rejects each bad one for the right reason.
set -u

here=$(cd "$(dirname "$0")" && pwd)
check="$here/check_imports.sh"
list="$here/win98se-exports.txt"
cc=${CC_I686:-i686-w64-mingw32-gcc}
cxx=${CXX_I686:-i686-w64-mingw32-g++}
cc64=${CC_X86_64:-x86_64-w64-mingw32-gcc}
win4="-Wl,--major-subsystem-version,4,--minor-subsystem-version,0,--major-os-version,4"
# The C++ options, runtime pieces and entry point the product is built
# with; without them the library's exception paths bring wide imports
# along, and the C runtime's start-up brings msvcrt.dll and a TLS directory.
product="-std=c++20 -Os -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -fno-threadsafe-statics"
fw="$here/../../src/fw"
runtime="$fw/Runtime.cpp $fw/CLibrary.cpp $fw/Entry.cpp $fw/Fault.cpp $fw/CommandLine.cpp -I $fw/..
    -nostdlib -Wl,-e,_TethraEntry -lgcc -lkernel32 -luser32"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

# expect NAME WANT_RC WANT_TEXT EXE [LIST]
expect() {
    local name=$1 want_rc=$2 want_text=$3 exe=$4 lst=${5:-$list} out rc
    out=$("$check" "$exe" "$lst" 2>&1)
    rc=$?
    if [ "$rc" -eq "$want_rc" ] && printf '%s\n' "$out" | grep -qF -- "$want_text"; then
        echo "ok   $name (exit $rc, said \"$want_text\")"
    else
        echo "FAIL $name: wanted exit $want_rc and \"$want_text\", got exit $rc:"
        printf '%s\n' "$out" | sed 's/^/     /'
        failures=$((failures + 1))
    fi
}

build() {  # build OUT COMPILER ARGS...
    local out=$1; shift
    if ! "$@" -o "$out"; then
        echo "FAIL could not build $(basename "$out")"
        exit 1
    fi
}

cat > "$tmp/good.cpp" <<'EOF'
#include <windows.h>
#include <string>
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmd, int)
{
    std::string s("args: ");
    s += cmd;
    MessageBoxA(NULL, s.c_str(), "good", MB_OK);
    return 0;
}
EOF
cat > "$tmp/bad.c" <<'EOF'
#define _WIN32_WINNT 0x0600
#include <windows.h>
int WINAPI WinMain(HINSTANCE a, HINSTANCE b, LPSTR c, int d)
{
    return MessageBoxW(NULL, L"wide", L"bad", MB_OK) + (int)GetTickCount64();
}
EOF
cat > "$tmp/plain.c" <<'EOF'
int main(void) { return 0; }
EOF
cat > "$tmp/tls.c" <<'EOF'
__thread int counter;
int main(void) { return ++counter; }
EOF
cat > "$tmp/winmm.c" <<'EOF'
#include <windows.h>
#include <mmsystem.h>
int WINAPI WinMain(HINSTANCE a, HINSTANCE b, LPSTR c, int d) { return (int)timeGetTime(); }
EOF

build "$tmp/good.exe" "$cxx" $product -static -mwindows $win4 "$tmp/good.cpp" $runtime
build "$tmp/stock.exe" "$cxx" -Os -static -static-libgcc -static-libstdc++ -mwindows $win4 "$tmp/good.cpp"
build "$tmp/bad.exe" "$cc" -Os -static -mwindows $win4 "$tmp/bad.c"
build "$tmp/v51.exe" "$cc" -Os -static -mwindows \
    -Wl,--major-subsystem-version,5,--minor-subsystem-version,1 "$tmp/plain.c"
build "$tmp/winmm.exe" "$cc" -Os -static -mwindows $win4 "$tmp/winmm.c" -lwinmm
build "$tmp/plain.exe" "$cc" -Os -static $win4 "$tmp/plain.c"
build "$tmp/tls.exe" "$cc" -Os -static $win4 "$tmp/tls.c"

expect "C++ WinMain program with std::string passes" 0 "imports ok:" "$tmp/good.exe"
expect "the same with the library's own runtime is refused" 1 "KERNEL32.dll: CreateSemaphoreW" "$tmp/stock.exe"
expect "MessageBoxW is refused" 1 "USER32.dll: MessageBoxW" "$tmp/bad.exe"
expect "GetTickCount64 is refused" 1 "kernel32.dll: GetTickCount64" "$tmp/bad.exe"
expect "subsystem version 5.1 is refused" 1 "subsystem version 5.1" "$tmp/v51.exe"
expect "winmm.dll is refused" 1 "DLL not allowed: WINMM" "$tmp/winmm.exe"
expect "the C runtime's start-up (msvcrt.dll) is refused" 1 "DLL not allowed: msvcrt.dll" "$tmp/plain.exe"
expect "a TLS directory is refused" 1 "TLS directory present" "$tmp/tls.exe"

# The same good program against a list lacking one of its imports.
grep -v '^user32.dll MessageBoxA$' "$list" > "$tmp/short-list.txt"
expect "import missing from the exports list is refused" 1 \
    "user32.dll: MessageBoxA" "$tmp/good.exe" "$tmp/short-list.txt"

# Imports by ordinal: comctl32's 8 is listed, its 9 is not.
dlltool=${DLLTOOL_I686:-i686-w64-mingw32-dlltool}
cat > "$tmp/ordinal.cpp" <<'EOF'
#include <windows.h>
extern "C" HBITMAP WINAPI ByNumber(HINSTANCE, INT_PTR, UINT, void*, int);
int WINAPI WinMain(HINSTANCE a, HINSTANCE b, LPSTR c, int d) { return ByNumber(a, 1, 0, 0, 0) != 0; }
EOF
for n in 8 9; do
    printf 'LIBRARY COMCTL32.dll\nEXPORTS\n    ByNumber@20 @%s NONAME\n' "$n" > "$tmp/ord$n.def"
    "$dlltool" -d "$tmp/ord$n.def" -l "$tmp/libord$n.a" || { echo "FAIL dlltool"; exit 1; }
    build "$tmp/ord$n.exe" "$cxx" $product -static -mwindows $win4 "$tmp/ordinal.cpp" "$tmp/libord$n.a" $runtime
done
expect "comctl32 ordinal 8 passes" 0 "imports ok:" "$tmp/ord8.exe"
expect "comctl32 ordinal 9 is refused" 1 "import by ordinal 9 from COMCTL32.dll" "$tmp/ord9.exe"

# A variable imported from a DLL without dllimport needs a pseudo-relocation,
# which only the runtime's start-up would apply: the product's link refuses it.
printf 'LIBRARY DATA.dll\nEXPORTS\n    shared_value DATA\n' > "$tmp/data.def"
"$dlltool" -d "$tmp/data.def" -l "$tmp/libdata.a" || { echo "FAIL dlltool"; exit 1; }
cat > "$tmp/data.cpp" <<'EOF'
#include <windows.h>
extern "C" int shared_value;
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return shared_value; }
EOF
# The refusal names the variable (without the options it would only miss
# the runtime's relocator).
if out=$("$cxx" $product -static -mwindows $win4 "$tmp/data.cpp" "$tmp/libdata.a" $runtime \
        -Wl,--disable-auto-import,--disable-runtime-pseudo-reloc -o "$tmp/data.exe" 2>&1); then
    echo "FAIL a data import needing a pseudo-relocation linked"
    failures=$((failures + 1))
elif printf '%s\n' "$out" | grep -q "shared_value" && ! printf '%s\n' "$out" | grep -q relocator; then
    echo "ok   a data import needing a pseudo-relocation is refused by name"
else
    echo "FAIL a data import needing a pseudo-relocation: unexpected link error:"
    printf '%s\n' "$out" | sed 's/^/     /'
    failures=$((failures + 1))
fi

if command -v "$cc64" > /dev/null; then
    build "$tmp/x64.exe" "$cc64" -Os -static -mwindows $win4 "$tmp/plain.c"
    expect "64-bit program is refused" 1 "PE32+" "$tmp/x64.exe"
else
    echo "skip 64-bit case: $cc64 not found"
fi

if [ $failures -ne 0 ]; then
    echo "selftest: $failures case(s) failed"
    exit 1
fi
echo "selftest: all cases passed"
