#!/usr/bin/python3
"""Writes the folder a scripted session starts on, into the folder named on
the command line, as a user's folder of drawings and photos would be:

  drawings: one DXF of every version ezdxf writes ("平面图_<version>.dxf"
            for R2000, "plan_<version>.dxf" for the others), the DWG files
            of tests/fixtures/dwg
  pictures: "photo.<ext>" for every raster format the browser lists
            (ImageMagick), "photo_exif.jpg" turned by its EXIF orientation,
            "pages.tif" with three pages
  damaged:  "broken.<ext>" for a drawing and picture of each kind: the
            first bytes of its good file, cut short (a WBMP within its
            header: its rows have nothing that could tell a cut)
  "子目录": a sub-folder with one drawing
"""
import os
import shutil
import struct
import subprocess
import sys

import ezdxf

CONVERT = "/usr/bin/convert"
VERSIONS = ("R12", "R2000", "R2004", "R2007", "R2010", "R2013", "R2018")
PICTURES = ("bmp", "gif", "jpg", "pcx", "tga", "psd", "mng", "ico", "tif", "png", "wbmp")


def drawing(path, version):
    doc = ezdxf.new(version)
    msp = doc.modelspace()
    msp.add_polyline2d([(0, 0), (100, 0), (100, 60), (0, 60)], close=True, dxfattribs={"color": 1})
    msp.add_circle((50, 30), 20, dxfattribs={"color": 5})
    msp.add_line((0, 0), (100, 60), dxfattribs={"color": 3})
    doc.saveas(path)


def drawings(folder):
    for version in VERSIONS:
        name = ("平面图_" if version == "R2000" else "plan_") + version + ".dxf"
        drawing(os.path.join(folder, name), version)
    fixtures = os.path.join(os.path.dirname(__file__), "..", "..", "fixtures", "dwg")
    for name in sorted(os.listdir(fixtures)):
        if name.endswith(".dwg"):
            shutil.copy(os.path.join(fixtures, name), os.path.join(folder, name))


def add_exif_orientation(path, orientation):
    """Gives a JPEG an EXIF segment (after its JFIF segment) whose only tag
    is the orientation; 6 = to be turned a quarter clockwise for showing."""
    with open(path, "rb") as f:
        data = f.read()
    ifd = struct.pack("<H", 1) + struct.pack("<HHIHH", 0x0112, 3, 1, orientation, 0) + struct.pack("<I", 0)
    exif = b"Exif\0\0" + b"II*\0" + struct.pack("<I", 8) + ifd
    segment = b"\xff\xe1" + struct.pack(">H", len(exif) + 2) + exif
    after_jfif = 4 + struct.unpack(">H", data[4:6])[0] if data[2:4] == b"\xff\xe0" else 2
    with open(path, "wb") as f:
        f.write(data[:after_jfif] + segment + data[after_jfif:])


def pictures(folder):
    base = os.path.join(folder, "photo.png")
    subprocess.run([CONVERT, "-size", "80x60", "gradient:red-blue", "-type", "TrueColor", "-depth", "8", base],
                   check=True)
    for extension in PICTURES:
        if extension != "png":
            subprocess.run([CONVERT, base, os.path.join(folder, "photo." + extension)], check=True)
    turned = os.path.join(folder, "photo_exif.jpg")
    subprocess.run([CONVERT, base, turned], check=True)
    add_exif_orientation(turned, 6)
    pages = os.path.join(folder, "pages.tif")
    subprocess.run([CONVERT, "-size", "64x48", "xc:red", "xc:lime", "xc:blue", "-depth", "8", pages], check=True)


def damaged(folder):
    goods = {"dxf": "plan_R12.dxf", "dwg": "example_2000.dwg"}
    goods.update({extension: "photo." + extension for extension in PICTURES})
    for extension, good in goods.items():
        with open(os.path.join(folder, good), "rb") as f:
            head = f.read(3 if extension == "wbmp" else 64)
        with open(os.path.join(folder, "broken." + extension), "wb") as f:
            f.write(head)


def main():
    folder = sys.argv[1]
    if os.path.isdir(folder):
        shutil.rmtree(folder)
    os.makedirs(folder)
    drawings(folder)
    pictures(folder)
    damaged(folder)
    sub = os.path.join(folder, "子目录")
    os.makedirs(sub)
    drawing(os.path.join(sub, "详图.dxf"), "R2010")


if __name__ == "__main__":
    main()
