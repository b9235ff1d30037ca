#!/usr/bin/python3
"""Writes the folder the file list tests show: a drawing from ezdxf, images
from ImageMagick, a damaged image, a text file, a sub-folder and a file with
a Chinese name. Sizes and times differ from file to file, so that every sort
column has one order.

    make_list_inputs.py <output folder>
"""
import os
import pathlib
import subprocess
import sys

import ezdxf


def convert(*arguments):
    subprocess.run(["convert", *arguments], check=True)


def drawing(path, radius):
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    msp.add_line((0, 0), (100, 0), dxfattribs={"color": 1})
    msp.add_line((100, 0), (100, 50), dxfattribs={"color": 3})
    msp.add_circle((50, 25), radius, dxfattribs={"color": 5})
    doc.saveas(path)


def main():
    folder = pathlib.Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    (folder / "sub").mkdir(exist_ok=True)
    drawing(str(folder / "lines.dxf"), 20)
    drawing(str(folder / "图纸.dxf"), 10)
    convert("-size", "300x200", "xc:#e01010", str(folder / "red.png"))
    convert("-size", "400x300", "gradient:blue-white", "-quality", "95", str(folder / "Photo.jpg"))
    (folder / "broken.png").write_bytes(b"\x89PNG\r\n\x1a\n" + b"not a picture" * 10)
    (folder / "notes.txt").write_text("notes\n" * 50)
    names = ["lines.dxf", "图纸.dxf", "red.png", "Photo.jpg", "broken.png", "notes.txt"]
    for index, name in enumerate(names):
        stamp = 1_600_000_000 + 86_400 * ((index * 7) % len(names))
        os.utime(folder / name, (stamp, stamp))
    (folder / "stamp").write_text("ok")


main()
