#!/bin/sh
# Writes JPEG files made by cjpeg and ImageMagick into the folder $1, each
# with a dump of its pixels as djpeg (or ImageMagick, for CMYK) reads them
# (NAME.rgb: rows from the top, red, green, blue).
set -eu
out=$1
mkdir -p "$out"
cd "$out"

convert -size 61x37 -seed 5 plasma: -depth 8 source.ppm
cjpeg -quality 90 source.ppm > baseline.jpg
cjpeg -quality 85 -progressive source.ppm > progressive.jpg
cjpeg -grayscale source.ppm > grey.jpg
convert source.ppm -colorspace CMYK -quality 92 cmyk.jpg

dump() {
  convert "$1" -depth 8 "rgb:$2"
}
for name in baseline progressive grey; do
  djpeg -pnm $name.jpg > $name.pnm
  dump $name.pnm $name.rgb
done
for scale in 2 4 8; do
  djpeg -scale 1/$scale -pnm baseline.jpg > scale$scale.pnm
  dump scale$scale.pnm scale$scale.rgb
done
convert cmyk.jpg -colorspace sRGB -depth 8 rgb:cmyk.rgb
