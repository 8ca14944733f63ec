#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Draws the demo's pictures and builds examples/demo/demo.lst from demo.json.
# Usage: examples/make-demo.sh [path/to/vitrandel-lst]   (default: build/tools/vitrandel-lst)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
lst=$(realpath "${1:-$here/../build/tools/vitrandel-lst}")
demo="$here/demo"
mkdir -p "$demo/fotos"

sans=Liberation-Sans-Bold
serif=Liberation-Serif-Bold-Italic

# A beach at midday: sky, sun, two clouds, sea, sand and a parasol.
convert -size 320x220 gradient:'#5fb4ea-#d9f1ff' \
  -fill '#ffd23f' -stroke '#f5a623' -strokewidth 2 -draw 'circle 256,52 256,80' \
  -stroke none -fill white \
  -draw 'ellipse 70,45 34,12 0,360' -draw 'ellipse 95,38 24,14 0,360' \
  -draw 'ellipse 160,70 26,9 0,360' -draw 'ellipse 178,64 18,10 0,360' \
  -fill '#2a7fb8' -draw 'rectangle 0,118 320,160' \
  -fill '#5aa7d6' -draw 'rectangle 0,118 320,122' \
  -fill white -draw 'ellipse 60,140 18,2 0,360' -draw 'ellipse 210,132 24,2 0,360' \
  -fill '#f0d9a0' -draw 'path "M 0,160 Q 160,148 320,160 L 320,220 L 0,220 Z"' \
  -stroke '#6b4a2b' -strokewidth 3 -draw 'line 232,118 238,188' -stroke none \
  -fill '#e63946' -draw 'path "M 192,128 Q 232,84 272,112 Z"' \
  -fill white -draw 'path "M 219,122 Q 230,92 245,118 Z"' \
  -fill '#c9a36a' -draw 'ellipse 110,196 30,5 0,360' \
  -font "$sans" -pointsize 20 -fill '#6b4a2b' -gravity south -annotate +0+8 'Vacaciones en la playa' \
  -strip -quality 85 "$demo/fotos/playa.jpg"

# A castle on a green hill at dusk.
convert -size 240x200 gradient:'#f6a96b-#fde3b5' \
  -fill '#fff4c4' -draw 'circle 200,40 200,54' \
  -fill '#5c9a42' -draw 'path "M 0,160 Q 120,110 240,160 L 240,200 L 0,200 Z"' \
  -fill '#8d8f94' -draw 'rectangle 70,90 170,148' \
  -draw 'rectangle 52,62 84,148' -draw 'rectangle 156,62 188,148' \
  -draw 'rectangle 104,50 136,92' \
  -draw 'rectangle 52,54 58,62' -draw 'rectangle 65,54 71,62' -draw 'rectangle 78,54 84,62' \
  -draw 'rectangle 156,54 162,62' -draw 'rectangle 169,54 175,62' -draw 'rectangle 182,54 188,62' \
  -draw 'rectangle 104,42 110,50' -draw 'rectangle 117,42 123,50' -draw 'rectangle 130,42 136,50' \
  -draw 'rectangle 70,82 78,90' -draw 'rectangle 92,82 100,90' -draw 'rectangle 140,82 148,90' -draw 'rectangle 162,82 170,90' \
  -fill '#3b2f2f' -draw 'path "M 108,148 L 108,124 Q 120,110 132,124 L 132,148 Z"' \
  -draw 'rectangle 64,80 72,94' -draw 'rectangle 168,80 176,94' -draw 'rectangle 116,62 124,74' \
  -stroke '#3b2f2f' -strokewidth 2 -draw 'line 120,42 120,20' -stroke none \
  -fill '#c0392b' -draw 'polygon 121,20 140,26 121,32' \
  -font "$serif" -pointsize 18 -fill white -gravity south -annotate +0+8 'Castillo de Peñafiel' \
  -strip -colors 64 "$demo/fotos/castillo.gif"

# A hand-drawn route on parchment, kept as an 8-bit bitmap beside the listing.
convert -size 240x180 xc:'#f3e2b3' \
  -fill none -stroke '#8b5a2b' -strokewidth 4 -draw 'rectangle 4,4 235,175' \
  -stroke '#6fa8dc' -strokewidth 6 -draw 'path "M 118,8 C 126,50 190,36 231,76 C 190,36 126,50 118,8"' \
  -stroke '#7aa95c' -strokewidth 1 -fill '#9cc77e' \
  -draw 'polygon 30,70 44,46 58,70' -draw 'polygon 48,70 62,40 76,70' -draw 'polygon 84,70 96,52 108,70' \
  -fill none -stroke '#c0392b' -strokewidth 3 \
  -draw 'stroke-dasharray 6 5 path "M 30,140 Q 60,100 100,118 T 150,80 T 210,110"' \
  -strokewidth 4 -draw 'line 202,102 218,118' -draw 'line 218,102 202,118' \
  -fill '#c0392b' -stroke none -draw 'circle 30,140 30,145' \
  -fill '#8b5a2b' -draw 'polygon 212,24 207,38 212,34 217,38' \
  -font "$sans" -pointsize 11 -annotate +208+20 'N' \
  -font "$serif" -pointsize 17 -fill '#5a3a1a' -gravity south -annotate +0+10 'Mapa de la excursión' \
  -strip -type Palette -compress None BMP3:"$demo/mapa.bmp"

# A lighthouse as a Windows metafile, the kind of clip art such discs held.
# Only Inkscape exports it; without Inkscape the committed faro.wmf stays.
if command -v inkscape >/dev/null; then
  "$here/../scripts/export-metafile.sh" "$demo/dibujos/faro.svg" "$demo/dibujos/faro.wmf"
fi

"$lst" build "$demo/demo.json" "$demo/demo.lst"
echo "Demo written to $demo"
