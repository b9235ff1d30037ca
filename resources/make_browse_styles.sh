#!/bin/sh
# Draws the six interface-style tiles of the style chooser (120 x 90, 24-bit
# BMPs kept in the tree): a window with its tool bar, the folder tree
# (yellow), the preview (blue) and the file list with its thumbnails.
# Needs ImageMagick. Run it from the resources folder.
set -e

# thumbs <x0> <y0> <columns> <rows>: thumbnail squares 12 pixels apart.
thumbs() {
    out="fill #6a8cc8 stroke none"
    x=$1
    for column in $(seq 1 "$3"); do
        y=$2
        for row in $(seq 1 "$4"); do
            out="$out rectangle $x,$y $((x + 8)),$((y + 8))"
            y=$((y + 12))
        done
        x=$((x + 12))
    done
    echo "$out"
}

# tile <file> <tree rectangle|none> <preview rectangle|none> <list rectangle>
#      <thumbnails> [<window left> <window right>]
tile() {
    left=${6:-0}
    right=${7:-119}
    draw="fill #c0c0c0 stroke black rectangle $left,0 $right,89"
    draw="$draw fill #0a246a stroke none rectangle $((left + 1)),1 $((right - 1)),8"
    draw="$draw fill #d4d0c8 stroke #808080 rectangle $((left + 1)),9 $((right - 1)),16"
    draw="$draw fill white stroke #808080 rectangle $4"
    if [ "$2" != none ]; then
        draw="$draw fill #fff8d0 stroke #808080 rectangle $2"
    fi
    if [ "$3" != none ]; then
        draw="$draw fill #c8dcf8 stroke #808080 rectangle $3"
    fi
    convert -size 120x90 xc:#d4d0c8 -draw "$draw $5" -type TrueColor "BMP3:$1"
}

tile browse_style1.bmp "2,18 40,52" "2,54 40,87" "42,18 117,87" "$(thumbs 46 22 6 5)"
tile browse_style2.bmp "2,18 40,64" "2,66 117,87" "42,18 117,64" "$(thumbs 46 22 6 3)"
tile browse_style3.bmp "2,18 58,42" "60,18 117,42" "2,44 117,87" "$(thumbs 6 48 9 3)"
tile browse_style4.bmp "60,18 117,42" "2,18 58,42" "2,44 117,87" "$(thumbs 6 48 9 3)"
# Styles 5 and 6: a window as narrow as two thumbnails.
tile browse_style5.bmp none "42,62 77,87" "42,18 77,60" "$(thumbs 50 22 2 3)" 40 79
tile browse_style6.bmp "42,62 77,87" none "42,18 77,60" "$(thumbs 50 22 2 3)" 40 79
