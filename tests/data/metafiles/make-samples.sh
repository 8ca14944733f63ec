#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Remakes the sample metafiles from dibujo.svg with Inkscape, which only this
# script needs; the build and the tests use the files committed beside it:
#   dibujo.wmf         placeable WMF
#   dibujo.emf         EMF
#   sin_cabecera.wmf   the same WMF without its 22-byte placeable header
set -euo pipefail
cd "$(dirname "$0")"
export=../../../scripts/export-metafile.sh
"$export" dibujo.svg dibujo.emf
"$export" dibujo.svg dibujo.wmf
tail -c +23 dibujo.wmf > sin_cabecera.wmf
echo "Wrote dibujo.emf, dibujo.wmf and sin_cabecera.wmf"
