#!/usr/bin/env bash
# Cross-builds the whole of Fenwake for 64-bit Windows with mingw-w64 against
# a Qt for Windows built from Debian's source (scripts/build-qt-windows.sh,
# cached outside the clone), runs every test program under Wine, packs the
# zip for players (scripts/package-windows.sh) and starts the program from
# the unpacked zip under Wine on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
source scripts/lib-deps.sh
build=${FENWAKE_BUILD_DIR:-$root/build}/win
jobs=$(nproc)

fenwake_require_packages cmake ninja-build g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix \
  binutils-mingw-w64-x86-64 wine64 wine googletest qt6-base-dev qt6-base-dev-tools libcli11-dev \
  xvfb xauth xdotool imagemagick

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=/usr/lib/wine/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)

echo "== Qt for Windows"
qt=$(bash scripts/build-qt-windows.sh | tail -1)

echo "== Windows cross build (mingw-w64)"
start=$SECONDS
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O2 >/dev/null
cmake --build "$build" -j "$jobs"
echo "Windows build took $((SECONDS - start)) s"

echo "== Windows tests under Wine"
start=$SECONDS
prefix=$(mktemp -d "${TMPDIR:-/tmp}/fenwake-wine-XXXXXX")
unpacked=$(mktemp -d "${TMPDIR:-/tmp}/fenwake-zip-XXXXXX")
cleanup() {
  # Only this prefix's server and processes.
  WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true
  rm -rf "$prefix" "$unpacked"
}
trap cleanup EXIT
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko installers, and no desktop menu entries for the shell
# links the tests write.
export WINEDLLOVERRIDES="mscoree=d;mshtml=d;winemenubuilder.exe=d"
(unset DISPLAY WAYLAND_DISPLAY; timeout 300 "$wine" wineboot --init >/dev/null 2>&1)
"$wineserver" -w
# The prefix's Desktop and other shell folders link to this user's home;
# made real folders, the links the tests write stay inside the prefix.
for folder in "$prefix/drive_c/users/"*/*; do
  if [ -L "$folder" ]; then rm "$folder" && mkdir "$folder"; fi
done
(unset DISPLAY WAYLAND_DISPLAY; ctest --test-dir "$build" --output-on-failure --timeout 120)
echo "Windows tests took $((SECONDS - start)) s"

echo "== Windows package"
bash scripts/package-windows.sh "$build" "$qt" | tee "$build/package.txt"
zip=$(tail -1 "$build/package.txt")
cmake -E chdir "$unpacked" cmake -E tar xf "$zip"
# A new Wine session for the display.
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w
xvfb-run -a -s "-screen 0 1024x768x24" bash tests/process/windows_exe.sh "$unpacked" "$root/samples/game/System"
# The terminal tool from the zip, on a copy of the sample folder.
cp -r "$root/samples/game/System" "$unpacked/game"
(unset DISPLAY; cd "$unpacked/game" && "$wine" "$unpacked/fenwake-cli.exe" bind F1 "say hi" >/dev/null &&
  [ "$("$wine" "$unpacked/fenwake-cli.exe" get F1 | tr -d '\r')" = "say hi" ]) ||
  { echo "FAIL: fenwake-cli.exe from the zip does not run"; exit 1; }
"$wineserver" -k 2>/dev/null || true
