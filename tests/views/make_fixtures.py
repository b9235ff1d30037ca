#!/usr/bin/python3
"""Writes the drawing views' test files into the folder named on the command
line: drawings by ezdxf, raster images by ImageMagick (and a metafile by
hand, which ImageMagick does not write).

  square.dxf    a red 100 x 100 square from (0, 0) with a blue diagonal on
                its own layer "DIAGONAL"
  cube.dxf      the red square at z = 0 and a green one at z = 100 above it
                (only a view from the side sets them apart), R2000
  image_square.dxf  the red square with picture.png as a 100 x 75 image from
                (0, 0), R2010
  wipeout_square.dxf  square.dxf with a wipeout (25, 25)-(75, 75) drawn over
                its diagonal, R2010
  layouts.dxf   the red square in model space; the paper layouts "Layout1"
                with a green and "Layout2" with a blue rectangle
  picture.*     64 x 48 pictures, the left half red, the right half blue, in
                every raster format of the file-type table
  pages.tif     three pages (red, green, blue), 64 x 48
  camera.jpg    picture.jpg with an Exif block written by hand: make "Harbeck",
                model "TestCam 7", exposure 1/125 s at f/2.8
"""
import os
import struct
import subprocess
import sys

import ezdxf

CONVERT = "/usr/bin/convert"
RED = 1
GREEN = 3
BLUE = 5


def square(msp, z=0.0, colour=RED):
    points = [(0, 0, z), (100, 0, z), (100, 100, z), (0, 100, z), (0, 0, z)]
    msp.add_polyline3d(points, dxfattribs={"color": colour})


def square_view(doc):
    """The drawing's saved view: the square in the middle with a margin."""
    doc.set_modelspace_vport(height=120, center=(50, 50))


def square_drawing(path, version="R2000", wipeout=False):
    doc = ezdxf.new(version)
    msp = doc.modelspace()
    square(msp)
    doc.layers.add("DIAGONAL")
    msp.add_line((0, 0), (100, 100), dxfattribs={"color": BLUE, "layer": "DIAGONAL"})
    if wipeout:
        msp.add_wipeout([(25, 25), (75, 25), (75, 75), (25, 75)])
    square_view(doc)
    doc.saveas(path)


def cube_drawing(path):
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    square(msp)
    square(msp, 100.0, GREEN)
    square_view(doc)
    doc.saveas(path)


def image_square_drawing(path):
    doc = ezdxf.new("R2010")
    msp = doc.modelspace()
    square(msp)
    definition = doc.add_image_def(filename="picture.png", size_in_pixel=(64, 48))
    msp.add_image(definition, insert=(0, 0), size_in_units=(100, 75))
    square_view(doc)
    doc.saveas(path)


def layouts_drawing(path):
    doc = ezdxf.new("R2000")
    square(doc.modelspace())
    square_view(doc)
    first = doc.layout("Layout1")
    first.add_lwpolyline([(20, 20), (200, 20), (200, 120), (20, 120)], close=True, dxfattribs={"color": GREEN})
    second = doc.layouts.new("Layout2")
    second.add_lwpolyline([(20, 20), (200, 20), (200, 120), (20, 120)], close=True, dxfattribs={"color": BLUE})
    doc.saveas(path)


def metafile(path):
    """A placeable Windows metafile: the picture's left half red, its right
    half blue (two filled rectangles without outline), 64 x 48 units at 1440
    units an inch."""
    records = []

    def record(function, *words):
        records.append(struct.pack("<IH", 3 + len(words), function) + struct.pack("<%dh" % len(words), *words))

    record(0x020B, 0, 0)  # SetWindowOrg (y, x)
    record(0x020C, 48, 64)  # SetWindowExt (y, x)
    records.append(struct.pack("<IHHhhI", 8, 0x02FA, 5, 0, 0, 0))  # CreatePenIndirect: PS_NULL
    record(0x012D, 0)  # SelectObject
    for index, (red, green, blue) in enumerate(((255, 0, 0), (0, 0, 255))):
        # CreateBrushIndirect: solid, the colour, no hatch.
        records.append(struct.pack("<IHHBBBBH", 7, 0x02FC, 0, red, green, blue, 0, 0))
        record(0x012D, index + 1)  # SelectObject
        left = 32 * index
        record(0x041B, 48, left + 32, 0, left)  # Rectangle (bottom, right, top, left)
    records.append(struct.pack("<IH", 3, 0))  # end of file
    body = b"".join(records)
    largest = max(struct.unpack("<I", r[:4])[0] for r in records)
    header = struct.pack("<HHHIHIH", 1, 9, 0x0300, (18 + len(body)) // 2, 3, largest, 0)
    keys = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, 64, 48, 1440, 0)
    checksum = 0
    for (word,) in struct.iter_unpack("<H", keys):
        checksum ^= word
    with open(path, "wb") as f:
        f.write(keys + struct.pack("<H", checksum) + header + body)


def exif_block():
    """An Exif APP1 segment (little-endian TIFF): IFD0 with the make, the
    model and the Exif IFD's offset; the Exif IFD with the exposure time and
    the F-number."""
    make, model = b"Harbeck\0", b"TestCam 7\0"
    ifd0_at = 8
    ifd0_size = 2 + 3 * 12 + 4
    make_at = ifd0_at + ifd0_size
    model_at = make_at + len(make)
    exif_at = model_at + len(model)
    exif_size = 2 + 2 * 12 + 4
    rationals_at = exif_at + exif_size

    def entry(tag, kind, count, value):
        return struct.pack("<HHII", tag, kind, count, value)

    tiff = b"II*\0" + struct.pack("<I", ifd0_at)
    tiff += struct.pack("<H", 3) + entry(0x010F, 2, len(make), make_at) + entry(0x0110, 2, len(model), model_at)
    tiff += entry(0x8769, 4, 1, exif_at) + struct.pack("<I", 0)
    tiff += make + model
    tiff += struct.pack("<H", 2) + entry(0x829A, 5, 1, rationals_at) + entry(0x829D, 5, 1, rationals_at + 8)
    tiff += struct.pack("<I", 0) + struct.pack("<IIII", 1, 125, 28, 10)
    body = b"Exif\0\0" + tiff
    return b"\xFF\xE1" + struct.pack(">H", len(body) + 2) + body


def raster(folder):
    base = os.path.join(folder, "picture.png")
    subprocess.run([CONVERT, "-size", "32x48", "xc:red", "-size", "32x48", "xc:blue", "+append", "+repage",
                    "-type", "TrueColor", "-depth", "8", base], check=True)
    for extension in ("bmp", "gif", "jpg", "pcx", "tga", "psd", "mng", "ico", "tif"):
        subprocess.run([CONVERT, base, "-type", "TrueColor", "-depth", "8", os.path.join(folder, "picture." + extension)],
                       check=True)
    subprocess.run([CONVERT, base, "-colorspace", "gray", "-threshold", "50%",
                    os.path.join(folder, "picture.wbmp")], check=True)
    subprocess.run([CONVERT, "-size", "64x48", "xc:red", "xc:lime", "xc:blue", "-type", "TrueColor", "-depth", "8",
                    os.path.join(folder, "pages.tif")], check=True)
    metafile(os.path.join(folder, "picture.wmf"))
    with open(os.path.join(folder, "picture.jpg"), "rb") as f:
        jpeg = f.read()
    with open(os.path.join(folder, "camera.jpg"), "wb") as f:
        f.write(jpeg[:2] + exif_block() + jpeg[2:])


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    square_drawing(os.path.join(folder, "square.dxf"))
    square_drawing(os.path.join(folder, "wipeout_square.dxf"), "R2010", wipeout=True)
    cube_drawing(os.path.join(folder, "cube.dxf"))
    image_square_drawing(os.path.join(folder, "image_square.dxf"))
    layouts_drawing(os.path.join(folder, "layouts.dxf"))
    raster(folder)
    with open(os.path.join(folder, "stamp"), "w") as f:
        f.write("ok\n")


if __name__ == "__main__":
    main()
