#!/bin/sh
# Writes MNG and JNG files made by ImageMagick into the folder $1, each
# with a dump of its pixels as ImageMagick reads them (NAME.rgb: rows from
# the top, red, green, blue).
set -eu
out=$1
convert=/usr/bin/convert
mkdir -p "$out"
cd "$out"

$convert -size 19x13 -seed 21 plasma: -depth 8 source.ppm
$convert source.ppm single.mng
$convert source.ppm -quality 95 single.jng
$convert -delay 10 source.ppm \( source.ppm -negate \) \( source.ppm -flop \) animation.mng
$convert single.mng -depth 8 rgb:single.rgb
$convert single.jng -depth 8 rgb:single_jng.rgb
