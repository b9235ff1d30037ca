#!/usr/bin/python3
"""What ezdxf's drawing add-on draws of DXF files other programs wrote, for
the tests to compare with: the box of what it draws (lines, points, fills,
and the texts it draws by ezdxf's own estimate of their boxes), some of its
continuous lines, and the polygons it fills for each hatch. The add-on leaves out entities on
layers that are off or frozen, as a viewer does.

Usage: real_drawing_reference.py OUTPUT.json FILE.dxf...
"""
import json
import os
import sys

import ezdxf
from ezdxf import bbox
from ezdxf.addons.drawing import Frontend, RenderContext
from ezdxf.addons.drawing.debug_backend import BasicBackend

LINES_KEPT = 300


class Recorder(BasicBackend):
    """Keeps, beside what the basic backend collects, the polygons filled
    for each top-level entity and the text entities drawn."""

    def __init__(self):
        super().__init__()
        self.fills = {}
        self.texts = {}

    def draw_text(self, text, transform, properties, cap_height):
        super().draw_text(text, transform, properties, cap_height)
        self.texts[id(self.current_entity)] = self.current_entity

    def draw_filled_polygon(self, points, properties):
        points = list(points)
        super().draw_filled_polygon(points, properties)
        handle = self.current_entity.dxf.handle if self.current_entity else ""
        self.fills.setdefault(handle, []).append([[p.x, p.y] for p in points])


def polygon_area(points):
    area = 0.0
    for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
        area += x0 * y1 - x1 * y0
    return abs(area) / 2


def describe(path):
    doc = ezdxf.readfile(path)
    recorder = Recorder()
    Frontend(RenderContext(doc), recorder).draw_layout(doc.modelspace(), finalize=True)
    xs, ys, lines = [], [], []
    for item in recorder.collector:
        if item[0] == "line":
            xs += [item[1].x, item[2].x]
            ys += [item[1].y, item[2].y]
            if not item[3].linetype_pattern:
                lines.append([item[1].x, item[1].y, item[2].x, item[2].y])
        elif item[0] == "filled_polygon":
            xs += [p.x for p in item[1]]
            ys += [p.y for p in item[1]]
        elif item[0] == "point":
            xs.append(item[1].x)
            ys.append(item[1].y)
    if recorder.texts:
        box = bbox.extents(recorder.texts.values())
        xs += [box.extmin.x, box.extmax.x]
        ys += [box.extmin.y, box.extmax.y]
    step = max(1, len(lines) // LINES_KEPT)
    fills = {
        handle: [{"area": polygon_area(points), "points": points} for points in polygons]
        for handle, polygons in recorder.fills.items()
    }
    return {
        "drawn": [[min(xs), min(ys)], [max(xs), max(ys)]],
        "lines": lines[::step],
        "fills": fills,
    }


def main():
    output, files = sys.argv[1], sys.argv[2:]
    answers = {os.path.basename(f): describe(f) for f in files}
    with open(output, "w") as out:
        json.dump(answers, out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
