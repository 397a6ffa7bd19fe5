#!/usr/bin/env bash
# Packs the Windows build into dist/Fenwake-<version>-win64.zip: the stripped
# fenwake.exe and fenwake-cli.exe, the Qt plugins the window loads, and every
# DLL that they import from Qt or the mingw runtime, found by reading the
# imports.
#   package-windows.sh BUILD_DIR QT_PREFIX
# Prints the zip's path as its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$(cd "$1" && pwd)
qt=$2
triple=x86_64-w64-mingw32

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "error: $build is not a configured build" >&2; exit 1; }
name=Fenwake-$version-win64
stage=$build/package/$name
rm -rf "$stage"
mkdir -p "$stage" "$root/dist"

# The plugins are loaded at run time, so no import names them.
plugins=(platforms/qwindows.dll styles/qwindowsvistastyle.dll)

# Where imported DLLs come from; anything else is part of Windows.
search=("$qt/bin")
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
  search+=("$(dirname "$("$triple-g++-posix" -print-file-name=$dll)")")
done

find_dll() { # name, matched without regard to case as Windows does
  local dir hit
  for dir in "${search[@]}"; do
    hit=$(find "$dir" -maxdepth 1 -iname "$1" -print -quit 2>/dev/null)
    [ -n "$hit" ] && { echo "$hit"; return 0; }
  done
  return 1
}

queue=("$build/fenwake.exe" "$build/src/cli/fenwake-cli.exe")
cp "${queue[@]}" "$stage/"
for p in "${plugins[@]}"; do
  mkdir -p "$stage/$(dirname "$p")"
  cp "$qt/plugins/$p" "$stage/$p"
  queue+=("$qt/plugins/$p")
done
declare -A seen=()
while [ ${#queue[@]} -gt 0 ]; do
  file=${queue[0]}
  queue=("${queue[@]:1}")
  while read -r dll; do
    key=${dll,,}
    [ -n "${seen[$key]:-}" ] && continue
    seen[$key]=1
    if path=$(find_dll "$dll"); then
      cp "$path" "$stage/"
      queue+=("$path")
    fi
  done < <("$triple-objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p')
done
find "$stage" -iname '*.exe' -o -iname '*.dll' | xargs "$triple-strip" --strip-unneeded

cat >"$stage/README.txt" <<EOF
Fenwake $version for Windows
============================

Fenwake edits the key bindings and the forty command aliases of Deus Ex
multiplayer in the game's User.ini, in place, leaving everything else as it was.

Installing
  Unzip everything in this archive into the game's System folder (the folder
  that holds DeusEx.exe, DeusEx.ini and User.ini), keeping the "platforms" and
  "styles" folders as they are.

Starting
  Start fenwake.exe from the System folder. Fenwake always works on the INI
  files of the folder it is started in; "Make Shortcut in... >>" puts a
  shortcut on the desktop or in the Start menu that does that for you.

fenwake-cli.exe does the same from a command prompt in the System folder:
"fenwake-cli --help" lists what it can do (list and set bindings and aliases,
export your binding set to share it, import a friend's, undo).

On its first run Fenwake copies User.ini and DeusEx.ini to user.ini_Bak and
DeusEx.ini_Bak; "Reset key bindings to previous state" puts both back.

Removing
  Delete the files that came in this archive (listed below) and, if you like,
  CommandsList_def.txt and the two _Bak files. The game's own files stay.

The files of this archive:
$(cd "$stage" && find . -type f ! -name README.txt | sed 's|^\./|  |; s|/|\\|g' | sort)
  README.txt
EOF
# Windows line endings for Notepad.
sed -i 's/$/\r/' "$stage/README.txt"

zip=$root/dist/$name.zip
rm -f "$zip"
(cd "$stage" && cmake -E tar cf "$zip" --format=zip -- *)
echo "$name.zip: $(du -k "$zip" | cut -f1) KiB, $(find "$stage" -type f | wc -l) files"
echo "$zip"
