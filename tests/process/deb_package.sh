#!/usr/bin/env bash
# Runs under Xvfb: the Debian package unpacked, its menu entry's command
# started as the menu starts it (in the home folder) for a player whose
# Steam runs Deus Ex through Proton with Kentie's launcher. The program must
# find the game, offer it, and open the settings the game reads.
set -u
deb=$1
samples=$2
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

dpkg-deb -x "$deb" "$work/root" || fail "cannot unpack $deb"
entry=$work/root/usr/share/applications/fenwake.desktop
[ -f "$entry" ] || fail "no menu entry"
command=$(sed -n 's/^Exec=//p' "$entry")

export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
steam=$HOME/.local/share/Steam/steamapps
game="$steam/common/Deus Ex/System"
live="$steam/compatdata/6910/pfx/drive_c/users/steamuser/Documents/Deus Ex/System"
mkdir -p "$game" "$live"
printf '"libraryfolders"\n{\n\t"0"\n\t{\n\t\t"path"\t\t"%s"\n\t}\n}\n' "$HOME/.local/share/Steam" >"$steam/libraryfolders.vdf"
touch "$game/DeusEx.exe" "$game/DeusExe.exe"
cp "$samples"/*.ini "$game/"
cp "$samples/User.ini" "$live/"

# The terminal tool names the folder the game reads.
(cd "$HOME" && PATH=$work/root/usr/bin:$PATH fenwake-cli where --tsv) >"$work/where" || fail "fenwake-cli where failed"
grep -qF "$live" "$work/where" || fail "fenwake-cli where does not name $live: $(cat "$work/where")"

count_windows() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }
wait_for_window() {
  for _ in $(seq 150); do
    [ "$(count_windows "$1")" -ge 1 ] && return 0
    sleep 0.1
  done
  return 1
}

(cd "$HOME" && PATH=$work/root/usr/bin:$PATH exec $command) &
pids+=("$!")
wait_for_window "^Fenwake$" || fail "no choice of installs was offered"
chooser=$(xdotool search --onlyvisible --name "^Fenwake$" | head -1)
xdotool windowfocus --sync "$chooser" key Return
wait_for_window "Fenwake Version" || fail "the window did not open on the chosen install"
[ -f "$live/DeusEx.ini" ] || fail "the settings the game reads were not the ones opened"
[ -z "$(ls -A "$HOME" | grep -v '^\.local$')" ] || fail "files were left in the home folder: $(ls -A "$HOME")"
echo "debian package: 1 passed, 0 failed"
