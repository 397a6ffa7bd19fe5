#!/usr/bin/env bash
# Runs under Xvfb: the Debian package unpacked, its menu entry's command
# started as the menu starts it (in the home folder) for a player whose
# Steam runs Deus Ex through Proton with Kentie's launcher. The program must
# find the game, offer it, and open the settings the game reads.
set -u
deb=$1
samples=$2
source "$(dirname "$0")/lib.sh"

dpkg-deb -x "$deb" "$work/root" || fail "cannot unpack $deb"
entry=$work/root/usr/share/applications/org.fenwake.Fenwake.desktop
[ -f "$entry" ] || fail "no menu entry"
command=$(sed -n 's/^Exec=//p' "$entry")

# The manual pages are made from the programs' help, every command included.
page() { zcat "$work/root/usr/share/man/man1/$1.1.gz" | sed 's/\\-/-/g'; }
for word in where check history reapply undo --allow-risky --keep-secrets; do
  page fenwake-cli | grep -q -- "$word" || fail "fenwake-cli(1) lacks $word"
done
page fenwake | grep -q -- "--version" || fail "fenwake(1) lacks --version"

export HOME=$work/home
make_steam_home "$HOME" "$samples"
live=$steam_live

# The terminal tool names the folder the game reads.
(cd "$HOME" && PATH=$work/root/usr/bin:$PATH fenwake-cli where --tsv) >"$work/where" || fail "fenwake-cli where failed"
grep -qF "$live" "$work/where" || fail "fenwake-cli where does not name $live: $(cat "$work/where")"

(cd "$HOME" && PATH=$work/root/usr/bin:$PATH exec $command) &
pids+=("$!")
choose_first_install
[ -f "$live/DeusEx.ini" ] || fail "the settings the game reads were not the ones opened"
[ -z "$(ls -A "$HOME" | grep -v '^\.local$')" ] || fail "files were left in the home folder: $(ls -A "$HOME")"
echo "debian package: 1 passed, 0 failed"
