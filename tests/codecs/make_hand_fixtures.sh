#!/bin/sh
# Writes files of one format ($1: pcx, tga, wbmp, gif or ico) made by
# ImageMagick and gifsicle (a few by Pillow) into the folder $2, each with a
# dump of its pixels as ImageMagick reads them (NAME-0.rgba: rows from the
# top, red, green, blue, alpha; several frames are composed and dumped as
# NAME-0.rgba, NAME-1.rgba, ...); Pillow's files also have Pillow's reading
# as NAME-pillow.rgba.
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
  # Grey with alpha (16-bit grey pixels) by Pillow, which reads them back as
  # grey and alpha; ImageMagick reads such pixels as 5-bit colours.
  /usr/bin/python3 - <<'EOF'
from PIL import Image
grey = Image.open("source.png").convert("L")
width, height = grey.size
alpha = Image.new("L", grey.size)
alpha.putdata([x * 255 // (width - 1) if y % 5 else 0 for y in range(height) for x in range(width)])
picture = Image.merge("LA", (grey, alpha))
picture.save("type3_grey_alpha.tga")
picture.save("type11_grey_alpha_top.tga", compression="tga_rle", orientation=1)
for name in ("type3_grey_alpha", "type11_grey_alpha_top"):
    with open(name + "-pillow.rgba", "wb") as dump:
        dump.write(Image.open(name + ".tga").convert("RGBA").tobytes())
EOF
  ;;
wbmp)
  $convert source.png -type bilevel image.wbmp
  $convert -size 300x9 -seed 3 plasma: -type bilevel wide.wbmp
  ;;
gif)
  # ImageMagick's dithering costs about a second a picture; the colours are
  # reduced without it, and the one 256-colour picture is reduced further by
  # gifsicle.
  $convert source.png -type truecolor BMP3:source.bmp
  $convert source.png +dither -colors 2 codes2.gif
  $convert source.png +dither -colors 256 codes256.gif
  for n in 4 8 16 32 64 128; do
    $gifsicle --colors $n codes256.gif -o codes$n.gif
  done
  $gifsicle --interlace codes64.gif -o interlaced.gif
  $convert source.png +dither -colors 32 -fuzz 8% -transparent white transparent.gif
  $convert source.png +dither -colors 16 GIF87:gif87.gif
  # Three frames, the later two smaller and in their own places, each
  # disposed of before the next: with local tables, and with one table.
  $convert source.png +dither -colors 8 frame0.gif
  $convert source.png -negate -crop 15x10+5+5 +repage +dither -colors 16 frame1.gif
  $convert source.png -crop 20x8+12+12 +repage -modulate 100,40,50 +dither -colors 16 \
    -transparent white frame2.gif
  $convert -dispose Background frame0.gif -page +5+5 frame1.gif -page +12+12 frame2.gif \
    anim_local.gif
  $gifsicle --disposal background frame0.gif --position 5,5 frame1.gif \
    --position 12,12 frame2.gif -o anim_global.gif 2>/dev/null
  rm frame0.gif frame1.gif frame2.gif
  ;;
ico)
  $convert source.png -type truecolor BMP3:source.bmp
  $convert source.png -colors 2 -type palette bits1.ico
  $convert source.png -colors 16 -type palette bits4.ico
  $convert source.png -colors 200 -type palette bits8.ico
  $convert source.png -alpha set -channel A -fx 'i/w' +channel bits32.ico
  # Three sizes; the largest is stored as PNG (of 8 bits a channel).
  $convert source.png -alpha set -channel A -fx 'j/h' +channel \
    \( -clone 0 -resize 16x16! \) \( -clone 0 -resize 256x256! \) -depth 8 multi.ico
  ;;
esac

# The frames of an animation are composed; those of an icon stand alone.
compose=
[ "$format" = gif ] && compose=-coalesce
for file in *.$format; do
  $convert "$file" $compose -auto-orient -depth 8 "rgba:${file%.*}-%d.rgba"
done
