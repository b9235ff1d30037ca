#!/bin/sh
# Writes JPEG-2000 files made by opj_compress, PGX files made by
# opj_decompress and PNM and Sun raster files made by ImageMagick into the
# folder $1, each with a dump of its pixels as those programs read them
# (NAME.rgb: rows from the top, red, green, blue).
set -eu
out=$1
convert=/usr/bin/convert
mkdir -p "$out"
cd "$out"

$convert -size 27x15 -seed 17 plasma: -depth 8 p6.ppm
$convert p6.ppm -colorspace Gray -depth 8 p5.pgm
$convert p6.ppm -compress none p3.ppm
$convert p5.pgm -compress none p2.pgm
$convert p6.ppm -monochrome p4.pbm
$convert p6.ppm -monochrome -compress none p1.pbm
$convert p6.ppm -depth 16 p6_16.ppm
$convert p5.pgm -depth 16 p5_16.pgm
$convert p6.ppm ras24.ras
for file in p*.p?m ras*.ras; do
  $convert "$file" -depth 8 "rgb:$(echo "$file" | tr . _).rgb"
done

opj_compress -n 3 -i p6.ppm -o rgb.jp2 >/dev/null
opj_compress -n 3 -i p6.ppm -o rgb.j2k >/dev/null
opj_compress -n 3 -i p5.pgm -o grey.jp2 >/dev/null
opj_compress -n 3 -i p5_16.pgm -o grey16.jp2 >/dev/null
for name in rgb.jp2 rgb.j2k grey.jp2 grey16.jp2; do
  opj_decompress -i $name -o decoded.ppm >/dev/null 2>&1 ||
    opj_decompress -i $name -o decoded.pgm >/dev/null
  $convert decoded.p?m -depth 8 "rgb:$(echo $name | tr . _).rgb"
  rm -f decoded.p?m
done
# A bare code stream of one 8-bit plane, for files whose boxes a test writes.
opj_compress -n 3 -i p5.pgm -o grey.j2k >/dev/null
opj_decompress -i grey.jp2 -o grey.pgx >/dev/null
mv grey_0.pgx grey.pgx
$convert p5.pgm -depth 8 rgb:grey_pgx.rgb

# Planes of their own for opj_compress's raw input: a ramp down, a ramp
# across, and constant planes at full and at half size.
$convert -size 16x8 gradient:black-white -depth 8 gray:down.raw
$convert -size 8x16 gradient:black-white -rotate 90 -depth 8 gray:across.raw
$convert -size 16x8 xc:"gray(100)" -depth 8 gray:full100.raw
$convert -size 16x8 xc:"gray(200)" -depth 8 gray:full200.raw
$convert -size 8x4 xc:"gray(100)" -depth 8 gray:half100.raw
$convert -size 8x4 xc:"gray(200)" -depth 8 gray:half200.raw
cat down.raw half100.raw half200.raw >subsampled.raw
cat down.raw full100.raw full200.raw across.raw >rgba.raw
cat down.raw across.raw >grey_alpha.raw
opj_compress -n 2 -i subsampled.raw -F 16,8,3,8,u@1x1:2x2:2x2 -o subsampled.jp2 >/dev/null
opj_compress -n 2 -i rgba.raw -F 16,8,4,8,u -o rgba.jp2 >/dev/null
opj_compress -n 2 -i grey_alpha.raw -F 16,8,2,8,u -o grey_alpha.jp2 >/dev/null
opj_decompress -i subsampled.jp2 -upsample -o subsampled.ppm >/dev/null
$convert subsampled.ppm -depth 8 rgb:subsampled_jp2.rgb
