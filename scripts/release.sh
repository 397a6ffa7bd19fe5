#!/usr/bin/env bash
# Makes every file of a release into dist/release/<version>/: the Windows zip
# (built and tested under Wine by scripts/test-windows.sh), the Debian
# package (scripts/package-deb.sh), the portable Linux archive packed from the
# package's build (scripts/package-linux.sh), SHA256SUMS, checked once
# written, and RELEASE-NOTES.md, CHANGELOG.md's section for the version.
# Refuses to start on a tree whose tracked files have uncommitted changes, or
# when CHANGELOG.md has no "## <version>" section. Prints each file's path
# and size.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
version=$(bash scripts/version.sh)

changes=$(git status --porcelain --untracked-files=no)
if [ -n "$changes" ]; then
  printf 'error: tracked files have uncommitted changes; a release is made from a commit:\n%s\n' "$changes" >&2
  exit 1
fi
# The section runs from its heading ("## 1.2.3", "## [1.2.3] - date") to the next one.
notes=$(awk -v v="$version" '
  /^## / { if (inside) exit; h = $2; gsub(/[][]/, "", h); inside = (h == v) }
  inside' CHANGELOG.md 2>/dev/null || true)
if [ -z "$notes" ]; then
  echo "error: CHANGELOG.md has no section \"## $version\"; write what changed for players first" >&2
  exit 1
fi

mkdir -p build
echo "== Fenwake $version: the Windows zip, built and tested"
bash scripts/test-windows.sh
zip=$root/dist/Fenwake-$version-win64.zip
echo "== Debian package"
bash scripts/package-deb.sh >build/release-deb.log 2>&1 || { cat build/release-deb.log; exit 1; }
grep -E '^(== lintian|[0-9]+ KB|[EWI]: )' build/release-deb.log || true
deb=$(tail -1 build/release-deb.log)
echo "== Linux archive"
archive=$(bash scripts/package-linux.sh build/deb | tail -1)

out=$root/dist/release/$version
rm -rf "$out"
mkdir -p "$out"
for file in "$zip" "$deb" "$archive"; do
  [ -f "$file" ] || { echo "error: $file was not made" >&2; exit 1; }
  case ${file##*/} in
    *"$version"*) cp "$file" "$out/" ;;
    *) echo "error: ${file##*/} does not carry the version $version" >&2; exit 1 ;;
  esac
done
printf '%s\n' "$notes" >"$out/RELEASE-NOTES.md"
(cd "$out" && sha256sum -- *.zip *.deb *.tar.gz >SHA256SUMS && sha256sum --quiet -c SHA256SUMS) ||
  { echo "error: the checksums in $out/SHA256SUMS do not hold" >&2; exit 1; }

echo "== Release $version"
for file in "$out"/*; do
  size=$(stat -c %s "$file")
  printf '%10d bytes %7s  %s\n' "$size" "$(numfmt --to=iec-i --suffix=B "$size")" "$file"
done
