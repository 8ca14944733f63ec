#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Exports an SVG drawing as a Windows metafile with Inkscape, keeping text as
# text (Inkscape's default turns it into outlines) so that the metafile is
# drawn with fonts. Inkscape is needed only here, never to build or test.
# Usage: scripts/export-metafile.sh drawing.svg out.wmf|out.emf
set -euo pipefail
svg=$1
out=$2
command -v inkscape >/dev/null || { echo "export-metafile.sh needs inkscape" >&2; exit 1; }

# Inkscape's settings for the export live in a throw-away folder, so that
# the user's own stay untouched.
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
XDG_CONFIG_HOME="$settings" inkscape "$svg" --export-type="${out##*.}" --export-filename="$out" 2>/dev/null
