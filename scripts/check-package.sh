#!/usr/bin/env bash
# Usage: scripts/check-package.sh BUILD_DIR
# Builds the Debian package in BUILD_DIR (a configured build folder) and looks
# at it as a Debian system would: files in their places, a valid desktop
# entry, the packages the program loads by name among its dependencies, and
# the unpacked program starting on the demo listing.
set -euo pipefail
build=$(realpath "${1:?usage: scripts/check-package.sh BUILD_DIR}")
cd "$(dirname "$0")/.."

fail() {
  echo "check-package: $*" >&2
  exit 1
}

cpack_log=$(cd "$build" && cpack -G DEB 2>&1) || fail "cpack failed:"$'\n'"$cpack_log"
deb=$(sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p' <<<"$cpack_log")
[ -f "$deb" ] || fail "no package named in cpack's output:"$'\n'"$cpack_log"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
dpkg-deb -x "$deb" "$tmp"

# Everything in its standard place, nothing anywhere else.
files=$(cd "$tmp" && find . -type f -printf '%P\n')
stray=$(grep -Ev '^usr/(bin/[^/]+|share/applications/vitrandel\.desktop|share/icons/hicolor/[^/]+/apps/vitrandel\.(png|svg)|share/doc/vitrandel/[^/]+)$' <<<"$files" || true)
[ -z "$stray" ] || fail "files outside their places:"$'\n'"$stray"
for f in usr/bin/vitrandel usr/bin/vitrandel-lst; do
  [ -x "$tmp/$f" ] || fail "$f missing or not executable"
done
for f in usr/share/applications/vitrandel.desktop usr/share/doc/vitrandel/README.md \
         usr/share/icons/hicolor/scalable/apps/vitrandel.svg \
         usr/share/icons/hicolor/16x16/apps/vitrandel.png \
         usr/share/icons/hicolor/48x48/apps/vitrandel.png; do
  [ -f "$tmp/$f" ] || fail "$f missing"
done
for png in "$tmp"/usr/share/icons/hicolor/*x*/apps/vitrandel.png; do
  size=$(basename "$(dirname "$(dirname "$png")")")
  kind=$(file -b "$png")
  [[ $kind == "PNG image data, ${size/x/ x },"* ]] || fail "${png#"$tmp"/} is not a $size PNG: $kind"
done

entry="$tmp/usr/share/applications/vitrandel.desktop"
# Its hints count too: one says the entry would land in no menu of its own.
verdict=$(desktop-file-validate "$entry" 2>&1) && [ -z "$verdict" ] ||
  fail "the desktop entry is not clean:"$'\n'"$verdict"
exec_word=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ -x "$tmp/usr/bin/$exec_word" ] || fail "the desktop entry starts '$exec_word', not in usr/bin"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$tmp/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "the desktop entry's icon '$icon' is not in the package"

# Dependencies: the shared libraries dpkg-shlibdeps found, and what the program
# finds at run time by path or by family name.
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6widgets6 libseccomp2 libsqlite3-0 fonts-wine fonts-liberation fonts-crosextra-carlito \
         fonts-crosextra-caladea qt6-translations-l10n; do
  grep -Eq "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p: $depends"
done

# The installed programs run on a listing from a disc's root.
out=$(cd examples/demo && VITRANDEL_QUIT_AFTER_FIRST_PAINT=1 QT_QPA_PLATFORM=offscreen \
      timeout 120 "$tmp/usr/bin/vitrandel" demo.lst 2>&1) ||
  fail "the unpacked vitrandel failed on the demo listing:"$'\n'"$out"
grep -Eqx "vitrandel: first paint of ejecucion_form at [0-9]+ ns" <<<"$out" ||
  fail "the unpacked vitrandel did not show the viewer:"$'\n'"$out"
dump=$("$tmp/usr/bin/vitrandel-lst" dump examples/demo/demo.lst) &&
  [[ $dump == *'"title": "'* ]] ||
  fail "the unpacked vitrandel-lst could not read the demo listing"

echo "check-package: $(basename "$deb") passed: $(stat -c %s "$deb") bytes," \
  "$(dpkg-deb -f "$deb" Installed-Size) KiB installed"
echo "Depends: $depends"
