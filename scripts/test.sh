#!/usr/bin/env bash
# Builds Fenwake plain and with sanitizers, runs every test, fuzzes the
# INI engine for FENWAKE_FUZZ_SECONDS (60 by default), then cross-builds the
# core for Windows and runs its tests under Wine (scripts/test-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${FENWAKE_BUILD_DIR:-$root/build}
jobs=$(nproc)

bash scripts/install-deps.sh

echo "== plain build"
cmake -S . -B "$build/plain" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFENWAKE_BENCH=ON
cmake --build "$build/plain" -j "$jobs"
ctest --test-dir "$build/plain" --output-on-failure -j "$jobs"

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
cmake -S . -B "$build/asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFENWAKE_SANITIZE=ON
cmake --build "$build/asan" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions="$root/tests/lsan.supp" \
  ctest --test-dir "$build/asan" --output-on-failure -j "$jobs"

echo "== fuzzing"
cmake -S . -B "$build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DFENWAKE_FUZZ=ON -DFENWAKE_GUI=OFF -DFENWAKE_TESTS=OFF
cmake --build "$build/fuzz" -j "$jobs"
for fuzzer in "$build"/fuzz/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  corpus=$(mktemp -d)
  "$fuzzer" -max_total_time="${FENWAKE_FUZZ_SECONDS:-60}" -print_final_stats=1 "$corpus" "$root/fuzz/seeds"
  rm -rf "$corpus"
done

FENWAKE_BUILD_DIR="$build" bash scripts/test-windows.sh

echo "all tests passed"
