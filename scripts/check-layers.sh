#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Usage: scripts/check-layers.sh
# Each folder of src/ includes only from the layers below it (and itself):
# static libraries that link each other hide a header reached from the wrong
# side, so the includes are checked here rather than left to the linker.
# The windows' folders may include any layer and are not listed.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A allowed=(
  [model]="model"
  [library]="model library"
  [platform]="model platform"
  [pictures]="model platform pictures"
  [discs]="model library platform pictures discs"
  [export]="model platform pictures export"
)
layers="model library platform pictures discs export startup viewer editor description dialogs"

problems=()
for folder in "${!allowed[@]}"; do
  while IFS=: read -r file line text; do
    included=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([a-z_]+)\/.*/\1/' <<<"$text")
    [[ " $layers " == *" $included "* ]] || continue
    [[ " ${allowed[$folder]} " == *" $included "* ]] || problems+=("$file:$line: $folder includes $included/")
  done < <(grep -rnE --include="*.cpp" --include="*.h" '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z_]+/' "src/$folder" || true)
  # The two plain layers are read by tools and fuzzers without a display.
  if [ "$folder" = model ] || [ "$folder" = library ]; then
    while IFS= read -r hit; do
      problems+=("$hit: $folder is plain C++ and includes Qt")
    done < <(grep -rnE --include="*.cpp" --include="*.h" '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "src/$folder" | cut -d: -f1,2 || true)
  fi
done

if [ ${#problems[@]} -gt 0 ]; then
  echo "check-layers: ${#problems[@]} includes cross the layers:" >&2
  printf '  %s\n' "${problems[@]}" >&2
  exit 1
fi
echo "check-layers: every folder of src/ includes only the layers below it"
