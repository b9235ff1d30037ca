#!/usr/bin/python3
"""Writes the drawings of the ink comparison (ink_test.cpp) into the folder
named on the command line, one drawing for each kind of thing drawn.

Usage: make_ink_drawings.py FOLDER
"""
import math
import os
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


def write(folder, name, build, version="R2018"):
    doc = ezdxf.new(version)
    msp = doc.modelspace()
    build(doc, msp)
    doc.saveas(os.path.join(folder, name + ".dxf"))


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    write(folder, "polyline_widths", lambda doc, msp: polyline_widths(msp))
    write(folder, "splines", lambda doc, msp: splines(msp))
    write(folder, "mtext_codes", lambda doc, msp: mtext_codes(msp))
    write(folder, "mirrored_text", mirrored_text)
    write(folder, "mline_meshes", mline_meshes)
    write(folder, "new_kinds", new_kinds)
    write(folder, "multileader", multileader)
    ink_drawings_geom.write_all(folder, os.path.join(os.path.dirname(__file__), "..", "fixtures", "dxf"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
