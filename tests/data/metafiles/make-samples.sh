#!/usr/bin/env bash
# Remakes the sample metafiles from dibujo.svg with Inkscape, which only this
# script needs (apt-get install inkscape); the build and the tests use the
# files committed beside it:
#   dibujo.wmf         placeable WMF
#   dibujo.emf         EMF
#   sin_cabecera.wmf   the same WMF without its 22-byte placeable header
set -euo pipefail
cd "$(dirname "$0")"
command -v inkscape >/dev/null || { echo "make-samples.sh needs inkscape" >&2; exit 1; }

# Inkscape turns text into outlines unless told otherwise; the samples keep
# it as text, so that the players draw it with fonts. Its settings live in a
# throw-away folder so that the user's own stay untouched.
settings=$(mktemp -d)
trap 'rm -rf "$settings"' EXIT
mkdir -p "$settings/inkscape"
cat > "$settings/inkscape/preferences.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8" standalone="no"?>
<inkscape xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd"
          xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape" version="1">
  <group id="extensions"
         org.inkscape.output.emf.textToPath="false"
         org.inkscape.output.wmf.textToPath="false" />
</inkscape>
XML
export XDG_CONFIG_HOME="$settings"

inkscape dibujo.svg --export-type=emf --export-filename=dibujo.emf 2>/dev/null
inkscape dibujo.svg --export-type=wmf --export-filename=dibujo.wmf 2>/dev/null
tail -c +23 dibujo.wmf > sin_cabecera.wmf
echo "Wrote dibujo.emf, dibujo.wmf and sin_cabecera.wmf"
