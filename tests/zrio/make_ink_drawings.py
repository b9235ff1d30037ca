#!/usr/bin/python3
"""Writes the drawings of the ink comparison (ink_test.cpp) into the folder
named on the command line, one drawing for each kind of thing drawn.

Usage: make_ink_drawings.py FOLDER
"""
import math
import os
import re
import struct
import sys

import ezdxf
from ezdxf.math import Vec2
from ezdxf.render import mleader

import ink_drawings_geom


def polyline_widths(msp):
    msp.add_lwpolyline([(0, 0), (40, 0), (40, 30)], dxfattribs={"const_width": 3})
    # start width, end width and bulge on each vertex
    msp.add_lwpolyline([(60, 0, 0, 6, 0), (100, 0, 6, 0, 0), (100, 30, 2, 2, 1), (80, 50, 2, 2, 0)],
                       format="xyseb")
    msp.add_lwpolyline([(0, 60, 4, 4, 0.5), (30, 60, 4, 4, -0.7), (60, 70, 4, 4, 0), (60, 90, 0, 0, 0)],
                       format="xyseb", close=True)
    old = msp.add_polyline2d([(80, 70), (110, 70), (110, 100)], dxfattribs={"default_start_width": 2,
                                                                           "default_end_width": 5})
    old.vertices[1].dxf.bulge = 0.4


def as_hairlines(doc, msp):
    """The polylines of a drawing without their widths."""
    for polyline in msp.query("LWPOLYLINE"):
        polyline.dxf.const_width = 0
        polyline.set_points([(x, y, 0, 0, b) for x, y, s, e, b in polyline.get_points("xyseb")], format="xyseb")
    for polyline in msp.query("POLYLINE"):
        polyline.dxf.default_start_width = polyline.dxf.default_end_width = 0
        for vertex in polyline.vertices:
            vertex.dxf.start_width = vertex.dxf.end_width = 0


def with_taller_texts(build, factor):
    """A drawing as `build` writes it, its MTEXTs `factor` times as tall."""
    def build_taller(doc, msp):
        build(doc, msp)
        for mtext in msp.query("MTEXT"):
            mtext.dxf.char_height *= factor
    return build_taller


def without_entity(build, index):
    """A drawing as `build` writes it, but for its model space entity of
    that index."""
    def build_less_one(doc, msp):
        build(doc, msp)
        msp.delete_entity(list(msp)[index])
    return build_less_one


def splines(msp):
    msp.add_spline(fit_points=[(0, 0), (20, 15), (40, -5), (60, 20), (80, 0)])
    msp.add_open_spline([(0, 40), (15, 70), (35, 30), (55, 75), (80, 40)], degree=3)
    msp.add_rational_spline([(0, 90), (30, 120), (60, 90)], weights=[1, 3, 1], degree=2)
    msp.add_spline(fit_points=[(100, 0), (130, 10), (125, 40), (100, 35)], degree=3)
    leader = msp.add_leader([(100, 60), (115, 80), (140, 85)])
    leader.dxf.path_type = 1


def mtext_codes(msp):
    texts = [
        r"Plain \fArial|b1|i0;Arial bold \H2x;double \W2;wide",
        r"\Q20;Oblique \T2;tracked \C1;red \c16711935;true",
        r"Stack \S1/2; and \S3^4; and \S5#6; done",
        r"Line one\PLine two\P\LUnder\l \OOver\o \KStrike\k",
    ]
    for row, text in enumerate(texts):
        msp.add_mtext(text, dxfattribs={"char_height": 2.5, "insert": (0, -row * 12), "width": 200})
    columns = msp.add_mtext(r"First column text\NSecond column text",
                            dxfattribs={"char_height": 2.5, "insert": (0, -60), "width": 30})
    columns.dxf.width = 30


def mtext_placement(doc, msp):
    """Each inline code where it changes where text stands, at the start of
    a line (so that the faces' widths before it do not move it): heights and
    the line spacing they make, width, slant, tracking, colour, a font,
    stacks, paragraphs with indents and alignments, lines under, over and
    through, and columns."""
    texts = [r"\H2x;Tall\Pnext", r"\W2;Wide", r"\Q20;Slant", r"\T2;Track", r"\C1;Red",
             r"\fArial|b1|i0;Bold", r"\S1/2;", r"\S3#4;", r"\S+0.1^-0.2;", r"One\PTwo\PThree",
             r"\pi2,l5;Indented\Pnext", r"\pxi-3,l5;Hanging words wrap here", r"\pxqc;Centred",
             r"\pxqr;Right", r"\LUnder\l", r"\OOver\o\P\KThrough\k"]
    for index, text in enumerate(texts):
        msp.add_mtext(text, dxfattribs={"char_height": 2.5, "insert": (index % 4 * 45, -(index // 4) * 20),
                                        "width": 40})
    msp.add_mtext(r"Break one\NBreak two", dxfattribs={"char_height": 2.5, "insert": (0, -80), "width": 30})
    mtext_columns(doc, msp)


def mtext_columns(doc, msp):
    """Static and dynamic columns (R2018: an embedded object; R2007-R2013:
    extended data and linked MTEXTs)."""
    msp.add_mtext_static_columns(["Static one words", "Static two"], width=20, gutter_width=5, height=15,
                                 dxfattribs={"char_height": 2.5, "insert": (70, -80)})
    msp.add_mtext_dynamic_manual_height_columns("Dynamic words that flow along in columns", width=20,
                                                gutter_width=4, heights=[8, 12],
                                                dxfattribs={"char_height": 2.5, "insert": (0, -105)})
    msp.add_mtext_dynamic_auto_height_columns("Auto words flow along into three columns", width=20,
                                              gutter_width=4, height=10, count=3,
                                              dxfattribs={"char_height": 2.5, "insert": (80, -105)})


def mirrored_text(doc, msp):
    block = doc.blocks.new("LABEL")
    block.add_text("MIRROR", dxfattribs={"height": 5, "insert": (0, 0)})
    block.add_line((0, -2), (30, -2))
    block.add_mtext("MTEXT too", dxfattribs={"char_height": 4, "insert": (0, -5)})
    msp.add_blockref("LABEL", (0, 0))
    msp.add_blockref("LABEL", (-10, -30), dxfattribs={"xscale": -1})
    msp.add_blockref("LABEL", (40, -30), dxfattribs={"yscale": -1})
    msp.add_text("Backward", dxfattribs={"height": 5, "insert": (0, 20), "text_generation_flag": 2})
    msp.add_text("Upside down", dxfattribs={"height": 5, "insert": (40, 20), "text_generation_flag": 4})


def mline_meshes(doc, msp):
    msp.add_mline([(0, 0), (40, 0), (40, 30), (70, 30)], dxfattribs={"scale_factor": 4})
    mesh = msp.add_polymesh((4, 3))
    for m in range(4):
        for n in range(3):
            mesh.set_mesh_vertex((m, n), (80 + m * 10, n * 10, m * n))
    face = msp.add_polyface()
    face.append_face([(0, 50, 0), (20, 50, 0), (20, 70, 0), (0, 70, 0)])
    face.append_face([(20, 50, 0), (40, 60, 0), (20, 70, 0)])
    face.optimize()
    msp.add_trace([(50, 50), (90, 50), (50, 60), (90, 65)])
    msp.add_attdef("TAG_NAME", (100, 50), dxfattribs={"height": 5})


def new_kinds(doc, msp):
    for y in range(0, 40, 4):
        msp.add_line((0, y), (60, y))
    msp.add_wipeout([(10, 5), (40, 5), (40, 30), (10, 30)])
    with msp.add_mesh().edit_data() as mesh:
        mesh.vertices = [(0, 50, 0), (30, 50, 0), (30, 70, 5), (0, 70, 5), (15, 85, 0)]
        mesh.faces = [(0, 1, 2, 3), (3, 2, 4)]


def multileader(doc, msp):
    builder = msp.add_multileader_mtext("Standard")
    builder.set_content("Leader text", char_height=2.5)
    builder.add_leader_line(mleader.ConnectionSide.left, [Vec2(-20, -15), Vec2(-30, 5)])
    builder.build(insert=Vec2(10, 5))


# Shapes in .shp source text: "*number,bytes,NAME" then byte codes; a
# number with a leading 0 is hexadecimal.
SHAPES_SOURCE = """
*1,6,BOX
040,034,048,03C,0
*2,9,ROUND
2,8,(2,0),1,10,(2,000),0
*3,8,FRACTION
11,(56,11,0,3,012),0
*4,5,BULGE
12,(4,0,127),0
*5,8,NESTED
5,7,1,6,4,2,040,0
"""


def compile_shapes(source):
    """The .shx bytes ("AutoCAD-86 shapes 1.0") of .shp source text."""
    shapes = []
    for line in source.strip().splitlines():
        if line.startswith("*"):
            number, _, name = line[1:].split(",")
            shapes.append((int(number), name, bytearray()))
            continue
        for token in line.replace("(", "").replace(")", "").split(","):
            value = int(token, 16 if token.lstrip("-").startswith("0") and len(token.lstrip("-")) > 1 else 10)
            shapes[-1][2].append(value & 0xFF)
    out = bytearray(b"AutoCAD-86 shapes 1.0\r\n\x1a")
    out += struct.pack("<3H", shapes[0][0], shapes[-1][0], len(shapes))
    for number, name, codes in shapes:
        out += struct.pack("<2H", number, len(name) + 1 + len(codes))
    for number, name, codes in shapes:
        out += name.encode() + b"\0" + codes
    return bytes(out)


def shape_placement(insert, size, rotation=0, width=1, oblique=0):
    """Maps a point of a shape's vector units into the drawing."""
    c, s, slant = math.cos(math.radians(rotation)), math.sin(math.radians(rotation)), math.tan(math.radians(oblique))

    def place(p):
        x, y = (p[0] + p[1] * slant) * size * width, p[1] * size
        return (insert[0] + x * c - y * s, insert[1] + x * s + y * c)
    return place


def shapes(doc, msp, reference):
    """SHAPE entities from shapes.shx, and beside them (in `reference`) the
    lines and arcs their codes describe, as ezdxf draws no SHAPE."""
    doc.styles.new("SHAPE_FILE", dxfattribs={"font": "shapes.shx", "flags": 1})
    box = [(0, 0), (4, 0), (4, 3), (0, 3), (0, 0)]
    for insert, rotation, width, oblique in [((0, 0), 0, 1, 0), ((20, 0), 30, 1, 0), ((40, 0), 0, 1.5, 20)]:
        msp.add_shape("BOX", insert, 2, dxfattribs={"rotation": rotation, "xscale": width, "oblique": oblique})
        reference.add_lwpolyline([shape_placement(insert, 2, rotation, width, oblique)(p) for p in box])
    # A full octant circle of radius 2 about the start after a pen-up (2, 0).
    msp.add_shape("ROUND", (10, 20), 2)
    reference.add_circle((10, 20), 4)
    # The fractional arc from octant 1 + 56/256 to octant 2 + 11/256, radius 3.
    start, end = 45 + 56 * 45 / 256, 90 + 11 * 45 / 256
    msp.add_shape("FRACTION", (30, 20), 2, dxfattribs={"rotation": 10})
    centre = shape_placement((30, 20), 2, 10)((-3 * math.cos(math.radians(start)), -3 * math.sin(math.radians(start))))
    reference.add_arc(centre, 6, start + 10, end + 10)
    # A half circle below the chord from (0, 0) to (4, 0).
    msp.add_shape("BULGE", (45, 20), 2)
    reference.add_arc((49, 20), 4, 180, 360)
    # The box as a subshape between push and pop, then at scale 2 a line
    # of 8 along x.
    msp.add_shape("NESTED", (0, 35), 1.5)
    nested = shape_placement((0, 35), 1.5)
    reference.add_lwpolyline([nested(p) for p in box])
    reference.add_line(nested((0, 0)), nested((8, 0)))


def text_advance(text):
    """Width of ASCII text in text heights, as the library measures it."""
    widths = [("il.,;:!|'`", 0.3), ('Ijf()[]{}"', 0.45), (" -/\\rt*", 0.5), ("mwMW@%", 0.95)]
    return sum(next((w for chars, w in widths if c in chars), 0.7) for c in text)


def symbol_lines(symbol, cx, cy, h):
    """The standard geometric-tolerance symbols the tolerance drawing uses,
    as circles (x, y, r) and lines ((x, y), ...), size h about (cx, cy)."""
    r = h / 2
    shapes = {"j": ([(0, 0, 0.6 * r)], [((-r, 0), (r, 0)), ((0, -r), (0, r))]),
              "n": ([(0, 0, 0.7 * r)], [((-r, -r), (r, r))]),
              "m": ([(0, 0, r)], []),
              "r": ([(0, 0, r), (0, 0, r / 2)], []),
              "c": ([], [((-r, -r / 2), (r / 2, -r / 2), (r, r / 2), (-r / 2, r / 2), (-r, -r / 2))]),
              "b": ([], [((-r, -r), (r, -r)), ((0, -r), (0, r))]),
              "u": ([], [((-r, 0), (r, 0))])}
    circles, lines = shapes[symbol]
    return ([(cx + x, cy + y, radius) for x, y, radius in circles],
            [[(cx + x, cy + y) for x, y in line] for line in lines])


def tolerance_reference(msp, text, insert, angle, h, gap):
    """The boxes, symbols and texts of a feature control frame from the
    text height rules: rows h + 2 gap high, the first centred on the
    insertion point; a symbol's box square, a value's as wide as its text
    and symbols (h each) with a gap either side; text on a baseline h/2
    below the row's middle; the modifiers' letters 0.6 h in their circle."""
    block = msp.doc.blocks.new("FCF%d" % len(msp.doc.blocks))
    row = h + 2 * gap
    for index, line in enumerate(text.split("^J")):
        middle, x = -index * row, 0
        for field in line.split("%%v"):
            pieces = re.findall(r"\{\\Fgdt;(.)\}|([^{]+)", field)
            if not pieces:
                continue
            square = len(pieces) == 1 and pieces[0][0]
            width = row if square else 2 * gap + sum(h if s else text_advance(t) * h for s, t in pieces)
            at = x + (row - h) / 2 if square else x + gap
            for symbol, plain in pieces:
                if plain:
                    block.add_text(plain, dxfattribs={"height": h, "insert": (at, middle - h / 2)})
                    at += text_advance(plain) * h
                    continue
                circles, lines = symbol_lines(symbol, at + h / 2, middle, h)
                for cx, cy, radius in circles:
                    block.add_circle((cx, cy), radius)
                for points in lines:
                    block.add_lwpolyline(points)
                if symbol == "m":
                    block.add_text("M", dxfattribs={"height": 0.6 * h, "insert": (at + h / 2, middle),
                                                    "halign": 1, "valign": 2, "align_point": (at + h / 2, middle)})
                at += h
            block.add_lwpolyline([(x, middle - row / 2), (x + width, middle - row / 2), (x + width, middle + row / 2),
                                  (x, middle + row / 2)], close=True)
            x += width
    msp.add_blockref(block.name, insert, dxfattribs={"rotation": angle})


def tolerances(doc, msp, reference):
    """Feature control frames in a dimension style of their own and in the
    standard one, straight and turned; ezdxf draws no TOLERANCE, so the
    reference draws them from the text height rules."""
    style = doc.dimstyles.new("FCF", dxfattribs={"dimtxt": 3.5, "dimgap": 1, "dimscale": 1})
    cases = [(r"{\Fgdt;j}%%v{\Fgdt;n}0.5{\Fgdt;m}%%vA%%vB%%vC", (0, 0), 0, "FCF"),
             (r"{\Fgdt;r}%%v0.02%%vA^J{\Fgdt;c}%%v0.1", (0, -20), 0, "FCF"),
             (r"{\Fgdt;b}%%v0.05%%vA", (60, -10), 30, "FCF"),
             (r"{\Fgdt;u}%%v0.01", (0, -45), 0, "Standard")]
    for text, insert, angle, name in cases:
        direction = (math.cos(math.radians(angle)), math.sin(math.radians(angle)), 0)
        msp.new_entity("TOLERANCE", dxfattribs={"content": text, "insert": insert, "dimstyle": name,
                                                "x_axis_vector": direction})
        h, gap = (3.5, 1) if name == "FCF" else (doc.header["$DIMTXT"], doc.header["$DIMGAP"])
        tolerance_reference(reference, text, insert, angle, h, gap)


def write(folder, name, build, version="R2018"):
    doc = ezdxf.new(version)
    msp = doc.modelspace()
    build(doc, msp)
    doc.saveas(os.path.join(folder, name + ".dxf"))


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    write(folder, "polyline_widths", lambda doc, msp: polyline_widths(msp))
    # ezdxf draws nothing for a segment without width in a polyline with
    # widths: its twin has the closing segment of one as a line.
    write(folder, "polyline_widths_twin", lambda doc, msp: (polyline_widths(msp), msp.add_line((60, 90), (0, 60))))
    write(folder, "polyline_hairlines", lambda doc, msp: (polyline_widths(msp), as_hairlines(doc, msp)))
    write(folder, "splines", lambda doc, msp: splines(msp))
    write(folder, "mtext_codes", lambda doc, msp: mtext_codes(msp))
    write(folder, "mtext_placement", mtext_placement)
    write(folder, "mtext_placement_less_one", without_entity(mtext_placement, 9))
    write(folder, "mtext_placement_taller", with_taller_texts(mtext_placement, 1.6))
    write(folder, "mtext_columns_2013", mtext_columns, "R2013")
    write(folder, "mirrored_text", mirrored_text)
    write(folder, "mline_meshes", mline_meshes)
    write(folder, "new_kinds", new_kinds)
    write(folder, "multileader", multileader)
    reference = ezdxf.new("R2018")
    write(folder, "shapes", lambda doc, msp: shapes(doc, msp, reference.modelspace()))
    reference.saveas(os.path.join(folder, "shapes_reference.dxf"))
    reference = ezdxf.new("R2000")
    write(folder, "tolerances", lambda doc, msp: tolerances(doc, msp, reference.modelspace()), "R2000")
    reference.saveas(os.path.join(folder, "tolerances_reference.dxf"))
    with open(os.path.join(folder, "shapes.shx"), "wb") as shx:
        shx.write(compile_shapes(SHAPES_SOURCE))
    ink_drawings_geom.write_all(folder, os.path.join(os.path.dirname(__file__), "..", "fixtures", "dxf"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
