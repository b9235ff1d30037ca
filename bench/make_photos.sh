#!/bin/bash
# Usage: bench/make_photos.sh <folder> <count>
# Fills <folder>/photos with <count> JPEG photos of 4000 x 3000 (12 MP),
# unless they are there already: eight distinct ImageMagick pictures, copied
# under new names (photo000.jpg ...).
set -euo pipefail
work=$1
photos=$2
if [ ! -f "$work/photos/photo$(printf %03d $((photos - 1))).jpg" ]; then
  rm -rf "$work/photos" "$work/originals"
  mkdir -p "$work/photos" "$work/originals"
  for i in 0 1 2 3 4 5 6 7; do
    echo "convert -size 4000x3000 -seed $i plasma:fractal -attenuate 0.3 +noise Gaussian -quality 90 $work/originals/$i.jpg"
  done | xargs -P 4 -I{} sh -c {}
  for ((i = 0; i < photos; i++)); do
    cp "$work/originals/$((i % 8)).jpg" "$work/photos/photo$(printf %03d $i).jpg"
  done
fi
