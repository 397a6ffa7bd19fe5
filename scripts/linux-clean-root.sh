#!/usr/bin/env bash
# Makes a bare Debian 12 root for testing the portable Linux archive:
# `debootstrap --variant=minbase` plus the base packages of
# packaging/linux-base.txt and nothing else. The GL packages pull in ICU
# through Mesa's LLVM; it is taken out again, so that a Qt that needs it can
# only find the archive's. The root is cached outside the clone in a folder
# named after a hash of this recipe: a changed recipe makes a new one, an
# unchanged one is reused. Tests work on a copy of it.
#
#   FENWAKE_ROOT_CACHE  parent folder of the cached roots (/var/cache/fenwake)
#
# Needs root. Prints the root's path as its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib-deps.sh

cache_parent=${FENWAKE_ROOT_CACHE:-/var/cache/fenwake}
suite=bookworm
base=$(sed -e 's/#.*//' packaging/linux-base.txt | awk 'NF {print $1}' | sort -u | tr '\n' ' ')
purge="libicu72"

[ "$(id -u)" -eq 0 ] || { echo "error: making a Debian root with debootstrap needs root" >&2; exit 1; }
fenwake_require_packages debootstrap

# The mirror apt already uses for this suite: no other is reachable.
mirror=$(
  {
    cat /etc/apt/sources.list.d/*.sources 2>/dev/null || true
    echo
    # One-line entries as stanzas.
    sed -n 's/^deb \(\[[^]]*\] \)\?\([^ ]*\) \([^ ]*\) .*/URIs: \2\nSuites: \3\n/p' /etc/apt/sources.list 2>/dev/null || true
  } | awk -v suite="$suite" '
    /^URIs:/ { uri = $2 }
    /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == suite && uri != "" && found == "") found = uri }
    /^$/ { uri = "" }
    END { print found }'
)
[ -n "$mirror" ] || { echo "error: apt has no mirror for Debian $suite" >&2; exit 1; }

recipe="$(debootstrap --version) | $suite minbase | base: $base| purged: $purge"
key=$(printf '%s' "$recipe" | sha256sum | cut -c1-12)
root=$cache_parent/debian-$suite-base-$key

if [ -f "$root/.complete" ]; then
  echo "The bare Debian root is cached in $root"
  echo "$root"
  exit 0
fi

echo "Making a bare Debian root in $root from $mirror (a few minutes)"
rm -rf "$root"
mkdir -p "$cache_parent"
# shellcheck disable=SC2086 # the lists are words
debootstrap --variant=minbase --include="$(tr ' ' ',' <<<"${base% }")" "$suite" "$root" "$mirror" >"$root.log" 2>&1 ||
  { tail -20 "$root.log"; echo "error: debootstrap failed (log: $root.log)" >&2; exit 1; }
# Removed alone: what depends on it stays, as on a system without it.
chroot "$root" dpkg --purge --force-depends $purge >>"$root.log" 2>&1
chroot "$root" apt-get clean
rm -rf "$root"/var/lib/apt/lists/*
if chroot "$root" sh -c 'ls /usr/lib/x86_64-linux-gnu/libicu*' >/dev/null 2>&1; then
  echo "error: ICU is still in $root" >&2
  exit 1
fi
printf '%s\n' "$recipe" >"$root/.complete"
rm -f "$root.log"
# Roots of earlier recipes are of no further use.
for old in "$cache_parent"/debian-$suite-base-*; do
  [ "$old" = "$root" ] || [ ! -d "$old" ] || rm -rf "$old"
done
echo "$root"
