#!/usr/bin/env bash
# Builds the Debian package for Linux players into build/deb (Release, no
# tests, with Debian's own hardening flags), makes it with CPack and checks
# it with lintian: any lintian error fails the script, warnings are shown.
# Its AppStream metadata, menu entry and icon must pass appstreamcli.
#
# Prints the package's path as its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib-deps.sh

bash scripts/install-deps.sh run
fenwake_require_packages dpkg-dev lintian appstream

build=build/deb
# All of Debian's hardening, as its own packages get it.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFENWAKE_TESTS=OFF -DFENWAKE_GUI=ON \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" -j "$(nproc)"
rm -f "$build"/fenwake_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/fenwake_*.deb)

echo "== lintian $(basename "$deb")"
status=0
report=$(lintian "$deb" 2>&1) || status=$?
[ -n "$report" ] && printf '%s\n' "$report"
if [ "$status" -ne 0 ] || grep -q '^E: ' <<<"$report"; then
  echo "error: lintian reports errors on $deb" >&2
  exit 1
fi
echo "$(du -k "$deb" | cut -f1) KB, lintian: no errors"

echo "== appstreamcli validate-tree"
tree=$build/deb-tree
rm -rf "$tree"
dpkg-deb -x "$deb" "$tree"
appstreamcli validate-tree --no-net "$tree" || { echo "error: AppStream metadata of $deb is not valid" >&2; exit 1; }
realpath "$deb"
