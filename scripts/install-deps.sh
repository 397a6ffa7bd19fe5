#!/usr/bin/env bash
# Installs what Fenwake needs on Debian 12:
#   install-deps.sh run    building and running the tool (compiler, CMake, Qt, CLI11, fonts,
#                          help2man for the manual pages)
#   install-deps.sh test   that, and what the Linux tests need on top
# (The Windows build's packages are installed by scripts/test-windows.sh.)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib-deps.sh

run=(
  cmake ninja-build g++
  qt6-base-dev libgl-dev libcli11-dev help2man
  fonts-wine fonts-liberation fonts-liberation2 fonts-dejavu-core
)
test=(
  qt6-base-dev-tools clang libclang-rt-14-dev llvm-14 clang-format-14
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth imagemagick xdotool x11-utils pkg-config libxcb1-dev
  dpkg-dev lintian appstream
)

case "${1:-test}" in
  run) fenwake_require_packages "${run[@]}" ;;
  test) fenwake_require_packages "${run[@]}" "${test[@]}" ;;
  *) echo "usage: install-deps.sh [run|test]" >&2; exit 2 ;;
esac
