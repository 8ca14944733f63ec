#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Usage: scripts/check-package.sh BUILD_DIR
# Builds the Debian package in BUILD_DIR (a configured build folder) and looks
# at it as a Debian system would: files in their places, a valid desktop
# entry, the packages the program loads by name among its dependencies, the
# licence, the listing's file type in the MIME database, the software-centre
# metadata, the manual pages, and the unpacked program starting on the demo
# listing and on a disc's folder.
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
stray=$(grep -Ev '^usr/(bin/[^/]+|share/applications/vitrandel\.desktop|share/icons/hicolor/[^/]+/apps/vitrandel\.(png|svg)|share/doc/vitrandel/[^/]+|share/mime/packages/vitrandel\.xml|share/metainfo/org\.example\.vitrandel\.metainfo\.xml|share/man/(es/)?man1/vitrandel(-lst)?\.1\.gz)$' <<<"$files" || true)
[ -z "$stray" ] || fail "files outside their places:"$'\n'"$stray"
for f in usr/bin/vitrandel usr/bin/vitrandel-lst; do
  [ -x "$tmp/$f" ] || fail "$f missing or not executable"
done
for f in usr/share/applications/vitrandel.desktop usr/share/doc/vitrandel/README.md \
         usr/share/doc/vitrandel/copyright usr/share/mime/packages/vitrandel.xml \
         usr/share/metainfo/org.example.vitrandel.metainfo.xml \
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

version=$(dpkg-deb -f "$deb" Version)
# Nothing below may reach the user's own settings, menus or file types.
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" XDG_DATA_HOME="$tmp/home/.local/share" \
       XDG_CACHE_HOME="$tmp/home/.cache"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"

# The licence: the GPL's text at the top of the tree, a machine-readable
# copyright file in the package naming it, and the program saying it.
cmp -s LICENSE /usr/share/common-licenses/GPL-2 || fail "LICENSE is not the GPL-2 text"
copyright_check=$(/usr/bin/python3 - "$tmp/usr/share/doc/vitrandel/copyright" 2>&1 <<'PY'
import sys
from debian.copyright import Copyright
c = Copyright(open(sys.argv[1], encoding="utf-8"), strict=True)
whole = c.find_files_paragraph("usr/bin/vitrandel")
assert whole is not None and whole.license.synopsis == "GPL-2+", "the program's files are not under GPL-2+"
assert any(p.license.synopsis == "GPL-2+" for p in c.all_license_paragraphs()), "no GPL-2+ licence paragraph"
PY
) || fail "the copyright file is not machine-readable or names another licence:"$'\n'"$copyright_check"
grep -q '/usr/share/common-licenses/GPL-2' "$tmp/usr/share/doc/vitrandel/copyright" ||
  fail "the copyright file does not point at the GPL-2 text"

# The terminal answers, with no display to open a window on.
answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$tmp/usr/bin/vitrandel" --version) ||
  fail "vitrandel --version failed without a display"
[ "$answer" = "vitrandel $version" ] || fail "vitrandel --version says '$answer', the package is $version"
answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LANG=C.UTF-8 timeout 20 "$tmp/usr/bin/vitrandel" --help) &&
  [[ $answer == "Usage: vitrandel "* ]] || fail "vitrandel --help failed without a display: $answer"
answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL=es_ES.UTF-8 timeout 20 "$tmp/usr/bin/vitrandel" --help) &&
  [[ $answer == "Uso: vitrandel "* ]] || fail "vitrandel --help is not in Spanish under a Spanish locale: $answer"
# Printing starts the installed program itself as its print process, which
# needs no display and refuses a job the program did not write.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$tmp/usr/bin/vitrandel" --type=print \
  </dev/null >/dev/null 2>&1 || status=$?
[ "$status" = 2 ] || fail "vitrandel as its print process answered $status to an empty job, not 2"

# Manual pages in English and Spanish that man renders without a warning.
for page in man1/vitrandel.1.gz man1/vitrandel-lst.1.gz es/man1/vitrandel.1.gz es/man1/vitrandel-lst.1.gz; do
  f="$tmp/usr/share/man/$page"
  [ -f "$f" ] || fail "usr/share/man/$page missing"
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$f" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "usr/share/man/$page has warnings:"$'\n'"$warnings"
done

# The listing's file type, as the desktop sees it once dpkg's triggers have
# run: the packages that keep the MIME and desktop databases watch the
# folders these files go to, and here their tools are run by hand.
mkdir -p "$tmp/control"
dpkg-deb -e "$deb" "$tmp/control"
for watched in /usr/share/mime/packages /usr/share/applications; do
  grep -Eqx "interest(-noawait)? $watched" /var/lib/dpkg/info/*.triggers ||
    fail "no installed package's trigger watches $watched"
  grep -Eqx "activate(-noawait)? $watched" "$tmp/control/triggers" ||
    fail "the package does not activate the trigger $watched"
done
mime_type=application/x-vitrandel-listado
grep -q "MimeType=$mime_type;" "$entry" || fail "the desktop entry does not declare $mime_type"
update-mime-database "$tmp/usr/share/mime" >/dev/null 2>&1
update-desktop-database "$tmp/usr/share/applications"
# GLib takes a desktop entry only when its program is on the PATH.
export XDG_DATA_DIRS="$tmp/usr/share:/usr/share" PATH="$tmp/usr/bin:$PATH"
mkdir -p "$tmp/files"
cp examples/demo/demo.lst "$tmp/files/indice.lst"
cp examples/demo/demo.lst "$tmp/files/indice-sin-extension"
printf 'Listado de archivos\nuno.txt\n' >"$tmp/files/notas.lst"
printf '#EXTM3U\ncancion.mp3\n' >"$tmp/files/lista.lst"
content_type() { gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'; }
for f in indice.lst indice-sin-extension; do
  [ "$(content_type "$tmp/files/$f")" = "$mime_type" ] || fail "gio does not see $f as $mime_type: $(content_type "$tmp/files/$f")"
  found=$(XDG_CURRENT_DESKTOP=GNOME xdg-mime query filetype "$tmp/files/$f")
  [ "$found" = "$mime_type" ] || fail "xdg-mime does not see $f as $mime_type: $found"
done
for f in notas.lst lista.lst; do
  [ "$(content_type "$tmp/files/$f")" != "$mime_type" ] || fail "gio takes the text file $f for a listing"
done
default=$(xdg-mime query default "$mime_type")
[ "$default" = vitrandel.desktop ] || fail "xdg-mime's default for $mime_type is '$default'"
defaults=$(gio mime "$mime_type")
grep -q "^Default application for .*: vitrandel.desktop$" <<<"$defaults" ||
  fail "gio's default for $mime_type is not vitrandel:"$'\n'"$defaults"

# Software-centre metadata that AppStream takes without a warning, and that
# says what the package holds.
metainfo="$tmp/usr/share/metainfo/org.example.vitrandel.metainfo.xml"
verdict=$(appstreamcli validate --no-net "$metainfo" 2>&1) && ! grep -Eq '^[EWI]:' <<<"$verdict" ||
  fail "AppStream does not take the metainfo:"$'\n'"$verdict"
newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -1 | cut -d'"' -f2)
[ "$newest" = "$version" ] || fail "the metainfo's newest release is $newest, the package is $version"
for binary in $(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$metainfo"); do
  [ -x "$tmp/usr/bin/$binary" ] || fail "the metainfo provides $binary, not in usr/bin"
done
grep -q "<mediatype>$mime_type</mediatype>" "$metainfo" || fail "the metainfo does not provide $mime_type"
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
[ -f "$tmp/usr/share/applications/$launchable" ] || fail "the metainfo launches '$launchable', not in the package"
for shot in $(sed -n 's:.*<image>.*/\(docs/[^<]*\)</image>.*:\1:p' "$metainfo"); do
  [ -f "$shot" ] || fail "the metainfo shows $shot, which the tree lacks"
done

# The installed programs run on a listing from a disc's root.
out=$(cd examples/demo && VITRANDEL_QUIT_AFTER_FIRST_PAINT=1 QT_QPA_PLATFORM=offscreen \
      timeout 120 "$tmp/usr/bin/vitrandel" demo.lst 2>&1) ||
  fail "the unpacked vitrandel failed on the demo listing:"$'\n'"$out"
grep -Eqx "vitrandel: first paint of ejecucion_form at [0-9]+ ns" <<<"$out" ||
  fail "the unpacked vitrandel did not show the viewer:"$'\n'"$out"
# And on a disc given by its folder, through its autorun.inf or alone.
mkdir -p "$tmp/disc/datos" "$tmp/bare"
cp -r examples/demo/. "$tmp/bare/"
cp examples/demo/demo.lst "$tmp/disc/datos/Indice.lst"
printf '[autorun]\r\nopen=bin\\vitrandel.exe datos\\indice.lst\r\n' >"$tmp/disc/autorun.inf"
for disc in "$tmp/disc" "$tmp/bare"; do
  out=$(cd / && VITRANDEL_QUIT_AFTER_FIRST_PAINT=1 QT_QPA_PLATFORM=offscreen \
        timeout 120 "$tmp/usr/bin/vitrandel" "$disc" 2>&1) ||
    fail "the unpacked vitrandel failed on the folder ${disc#"$tmp"/}:"$'\n'"$out"
  grep -Eqx "vitrandel: first paint of ejecucion_form at [0-9]+ ns" <<<"$out" ||
    fail "the unpacked vitrandel did not open the listing of the folder ${disc#"$tmp"/}:"$'\n'"$out"
done
dump=$("$tmp/usr/bin/vitrandel-lst" dump examples/demo/demo.lst) &&
  [[ $dump == *'"title": "'* ]] ||
  fail "the unpacked vitrandel-lst could not read the demo listing"

echo "check-package: $(basename "$deb") passed: $(stat -c %s "$deb") bytes," \
  "$(dpkg-deb -f "$deb" Installed-Size) KiB installed"
echo "Depends: $depends"
