#!/usr/bin/env bash
# Builds Fenwake and starts it on a copy of the bundled sample game folder,
# so the samples in the repository never change.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/plain -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/plain -j "$(nproc)" --target fenwake
game=$(mktemp -d)/DeusEx
cp -r samples/game "$game"
echo "Sample game folder: $game"
cd "$game/System"
exec "$OLDPWD/build/plain/fenwake"
