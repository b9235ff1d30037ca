#!/bin/sh
# Writes the EXIF viewer's test photos into the folder $1 with ImageMagick
# and exiftool: a colour photo with a camera named in Chinese (UTF-8) and a
# full set of exposure tags, and a grey one with a few others.
set -e
cd "$1"
/usr/bin/convert -size 64x48 gradient:red-blue -quality 90 photo.jpg
/usr/bin/exiftool -q -overwrite_original \
  -Make='佳能' -Model='EOS 数码 5' -DateTimeOriginal='2024:05:06 07:08:09' \
  -XResolution=300 -YResolution=300 -ResolutionUnit=inches -Orientation#=6 \
  -EXIF:Flash#=1 -FocalLength=7.0 -ExposureTime=0.5 -FNumber=2.8 -ISO=200 \
  -ExposureCompensation=0.33 -SubjectDistance=2.5 -LightSource#=7 \
  -MeteringMode#=2 -ExposureProgram#=3 -ExifImageWidth=64 -ExifImageHeight=48 photo.jpg
/usr/bin/convert -size 40x30 xc:gray50 -colorspace Gray -interlace JPEG grey.jpg
/usr/bin/exiftool -q -overwrite_original \
  -ExposureTime=0.6 -MeteringMode#=4 -EXIF:Flash#=0 -ExifImageWidth=40 -ExifImageHeight=30 grey.jpg
/usr/bin/convert -size 8x8 xc:white plain.jpg
