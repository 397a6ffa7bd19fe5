#!/usr/bin/env bash
# Cross-builds the small Qt that the Windows build of Fenwake needs (Core,
# Gui, Widgets, Test; the windows and offscreen platform plugins and the
# Windows style) from Debian's own qt6-base source, with mingw-w64, and
# installs it into a cache outside the clone. The cache folder is named after
# the recipe, so a changed recipe builds anew and an unchanged one is reused.
#
#   FENWAKE_QT_CACHE  parent folder of the cached builds (/var/cache/fenwake)
#
# Prints the Qt prefix as its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
source scripts/lib-deps.sh

cache_parent=${FENWAKE_QT_CACHE:-/var/cache/fenwake}

# The recipe: everything that changes what is built. Tablet support is off:
# Debian's tarball leaves out the wintab headers it needs, and a key binding
# tool has no use for pen pressure.
options=(
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DQT_GENERATE_SBOM=OFF
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF
  -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
  -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_vulkan=OFF
  -DFEATURE_jpeg=OFF -DFEATURE_icu=OFF -DFEATURE_zstd=OFF
  -DFEATURE_tabletevent=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF
  -DFEATURE_system_doubleconversion=OFF
)
fenwake_require_packages dpkg-dev cmake ninja-build perl \
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
  qt6-base-dev qt6-base-dev-tools
# The same source as the host's Qt, whose tools (moc, rcc, uic) the cross
# build runs.
qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)

recipe="qt6-base $qt_version | $(x86_64-w64-mingw32-g++-posix --version 2>/dev/null | head -1) | ${options[*]}"
key=$(printf '%s' "$recipe" | sha256sum | cut -c1-12)
prefix=$cache_parent/qt-${qt_version%%+*}-mingw-$key

if [ -f "$prefix/.complete" ]; then
  echo "Qt for Windows is cached in $prefix"
  echo "$prefix"
  exit 0
fi

# Debian's source package comes through apt's own source mechanism: enable
# deb-src for the mirrors the machine already uses.
if ! apt-get source --print-uris "qt6-base=$qt_version" >/dev/null 2>&1; then
  list=/etc/apt/sources.list.d/fenwake-deb-src.sources
  {
    for f in /etc/apt/sources.list.d/*.sources; do
      [ "$f" = "$list" ] && continue
      grep -q '^Types:.*\bdeb\b' "$f" || continue
      sed -e 's/^Types:.*/Types: deb-src/' "$f"
      echo
    done
    if [ -f /etc/apt/sources.list ]; then
      grep -E '^deb ' /etc/apt/sources.list | sed -e 's/^deb /deb-src /' |
        while read -r line; do
          # One-line entries become a stanza with the same fields.
          set -- $line
          shift
          opts=""
          if [[ $1 == \[* ]]; then opts=$1; shift; fi
          uri=$1; suite=$2; shift 2
          printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: %s\n\n' "$uri" "$suite" "$*"
        done
    fi
  } | fenwake_as_root tee "$list" >/dev/null
  fenwake_as_root apt-get update -qq
fi

echo "Building Qt for Windows into $prefix (about half an hour on two cores)"
work=$cache_parent/work-$key
fenwake_as_root mkdir -p "$cache_parent"
fenwake_as_root chown "$(id -u):$(id -g)" "$cache_parent"
rm -rf "$work"
mkdir -p "$work"
start=$SECONDS
(cd "$work" && apt-get source -qq --download-only "qt6-base=$qt_version" >/dev/null &&
  dpkg-source -x ./*.dsc src >/dev/null)

cmake -S "$work/src" -B "$work/build" -G Ninja \
  -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=x86_64 \
  -DCMAKE_C_COMPILER=x86_64-w64-mingw32-gcc-posix \
  -DCMAKE_CXX_COMPILER=x86_64-w64-mingw32-g++-posix \
  -DCMAKE_RC_COMPILER=x86_64-w64-mingw32-windres \
  -DCMAKE_FIND_ROOT_PATH=/usr/x86_64-w64-mingw32 \
  -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER \
  -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY \
  -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY \
  -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  "${options[@]}" >"$work/configure.log"
# Qt's own warnings run to thousands of lines: keep them out of the test log,
# and say about once a minute how far the build is, from ninja's [done/all]
# lines. On standard error: callers keep standard output for the prefix.
report_progress() {
  local log=$1 last="" step finished total
  while sleep 60 && kill -0 $$ 2>/dev/null; do # ends with the script, however it ends
    step=$(tail -c 65536 "$log" 2>/dev/null | grep -ao '^\[[0-9]\+/[0-9]\+\]' | tail -1 || true)
    [ -n "$step" ] && [ "$step" != "$last" ] || continue
    last=$step
    step=${step#[}
    finished=${step%/*}
    total=${step#*/}
    total=${total%]}
    echo "Qt build: $finished of $total steps ($((finished * 100 / total))%)" \
      "after $(((SECONDS - start) / 60)) min" >&2
  done
}
report_progress "$work/build.log" &
progress=$!
if ! cmake --build "$work/build" -j "$(nproc)" >"$work/build.log" 2>&1; then
  kill "$progress" 2>/dev/null || true
  grep -B2 -A10 -m5 'error' "$work/build.log" || tail -50 "$work/build.log"
  echo "error: the Qt build failed; its log is $work/build.log" >&2
  exit 1
fi
kill "$progress" 2>/dev/null || true
rm -rf "$prefix"
cmake --install "$work/build" >/dev/null
printf '%s\n' "$recipe" >"$prefix/.complete"
rm -rf "$work"
echo "Qt for Windows built in $((SECONDS - start)) s: $prefix ($(du -sh "$prefix" | cut -f1))"
echo "$prefix"
