#!/bin/sh
# Writes BMP files of every kind ImageMagick makes into the folder $1, each
# with a dump of its pixels as ImageMagick reads them (NAME.rgb: rows from
# the top, red, green, blue).
set -eu
out=$1
convert=/usr/bin/convert
mkdir -p "$out"
cd "$out"

$convert -size 13x7 -seed 7 plasma: source.png

$convert source.png -monochrome BMP3:bits1.bmp
$convert source.png -colors 16 -type palette BMP3:bits4.bmp
$convert source.png -colors 200 -type palette -compress none BMP3:bits8.bmp
$convert source.png -colors 200 -type palette -compress RLE BMP3:rle8.bmp
$convert source.png -define bmp:subtype=RGB555 BMP:bits16_555.bmp
$convert source.png -define bmp:subtype=RGB565 BMP:bits16_565.bmp
$convert source.png -alpha set -define bmp:subtype=ARGB4444 BMP:bits16_4444.bmp
$convert source.png -type truecolor BMP3:bits24.bmp
$convert source.png -alpha set -define bmp3:alpha=true BMP3:bits32.bmp
$convert source.png -alpha set BMP:bits32_fields.bmp
$convert source.png -colors 2 -type palette BMP2:os2_bits1.bmp
$convert source.png -colors 16 -type palette BMP2:os2_bits4.bmp
$convert source.png -colors 200 -type palette BMP2:os2_bits8.bmp
$convert source.png -type truecolor BMP2:os2_bits24.bmp

for file in *.bmp; do
  $convert "$file" -alpha off -depth 8 "rgb:${file%.bmp}.rgb"
done
