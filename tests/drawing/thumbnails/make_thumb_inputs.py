#!/usr/bin/python3
"""Writes the folder of files the thumbnail task thread tests read.

Raster files come from ImageMagick, the drawing from ezdxf; the two DWG
files (one with a stored preview picture, one without) are copied from the
drawing library tests' files.

    make_thumb_inputs.py <output folder> <drawing library test files>
"""
import pathlib
import shutil
import struct
import subprocess
import sys

import ezdxf


def convert(*arguments):
    subprocess.run(["convert", *arguments], check=True)


def with_orientation(jpeg, orientation):
    """The JPEG with an EXIF block holding only the orientation, after SOI."""
    tiff = b"II*\x00" + struct.pack("<I", 8) + struct.pack("<H", 1)
    tiff += struct.pack("<HHII", 0x0112, 3, 1, orientation) + struct.pack("<I", 0)
    body = b"Exif\x00\x00" + tiff
    return jpeg[:2] + b"\xff\xe1" + struct.pack(">H", len(body) + 2) + body + jpeg[2:]


def drawing(path):
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    msp.add_line((0, 0), (100, 0), dxfattribs={"color": 1})
    msp.add_line((100, 0), (100, 50), dxfattribs={"color": 3})
    msp.add_circle((50, 25), 20, dxfattribs={"color": 5})
    msp.add_lwpolyline([(0, 0), (30, 50), (60, 10)], dxfattribs={"color": 2})
    doc.saveas(path)


def main():
    folder = pathlib.Path(sys.argv[1])
    fixtures = pathlib.Path(sys.argv[2])
    folder.mkdir(parents=True, exist_ok=True)
    convert("-size", "400x200", "gradient:red-blue", str(folder / "big.png"))
    convert("-size", "50x40", "xc:#208040", "bmp3:" + str(folder / "small.bmp"))
    # Stored with red above blue; shown turned a quarter clockwise, blue left
    # of red.
    convert("-size", "600x200", "xc:red", "-size", "600x200", "xc:blue", "-append", "-quality", "90",
            str(folder / "plain.jpg"))
    jpeg = (folder / "plain.jpg").read_bytes()
    (folder / "photo.jpg").write_bytes(with_orientation(jpeg, 6))
    (folder / "plain.jpg").unlink()
    convert("-size", "640x480", "pattern:gray50", str(folder / "checker.png"))
    # Photo-like pictures, one reduced by a whole ratio and one not, and
    # what ImageMagick's averaging (box) reduction makes of them and of the
    # checker: rows from the top, red, green, blue.
    convert("-size", "640x480", "-seed", "3", "plasma:fractal", str(folder / "plasma.png"))
    convert("-size", "1000x700", "-seed", "5", "plasma:fractal", "-quality", "92", str(folder / "plasma.jpg"))
    # The same picture as a TIFF of strips and as an interlaced PNG, whose
    # rows the decoder cannot hand over in order.
    convert(str(folder / "plasma.png"), "-compress", "lzw", str(folder / "plasma.tif"))
    convert(str(folder / "plasma.png"), "-interlace", "PNG", str(folder / "plasma_interlaced.png"))
    for name in ("plasma.png", "plasma.jpg", "checker.png", "plasma.tif", "plasma_interlaced.png"):
        convert(str(folder / name), "-filter", "box", "-resize", "160x120", "-depth", "8",
                "rgb:" + str(folder / (name + ".box.rgb")))
    (folder / "broken.png").write_bytes(b"\x89PNG\r\n\x1a\n" + b"not a picture" * 10)
    drawing(str(folder / "lines.dxf"))
    shutil.copy(fixtures / "preview_bmp.dwg", folder / "preview.dwg")
    shutil.copy(fixtures / "nopreview.dwg", folder / "nopreview.dwg")
    (folder / "stamp").write_text("ok")


if __name__ == "__main__":
    main()
