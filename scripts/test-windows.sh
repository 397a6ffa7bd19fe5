#!/usr/bin/env bash
# Cross-builds the core and its tests for 64-bit Windows with mingw-w64 and
# runs them under Wine, in a throw-away Wine prefix and without a display.
# The Qt window is not part of this build (see "Building for Windows" in
# README.md).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${FENWAKE_BUILD_DIR:-$root/build}/win
jobs=$(nproc)

packages=(cmake ninja-build g++-mingw-w64-x86-64 wine64 wine googletest)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=/usr/lib/wine/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)

echo "== Windows cross build (mingw-w64)"
start=$SECONDS
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DFENWAKE_GUI=OFF -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O2
cmake --build "$build" -j "$jobs"

echo "== Windows tests under Wine"
prefix=$(mktemp -d "${TMPDIR:-/tmp}/fenwake-wine-XXXXXX")
cleanup() {
  # Only this prefix's server and processes.
  WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true
  rm -rf "$prefix"
}
trap cleanup EXIT
unset DISPLAY WAYLAND_DISPLAY
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko installers, and no desktop menu entries for the shell
# links the tests write.
export WINEDLLOVERRIDES="mscoree=d;mshtml=d;winemenubuilder.exe=d"
timeout 300 "$wine" wineboot --init >/dev/null 2>&1
"$wineserver" -w
ctest --test-dir "$build" --output-on-failure --timeout 300
echo "Windows step took $((SECONDS - start)) s"
