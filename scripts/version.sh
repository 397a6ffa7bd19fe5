#!/usr/bin/env bash
# Prints Fenwake's version: the one the top CMakeLists.txt's project() names.
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(tr '\n' ' ' <CMakeLists.txt | grep -o 'project( *Fenwake[^)]*VERSION  *[0-9.]*' | grep -o '[0-9.]*$' || true)
[ -n "$version" ] || { echo "error: CMakeLists.txt's project() names no version" >&2; exit 1; }
echo "$version"
