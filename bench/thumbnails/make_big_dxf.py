#!/usr/bin/python3
"""Writes a DXF drawing of the given number of entities (lines, circles,
arcs, polylines and texts in a grid) without a stored preview picture.

    make_big_dxf.py <path> [entities]
"""
import math
import sys

import ezdxf


def main():
    path = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 5000
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    side = int(math.ceil(math.sqrt(count)))
    for i in range(count):
        x, y = (i % side) * 10.0, (i // side) * 10.0
        colour = 1 + i % 7
        kind = i % 5
        if kind == 0:
            msp.add_line((x, y), (x + 8, y + 6), dxfattribs={"color": colour})
        elif kind == 1:
            msp.add_circle((x + 4, y + 4), 3, dxfattribs={"color": colour})
        elif kind == 2:
            msp.add_arc((x + 4, y + 4), 3, 0, 270, dxfattribs={"color": colour})
        elif kind == 3:
            msp.add_lwpolyline([(x, y), (x + 8, y), (x + 8, y + 8), (x, y + 8)], close=True,
                               dxfattribs={"color": colour})
        else:
            msp.add_text("T%d" % i, dxfattribs={"height": 2.5, "color": colour}).set_placement((x, y))
    doc.saveas(path)


if __name__ == "__main__":
    main()
