#!/usr/bin/env bash
# The window program's --version and --help with no display at all: they
# answer before Qt and before the instance lock, and leave no file behind
# in the working folder, the home, the data folder or the lock's folder.
set -u
exe=$1
version=$2
source "$(dirname "$0")/lib.sh"

unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export HOME=$work/home XDG_STATE_HOME=$work/state XDG_CONFIG_HOME=$work/config
mkdir -p "$HOME" "$work/here"
cp "$(dirname "$0")/../../samples/game/System/"*.ini "$work/here/"
before=$(cd "$work" && find . | sort)

cd "$work/here"
out=$("$exe" --version) || fail "fenwake --version exited with $?"
[ "$out" = "Fenwake $version" ] || fail "fenwake --version printed: $out"
help=$("$exe" --help) || fail "fenwake --help exited with $?"
for word in User.ini DeusEx.ini Steam --version; do
  grep -qF -- "$word" <<<"$help" || fail "fenwake --help does not name $word"
done
grep -qF '.\' <<<"$help" && fail "fenwake --help names a file the Windows way"

after=$(cd "$work" && find . | sort)
[ "$before" = "$after" ] || fail "files were made: $(diff <(echo "$before") <(echo "$after") | grep '^>')"
echo "command line: 1 passed, 0 failed"
