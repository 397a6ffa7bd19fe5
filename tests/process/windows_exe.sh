#!/usr/bin/env bash
# Runs the Windows program from its program folder under Wine on a real X
# server (xvfb-run): it carries its icon, starts on a copy of the sample game
# folder with its caption, a second copy from the same path shows
# "Information" and ends, and a confirmed close leaves both INI files as
# they were once it had started.
#   windows_exe.sh PROGRAM_FOLDER SAMPLE_SYSTEM_FOLDER
# Needs WINEPREFIX set up and wine64 (or wine) on the PATH or in /usr/lib/wine.
set -u
program=$1
samples=$2
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=/usr/lib/wine/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
title=" Fenwake Version 1.1.1.100   Language: [English]"
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  # Ends the prefix's session while the display is still there.
  "$wineserver" -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  import -window root "$work/../fenwake-wine-failure.png" 2>/dev/null &&
    echo "screen at the failure: $(dirname "$work")/fenwake-wine-failure.png"
  exit 1
}

# Explorer and the taskbar show the program's first icon group.
x86_64-w64-mingw32-objdump -x "$program/fenwake.exe" | grep -q 'name: .*IDI_FENWAKE' ||
  fail "fenwake.exe carries no icon"

mkdir -p "$work/game"
cp "$samples"/*.ini "$work/game/"

# --version answers on its output and touches nothing, lock and window none.
version=${title# Fenwake Version }
version="Fenwake ${version%% *}"
before=$(ls -la "$work/game")
said=$(cd "$work/game" && "$wine" "$program/fenwake.exe" --version 2>/dev/null | tr -d '\r')
[ "$said" = "$version" ] || fail "fenwake.exe --version said '$said', not '$version'"
[ "$(ls -la "$work/game")" = "$before" ] || fail "fenwake.exe --version changed the folder"

windows() { xdotool search --onlyvisible --name "$1" 2>/dev/null; }
wait_for() { # name [tries of 0.2 s]
  for _ in $(seq "${2:-150}"); do
    [ -n "$(windows "$1")" ] && return 0
    sleep 0.2
  done
  return 1
}
gone() { # pid
  for _ in $(seq 100); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.2
  done
  return 1
}

(cd "$work/game" && exec "$wine" "$program/fenwake.exe") &
first=$!
pids+=("$first")
wait_for "Fenwake Version" || fail "the program shows no window"
main=$(windows "Fenwake Version" | head -1)
[ "$(xdotool getwindowname "$main")" = "$title" ] ||
  fail "caption is '$(xdotool getwindowname "$main")', not '$title'"
sleep 1 # let start-up settle before taking the files' state
cp "$work/game/User.ini" "$work/User.started"
cp "$work/game/DeusEx.ini" "$work/DeusEx.started"

(cd "$work/game" && exec "$wine" "$program/fenwake.exe") &
second=$!
pids+=("$second")
wait_for "^Information$" || fail "a second copy shows no Information box"
[ "$(windows "Fenwake Version" | wc -l)" -eq 1 ] || fail "a second copy opened a main window"
box=$(windows "^Information$" | head -1)
xdotool windowfocus --sync "$box" key --clearmodifiers Return
gone "$second" || fail "the second copy did not end after its box"
wait "$second"
rc=$?
[ "$rc" -eq 0 ] || fail "the second copy exited with $rc"
kill -0 "$first" 2>/dev/null || fail "the first copy ended with the second"

xdotool windowfocus --sync "$main" key --clearmodifiers alt+F4
wait_for "^Please confirm$" 50 || fail "closing asks no confirmation"
confirm=$(windows "^Please confirm$" | head -1)
xdotool windowfocus --sync "$confirm" key --clearmodifiers alt+y
gone "$first" || fail "the program did not end after a confirmed close"
wait "$first"
rc=$?
[ "$rc" -eq 0 ] || fail "the program exited with $rc"
cmp -s "$work/game/User.ini" "$work/User.started" || fail "User.ini changed on close"
cmp -s "$work/game/DeusEx.ini" "$work/DeusEx.started" || fail "DeusEx.ini changed on close"

echo "windows program: 1 passed, 0 failed"
