#!/bin/sh
# Writes TIFF files made by ImageMagick and libtiff's tiffcp into the folder
# $1, each with a dump of its pixels as ImageMagick reads them (NAME.rgb:
# rows from the top, red, green, blue; transparency ignored).
set -eu
out=$1
convert=/usr/bin/convert
tiffcp=/usr/bin/tiffcp
mkdir -p "$out"
cd "$out"

$convert -size 29x19 -seed 13 plasma: -depth 8 source.ppm

$convert source.ppm -compress None rgb_none.tif
$convert source.ppm -compress LZW rgb_lzw.tif
$convert source.ppm -compress Zip rgb_deflate.tif
$tiffcp -c packbits rgb_none.tif rgb_packbits.tif
$tiffcp -c jpeg rgb_none.tif rgb_jpeg.tif
$tiffcp -t -w 16 -l 16 rgb_none.tif rgb_tiled.tif
$convert source.ppm -colorspace Gray -depth 8 -compress LZW grey8.tif
$convert source.ppm -colorspace Gray -depth 16 grey16.tif
$tiffcp -t -w 16 -l 16 grey8.tif grey8_tiled.tif
$convert source.ppm -monochrome -compress Group4 g4.tif
$convert source.ppm -colors 60 -type palette palette8.tif
$convert source.ppm -colors 12 -type palette -depth 4 palette4.tif
$convert source.ppm -alpha set -channel A -fx "i/w" +channel rgba.tif
$convert source.ppm -colorspace Gray -alpha set -channel A -fx "j/h" +channel grey_alpha.tif
$convert source.ppm \( source.ppm -negate \) \( source.ppm -flip \) -compress LZW multi.tif
$tiffcp -r 4096 rgb_none.tif rgb_onestrip.tif

for file in *.tif; do
  $convert "$file[0]" -alpha off -depth 8 "rgb:${file%.tif}.rgb"
done
$convert "multi.tif[2]" -depth 8 rgb:multi_page3.rgb
