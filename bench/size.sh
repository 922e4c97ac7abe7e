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

# The resource script's icons and bitmap, as they go into .rsrc.
echo "resources (files named in src/res/Tethra.rc):"
for f in src/res/*.ico src/res/*.bmp; do
    printf '  %-22s %6d bytes\n' "$(basename "$f")" "$(stat -c %s "$f")"
done

if [ -f build/win64/Tethra.exe ]; then
    size64=$(stat -c %s build/win64/Tethra.exe)
    echo "build/win64/Tethra.exe (x86_64, what the tests run): $size64 bytes"
fi
