# Sourced by the process tests that run under Xvfb: a work folder removed at
# the end with every program started (record their ids in pids), the
# failure message, waits for windows by title, and a player's home with
# Deus Ex in Steam.
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

count_windows() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }
# Up to 15 s: a loaded machine takes its time to map a first window.
wait_for_windows() { # name count
  for _ in $(seq 150); do
    [ "$(count_windows "$1")" -ge "$2" ] && return 0
    sleep 0.1
  done
  return 1
}

# A home whose Steam runs Deus Ex through Proton with Kentie's launcher: the
# game folder holds the sample files, the prefix's Documents the User.ini
# the game reads. Sets steam_game and steam_live to the two folders.
make_steam_home() { # home samples [the home as the programs see it, in a chroot]
  local steam=$1/.local/share/Steam/steamapps
  steam_game="$steam/common/Deus Ex/System"
  steam_live="$steam/compatdata/6910/pfx/drive_c/users/steamuser/Documents/Deus Ex/System"
  mkdir -p "$steam_game" "$steam_live"
  printf '"libraryfolders"\n{\n\t"0"\n\t{\n\t\t"path"\t\t"%s"\n\t}\n}\n' "${3:-$1}/.local/share/Steam" \
    >"$steam/libraryfolders.vdf"
  touch "$steam_game/DeusEx.exe" "$steam_game/DeusExe.exe"
  cp "$2"/*.ini "$steam_game/"
  cp "$2/User.ini" "$steam_live/"
}

# Takes the first install the chooser offers and waits for the window on it.
choose_first_install() {
  wait_for_windows "^Fenwake$" 1 || fail "no choice of installs was offered"
  xdotool windowfocus --sync "$(xdotool search --onlyvisible --name "^Fenwake$" | head -1)" key Return
  wait_for_windows "Fenwake Version" 1 || fail "the window did not open on the chosen install"
}
