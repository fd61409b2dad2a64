#!/usr/bin/env bash
# Renders the icons from their SVG sources (svg/) into the PNG sizes the desktop's icon theme
# uses (png/<size>x<size>/) and the Windows icon files (ico/), all kept in the repository so
# that a build needs neither a renderer nor a display. Run it after changing a source:
#   icons/render.sh        (needs librsvg2-bin and icoutils)
# A source "<name>-16.svg" beside "<name>.svg" is the 16 pixel drawing of that icon, simpler
# than the large one scaled down.
set -euo pipefail
cd "$(dirname "$0")"
sizes=(16 32 48 64 128 256)
for svg in svg/*.svg; do
  name=$(basename "$svg" .svg)
  [[ $name == *-16 ]] && continue
  for size in "${sizes[@]}"; do
    source=$svg
    [ "$size" -eq 16 ] && [ -f "svg/$name-16.svg" ] && source=svg/$name-16.svg
    mkdir -p "png/${size}x$size"
    rsvg-convert -w "$size" -h "$size" "$source" -o "png/${size}x$size/$name.png"
  done
  # Windows shows 16 to 48 pixels as bitmaps and takes the 256 pixel image as PNG.
  mkdir -p ico
  icotool -c -o "ico/$name.ico" png/16x16/"$name".png png/32x32/"$name".png png/48x48/"$name".png \
          -r png/256x256/"$name".png
done
