#!/usr/bin/env bash
# Runs every libFuzzer target (clang, ASan + UBSan) for SECONDS each, starting
# from its checked-in seed corpus, and prints executions, coverage and crashes.
#   bench/fuzz.sh [SECONDS]      (default 60)
# New inputs go to a scratch corpus; the checked-in seeds are left as they
# are. A crash leaves its input under build/fuzz/artifacts/<target>/ and makes
# the script fail.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
seconds=${1:-60}

# clang and its libFuzzer runtime are needed here only, not by the tests.
need=""
command -v clang++-14 >/dev/null || need="$need clang-14"
[ -n "$(ls /usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a 2>/dev/null)" ] || need="$need libclang-rt-14-dev"
if [ -n "$need" ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "installing:$need"
    export DEBIAN_FRONTEND=noninteractive
    timeout 900 $sudo apt-get update -qq
    timeout 1800 $sudo apt-get install -y -qq $need
fi
command -v cmake >/dev/null && command -v ninja >/dev/null || bash scripts/deps.sh

build=build/fuzz
cmake -S . -B "$build" -G Ninja -DTETHRA_TARGET=native -DTETHRA_LIBFUZZER=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$build" --target tethra_fuzzers

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
total_crashes=0
printf '%-16s %10s %8s %8s %7s %8s\n' target execs exec/s cov corpus crashes
for seeds in tests/fuzz/corpus/*/; do
    name=$(basename "$seeds")
    program="$build/tests/fuzz/fuzz_$name"
    [ -x "$program" ] || { echo "$name: no program $program" >&2; status=1; continue; }
    artifacts="$build/artifacts/$name"
    rm -rf "$artifacts"
    mkdir -p "$artifacts" "$scratch/$name"
    log="$build/fuzz-$name.log"
    # One job, so a run takes one core; a crash ends the run and is counted.
    "$program" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=1024 \
        -artifact_prefix="$artifacts/" "$scratch/$name" "$seeds" >"$log" 2>&1 || true
    execs=$(awk '$1 == "stat::number_of_executed_units:" {print $2}' "$log")
    rate=$(awk '$1 == "stat::average_exec_per_sec:" {print $2}' "$log")
    cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | awk '{print $2}')
    corpus=$(find "$scratch/$name" "$seeds" -type f | wc -l)
    crashes=$(find "$artifacts" -type f | wc -l)
    total_crashes=$((total_crashes + crashes))
    printf '%-16s %10s %8s %8s %7s %8s\n' "$name" "${execs:-?}" "${rate:-?}" "${cov:-?}" "$corpus" "$crashes"
    if [ "$crashes" -ne 0 ] || [ -z "$execs" ]; then
        status=1
        grep -m 5 -E 'check failed|ERROR: |SUMMARY: ' "$log" >&2 || true
        echo "$name: see $log and $artifacts" >&2
    fi
done
echo "fuzz seconds_each=$seconds crashes=$total_crashes"
exit $status
