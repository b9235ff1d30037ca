#!/bin/sh
# Writes PSD files of the kinds ImageMagick makes into the folder $1, each
# with a dump of its composite as ImageMagick reads it (NAME.rgb: rows from
# the top, red, green, blue, 8 bits).
set -eu
out=$1
convert=/usr/bin/convert
mkdir -p "$out"
cd "$out"

$convert -size 23x11 -seed 3 plasma: -depth 8 source.png
$convert source.png -colors 50 -type palette indexed.png

rgb="-type TrueColor"
$convert source.png $rgb -compress none rgb_raw.psd
$convert source.png $rgb -compress RLE rgb_rle.psd
$convert source.png -alpha set -channel A -evaluate set 60% +channel -compress none rgba_raw.psd
$convert source.png -alpha set -channel A -evaluate set 60% +channel -compress RLE rgba_rle.psd
$convert source.png -colorspace gray -compress none gray_raw.psd
$convert source.png -colorspace gray -compress RLE gray_rle.psd
$convert indexed.png -compress none indexed_raw.psd
$convert indexed.png -compress RLE indexed_rle.psd
$convert source.png -colorspace cmyk -compress none cmyk_raw.psd
$convert source.png -colorspace cmyk -compress RLE cmyk_rle.psd
$convert source.png $rgb -depth 16 -compress none rgb16_raw.psd
$convert source.png $rgb -depth 16 -compress RLE rgb16_rle.psd
$convert source.png -colorspace gray -depth 16 -compress none gray16_raw.psd
$convert source.png -colorspace cmyk -depth 16 -compress none cmyk16_raw.psd

# ImageMagick cannot read back its own indexed files: the palette picture
# they were made from is their composite.
$convert indexed.png -depth 8 rgb:indexed_raw.rgb
cp indexed_raw.rgb indexed_rle.rgb
# With an alpha channel ImageMagick reads the picture blended through its
# layer; the merged planes hold the source colours, alpha aside.
$convert source.png -depth 8 rgb:rgba_raw.rgb
cp rgba_raw.rgb rgba_rle.rgb
for file in *.psd; do
  case "$file" in indexed_* | rgba_*) continue ;; esac
  $convert "${file}[0]" -alpha off -colorspace sRGB -depth 8 "rgb:${file%.psd}.rgb"
done
