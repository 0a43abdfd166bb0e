#!/usr/bin/env bash
# Makes the menu icons from the window's highlighter picture
# (app/resources/highlighter.xpm, 32x32 pixel art) with ImageMagick: whole
# multiples keep every pixel square; 48 px is 96 px shrunk by half. The PNGs
# are kept in the repository, so a build does not need ImageMagick; run this
# again after changing the picture.
set -euo pipefail
cd "$(dirname "$0")"
picture=../../app/resources/highlighter.xpm
for size in 32 64 128 256; do
  convert "$picture" -filter point -resize "${size}x${size}" -strip "vantrelo-$size.png"
done
convert "$picture" -filter point -resize 96x96 -filter box -resize 48x48 -strip vantrelo-48.png
