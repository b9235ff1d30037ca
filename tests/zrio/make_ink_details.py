#!/usr/bin/python3
"""Writes the ink comparison's drawings (ink_test.cpp) of what some kinds
draw beyond their outlines into the folder named on the command line:
MLINEs in the looks of their styles, ACIS spline edges trimmed to their
parameter ranges, and proxy graphics' LWPOLYLINE and clip commands.

Usage: make_ink_details.py FOLDER
"""
import math
import os
import struct
import sys

import ezdxf
from ezdxf.math import BSpline

import acis_sat
import proxy_graphic
from ink_drawings_geom import insert_entities, save


def mline_styles(folder):
    """Styles with fills, miters, square, round and inner-arc caps, four
    elements in colours and linetypes of their own; MLINEs justified top,
    zero and bottom at scales 1 and 2, open, closed and with their start
    caps suppressed."""
    doc = ezdxf.new("R2018", setup=True)
    msp = doc.modelspace()
    caps = doc.mline_styles.new("CAPS")
    caps.dxf.flags = 1 | 2 | 16 | 64 | 512 | 1024
    caps.dxf.fill_color = 4
    for offset, color, linetype in ((3, 1, "CONTINUOUS"), (1, 256, "BYLAYER"), (-1, 0, "DASHED"),
                                    (-3, 5, "CONTINUOUS")):
        caps.elements.append(offset, color, linetype)
    ends = doc.mline_styles.new("ENDS")
    ends.dxf.flags = 2 | 32 | 256 | 64
    for offset, color in ((2, 3), (0.5, 6), (-0.5, 6), (-2, 3)):
        ends.elements.append(offset, color, "BYLAYER")
    path = [(0, 0), (40, 0), (40, 30), (70, 30)]
    msp.add_mline(path, dxfattribs={"style_name": "CAPS", "color": 6})
    shifted = [(x + 90, y) for x, y in path]
    msp.add_mline(shifted, dxfattribs={"style_name": "ENDS", "justification": 0, "scale_factor": 2})
    lower = [(x, y - 40) for x, y in path]
    with_flags = msp.add_mline(lower, dxfattribs={"style_name": "CAPS", "justification": 2})
    with_flags.dxf.flags |= 4  # no start caps
    msp.add_mline([(100, -40), (140, -40), (130, -10)], close=True, dxfattribs={"style_name": "ENDS"})
    save(doc, folder, "mline_styles")


def trimmed_spline(body, points, t0, t1, edge_sense="forward", curve_sense="forward"):
    """A spline edge over [t0, t1] of a clamped cubic (parameters 0 to 1)
    through four control points, its edge and its curve either way round;
    returns the part drawn, in world coordinates, as points."""
    s = body.sat
    values = ["{", "exactcur", "nubs", 3, "open", 2, 0.0, 3, 1.0, 3]
    for p in points:
        values += [float(v) for v in p]
    values += [0.0, "null_surface", "null_surface", "nullbs", "nullbs", "}"]
    curve = s.add("intcurve-curve", curve_sense, *values, "I", "I")
    spline = BSpline(points, order=4)
    # The curve's parameter runs against the spline's when it is reversed,
    # and the edge's against the curve's when it is.
    sign = (-1 if edge_sense == "reversed" else 1) * (-1 if curve_sense == "reversed" else 1)
    e0, e1 = (t0, t1) if sign > 0 else (-t1, -t0)
    start, end = spline.point(sign * e0), spline.point(sign * e1)
    body.edge(body.vertex(start), e0, body.vertex(end), e1, curve, edge_sense)
    return [body.world(spline.point(t0 + (t1 - t0) * i / 100)) for i in range(101)]


def acis_trimmed(folder):
    """Spline edges drawn over parts of their curves, either way round, and
    lines and arcs of the same body; the twin draws the parts."""
    doc = ezdxf.new("R2000")
    twin = ezdxf.new("R2000")
    body = acis_sat.Body((5, 5, 0), 20)
    body.line((0, 0, 0), (30, 0, 0))
    body.arc((15, 0, 0), 10, 30, 150)
    parts = [trimmed_spline(body, [(0, 20, 0), (10, 40, 0), (20, 5, 0), (30, 25, 0)], 0.2, 0.7),
             trimmed_spline(body, [(0, 45, 0), (10, 65, 0), (20, 30, 0), (30, 50, 0)], 0.1, 0.6, "reversed"),
             trimmed_spline(body, [(40, 0, 0), (50, 20, 0), (60, -15, 0), (70, 5, 0)], 0.3, 0.9, "forward",
                            "reversed"),
             trimmed_spline(body, [(40, 30, 0), (50, 50, 0), (60, 15, 0), (70, 35, 0)], 0.0, 0.5, "reversed",
                            "reversed")]
    body.finish()
    msp = doc.modelspace()
    msp.add_3dsolid().sat = body.sat.text()
    acis_sat.draw_twin(twin.modelspace(), body)
    for points in parts:
        twin.modelspace().add_lwpolyline([p[:2] for p in points])
    save(doc, folder, "acis_trimmed")
    save(twin, folder, "acis_trimmed_twin")


class Bits:
    """A DWG bit stream, as the LWPOLYLINE proxy command holds its data:
    each byte's bits from the highest, values of several bytes low byte
    first."""

    def __init__(self):
        self.bits = []

    def put(self, value, count):
        self.bits += [(value >> (count - 1 - i)) & 1 for i in range(count)]

    def raw(self, data):
        for byte in data:
            self.put(byte, 8)

    def bit_short(self, value):
        self.put(0, 2)
        self.raw(struct.pack("<h", value))

    def bit_long(self, value):
        self.put(0, 2)
        self.raw(struct.pack("<i", value))

    def bit_double(self, value):
        self.put(0, 2)
        self.raw(struct.pack("<d", value))

    def raw_double(self, value):
        self.raw(struct.pack("<d", value))

    def default_double(self, value, default):
        """The value as a change of its default: unchanged, its low four
        bytes, or all of it."""
        new, old = struct.pack("<d", value), struct.pack("<d", default)
        if new == old:
            self.put(0, 2)
        elif new[4:] == old[4:]:
            self.put(1, 2)
            self.raw(new[:4])
        else:
            self.put(3, 2)
            self.raw(new)

    def bytes(self):
        padded = self.bits + [0] * (-len(self.bits) % 8)
        return bytes(sum(b << (7 - i) for i, b in enumerate(padded[k:k + 8])) for k in range(0, len(padded), 8))


LWPOLYLINE, PUSH_CLIP, POP_CLIP = 33, 27, 28


def lwpolyline(graphic, points, bulges=None, widths=None, closed=False, constant_width=None, counted=True):
    """The LWPOLYLINE command: the byte count of the entity's data (when
    counted), then its data as a DWG file holds it (flags, the optional
    width, the counts, the points, bulges and widths)."""
    flags = (512 if closed else 0) | (16 if bulges else 0) | (32 if widths else 0) | (4 if constant_width else 0)
    b = Bits()
    b.bit_short(flags)
    if constant_width:
        b.bit_double(constant_width)
    b.bit_long(len(points))
    if bulges:
        b.bit_long(len(bulges))
    if widths:
        b.bit_long(len(widths))
    b.raw_double(points[0][0])
    b.raw_double(points[0][1])
    for previous, p in zip(points, points[1:]):
        b.default_double(p[0], previous[0])
        b.default_double(p[1], previous[1])
    for bulge in bulges or []:
        b.bit_double(bulge)
    for start, end in widths or []:
        b.bit_double(start)
        b.bit_double(end)
    data = b.bytes()
    body = (struct.pack("<i", len(data)) if counted else b"") + data
    graphic.add(LWPOLYLINE, body + b"\0" * (-len(body) % 4))


def push_clip(graphic, corners):
    """A clip boundary of corners in the entity's coordinates: its normal,
    origin, the corners, the transform into the clip's space and the block
    transform's inverse (both identity), the front and back clips (off) and
    whether the boundary is drawn (no)."""
    identity = [1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1]
    data = proxy_graphic.point((0, 0, 1)) + proxy_graphic.point((0, 0, 0)) + struct.pack("<i", len(corners))
    data += b"".join(struct.pack("<2d", x, y) for x, y in corners)
    data += struct.pack("<16d", *identity) + struct.pack("<16d", *identity)
    data += struct.pack("<2i2di", 0, 0, 0.0, 0.0, 0)
    graphic.add(PUSH_CLIP, data)


def proxy_lwpolylines(folder):
    """LWPOLYLINE commands of an entity of an unknown class: straight and
    arc segments, closed, with widths, a constant width, one without its
    byte count; the twin holds the same polylines as entities."""
    doc = ezdxf.new("R2018")
    twin = ezdxf.new("R2018")
    g = proxy_graphic.Graphic()
    g.color(1)
    cases = [([(0, 0), (20, 0), (20.5, 15), (40, 15)], None, None, False, None, True),
             ([(0, 25), (20, 25), (20, 40)], [0.5, -1, 0], None, True, None, True),
             ([(30, 25), (50, 25), (50, 45)], [0, 0.4, 0], [(0, 2), (2, 0), (1, 1)], False, None, True),
             ([(50, 0), (70, 5), (60, 15)], None, None, False, 1.5, False)]
    for points, bulges, widths, closed, constant, counted in cases:
        lwpolyline(g, points, bulges, widths, closed, constant, counted)
        if constant:
            widths = [(constant, constant)] * len(points)
        rows = [(x, y, (widths or [(0, 0)] * len(points))[i][0], (widths or [(0, 0)] * len(points))[i][1],
                 (bulges or [0] * len(points))[i]) for i, (x, y) in enumerate(points)]
        twin.modelspace().add_lwpolyline(rows, format="xyseb", close=closed)
    save(doc, folder, "proxy_lwpolylines")
    insert_entities(folder, "proxy_lwpolylines",
                    [proxy_graphic.entity_text("ACME_WIDGET", "FFF0", doc.modelspace().layout_key, g.bytes(), False)])
    save(twin, folder, "proxy_lwpolylines_twin")


def clip_segment(a, b, box):
    """The part of the segment a-b inside the box (Liang-Barsky), or None."""
    (x0, y0), (x1, y1), (left, bottom, right, top) = a, b, box
    t0, t1, dx, dy = 0.0, 1.0, x1 - x0, y1 - y0
    for p, q in ((-dx, x0 - left), (dx, right - x0), (-dy, y0 - bottom), (dy, top - y0)):
        if p == 0:
            if q < 0:
                return None
            continue
        r = q / p
        if p < 0:
            t0 = max(t0, r)
        else:
            t1 = min(t1, r)
    return None if t0 > t1 else ((x0 + t0 * dx, y0 + t0 * dy), (x0 + t1 * dx, y0 + t1 * dy))


def proxy_clips(folder):
    """Lines and a circle under a clip boundary, then, after it is popped,
    lines that are not clipped; ezdxf draws no clips: the twin holds the
    parts inside the boundary and the rest."""
    doc = ezdxf.new("R2018")
    twin = ezdxf.new("R2018").modelspace()
    g = proxy_graphic.Graphic()
    box = (10, 10, 40, 30)
    push_clip(g, [(box[0], box[1]), (box[2], box[1]), (box[2], box[3]), (box[0], box[3])])
    lines = [((0, 0), (50, 40)), ((0, 20), (50, 20)), ((25, 0), (25, 40)), ((0, 35), (50, 5))]
    for a, b in lines:
        g.polyline([a, b])
        part = clip_segment(a, b, box)
        if part:
            twin.add_line(*part)
    # A circle of radius 15 about (25, 20): inside the box but for its top
    # and bottom, cut by y = 10 and y = 30.
    g.circle((25, 20, 0), 15)
    cut = math.asin(10 / 15)
    for start, end in ((-cut, cut), (math.pi - cut, math.pi + cut)):
        twin.add_arc((25, 20), 15, math.degrees(start), math.degrees(end))
    g.add(POP_CLIP, b"")
    for a, b in (((0, 45), (50, 45)), ((55, 0), (55, 40))):
        g.polyline([a, b])
        twin.add_line(a, b)
    save(doc, folder, "proxy_clips")
    insert_entities(folder, "proxy_clips",
                    [proxy_graphic.entity_text("ACME_WIDGET", "FFF0", doc.modelspace().layout_key, g.bytes(), False)])
    twin.doc.saveas(os.path.join(folder, "proxy_clips_twin.dxf"))


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    mline_styles(folder)
    acis_trimmed(folder)
    proxy_lwpolylines(folder)
    proxy_clips(folder)
    return 0


if __name__ == "__main__":
    sys.exit(main())
