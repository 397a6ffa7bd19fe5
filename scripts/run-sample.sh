#!/usr/bin/env bash
# Builds Fenwake and starts it on a copy of the bundled sample game folder,
# made anew at each start under build/, so the samples in the repository
# never change.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/install-deps.sh run
cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=Release -DFENWAKE_TESTS=OFF >/dev/null
cmake --build build/run -j "$(nproc)" --target fenwake fenwake-cli
game=$root/build/sample-game
rm -rf "$game"
cp -r samples/game "$game"
echo "Sample game folder (reset at each start): $game"
cd "$game/System"
exec "$root/build/run/fenwake"
