#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Usage: scripts/check-spdx.sh
# Every file of the project's own that can carry a comment names its licence
# in an SPDX line near its top; lists those that do not.
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
while IFS= read -r -d '' f; do
  head -n 5 "$f" | grep -q 'SPDX-License-Identifier: GPL-2.0-or-later' || missing+=("$f")
done < <(git ls-files -z -- \
  '*.cpp' '*.h' '*.sh' 'CMakeLists.txt' '*/CMakeLists.txt' '*.cmake' \
  '*.xml' '*.xml.in' '*.1' '*.desktop' '.ci/run' 'scripts/*' 'tools/*')

if [ ${#missing[@]} -gt 0 ]; then
  echo "check-spdx: ${#missing[@]} files lack 'SPDX-License-Identifier: GPL-2.0-or-later' in their first lines:" >&2
  printf '  %s\n' "${missing[@]}" >&2
  exit 1
fi
echo "check-spdx: every source file names its licence"
