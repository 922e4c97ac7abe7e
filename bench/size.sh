#!/usr/bin/env bash
# Prints the product's size against its 96 KiB budget and where the bytes
# go: each section's size in memory and in the file, the resources by kind,
# and the x86_64 build the tests run for comparison.
#   bench/size.sh [exe]     (default build/win32/Tethra.exe, built if missing)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
exe=${1:-build/win32/Tethra.exe}
if [ $# -eq 0 ]; then
    cmake --preset win32 >/dev/null
    cmake --build --preset win32 --target Tethra >/dev/null
fi
export LC_ALL=C
budget=98304
size=$(stat -c %s "$exe")
echo "$exe: $size bytes ($((size / 1024)) KiB), budget $budget bytes (96 KiB): $( \
    [ "$size" -le "$budget" ] && echo "within, $((budget - size)) bytes to spare" || echo "OVER by $((size - budget)) bytes")"

# objdump -h: name, size, VMA, LMA, file offset. A section's bytes in the
# file run to the next section's offset (each is padded to the file
# alignment); .bss has none.
names=() sizes=() offsets=()
while read -r _ name hexsize _ _ hexoff _; do
    names+=("$name") sizes+=($((16#$hexsize))) offsets+=($((16#$hexoff)))
done < <(i686-w64-mingw32-objdump -h "$exe" | grep -E '^ +[0-9]+ ')
printf '%-10s %10s %10s\n' section size "in file"
first=$size
for i in "${!names[@]}"; do
    off=${offsets[$i]}
    if [ "$off" -eq 0 ]; then
        printf '%-10s %10d %10s\n' "${names[$i]}" "${sizes[$i]}" -
        continue
    fi
    end=$size
    for o in "${offsets[@]}"; do
        if [ "$o" -gt "$off" ] && [ "$o" -lt "$end" ]; then end=$o; fi
    done
    if [ "$off" -lt "$first" ]; then first=$off; fi
    printf '%-10s %10d %10d\n' "${names[$i]}" "${sizes[$i]}" $((end - off))
done
printf '%-10s %10s %10d\n' headers "" "$first"

# What .rsrc holds, by language and by kind: the data of each resource
# (the directory that finds them comes on top).
echo "resources by language (bytes of data, count):"
python3 - "$exe" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
pe = struct.unpack_from("<I", data, 0x3C)[0]
sections = struct.unpack_from("<H", data, pe + 6)[0]
opt = struct.unpack_from("<H", data, pe + 20)[0]
dirs = pe + 24 + (96 if struct.unpack_from("<H", data, pe + 24)[0] == 0x10B else 112)
rva = struct.unpack_from("<I", data, dirs + 2 * 8)[0]
for i in range(sections):
    sh = pe + 24 + opt + 40 * i
    vsize, vaddr, _, raw = struct.unpack_from("<IIII", data, sh + 8)
    if vaddr <= rva < vaddr + vsize:
        base, delta = raw + rva - vaddr, vaddr - raw
kinds = {1: "cursor", 2: "bitmap", 3: "icon", 4: "menu", 5: "dialog", 6: "string",
         12: "cursor group", 14: "icon group", 16: "version", 241: "toolbar"}
langs = {0: "neutral", 0x0804: "Chinese (0804)", 0x0409: "English (0409)"}

def entries(offset):
    named, ids = struct.unpack_from("<HH", data, base + offset + 12)
    for k in range(named + ids):
        yield struct.unpack_from("<II", data, base + offset + 16 + 8 * k)

totals = {}
for kind, sub in entries(0):
    for _, sub2 in entries(sub & 0x7FFFFFFF):
        for lang, leaf in entries(sub2 & 0x7FFFFFFF):
            size = struct.unpack_from("<I", data, base + leaf + 4)[0]
            key = (langs.get(lang, hex(lang)), kinds.get(kind, str(kind)))
            count, total = totals.get(key, (0, 0))
            totals[key] = (count + 1, total + size)
for lang in sorted({k[0] for k in totals}):
    rows = {k[1]: v for k, v in totals.items() if k[0] == lang}
    print("  %-16s %6d bytes: %s" % (lang, sum(v[1] for v in rows.values()),
          ", ".join("%s %d (%d)" % (k, v[1], v[0]) for k, v in sorted(rows.items()))))
PY

# The resource script's icons and bitmap, as they go into .rsrc.
echo "resources (files named in src/res/Tethra.rc):"
for f in src/res/*.ico src/res/*.bmp; do
    printf '  %-22s %6d bytes\n' "$(basename "$f")" "$(stat -c %s "$f")"
done

if [ -f build/win64/Tethra.exe ]; then
    size64=$(stat -c %s build/win64/Tethra.exe)
    echo "build/win64/Tethra.exe (x86_64, what the tests run): $size64 bytes"
fi
