#!/usr/bin/env bash
# Runs as root under Xvfb: the portable Linux archive unpacked in a copy of a
# bare Debian root (scripts/linux-clean-root.sh: the base libraries of
# packaging/linux-base.txt, no Qt, no ICU). There every program and plugin
# of the archive must find each library it needs, in the archive or in the
# base; both programs must name the archive's version, fenwake-cli find the
# Steam + Proton install of the player's home, and the menu entry that
# install-menu-entry.sh writes start the window, which offers that install
# and opens the settings the game reads.
#   linux_archive.sh ARCHIVE CLEAN_ROOT SAMPLES
set -u
archive=$1
clean=$2
samples=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"

sysroot=$work/root
# The processes first, then the mount, and nothing is removed while /proc
# is still mounted inside.
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null
  if mountpoint -q "$sysroot/proc" && ! umount "$sysroot/proc"; then
    echo "NOTE: $sysroot/proc is still mounted; $work is left"; exit 1
  fi
  cleanup' EXIT

cp -a "$clean" "$sysroot" || fail "cannot copy $clean"
mount -t proc proc "$sysroot/proc" || fail "cannot mount /proc in the root"
# The player's view: a home with Steam, the archive unpacked in a folder
# whose name the menu entry must quote.
home=/home/player
mkdir -p "$sysroot$home/My Games" "$sysroot/run/player"
chmod 700 "$sysroot/run/player"
cp "${XAUTHORITY:-/dev/null}" "$sysroot/tmp/Xauthority"
tar -xzf "$archive" -C "$sysroot$home/My Games" || fail "cannot unpack $archive"
name=$(basename "$archive" .tar.gz)
dir="$home/My Games/$name"
[ -x "$sysroot$dir/fenwake" ] || fail "no fenwake at the top of $name"
make_steam_home "$sysroot$home" "$samples" "$home"
live=${steam_live#"$sysroot"}

# The player's environment inside the root.
player=(chroot "$sysroot" /usr/bin/env -i HOME=$home PATH=/usr/bin:/bin DISPLAY="$DISPLAY"
  XAUTHORITY=/tmp/Xauthority XDG_RUNTIME_DIR=/run/player)
in_root() { # command...: as the player, in the home folder
  "${player[@]}" ${XDG_DATA_HOME:+XDG_DATA_HOME=$XDG_DATA_HOME} sh -c 'cd && exec "$@"' sh "$@"
}

# Every ELF file loads from the archive or from the base, and nothing is missing.
base=" $(sed -e 's/#.*//' "$here/../../packaging/linux-base.txt" | awk '{ for (i = 2; i <= NF; i++) print $i }' | tr '\n' ' ') "
declare -A used=()
checked=0
while read -r file; do
  inside=${file#"$sysroot"}
  report=$(in_root ldd "$inside" 2>&1) || fail "ldd $inside: $report"
  # "soname => path (address)", the path maybe with spaces, or "soname => not found".
  while IFS=$'\t' read -r soname path; do
    case $path in
      "$dir"/*) continue ;;
      "not found") fail "${inside#"$dir"/} needs $soname, which is found nowhere" ;;
    esac
    [[ $base == *" $soname "* ]] || fail "${inside#"$dir"/} loads $soname from the system ($path), which is not in the base"
    used[$soname]=1
  done < <(sed -n -e 's/^[[:space:]]*\([^ ]*\) => \(.*\) (0x[0-9a-f]*)$/\1\t\2/p' \
    -e 's/^[[:space:]]*\([^ ]*\) => \(not found\)$/\1\t\2/p' <<<"$report")
  checked=$((checked + 1))
done < <(find "$sysroot$dir" -type f -exec sh -c 'head -c 4 "$1" | grep -q "^.ELF"' _ {} \; -print)
[ "$checked" -ge 4 ] || fail "only $checked programs and libraries in $name"
echo "$checked programs, plugins and libraries load from the system only: $(printf "%s\n" "${!used[@]}" | sort | tr "\n" " ")"

# Both programs name the archive's version; the terminal tool finds the game.
version=${name#Fenwake-}
version=${version%-linux-x86_64}
for program in fenwake-cli fenwake; do
  # The window's too, with no display to show one on.
  said=$(in_root env -u DISPLAY "$dir/$program" --version) || fail "$program --version failed"
  [ "$said" = "Fenwake $version" ] || fail "$program --version says \"$said\" in $name"
done
in_root "$dir/fenwake-cli" --help >/dev/null || fail "fenwake-cli --help failed"
in_root "$dir/fenwake-cli" where --tsv >"$work/where" || fail "fenwake-cli where failed"
grep -qF "$live" "$work/where" || fail "fenwake-cli where does not name $live: $(cat "$work/where")"

# The menu entry, where the player's desktop looks for it.
in_root "$dir/install-menu-entry.sh" >/dev/null || fail "install-menu-entry.sh failed"
entries=("$sysroot$home"/.local/share/applications/*.desktop)
[ ${#entries[@]} -eq 1 ] && [ -f "${entries[0]}" ] || fail "install-menu-entry.sh did not write one menu entry: ${entries[*]}"
entry=${entries[0]}
icon=$(sed -n 's/^Icon=//p' "$entry")
[[ $icon == "$home"/.local/share/icons/* ]] && [ -f "$sysroot$icon" ] || fail "the menu entry's icon $icon is not installed"
command=$(sed -n 's/^Exec=//p' "$entry")

# One process from the subshell to the window, so that its id is the window's.
(exec "${player[@]}" sh -c "cd && exec $command") &
pids+=("$!")
choose_first_install
[ -f "$sysroot$live/DeusEx.ini" ] || fail "the settings the game reads were not the ones opened"
kill "${pids[@]}" 2>/dev/null
wait 2>/dev/null
pids=()

# --remove takes away what was added; XDG_DATA_HOME moves both.
in_root "$dir/install-menu-entry.sh" --remove >/dev/null || fail "install-menu-entry.sh --remove failed"
[ -z "$(find "$sysroot$home/.local/share" -type f ! -path '*/Steam/*')" ] ||
  fail "--remove left $(find "$sysroot$home/.local/share" -type f ! -path '*/Steam/*')"
XDG_DATA_HOME=$home/data in_root "$dir/install-menu-entry.sh" >/dev/null || fail "install-menu-entry.sh failed"
[ -f "$sysroot$home/data/applications/${entry##*/}" ] || fail "XDG_DATA_HOME was not honoured"
XDG_DATA_HOME=$home/data in_root "$dir/install-menu-entry.sh" --remove >/dev/null || fail "--remove failed"
[ -z "$(find "$sysroot$home/data" -type f)" ] || fail "--remove left $(find "$sysroot$home/data" -type f)"
[ -z "$(ls -A "$sysroot$home" | grep -v -e '^\.local$' -e '^My Games$' -e '^data$')" ] ||
  fail "files were left in the home folder: $(ls -A "$sysroot$home")"
echo "linux archive: 1 passed, 0 failed"
