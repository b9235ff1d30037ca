#!/bin/sh
# Writes PNG files of every colour type and depth that ImageMagick makes into
# the folder $1, each with a dump of its pixels as ImageMagick reads them
# (NAME.rgb: rows from the top, red, green, blue; transparency ignored), and
# for files with transparency NAME_flat.rgb: the pixels composed onto grey
# 192, as our decoder shows files without a real alpha channel.
set -eu
out=$1
convert=/usr/bin/convert
mkdir -p "$out"
cd "$out"

plain="-define png:exclude-chunks=bKGD,cHRM,gAMA,date,tIME,tEXt,zTXt,vpAg"
$convert -size 23x17 -seed 9 plasma: source.ppm
$convert -size 23x17 gradient:white-black -rotate 90 -resize 23x17! ramp.pgm

png() {  # name colour-type bit-depth [more options]
  name=$1; type=$2; depth=$3; shift 3
  $convert "$@" $plain -define png:color-type=$type -define png:bit-depth=$depth "$name.png"
}
png grey1 0 1 ramp.pgm -threshold 50%
png grey2 0 2 ramp.pgm -depth 2
png grey4 0 4 ramp.pgm -depth 4
png grey8 0 8 ramp.pgm
png grey16 0 16 ramp.pgm -depth 16
png rgb8 2 8 source.ppm
png rgb16 2 16 source.ppm -depth 16
png palette4 3 4 source.ppm -colors 12
png palette8 3 8 source.ppm -colors 100
png rgb8_interlaced 2 8 source.ppm -interlace PNG
png palette8_interlaced 3 8 source.ppm -colors 100 -interlace PNG
png grey2_interlaced 0 2 ramp.pgm -depth 2 -interlace PNG
png rgba 6 8 source.ppm -alpha set -channel A -fx "i/w" +channel
png rgba_interlaced 6 8 source.ppm -alpha set -channel A -fx "j/h" +channel -interlace PNG
png rgba16 6 16 source.ppm -depth 16 -alpha set -channel A -fx "(i+j)/(w+h)" +channel
png grey_alpha 4 8 ramp.pgm -alpha set -channel A -fx "i<8?0:(i<16?0.5:1)" +channel
$convert source.ppm -colors 30 -alpha set -channel A -fx "i<6?0:1" +channel $plain \
  PNG8:palette_trns.png

for file in *.png; do
  name=${file%.png}
  $convert "$file" -alpha off -depth 8 "rgb:$name.rgb"
  $convert "$file" -background "rgb(192,192,192)" -alpha remove -alpha off -depth 8 \
    "rgb:${name}_flat.rgb"
done
