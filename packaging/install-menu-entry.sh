#!/bin/sh
# Puts Fenwake from this folder into your programs menu: its menu entry and
# icon go into ~/.local/share (or $XDG_DATA_HOME), the entry starting the
# fenwake beside this script. Run it again after moving the folder.
#
#   ./install-menu-entry.sh           add the menu entry
#   ./install-menu-entry.sh --remove  take it away again
set -eu

case ${1-} in
  "") remove=no ;;
  --remove) remove=yes ;;
  *)
    echo "usage: $0 [--remove]" >&2
    exit 2
    ;;
esac

here=$(cd "$(dirname "$0")" && pwd -P)
data=${XDG_DATA_HOME:-${HOME:?HOME is not set}/.local/share}
program=$here/fenwake
[ -x "$program" ] || {
  echo "error: $program is missing; run this script from the unpacked archive" >&2
  exit 1
}

# GLib's menus cannot start a program whose path holds % or \, however the
# Exec line escapes them.
case $program in
  *%* | *\\*)
    echo "error: move this folder to a path without % or \\ in it: $here" >&2
    exit 1
    ;;
esac

# An argument of a desktop entry's Exec line: quoted, with " ` $ escaped as
# the desktop entry rules ask (each escape's \ doubled, the line being a string).
exec_argument() {
  printf '"%s"' "$(printf '%s' "$1" | sed 's/["`$]/\\\\&/g')"
}

found=no
for entry in "$here"/share/applications/*.desktop; do
  [ -f "$entry" ] || continue
  found=yes
  target=$data/applications/${entry##*/}
  icon_name=$(sed -n 's/^Icon=//p' "$entry" | head -n 1)

  icon=
  for file in "$here"/share/icons/hicolor/*/apps/"$icon_name".*; do
    [ -f "$file" ] || continue
    installed=$data/${file#"$here"/share/}
    if [ "$remove" = yes ]; then
      rm -f "$installed"
      continue
    fi
    mkdir -p "$(dirname "$installed")"
    cp "$file" "$installed"
    # The drawing that scales; otherwise the first found.
    case $file in
      */scalable/*) icon=$installed ;;
      *) [ -n "$icon" ] || icon=$installed ;;
    esac
  done

  if [ "$remove" = yes ]; then
    rm -f "$target"
    echo "Removed $target"
    continue
  fi

  mkdir -p "$data/applications"
  # The program's own arguments on the Exec line stay.
  FENWAKE_EXEC="Exec=$(exec_argument "$program")$(sed -n 's/^Exec=[^ ]*//p' "$entry" | head -n 1)" \
    FENWAKE_TRYEXEC="TryExec=$program" \
    FENWAKE_ICON="Icon=${icon:-$icon_name}" \
    awk '/^Exec=/ { print ENVIRON["FENWAKE_EXEC"]; next }
         /^TryExec=/ { print ENVIRON["FENWAKE_TRYEXEC"]; next }
         /^Icon=/ { print ENVIRON["FENWAKE_ICON"]; next }
         { print }' "$entry" >"$target.new"
  mv "$target.new" "$target"
  echo "Added $target"
done

[ "$found" = yes ] || {
  echo "error: no menu entry in $here/share/applications" >&2
  exit 1
}
