#!/usr/bin/python3
"""Writes a DXF of 100,000 entities (lines, circles, arcs, polylines, text
and block references) and prints how long ezdxf.readfile takes to read it."""
import math
import random
import sys
import time

import ezdxf


def main():
    path = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 100000
    random.seed(9)
    doc = ezdxf.new("R2010")
    for name, color in (("WALLS", 1), ("PIPES", 3), ("TEXT", 7), ("ANNOT", 5)):
        doc.layers.add(name, color=color)
    block = doc.blocks.new("CHAIR")
    block.add_lwpolyline([(0, 0), (1, 0), (1, 1), (0, 1)], close=True)
    block.add_circle((0.5, 0.5), 0.3)
    msp = doc.modelspace()
    for i in range(count):
        x, y = random.uniform(0, 5000), random.uniform(0, 3000)
        kind = i % 10
        if kind < 4:
            msp.add_line((x, y), (x + random.uniform(-50, 50), y + random.uniform(-50, 50)),
                         dxfattribs={"layer": "WALLS"})
        elif kind == 4:
            msp.add_circle((x, y), random.uniform(1, 20), dxfattribs={"layer": "PIPES"})
        elif kind == 5:
            msp.add_arc((x, y), random.uniform(1, 20), random.uniform(0, 360), random.uniform(0, 360))
        elif kind == 6:
            msp.add_lwpolyline([(x + random.uniform(0, 30), y + random.uniform(0, 30)) for _ in range(6)],
                               dxfattribs={"layer": "PIPES"})
        elif kind == 7:
            msp.add_text("Room %d" % i, dxfattribs={"layer": "TEXT", "height": 2.5, "insert": (x, y)})
        elif kind == 8:
            msp.add_blockref("CHAIR", (x, y), dxfattribs={"rotation": random.uniform(0, 360)})
        else:
            msp.add_point((x, y), dxfattribs={"layer": "ANNOT"})
    doc.saveas(path)
    start = time.perf_counter()
    ezdxf.readfile(path)
    print("ezdxf.readfile %.3f s" % (time.perf_counter() - start))


if __name__ == "__main__":
    main()
