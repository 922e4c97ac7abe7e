#!/usr/bin/env bash
# Prints the product's size against its 84 KiB budget and 80 KiB goal and
# where the bytes go: each section's size in memory and in the file, the
# resources by kind, the five largest parts left (functions, data and
# resources, from the link map the build writes), and the x86_64 build the
# tests run for comparison.
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
budget=86016 goal=81920
size=$(stat -c %s "$exe")
echo "$exe: $size bytes ($((size / 1024)) KiB), budget $budget bytes (84 KiB): $( \
    [ "$size" -le "$budget" ] && echo "within, $((budget - size)) bytes to spare" || echo "OVER by $((size - budget)) bytes"); \
goal $goal bytes (80 KiB): $([ "$size" -le "$goal" ] && echo reached || echo "not reached, $((size - goal)) bytes over")"

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
# Each resource also goes to a list of parts, for the largest parts below.
echo "resources by language (bytes of data, count):"
parts_file=$(mktemp)
trap 'rm -f "$parts_file"' EXIT
python3 - "$exe" "$parts_file" <<'PY'
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
parts = open(sys.argv[2], "w")
for kind, sub in entries(0):
    for ident, sub2 in entries(sub & 0x7FFFFFFF):
        for lang, leaf in entries(sub2 & 0x7FFFFFFF):
            size = struct.unpack_from("<I", data, base + leaf + 4)[0]
            parts.write("%d resource: %s %d (language %04x)\n" % (size, kinds.get(kind, str(kind)), ident, lang))
            key = (langs.get(lang, hex(lang)), kinds.get(kind, str(kind)))
            count, total = totals.get(key, (0, 0))
            totals[key] = (count + 1, total + size)
for lang in sorted({k[0] for k in totals}):
    rows = {k[1]: v for k, v in totals.items() if k[0] == lang}
    print("  %-16s %6d bytes: %s" % (lang, sum(v[1] for v in rows.values()),
          ", ".join("%s %d (%d)" % (k, v[1], v[0]) for k, v in sorted(rows.items()))))
PY

# The five largest parts left: each function's and datum's section in the
# link map (names demangled) and each resource.
map=$(dirname "$exe")/Tethra.map
parts=$( (cat "$parts_file"; python3 - "$map" <<'PY') | sort -rn
import os, re, subprocess, sys
mapfile = sys.argv[1]
if not os.path.exists(mapfile):
    print(0, "(no link map: %s)" % mapfile)
    sys.exit()
# A long section name stands alone on its line, its address and size on the next.
names = []
pending = None
for line in open(mapfile):
    m = re.match(r"^ \.(?:text|data|rdata)[$.](\S+)(?:\s+0x[0-9a-f]+\s+0x([0-9a-f]+))?", line)
    if m:
        if m.group(2):
            names.append((int(m.group(2), 16), m.group(1)))
            pending = None
        else:
            pending = m.group(1)
        continue
    m = re.match(r"^\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s", line)
    if m and pending:
        names.append((int(m.group(1), 16), pending))
    pending = None
demangled = subprocess.run(["c++filt"], input="\n".join(n for _, n in names), capture_output=True,
                           text=True).stdout.split("\n")
for (size, _), name in zip(names, demangled):
    if name.startswith("startup."):
        name = "static constructors (" + name[len("startup."):] + ")"
    print(size, "code or data: " + name)
PY
)
show() { head -5 | awk '{printf "  %6d bytes  %s\n", $1, substr($0, index($0, $2))}'; }
echo "five largest parts:"
printf '%s\n' "$parts" | show
echo "five largest parts of code and data:"
printf '%s\n' "$parts" | grep ' code or data: ' | show

# The resource script's icons and bitmap, as they go into .rsrc.
echo "resources (files named in src/res/Tethra.rc):"
for f in src/res/*.ico src/res/*.bmp; do
    printf '  %-22s %6d bytes\n' "$(basename "$f")" "$(stat -c %s "$f")"
done

if [ -f build/win64/Tethra.exe ]; then
    size64=$(stat -c %s build/win64/Tethra.exe)
    echo "build/win64/Tethra.exe (x86_64, what the tests run): $size64 bytes"
fi
