"""Writes small ACIS save files (SAT text and SAB binary) for the tests: a
body of straight, circular, elliptic and spline edges under a transform,
and the edges it draws, computed here from the same numbers.

The records follow the SAT layout of version 7.0: a record is its type, the
attribute pointer, "-1 $-1", its own data and "#"; the SAB form holds the
same values as tagged bytes.
"""
import math
import struct


class Sat:
    """Records added in order; add() returns a record's index for pointers."""

    def __init__(self):
        self.records = []

    def add(self, kind, *values):
        self.records.append((kind, list(values)))
        return len(self.records) - 1

    def set(self, index, *values):
        self.records[index] = (self.records[index][0], list(values))

    def text(self, version=700):
        lines = ["%d 0 1 0" % version,
                 "@8 ink test @12 ACIS 7.0 NT @24 Thu Jan 01 00:00:00 2026",
                 "1 9.9999999999999995e-07 1e-10"]
        for kind, values in self.records:
            lines.append(" ".join([kind, "$-1 -1 $-1"] + [word(v) for v in values] + ["#"]))
        lines.append("End-of-ACIS-data")
        return lines

    def sab(self, version=700):
        out = bytearray(b"ACIS BinaryFile")
        out += struct.pack("<4i", version, 0, 1, 0)
        for name in (b"ink test", b"ACIS 7.0 NT", b"Thu Jan 01 00:00:00 2026"):
            out += bytes([7, len(name)]) + name
        out += b"".join(b"\x06" + struct.pack("<d", v) for v in (1.0, 1e-6, 1e-10))
        for kind, values in self.records + [("End-of-ACIS-data", [])]:
            parts = kind.split("-") if not kind.startswith("End") else [kind]
            for part in parts[:-1]:
                out += bytes([14, len(part)]) + part.encode()
            out += bytes([13, len(parts[-1])]) + parts[-1].encode()
            if kind.startswith("End"):
                break
            out += b"\x0c" + struct.pack("<i", -1) + b"\x04" + struct.pack("<i", -1)
            out += b"\x0c" + struct.pack("<i", -1)
            for v in values:
                out += tag(v)
            out += b"\x11"
        return bytes(out)


class Ptr:
    def __init__(self, index):
        self.index = index


def word(v):
    if isinstance(v, Ptr):
        return "$%d" % v.index
    if isinstance(v, float):
        return repr(v)
    return str(v)


def tag(v):
    if isinstance(v, Ptr):
        return b"\x0c" + struct.pack("<i", v.index)
    if isinstance(v, int):
        return b"\x04" + struct.pack("<i", v)
    if isinstance(v, float):
        return b"\x06" + struct.pack("<d", v)
    if v in ("forward", "I"):
        return b"\x0a"
    if v in ("reversed", "F"):
        return b"\x0b"
    if v == "{":
        return b"\x0f"
    if v == "}":
        return b"\x10"
    return bytes([7, len(v)]) + v.encode()


def rotate_z(p, degrees):
    a = math.radians(degrees)
    return (p[0] * math.cos(a) - p[1] * math.sin(a), p[0] * math.sin(a) + p[1] * math.cos(a), p[2])


class Body:
    """A body of one lump, one shell and one face whose loop holds every
    edge; enough topology for a reader that follows it to the edges."""

    def __init__(self, move=(0.0, 0.0, 0.0), turn=0.0):
        self.sat = Sat()
        self.move, self.turn = move, turn
        s = self.sat
        self.body = s.add("body")
        self.transform = s.add("transform")
        self.lump = s.add("lump")
        self.shell = s.add("shell")
        self.face = s.add("face")
        self.loop = s.add("loop")
        self.coedges = []
        self.drawn = []  # what the edges draw, in world coordinates

    def world(self, p):
        q = rotate_z(p, self.turn)
        return (q[0] + self.move[0], q[1] + self.move[1], q[2] + self.move[2])

    def vertex(self, p):
        s = self.sat
        point = s.add("point", float(p[0]), float(p[1]), float(p[2]))
        return s.add("vertex", Ptr(-1), Ptr(point))

    def edge(self, start, t0, end, t1, curve, sense="forward"):
        s = self.sat
        coedge = s.add("coedge")
        edge = s.add("edge", Ptr(start), float(t0), Ptr(end), float(t1), Ptr(coedge), Ptr(curve),
                     sense, "unknown")
        self.coedges.append((coedge, edge))

    def line(self, a, b):
        curve = self.sat.add("straight-curve", *[float(v) for v in a],
                             *[float(v) for v in (b[0] - a[0], b[1] - a[1], b[2] - a[2])], "I", "I")
        self.edge(self.vertex(a), 0, self.vertex(b), 1, curve)
        self.drawn.append(("line", self.world(a), self.world(b)))

    def arc(self, center, radius, start_deg, end_deg, sense="forward", ratio=1.0):
        """An arc of the circle (or ellipse, ratio < 1) in the xy plane,
        anticlockwise from start to end; a reversed edge runs it backwards."""
        s = self.sat
        curve = s.add("ellipse-curve", *[float(v) for v in center], 0.0, 0.0, 1.0,
                      float(radius), 0.0, 0.0, float(ratio), "I", "I")

        def at(deg):
            t = math.radians(deg)
            return (center[0] + radius * math.cos(t), center[1] + radius * ratio * math.sin(t), center[2])

        t0, t1 = math.radians(start_deg), math.radians(end_deg)
        if abs(end_deg - start_deg) >= 360:
            v = self.vertex(at(start_deg))
            self.edge(v, t0, v, t1, curve)
        elif sense == "forward":
            self.edge(self.vertex(at(start_deg)), t0, self.vertex(at(end_deg)), t1, curve)
        else:
            self.edge(self.vertex(at(end_deg)), -t1, self.vertex(at(start_deg)), -t0, curve, "reversed")
        self.drawn.append(("arc", center, radius, ratio, start_deg, end_deg))

    def spline(self, points):
        """A clamped cubic through four control points."""
        s = self.sat
        values = ["{", "exactcur", "nubs", 3, "open", 2, 0.0, 3, 1.0, 3]
        for p in points:
            values += [float(v) for v in p]
        values += [0.0, "null_surface", "null_surface", "nullbs", "nullbs", "}"]
        curve = s.add("intcurve-curve", "forward", *values, "I", "I")
        self.edge(self.vertex(points[0]), 0, self.vertex(points[-1]), 1, curve)
        self.drawn.append(("spline", [self.world(p) for p in points]))

    def finish(self):
        s = self.sat
        a = math.radians(self.turn)
        rows = [math.cos(a), math.sin(a), 0.0, -math.sin(a), math.cos(a), 0.0, 0.0, 0.0, 1.0]
        s.set(self.body, Ptr(self.lump), Ptr(-1), Ptr(self.transform))
        s.set(self.transform, *rows, *[float(v) for v in self.move], 1.0, "rotate", "no_reflect",
              "no_shear")
        s.set(self.lump, Ptr(-1), Ptr(self.shell), Ptr(self.body))
        s.set(self.shell, Ptr(-1), Ptr(-1), Ptr(self.face), Ptr(-1), Ptr(self.lump))
        s.set(self.face, Ptr(-1), Ptr(self.loop), Ptr(self.shell), Ptr(-1), Ptr(-1), "forward", "single")
        first = self.coedges[0][0]
        s.set(self.loop, Ptr(-1), Ptr(first), Ptr(self.face))
        n = len(self.coedges)
        for i, (coedge, edge) in enumerate(self.coedges):
            s.set(coedge, Ptr(self.coedges[(i + 1) % n][0]), Ptr(self.coedges[i - 1][0]), Ptr(-1),
                  Ptr(edge), "forward", Ptr(self.loop), Ptr(-1))
        return self


def sample_body(move, turn):
    """A box's twelve edges, a circle, arcs both ways round, a quarter
    ellipse and a spline."""
    b = Body(move, turn)
    corners = [(0, 0, 0), (20, 0, 0), (20, 10, 0), (0, 10, 0)]
    for z in (0, 5):
        for i in range(4):
            a, c = corners[i], corners[(i + 1) % 4]
            b.line((a[0], a[1], z), (c[0], c[1], z))
    for a in corners:
        b.line(a, (a[0], a[1], 5))
    b.arc((35, 5, 0), 5, 0, 360)
    b.arc((35, 20, 0), 6, 0, 90)
    b.arc((35, 20, 0), 6, 180, 270, sense="reversed")
    b.arc((10, 25, 0), 8, 0, 90, ratio=0.5)
    b.spline([(0, 35, 0), (10, 45, 0), (20, 30, 0), (30, 40, 0)])
    return b.finish()


def draw_twin(msp, body):
    """The edges of the body as plain entities."""
    for item in body.drawn:
        if item[0] == "line":
            msp.add_line(item[1], item[2])
        elif item[0] == "arc":
            _, center, radius, ratio, start, end = item
            c = body.world(center)
            major = rotate_z((radius, 0, 0), body.turn)
            if end - start >= 360:
                msp.add_ellipse(c, major, ratio)
            else:
                msp.add_ellipse(c, major, ratio, math.radians(start), math.radians(end))
        else:
            msp.add_open_spline(item[1], degree=3)
