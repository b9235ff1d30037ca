#!/usr/bin/python3
"""Usage: make_big.py PATH [COUNT [BINARY_PATH]]

Writes a DXF of COUNT (100,000) entities (lines, circles, arcs, polylines,
text and block references) to PATH and, when BINARY_PATH is given, the same
drawing as a binary DXF there; prints how long ezdxf.readfile takes to read
each ("ezdxf.readfile <seconds> s <path>")."""
import random
import sys
import time

import ezdxf


def drawing(count):
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
    return doc


def time_read(path):
    start = time.perf_counter()
    ezdxf.readfile(path)
    print("ezdxf.readfile %.3f s %s" % (time.perf_counter() - start, path))


def main():
    path = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 100000
    binary = sys.argv[3] if len(sys.argv) > 3 else None
    doc = drawing(count)
    doc.saveas(path)
    if binary:
        doc.saveas(binary, fmt="bin")
    time_read(path)
    if binary:
        time_read(binary)


if __name__ == "__main__":
    main()
