#!/usr/bin/env bash
# Packs the portable Linux archive dist/Fenwake-<version>-linux-x86_64.tar.gz
# for players whose system installs no .deb (Steam Deck, Arch, Fedora): one
# folder with what the CMake install rules install (the programs, the menu
# entry, the icon, the manual pages), Qt's libraries and the plugins the
# window loads, and every library that any of these needs beyond the base of
# packaging/linux-base.txt. Each finds the others through its RPATH
# ($ORIGIN/...), so no wrapper script is needed.
#
#   package-linux.sh [BUILD_DIR]
#
# Without BUILD_DIR it builds Release without tests into build/linux; with
# it, it packs that configured Release build (scripts/release.sh packs the
# Debian package's build). Prints the archive's path as its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
source scripts/lib-deps.sh

if [ $# -ge 1 ]; then
  build=$(cd "$1" && pwd)
else
  bash scripts/install-deps.sh run
  build=$root/build/linux
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFENWAKE_TESTS=OFF -DFENWAKE_GUI=ON >/dev/null
  cmake --build "$build" -j "$(nproc)"
fi
fenwake_require_packages patchelf binutils qt6-base-dev-tools

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "error: $build is not a configured build" >&2; exit 1; }
name=Fenwake-$version-linux-x86_64
stage=$build/package/$name
rm -rf "$stage"
mkdir -p "$root/dist"

# What the install rules install, the programs at the top of the folder.
cmake --install "$build" --prefix "$stage" --strip >/dev/null
mv "$stage"/bin/* "$stage/"
rmdir "$stage/bin"
install -m 755 packaging/install-menu-entry.sh "$stage/"

# The plugins are loaded at run time, so nothing names them: the X11 and
# offscreen platforms, GL on X11, typing accents and through input methods,
# the image formats and, when Qt has them, the icon engines (SVG icons).
qt_plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS)
plugins=(platforms/libqxcb.so platforms/libqoffscreen.so xcbglintegrations platforminputcontexts imageformats)
[ -d "$qt_plugins/iconengines" ] && plugins+=(iconengines)
for p in "${plugins[@]}"; do
  [ -e "$qt_plugins/$p" ] || { echo "error: Qt's plugin $qt_plugins/$p is missing" >&2; exit 1; }
  mkdir -p "$stage/plugins/$(dirname "$p")"
  cp -r "$qt_plugins/$p" "$stage/plugins/$(dirname "$p")/"
done
# Qt looks for its plugins where qt.conf says, not where Debian put them.
printf '[Paths]\nPrefix = .\nPlugins = plugins\n' >"$stage/qt.conf"

declare -A base=()
for soname in $(sed -e 's/#.*//' packaging/linux-base.txt | awk '{ for (i = 2; i <= NF; i++) print $i }'); do
  base[$soname]=1
done

elf_files() { # every ELF file under the folder
  find "$1" -type f -exec sh -c 'head -c 4 "$1" | grep -q "^.ELF"' _ {} \; -print | sort
}

# Every library needed, level by level; what a base library needs in turn is
# the system's business.
mkdir -p "$stage/lib"
mapfile -t queue < <(elf_files "$stage")
declare -A seen=()
while [ ${#queue[@]} -gt 0 ]; do
  file=${queue[0]}
  queue=("${queue[@]:1}")
  declare -A where=()
  while read -r soname _ path _; do
    where[$soname]=$path
  done < <(ldd "$file" | grep '=>')
  for soname in $(objdump -p "$file" | awk '$1 == "NEEDED" { print $2 }'); do
    [ -n "${base[$soname]:-}" ] || [ -n "${seen[$soname]:-}" ] && continue
    seen[$soname]=1
    path=${where[$soname]:-not}
    [ -f "$path" ] || { echo "error: $file needs $soname, which is not found" >&2; exit 1; }
    cp -L "$path" "$stage/lib/$soname"
    queue+=("$stage/lib/$soname")
  done
  unset where
done

# RPATH rather than RUNPATH: it goes before LD_LIBRARY_PATH (Steam sets one
# for what it starts) and holds for the libraries the program loads too.
# Files that need nothing from lib/ are left as they were built.
while read -r file; do
  objdump -p "$file" | awk '$1 == "NEEDED" { print $2 }' | grep -qxFf <(ls "$stage/lib") || continue
  case ${file#"$stage"/} in
    lib/*) rpath='$ORIGIN' ;;
    plugins/*) rpath='$ORIGIN/../../lib' ;;
    *) rpath='$ORIGIN/lib' ;;
  esac
  chmod u+w "$file"
  patchelf --force-rpath --set-rpath "$rpath" "$file"
done < <(elf_files "$stage")

# The oldest C library the archive runs with: what README.txt promises.
glibc_floor=2.36
glibc=$(elf_files "$stage" | xargs -d "\n" objdump -T | grep -o 'GLIBC_[0-9.]*' | sed 's/GLIBC_//' | sort -uV | tail -1)
if [ "$(printf '%s\n%s\n' "$glibc" "$glibc_floor" | sort -V | tail -1)" != "$glibc_floor" ]; then
  echo "error: the archive needs glibc $glibc, newer than the $glibc_floor its README.txt names" >&2
  exit 1
fi

compgen -G "$stage/share/applications/*.desktop" >/dev/null ||
  { echo "error: the install rules installed no menu entry" >&2; exit 1; }
title="Fenwake $version for Linux (x86_64)"
cat >"$stage/README.txt" <<EOF
$title
${title//?/=}

Fenwake edits the key bindings and the forty command aliases of Deus Ex
multiplayer in the game's User.ini, in place, leaving everything else as it
was. It finds Deus Ex in Steam (also under Proton, as on the Steam Deck) and
in Wine prefixes by itself.

Minimum system
  An x86_64 Linux with glibc $glibc_floor or newer (SteamOS 3.5 and later,
  Fedora 37+, Arch, Ubuntu 23.04+, Debian 12) and an X11 desktop (or
  XWayland): X11 and xcb with the xcb-util and xkbcommon libraries, libSM
  and libICE, GL, fontconfig, freetype and glib, which every desktop has.
  Qt and every other library Fenwake needs are in this folder.

Starting
  Unpack the archive anywhere in your home folder and start "fenwake" in it.
  To have Fenwake in your programs menu, run
      ./install-menu-entry.sh
  in this folder (again after moving it); "./install-menu-entry.sh --remove"
  takes the entry away. Started from the menu, Fenwake shows the Deus Ex
  installs it found and opens the one you choose.

  On a Steam Deck: switch to Desktop Mode (Steam button, Power, Switch to
  Desktop), download the archive, open it in Dolphin and extract it into
  your home folder, then open the folder, right-click in it, "Open Terminal
  Here", and run ./install-menu-entry.sh. Fenwake is then in the
  application launcher under Games.

fenwake-cli does the same from a terminal: "./fenwake-cli --help" lists what
it can do (list and set bindings and aliases, export your binding set to
share it, import a friend's, undo). The manual pages are in share/man/man1.

On its first run in a game folder Fenwake copies User.ini and DeusEx.ini to
user.ini_Bak and DeusEx.ini_Bak; "Reset key bindings to previous state" puts
both back.

Removing
  Run "./install-menu-entry.sh --remove", then delete this folder. Fenwake's
  history of changes is in ~/.local/state/fenwake.

The files of this archive:
$(cd "$stage" && find . -type f ! -name README.txt | sed 's|^\./|  |' | sort)
  README.txt
EOF

archive=$root/dist/$name.tar.gz
rm -f "$archive"
tar -C "$stage/.." --sort=name --owner=0 --group=0 --numeric-owner -czf "$archive" "$name"
echo "$name.tar.gz: $(du -k "$archive" | cut -f1) KiB, $(find "$stage" -type f | wc -l) files, $(ls "$stage/lib" | wc -l) libraries"
realpath "$archive"
