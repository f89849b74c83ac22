#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#   - the native unit tests, and again built with AddressSanitizer and UndefinedBehaviorSanitizer;
#   - the codec's peer check against lhasa, the disk tool's tests and the import-table check;
#   - the fuzz harnesses (clang, libFuzzer): their corpora replayed and a minute of new inputs;
#   - the end-to-end scenarios: the Windows programs under Wine, on an Xvfb display and in a
#     throwaway Wine prefix that the test run creates and removes itself.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
jobs=${JOBS:-$(nproc)}

bash "$root/scripts/build.sh"

echo "== unit tests with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$root" -B "$build/sanitize" -DQUENFOLD_SANITIZE=ON -DQUENFOLD_CROSS=OFF >/dev/null
cmake --build "$build/sanitize" -j "$jobs"
(cd "$build/sanitize" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest -L unit --output-on-failure -j "$jobs")

echo "== fuzz harnesses: corpora and regressions replayed, then a minute of fuzzing in all"
CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build/fuzz" -DQUENFOLD_FUZZ=ON -DQUENFOLD_CROSS=OFF >/dev/null
cmake --build "$build/fuzz" -j "$jobs" --target fuzz_seeds fuzz_lzh_unpack fuzz_lzh_round_trip fuzz_trailer \
    fuzz_split fuzz_mkdisks
(cd "$build/fuzz" && ctest -L fuzz --output-on-failure)

echo "== every test of the main build: unit, peer, disks, end-to-end under Wine"
(cd "$build/native" && ctest --output-on-failure)
echo "All tests passed."
