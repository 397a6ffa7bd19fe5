#!/usr/bin/env bash
# Checks that includes run one way only: each folder of src/ may include its
# own headers and those of the folders below it, and the Qt-free folders no
# Qt at all. The same order as the libraries' links in src/*/CMakeLists.txt.
set -euo pipefail
cd "$(dirname "$0")/.."

# folder: the folders it may include from (besides itself)
declare -A allowed=(
  [config]=""
  [rules]="config"
  [shell]="config"
  [cli]="config rules"
  [ui]="config"
  [pages]="config rules ui"
  [app]="config rules shell ui pages"
)
qt_free="config rules shell cli"

violations=0
checked=0
for folder in "${!allowed[@]}"; do
  ok=" $folder ${allowed[$folder]} "
  while IFS= read -r file; do
    checked=$((checked + 1))
    while IFS= read -r line; do
      target=${line#*\"}
      target=${target%%/*}
      if [[ $ok != *" $target "* ]]; then
        echo "layer: $file includes $target/ ($line)"
        violations=$((violations + 1))
      fi
    done < <(grep -E '^#include "[a-z]+/' "$file" || true)
    if [[ " $qt_free " == *" $folder "* ]] && grep -qE '^#include <Q' "$file"; then
      echo "layer: $file is Qt-free but includes Qt: $(grep -m1 -E '^#include <Q' "$file")"
      violations=$((violations + 1))
    fi
  done < <(git ls-files -co --exclude-standard "src/$folder" | grep -E '\.(cpp|h)$')
done
echo "layers: $checked files checked, $violations includes against the layer order"
[ "$violations" -eq 0 ]
