"""Proxy graphics written for the tests: the metafile of drawing commands an
entity of an unknown class carries (a header of total size and command
count, then each command's size, type and data, little-endian), and the
text of an entity carrying it, for putting into a DXF file ezdxf wrote.
"""
import math
import struct

CIRCLE, ARC, ARC_3P, POLYLINE, POLYGON, MESH, SHELL, TEXT = 2, 4, 5, 6, 7, 8, 9, 10
COLOR, FILL, PUSH_TRANSFORM, POP_TRANSFORM, UNICODE_TEXT = 14, 20, 29, 31, 36


def point(p):
    return struct.pack("<3d", float(p[0]), float(p[1]), float(p[2]) if len(p) > 2 else 0.0)


def padded(data):
    return data + b"\0" * (4 - len(data) % 4)


class Graphic:
    def __init__(self):
        self.commands = []

    def add(self, kind, data):
        self.commands.append(struct.pack("<2I", 8 + len(data), kind) + data)

    def circle(self, center, radius):
        self.add(CIRCLE, point(center) + struct.pack("<d", radius) + point((0, 0, 1)))

    def arc(self, center, radius, start_vector, sweep):
        self.add(ARC, point(center) + struct.pack("<d", radius) + point((0, 0, 1)) + point(start_vector)
                 + struct.pack("<di", sweep, 0))

    def arc_3p(self, a, b, c):
        self.add(ARC_3P, point(a) + point(b) + point(c) + struct.pack("<i", 0))

    def polyline(self, points, kind=POLYLINE):
        self.add(kind, struct.pack("<i", len(points)) + b"".join(point(p) for p in points))

    def mesh(self, rows, columns, points):
        # No edge, face or vertex data follow the vertices.
        self.add(MESH, struct.pack("<2i", rows, columns) + b"".join(point(p) for p in points)
                 + struct.pack("<3i", 0, 0, 0))

    def shell(self, vertices, faces):
        entries = []
        for face in faces:
            entries += [len(face)] + list(face)
        self.add(SHELL, struct.pack("<i", len(vertices)) + b"".join(point(p) for p in vertices)
                 + struct.pack("<i", len(entries)) + struct.pack("<%di" % len(entries), *entries)
                 + struct.pack("<3i", 0, 0, 0))

    def text(self, at, height, text):
        self.add(TEXT, point(at) + point((0, 0, 1)) + point((1, 0, 0)) + struct.pack("<3d", height, 1, 0)
                 + padded(text.encode("ascii")))

    def unicode_text(self, at, height, text):
        self.add(UNICODE_TEXT, point(at) + point((0, 0, 1)) + point((1, 0, 0))
                 + struct.pack("<3d", height, 1, 0) + padded(text.encode("utf-16-le") + b"\0"))

    def color(self, index):
        self.add(COLOR, struct.pack("<i", index))

    def fill(self, on):
        self.add(FILL, struct.pack("<i", 1 if on else 0))

    def push_translation(self, x, y):
        rows = [1, 0, 0, x, 0, 1, 0, y, 0, 0, 1, 0, 0, 0, 0, 1]
        self.add(PUSH_TRANSFORM, struct.pack("<16d", *rows))

    def pop(self):
        self.add(POP_TRANSFORM, b"")

    def bytes(self):
        body = b"".join(self.commands)
        return struct.pack("<2I", 8 + len(body), len(self.commands)) + body


def sample(dx=0.0, three_point_arc=True):
    """Circles, arcs, a polyline, a filled polygon, a mesh, a shell and two
    texts, in colours, one text under a pushed transform. Without
    three_point_arc the arc through (40, 5), (45, 12) and (50, 5) is given
    by its centre, radius and sweep instead (ezdxf draws a three-point arc
    on the other side of its chord)."""
    g = Graphic()
    g.color(1)
    g.circle((dx + 10, 10, 0), 5)
    g.arc((dx + 30, 10, 0), 6, (1, 0, 0), 2.5)
    if three_point_arc:
        g.arc_3p((dx + 40, 5, 0), (dx + 45, 12, 0), (dx + 50, 5, 0))
    else:
        # The centre (45, k) is as far from (40, 5) as from (45, 12):
        # 25 + (5 - k)^2 = (12 - k)^2, k = 94 / 14.
        k = 94 / 14
        g.arc((dx + 45, k, 0), 12 - k, (5 / (12 - k), (5 - k) / (12 - k), 0),
              math.pi + 2 * math.atan2(k - 5, 5))
    g.color(3)
    g.polyline([(dx, 20), (dx + 20, 30), (dx + 40, 20), (dx + 55, 30)])
    g.fill(True)
    g.polyline([(dx, 35), (dx + 15, 35), (dx + 8, 45)], POLYGON)
    g.fill(False)
    g.mesh(2, 3, [(dx + 20, 35, 0), (dx + 30, 35, 0), (dx + 40, 35, 0),
                  (dx + 20, 45, 0), (dx + 30, 45, 0), (dx + 40, 45, 0)])
    g.shell([(dx + 45, 35, 0), (dx + 55, 35, 0), (dx + 55, 45, 0), (dx + 45, 45, 0)], [(0, 1, 2), (0, 2, 3)])
    g.color(5)
    g.push_translation(dx, 50)
    g.text((0, 0, 0), 4, "PROXY")
    g.pop()
    g.unicode_text((dx + 25, 50, 0), 4, "Unicode")
    return g.bytes()


def hex_lines(data):
    text = data.hex().upper()
    return [text[i:i + 254] for i in range(0, len(text), 254)]


def entity_text(kind, handle, owner, data, proxy_part):
    """The DXF groups of an entity carrying the graphics in its entity part:
    an ACAD_PROXY_ENTITY (proxy_part) or an entity of another class."""
    graphics = [(92, len(data))] + [(310, line) for line in hex_lines(data)]
    groups = [(0, kind), (5, handle), (330, owner), (100, "AcDbEntity"), (8, "0")] + graphics
    if proxy_part:
        groups += [(100, "AcDbProxyEntity"), (90, 498), (91, 500), (93, 0), (94, 0), (95, 0), (70, 0)]
    return "".join("%3d\n%s\n" % (code, value) for code, value in groups)
