#!/usr/bin/python3
"""Writes the drawing thread's and print device's test files into the folder
named on the command line: drawings by ezdxf, images by ImageMagick.

  frame.dxf    a 200 x 100 rectangle with its diagonal from (0, 0), R2000
  image_page.dxf  quarters.png as a 200 x 100 image from (0, 0), shown with
               its transparency and faded by a quarter, over a line across
               its top half, R2010
  wipeout.dxf  in model space, lines across y = 30 and y = 50 and a red
               solid, then a wipeout diamond (100, 0), (150, 50), (100, 100),
               (50, 50) over them, then a line up x = 100 over the wipeout;
               on Layout1 a line across y = 5, a viewport (20, 10)-(180, 90)
               onto the model at its own scale, then a line up x = 190, R2010
  quarters.png 2 x 2: red, clear (top row), blue, lime (bottom row)
  many.dxf     40,000 short lines on a grid: a load and a render that take a while
  broken.dxf   text that is not a drawing
  pages.tif    three pages (red, green, blue), 64 x 48
  picture.png  64 x 48, red
  broken.png   text that is not an image
"""
import os
import subprocess
import sys

import ezdxf


def frame_drawing(path):
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0), (200, 0), (200, 100), (0, 100)], close=True)
    msp.add_line((0, 0), (200, 100))
    doc.saveas(path)


def image_drawing(path):
    doc = ezdxf.new("R2010")
    msp = doc.modelspace()
    msp.add_line((0, 75), (200, 75))
    definition = doc.add_image_def(filename="quarters.png", size_in_pixel=(2, 2))
    image = msp.add_image(definition, insert=(0, 0), size_in_units=(200, 100))
    image.dxf.flags = image.SHOW_IMAGE | image.USE_TRANSPARENCY
    image.dxf.fade = 25
    doc.saveas(path)


def wipeout_drawing(path):
    doc = ezdxf.new("R2010")
    msp = doc.modelspace()
    msp.add_line((0, 30), (200, 30))
    msp.add_line((0, 50), (200, 50))
    msp.add_solid([(85, 35), (115, 35), (85, 45), (115, 45)], dxfattribs={"color": 1})
    msp.add_wipeout([(100, 0), (150, 50), (100, 100), (50, 50)])
    msp.add_line((100, 0), (100, 100))
    sheet = doc.layout("Layout1")
    sheet.add_line((0, 5), (200, 5))
    sheet.add_viewport(center=(100, 50), size=(160, 80), view_center_point=(100, 50), view_height=80)
    sheet.add_line((190, 0), (190, 100))
    doc.saveas(path)


def many_lines_drawing(path):
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    for row in range(200):
        for column in range(200):
            x, y = column * 10.0, row * 10.0
            msp.add_line((x, y), (x + 7, y + 3), dxfattribs={"color": 1 + (row + column) % 7})
    doc.saveas(path)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    frame_drawing(os.path.join(folder, "frame.dxf"))
    many_lines_drawing(os.path.join(folder, "many.dxf"))
    image_drawing(os.path.join(folder, "image_page.dxf"))
    wipeout_drawing(os.path.join(folder, "wipeout.dxf"))
    for name in ("broken.dxf", "broken.png"):
        with open(os.path.join(folder, name), "w") as f:
            f.write("this is not what its name says\n")
    convert = "/usr/bin/convert"
    subprocess.run([convert, "-size", "64x48", "xc:red", "xc:lime", "xc:blue", "-type", "TrueColor", "-depth", "8",
                    os.path.join(folder, "pages.tif")], check=True)
    subprocess.run([convert, "-size", "64x48", "xc:red", "-type", "TrueColor", os.path.join(folder, "picture.png")],
                   check=True)
    subprocess.run([convert, "-size", "2x2", "xc:none", "-fill", "red", "-draw", "point 0,0", "-fill", "blue",
                    "-draw", "point 0,1", "-fill", "lime", "-draw", "point 1,1",
                    "PNG32:" + os.path.join(folder, "quarters.png")], check=True)
    with open(os.path.join(folder, "stamp"), "w") as f:
        f.write("ok\n")


if __name__ == "__main__":
    main()
