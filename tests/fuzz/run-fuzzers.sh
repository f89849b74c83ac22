#!/usr/bin/env bash
# Builds the libFuzzer harnesses (clang-14, QUENFOLD_FUZZ=ON), writes their seed corpora and runs
# each harness in turn, then prints per harness its executions, its corpus and its findings.
#
#   run-fuzzers.sh [SECONDS]        SECONDS in all, shared by the harnesses (default 60)
#   run-fuzzers.sh --each SECONDS   SECONDS for every harness
#   --only NAME        run one harness (lzh_unpack, lzh_round_trip, trailer, split, mkdisks)
#   --parallel N       run N harnesses at a time (default 1; the machine has 2 cores)
#   --build-dir DIR    the fuzz build (default build/fuzz)
#   --no-build         use the programs already built there
#
# Corpora grow under DIR/corpus/<harness> from run to run; each run's crash, leak, timeout and
# out-of-memory inputs land in DIR/findings/<time>/<harness>. The exit status is 1 when there is
# any finding. A finding is fixed and its input kept under tests/fuzz/regressions/<harness>/,
# which the unit test fuzz_regressions_test replays in every build.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build/fuzz"
total=60
each=""
only=""
parallel=1
do_build=1
while [ $# -gt 0 ]; do
    case "$1" in
        --each) each="$2"; shift 2 ;;
        --only) only="$2"; shift 2 ;;
        --parallel) parallel="$2"; shift 2 ;;
        --build-dir) build="$2"; shift 2 ;;
        --no-build) do_build=0; shift ;;
        -h|--help) sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        [0-9]*) total="$1"; shift ;;
        *) echo "run-fuzzers.sh: unknown argument $1" >&2; exit 2 ;;
    esac
done

harnesses=(lzh_unpack lzh_round_trip trailer split mkdisks)
if [ -n "$only" ]; then harnesses=("$only"); fi

if [ "$do_build" = 1 ]; then
    CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -DQUENFOLD_FUZZ=ON -DQUENFOLD_CROSS=OFF >/dev/null
    cmake --build "$build" -j 2 --target fuzz_seeds $(printf 'fuzz_%s ' "${harnesses[@]}")
fi

# A harness whose program the build does not have (its code is not there yet) is left out.
present=()
for h in "${harnesses[@]}"; do
    if [ -x "$build/bin/fuzz_$h" ]; then present+=("$h"); else echo "== $h: no program $build/bin/fuzz_$h, left out"; fi
done
harnesses=("${present[@]}")
if [ ${#harnesses[@]} -eq 0 ]; then echo "run-fuzzers.sh: no harness to run" >&2; exit 2; fi
if [ -z "$each" ]; then each=$(( total / ${#harnesses[@]} )); fi
if [ "$each" -lt 1 ]; then each=1; fi

"$build/bin/fuzz_seeds" "$build/seeds" >/dev/null
stamp=$(date +%Y%m%d-%H%M%S)-$$
findings="$build/findings/$stamp"
logs="$build/logs/$stamp"
# The harnesses that write files do so below TMPDIR; a crashed run leaves its folder here.
scratch="$build/scratch"
mkdir -p "$logs" "$scratch"

# Inputs larger than a harness can use only slow it down.
max_len() {
    case "$1" in
        lzh_unpack) echo 36000 ;;
        lzh_round_trip) echo 40000 ;;
        trailer) echo 8192 ;;
        split) echo 20000 ;;
        *) echo 16384 ;;
    esac
}

run_one() {
    local h="$1"
    local corpus="$build/corpus/$h"
    local regressions="$root/tests/fuzz/regressions/$h"
    mkdir -p "$corpus" "$findings/$h"
    local dirs=("$corpus" "$build/seeds/$h")
    if [ -d "$regressions" ]; then dirs+=("$regressions"); fi
    local status=0
    TMPDIR="$scratch" "$build/bin/fuzz_$h" -max_total_time="$each" -timeout=10 -rss_limit_mb=2048 \
        -max_len="$(max_len "$h")" -print_final_stats=1 -artifact_prefix="$findings/$h/" \
        "${dirs[@]}" >"$logs/$h.log" 2>&1 || status=$?
    echo "$status" >"$logs/$h.status"
}

echo "== running ${harnesses[*]} for $each s each, $parallel at a time"
running=0
for h in "${harnesses[@]}"; do
    run_one "$h" &
    running=$((running + 1))
    if [ "$running" -ge "$parallel" ]; then wait -n || true; running=$((running - 1)); fi
done
wait

any=0
printf '%-16s %12s %10s %12s  %s\n' harness executions "corpus" "corpus KB" findings
for h in "${harnesses[@]}"; do
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$logs/$h.log" | tail -1)
    files=$(find "$build/corpus/$h" -type f | wc -l)
    kb=$(du -sk "$build/corpus/$h" | cut -f1)
    found=$(find "$findings/$h" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \
        -o -name 'slow-unit-*' \) | wc -l)
    status=$(cat "$logs/$h.status")
    if [ "$found" -eq 0 ] && [ "$status" = 0 ]; then
        printf '%-16s %12s %10s %12s  %s\n' "$h" "${execs:-?}" "$files" "$kb" none
        continue
    fi
    any=1
    printf '%-16s %12s %10s %12s  %s\n' "$h" "${execs:-?}" "$files" "$kb" "$found (exit $status) in $findings/$h"
    grep -m1 -E 'FUZZ FINDING|ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error' "$logs/$h.log" \
        | sed 's/^/    /' || true
    echo "    log: $logs/$h.log"
done
rmdir "$findings"/* "$findings" 2>/dev/null || true
exit "$any"
