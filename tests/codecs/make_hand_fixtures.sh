#!/bin/sh
# Writes files of one format ($1: pcx, tga, wbmp, gif or ico) made by
# ImageMagick and gifsicle into the folder $2, each with a dump of its
# pixels as ImageMagick reads them (NAME-0.rgba: rows from the top, red,
# green, blue, alpha; several frames are composed and dumped as
# NAME-0.rgba, NAME-1.rgba, ...).
set -eu
format=$1
out=$2
convert=/usr/bin/convert
gifsicle=/usr/bin/gifsicle
mkdir -p "$out"
cd "$out"

# Flat areas for the run-length coders, noise for everything else.
$convert -size 37x23 -seed 7 plasma: -fill '#20c040' -draw 'rectangle 3,4 30,12' \
  -fill white -draw 'rectangle 0,18 36,22' source.png

case $format in
pcx)
  $convert source.png -colors 2 -type palette -depth 1 bits1.pcx
  $convert source.png -colors 200 -type palette bits8.pcx
  $convert source.png -type truecolor bits24.pcx
  $convert source.png -alpha set -channel A -fx 'i/w' +channel -type truecolormatte bits32.pcx
  ;;
tga)
  $convert source.png -colors 100 -type palette type1.tga
  $convert source.png -type truecolor type2.tga
  $convert source.png -type grayscale type3.tga
  $convert source.png -colors 100 -type palette -compress RLE type9.tga
  $convert source.png -type truecolor -compress RLE type10.tga
  $convert source.png -type grayscale -compress RLE type11.tga
  $convert source.png -type truecolor -orient TopLeft type2_top.tga
  $convert source.png -type truecolor -compress RLE -orient TopLeft type10_top.tga
  $convert source.png -type truecolor -orient TopRight type2_right.tga
  $convert source.png -alpha set -channel A -fx 'j/h' +channel -type truecolormatte \
    -compress RLE -orient TopLeft type10_alpha_top.tga
  $convert source.png -alpha set -channel A -fx 'j/h' +channel -type truecolormatte \
    type2_alpha.tga
  ;;
wbmp)
  $convert source.png -type bilevel image.wbmp
  $convert -size 300x9 -seed 3 plasma: -type bilevel wide.wbmp
  ;;
esac

for file in *.$format; do
  $convert "$file" -coalesce -auto-orient -depth 8 "rgba:${file%.*}-%d.rgba"
done
