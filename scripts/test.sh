#!/usr/bin/env bash
# Builds Fenwake plain and with sanitizers, runs every test under both, fuzzes
# the INI engine for FENWAKE_FUZZ_SECONDS (60 by default), tests the Debian
# package and the portable Linux archive (in a bare Debian root), then builds
# the whole tool for Windows and tests it under Wine (scripts/test-windows.sh);
# FENWAKE_WINDOWS=0 leaves that step out.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${FENWAKE_BUILD_DIR:-$root/build}
jobs=$(nproc)
started=$SECONDS

bash scripts/install-deps.sh test

if [ ! -d "$root/../shared/fixtures/real-world" ]; then
  echo "NOTE: $root/../shared/fixtures/real-world is absent: the tests on real players' files are skipped."
fi
echo "== layout (.clang-format)"
format_log=$(mktemp)
if ! git ls-files '*.cpp' '*.h' | xargs clang-format-14 --dry-run --Werror 2>"$format_log"; then
  head -40 "$format_log"
  echo "FAIL: files differ from .clang-format; clang-format-14 -i \$(git ls-files '*.cpp' '*.h') lays them out"
  exit 1
fi
rm -f "$format_log"
echo "== layers (includes run one way)"
bash scripts/check-layers.sh

symbolizer=/usr/lib/llvm-14/bin/llvm-symbolizer
export ASAN_SYMBOLIZER_PATH=$symbolizer

echo "== plain build"
cmake -S . -B "$build/plain" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFENWAKE_BENCH=ON >/dev/null
cmake --build "$build/plain" -j "$jobs"
ctest --test-dir "$build/plain" --output-on-failure -j "$jobs"

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
cmake -S . -B "$build/asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFENWAKE_SANITIZE=ON -DFENWAKE_BENCH=OFF >/dev/null
cmake --build "$build/asan" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:external_symbolizer_path=$symbolizer \
  LSAN_OPTIONS=suppressions="$root/tests/lsan.supp" \
  ctest --test-dir "$build/asan" --output-on-failure -j "$jobs"

echo "== fuzzing"
cmake -S . -B "$build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DFENWAKE_FUZZ=ON -DFENWAKE_GUI=OFF -DFENWAKE_TESTS=OFF >/dev/null
cmake --build "$build/fuzz" -j "$jobs"
for fuzzer in "$build"/fuzz/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  corpus=$(mktemp -d)
  log=$(mktemp)
  # Progress lines go to a log that is shown only when the fuzzer fails.
  if ! "$fuzzer" -max_total_time="${FENWAKE_FUZZ_SECONDS:-60}" -print_final_stats=1 "$corpus" "$root/fuzz/seeds" \
    >"$log" 2>&1; then
    cat "$log"
    echo "FAIL: $(basename "$fuzzer")"
    exit 1
  fi
  grep -E '^(stat::|Done )' "$log" || true
  rm -rf "$corpus" "$log"
done
echo "== Debian package"
bash scripts/package-deb.sh >"$build/deb.log" 2>&1 || { cat "$build/deb.log"; exit 1; }
grep -E '^(== lintian|[0-9]+ KB|[EWI]: )' "$build/deb.log" || true
xvfb-run -a -s "-screen 0 1024x768x24" bash tests/process/deb_package.sh "$(tail -1 "$build/deb.log")" \
  "$root/samples/game/System"
echo "== portable Linux archive"
# Packed from the Debian package's build, tested in a bare Debian root.
bash scripts/package-linux.sh "$(dirname "$(tail -1 "$build/deb.log")")" >"$build/linux-archive.log" 2>&1 ||
  { cat "$build/linux-archive.log"; exit 1; }
tail -2 "$build/linux-archive.log" | head -1
if [ "$(id -u)" -eq 0 ]; then
  clean_root=$(bash scripts/linux-clean-root.sh | tail -1)
  xvfb-run -a -s "-screen 0 1024x768x24" bash tests/process/linux_archive.sh "$(tail -1 "$build/linux-archive.log")" \
    "$clean_root" "$root/samples/game/System"
else
  echo "NOTE: not root: the archive's test in a bare Debian root (chroot) was left out."
fi
echo "Linux part took $((SECONDS - started)) s"

if [ "${FENWAKE_WINDOWS:-1}" != 0 ]; then
  FENWAKE_BUILD_DIR="$build" bash scripts/test-windows.sh
else
  echo "NOTE: FENWAKE_WINDOWS=0: the Windows build and its tests under Wine were left out."
fi

echo "all tests passed in $((SECONDS - started)) s"
