#!/bin/bash
# Fails when an i686 executable would not load, or would quietly misbehave,
# on Windows 95 or 98 SE:
#  - it imports from a DLL outside the small set Tethra is allowed to use
#    (no C runtime DLL: the first Windows 95 has none);
#  - it imports a function that the Windows 98 SE DLL does not export
#    (the loader refuses to start the program);
#  - it imports a wide-character ("...W") API, which Windows 9x exports only
#    as a stub failing with ERROR_CALL_NOT_IMPLEMENTED; none is excused,
#    not even the runtime's own (Tethra's build keeps those out);
#  - its PE header is not PE32 with subsystem version 4.0;
#  - it has a TLS directory, which only the C runtime's start-up (not
#    linked) would fill in.
#
# usage: check_imports.sh EXE EXPORTS_LIST
#   EXPORTS_LIST: '#' comment lines, then "dllname.dll FunctionName" lines;
#   "dllname.dll #N" admits an import by ordinal N.
# Exit status: 0 ok, 1 offending imports or header, 2 usage/tool error.
# OBJDUMP may name another objdump (default i686-w64-mingw32-objdump).

set -u

if [ $# -ne 2 ]; then
    echo "usage: $0 EXE EXPORTS_LIST" >&2
    exit 2
fi
exe=$1
exports=$2
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
# The parser reads objdump's English wording.
export LC_ALL=C

for f in "$exe" "$exports"; do
    if [ ! -r "$f" ]; then
        echo "check_imports: cannot read $f" >&2
        exit 2
    fi
done

# Look at the PE header directly first: the i686 objdump does not even
# recognise a PE32+ (64-bit) file, and that deserves a clear answer.
le16() { od -An --endian=little -t u2 -j "$1" -N 2 "$exe" | tr -d ' '; }
le32() { od -An --endian=little -t u4 -j "$1" -N 4 "$exe" | tr -d ' '; }
if [ "$(le16 0)" != 23117 ]; then                     # "MZ"
    echo "not a PE executable (no MZ header): $exe"
    echo "imports NOT ok: 1 problem(s)"
    exit 1
fi
pe=$(le32 60)
if [ -z "$pe" ] || [ "$(le32 "$pe")" != 17744 ]; then  # "PE\0\0"
    echo "not a PE executable (no PE signature): $exe"
    echo "imports NOT ok: 1 problem(s)"
    exit 1
fi
machine=$(le16 $((pe + 4)))
magic=$(le16 $((pe + 24)))
hdr_bad=0
if [ "$magic" != 267 ]; then                          # 0x10b
    if [ "$magic" = 523 ]; then
        echo "not PE32: optional header magic 0x20b (PE32+)"
    else
        echo "not PE32: optional header magic $(printf '0x%x' "${magic:-0}")"
    fi
    hdr_bad=$((hdr_bad + 1))
fi
if [ "$machine" != 332 ]; then                        # 0x14c, i386
    echo "not an i386 executable: machine $(printf '0x%x' "${machine:-0}")"
    hdr_bad=$((hdr_bad + 1))
fi
if [ $hdr_bad -ne 0 ]; then
    echo "imports NOT ok: $hdr_bad problem(s)"
    exit 1
fi

if ! dump=$("$objdump" -p "$exe" 2>&1); then
    printf '%s\n' "$dump" >&2
    echo "check_imports: $objdump -p $exe failed" >&2
    exit 2
fi

# DLLs Tethra may link against (compared case-insensitively).
allowed_dlls="kernel32.dll user32.dll gdi32.dll comctl32.dll shell32.dll advapi32.dll"

# Wide-character APIs caught by name, whether or not the list has an
# "...A" twin for them (CommandLineToArgvW has none).
wide_only="GetCommandLineW CommandLineToArgvW"

printf '%s\n' "$dump" | awk \
    -v exports_file="$exports" \
    -v allowed_dlls="$allowed_dlls" \
    -v wide_only="$wide_only" '
function fail(msg) { print msg; bad++ }
BEGIN {
    bad = 0; fatal = 0
    n = split(allowed_dlls, a, " ")
    for (i = 1; i <= n; i++) dll_ok[a[i]] = 1
    n = split(wide_only, a, " ")
    for (i = 1; i <= n; i++) wonly[a[i]] = 1
    nexp = 0
    while ((getline line < exports_file) > 0) {
        sub(/\r$/, "", line)
        if (line ~ /^#/ || line ~ /^[ \t]*$/) continue
        if (split(line, f, " ") != 2) {
            print "check_imports: bad line in " exports_file ": " line
            fatal = 1
            exit 2
        }
        exported[tolower(f[1]) " " f[2]] = 1
        nexp++
    }
    close(exports_file)
    if (nexp == 0) {
        print "check_imports: no exports read from " exports_file
        fatal = 1
        exit 2
    }
    dll = ""; ndll = 0; nfunc = 0; saw_table = 0
    magic = ""; format = ""; submaj = ""; submin = ""
}

/file format / { format = $NF }
/^Magic[ \t]/ { magic = $2 }
/^MajorSubsystemVersion[ \t]/ { submaj = $2 }
/^MinorSubsystemVersion[ \t]/ { submin = $2 }
/^There is an import table/ { saw_table = 1 }
/^Entry 9 / && ($3 != "00000000" || $4 != "00000000") { fail("TLS directory present") }

/^\tDLL Name: / {
    dll = $0
    sub(/^\tDLL Name: /, "", dll)
    ldll = tolower(dll)
    if (!(ldll in seen_dll)) { seen_dll[ldll] = 1; ndll++ }
    if (!(ldll in dll_ok)) fail("DLL not allowed: " dll)
    next
}
/^[ \t]*$/ { dll = ""; next }

# Entries under a DLL: "\t<vma>\t <hint/ordinal>  <name>" where the
# name is "<none>" for an import by ordinal.
dll != "" && /^\t[0-9a-fA-F]+\t/ {
    ord = $2; name = $3
    nfunc++
    if (name == "<none>" || name == "") {
        if (!((ldll " #" ord) in exported))
            fail("import by ordinal " ord " from " dll)
        next
    }
    if (!((ldll " " name) in exported))
        fail("not exported by Windows 98 SE " ldll ": " name)
    if (name ~ /W$/) {
        base = substr(name, 1, length(name) - 1)
        if (((ldll " " base "A") in exported) || (name in wonly))
            fail("wide-character API imported from " dll ": " name)
    }
    next
}

END {
    if (fatal) exit 2
    if (format != "pei-i386")
        fail("not an i386 PE executable: file format " (format == "" ? "unknown" : format))
    if (magic != "010b")
        fail("not PE32: Magic " (magic == "" ? "missing" : magic) (magic == "020b" ? " (PE32+)" : ""))
    if (submaj != "4" || submin != "0")
        fail("subsystem version " submaj "." submin ", want 4.0")
    if (saw_table && ndll == 0)
        fail("import table present but no DLL entries could be read")
    if (bad) {
        print "imports NOT ok: " bad " problem(s)"
        exit 1
    }
    print "imports ok: " nfunc " functions from " ndll " DLLs"
}
'
