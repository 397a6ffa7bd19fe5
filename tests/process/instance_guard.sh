#!/usr/bin/env bash
# Runs under Xvfb: a second copy from the same path shows "Information" and
# exits 0 once it is dismissed, while the first keeps running; a copy from
# another path runs beside it.
set -u
exe=$1
samples=$2
source "$(dirname "$0")/lib.sh"

mkdir -p "$work/a" "$work/b" "$work/game1" "$work/game2"
cp "$exe" "$work/a/fenwake"
cp "$exe" "$work/b/fenwake"
cp "$samples"/*.ini "$work/game1/"
cp "$samples"/*.ini "$work/game2/"

(cd "$work/game1" && exec "$work/a/fenwake") &
first=$!
pids+=("$first")
wait_for_windows "Fenwake Version" 1 || fail "the first copy shows no window"

(cd "$work/game2" && exec "$work/a/fenwake") &
second=$!
pids+=("$second")
wait_for_windows "^Information$" 1 || fail "the second copy from the same path shows no Information box"
[ "$(count_windows "Fenwake Version")" -eq 1 ] || fail "the second copy opened a main window"
box=$(xdotool search --onlyvisible --name "^Information$" | head -1)
xdotool windowfocus --sync "$box" key Return
for _ in $(seq 50); do kill -0 "$second" 2>/dev/null || break; sleep 0.1; done
kill -0 "$second" 2>/dev/null && fail "the second copy did not end after the box"
wait "$second"
rc=$?
[ "$rc" -eq 0 ] || fail "the second copy exited with $rc"
kill -0 "$first" 2>/dev/null || fail "the first copy ended"

(cd "$work/game2" && exec "$work/b/fenwake") &
pids+=("$!")
wait_for_windows "Fenwake Version" 2 || fail "a copy from another path was refused"
[ "$(count_windows "^Information$")" -eq 0 ] || fail "a copy from another path showed the Information box"

echo "instance guard: 1 passed, 0 failed"
