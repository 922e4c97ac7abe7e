#!/usr/bin/env bash
# Soak of the real program on Wine's Windows 98 desktop: N tray-menu showings
# and N lock/unlock cycles (through the password prompt), with its committed
# private memory and GDI and USER objects at the start and at the end.
#   bench/soak.sh [N]      (default 1000)
# The last line reads
#   menus=N locks=N private_kb_growth=N gdi_growth=N user_growth=N
# Objects are counted inside the program by tethra_objcount.dll, which the
# probe loads into it (Wine's GetGuiResources always answers 0).
# TETHRA_EXE=path soaks another build of the program instead.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
n=${1:-1000}
bash scripts/deps.sh >/dev/null
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Tethra tethra_probe >/dev/null

export TETHRA_EXE="${TETHRA_EXE:-$top/build/win64/Tethra.exe}"
export TETHRA_PROBE="$top/build/win64/tests/e2e/tethra_probe.exe"
export TETHRA_ARTIFACTS="$top/build/win64/bench-artifacts"
export TETHRA_SOURCE_DIR="$top"
# lib.sh prepares (and afterwards removes) its own desktop and prefix.
unset WINEPREFIX
started=$SECONDS
figures=$(bash -c '. tests/e2e/lib.sh; e2e_begin soak_bench; e2e_desktop; soak_run "$1"' soak "$n")
echo "$figures" | sed '$d'
echo "elapsed: $((SECONDS - started)) s"
echo "$figures" | tail -1
