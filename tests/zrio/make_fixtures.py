#!/usr/bin/python3
"""Writes the DXF and DWG test files of the drawing library tests, and the
answers ezdxf gives about them, into the folder named on the command line.

For every drawing NAME.dxf there is NAME.json with:
  extents      [[xmin, ymin], [xmax, ymax]] from ezdxf.bbox.extents(msp)
  tolerance    relative tolerance of the extents comparison
  layers       [[name, colour, on, frozen], ...]
  layouts      layout names in tab order
  blocks       number of block definitions
  properties   [[id, text], ...] summary properties (1 title, 2 subject,
               3 author, 4 keywords, 17 custom "name=value", and last 8 the
               total editing time in whole minutes)
  version      $ACADVER
"""
import json
import math
import os
import struct
import sys
import zipfile
import zlib

import ezdxf
from ezdxf import bbox

VERSIONS = ["R12", "R2000", "R2004", "R2007", "R2010", "R2013", "R2018"]


def add_layers(doc):
    doc.layers.add("WALLS", color=1)
    doc.layers.add("DOORS", color=3)
    hidden = doc.layers.add("HIDDEN", color=5)
    hidden.off()
    frozen = doc.layers.add("FROZEN", color=6)
    frozen.freeze()


def add_styles(doc):
    doc.styles.new("NOTES", dxfattribs={"font": "isocp.shx", "width": 0.8})
    if "DASHED" not in doc.linetypes:
        doc.linetypes.new("DASHED", dxfattribs={"description": "Dashed __ __", "pattern": [0.75, 0.5, -0.25]})
    doc.layers.get("DOORS").dxf.linetype = "DASHED"


def add_blocks(doc, modern):
    door = doc.blocks.new("DOOR", base_point=(1, 1))
    door.add_line((0, 0), (10, 0), dxfattribs={"layer": "0"})
    door.add_arc((0, 0), 10, 0, 90)
    door.add_circle((5, 5), 2)
    frame = doc.blocks.new("FRAME")
    frame.add_line((0, 0), (0, 20))
    frame.add_blockref("DOOR", (3, 3), dxfattribs={"xscale": 0.5, "yscale": 0.5, "rotation": 30})


def add_basic(msp, modern):
    msp.add_line((0, 0), (100, 50), dxfattribs={"layer": "WALLS"})
    msp.add_line((-20, 5, 0), (-10, 80, 0))
    msp.add_circle((40, -80), 12.5, dxfattribs={"layer": "DOORS"})
    msp.add_arc((150, 10), 20, 200, 340)
    msp.add_arc((120, 90), 7, 10, 80)
    msp.add_arc((460, 30), 15, -60, 60)
    points = [(200, 0), (230, 0), (230, 40), (200, 40)]
    if modern:
        msp.add_lwpolyline([(200, 0, 0, 0, 0.5), (230, 0, 0, 0, 0), (230, 40, 0, 0, -1),
                            (200, 40)], format="xyseb", close=True)
    msp.add_polyline2d(points, dxfattribs={"closed": True}).translate(0, 60, 0)
    msp.add_polyline3d([(0, 0, 0), (10, 120, 5), (20, 130, 9)])
    msp.add_blockref("DOOR", (300, 150), dxfattribs={"rotation": 45, "xscale": 2, "yscale": 2})
    msp.add_blockref("FRAME", (-60, -40), dxfattribs={"rotation": -20})
    msp.add_point((10, -70))
    msp.add_solid([(400, 0), (420, 0), (400, 15), (420, 15)])
    msp.add_3dface([(380, -20, 0), (390, -20, 0), (390, -10, 3), (380, -10, 3)])
    face = msp.add_polyface()
    face.append_face([(500, 0, 0), (520, 0, 0), (520, 20, 5), (500, 20, 5)])
    face.append_face([(520, 0, 0), (540, -10, 0), (520, 20, 5)])
    mesh = msp.add_polymesh(size=(3, 2))
    for m in range(3):
        for n in range(2):
            mesh.set_mesh_vertex((m, n), (-100 + m * 10, -50 + n * 15, m * n))
    msp.add_text("Harbeck", dxfattribs={"height": 5, "insert": (0, 60), "style": "NOTES"})


def add_properties(doc, version):
    if version in ("R12",):
        return []
    props = [[1, "Plan of the ground floor"], [2, "Test subject"], [3, "Lin Wei"],
             [4, "plan;ground floor"]]
    # Two hours and six minutes of editing, as days.
    doc.header["$TDINDWG"] = 0.0876
    root = doc.rootdict
    xrecord = doc.objects.add_xrecord(owner=root.dxf.handle)
    tags = [(1, "DWGPROPS COOKIE"), (2, props[0][1]), (3, props[1][1]), (4, props[2][1]),
            (6, ""), (7, props[3][1]), (8, ""), (9, ""), (300, "client=Acme"), (301, "phase=2")]
    xrecord.reset(tags)
    root["DWGPROPS"] = xrecord
    props += [[17, "client=Acme"], [17, "phase=2"]]
    if version not in ("R2000",):
        doc.header.custom_vars.append("project", "Harbeck")
        props.append([17, "project=Harbeck"])
    return props


def answers(doc, tolerance, props):
    box = bbox.extents(doc.modelspace())
    # The drawing library gives the total editing time last, in whole minutes.
    editing = doc.header.get("$TDINDWG")
    if editing is not None:
        props = props + [[8, str(math.floor(editing * 24 * 60))]]
    layers = []
    for layer in doc.layers:
        layers.append([layer.dxf.name, abs(layer.dxf.color), layer.is_on(), layer.is_frozen()])
    return {
        "extents": [[box.extmin.x, box.extmin.y], [box.extmax.x, box.extmax.y]],
        "tolerance": tolerance,
        "layers": layers,
        "layouts": doc.layouts.names_in_taborder(),
        "blocks": len(doc.blocks),
        "properties": props,
        "version": doc.dxfversion,
    }


def save(doc, folder, name, tolerance, props, fmt="asc"):
    path = os.path.join(folder, name + ".dxf")
    doc.saveas(path, fmt=fmt)
    # The answers come from the file as written, read back.
    again = ezdxf.readfile(path)
    with open(os.path.join(folder, name + ".json"), "w") as out:
        json.dump(answers(again, tolerance, props), out)


def basic_drawing(version):
    doc = ezdxf.new(version)
    add_layers(doc)
    add_styles(doc)
    add_blocks(doc, version != "R12")
    add_basic(doc.modelspace(), version != "R12")
    props = add_properties(doc, version)
    if version != "R12":
        doc.layouts.new("Sheet2")
    return doc, props


def curves_drawing(version):
    doc = ezdxf.new(version)
    msp = doc.modelspace()
    msp.add_line((0, 0), (10, 10))
    msp.add_ellipse((50, 50), major_axis=(30, 10), ratio=0.5, start_param=0.3, end_param=5.0)
    msp.add_ellipse((-40, 0), major_axis=(0, 25), ratio=0.3)
    msp.add_spline([(0, 0), (20, 40), (60, -30), (90, 10), (120, 60)])
    msp.add_spline_control_frame([(200, 0), (220, 50), (260, 20), (300, 80)])
    return doc


def render_drawing():
    """A red horizontal line and a green vertical one on their layers, and a
    blue circle (by entity colour): the pixel test."""
    doc = ezdxf.new("R2000")
    doc.layers.add("RED", color=1)
    doc.layers.add("GREEN", color=3)
    msp = doc.modelspace()
    msp.add_line((0, 50), (100, 50), dxfattribs={"layer": "RED"})
    msp.add_line((50, 0), (50, 100), dxfattribs={"layer": "GREEN"})
    msp.add_circle((50, 50), 25, dxfattribs={"color": 5})
    msp.add_point((0, 0))
    msp.add_point((100, 100))
    return doc


def viewport_drawing():
    """The render drawing's model seen through a viewport of Layout1
    (centre (150, 100), 100 x 60, one drawing unit a paper unit, model
    (50, 50) at its centre), and a cyan paper line from (0, 0) to (20, 0)."""
    doc = render_drawing()
    layout = doc.layouts.get("Layout1")
    layout.add_viewport(center=(150, 100), size=(100, 60), view_center_point=(50, 50),
                        view_height=60)
    layout.add_line((0, 0), (20, 0), dxfattribs={"color": 4})
    return doc


def dashed_drawing():
    """A red line from (0, 50) to (100, 50) with dashes of 10 and gaps of
    10, and points at (0, 0) and (100, 100) to fix the extents."""
    doc = ezdxf.new("R2000")
    doc.linetypes.new("TENS", dxfattribs={"description": "10 on 10 off", "pattern": [20, 10, -10]})
    msp = doc.modelspace()
    msp.add_line((0, 50), (100, 50), dxfattribs={"color": 1, "linetype": "TENS"})
    msp.add_point((0, 0))
    msp.add_point((100, 100))
    return doc


def hatch_drawing():
    """An ANSI31 hatch (colour 7) over the square (0, 0)-(100, 100), a green
    solid hatch over (40, 40)-(60, 60) drawn after it."""
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    pattern = msp.add_hatch(color=1)
    pattern.set_pattern_fill("ANSI31", scale=2)
    pattern.paths.add_polyline_path([(0, 0), (100, 0), (100, 100), (0, 100)], is_closed=True)
    solid = msp.add_hatch(color=3)
    solid.paths.add_polyline_path([(40, 40), (60, 40), (60, 60), (40, 60)], is_closed=True)
    return doc


MTEXT_WORDS = "The quick brown fox jumps over the lazy dog while the drawing waits "


def mtext_drawing():
    """Wrapped paragraphs: a red MTEXT at (10, 90), 60 wide, height 4; a blue
    one at (10, 45), 30 wide, height 1.5, long enough to be written in
    several chunks; a green one at (80, 10), 25 wide, height 2, turned by 90
    degrees through its rotation alone; a white one at (10, 12), height 2,
    not wrapped, in a style of width factor 0.5; points at (0, 0) and
    (100, 100)."""
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    msp.add_point((0, 0))
    msp.add_point((100, 100))
    msp.add_mtext(MTEXT_WORDS * 2, dxfattribs={
        "insert": (10, 90), "char_height": 4, "width": 60, "attachment_point": 1, "color": 1})
    msp.add_mtext(MTEXT_WORDS * 4, dxfattribs={
        "insert": (10, 45), "char_height": 1.5, "width": 30, "attachment_point": 1, "color": 5})
    msp.add_mtext(MTEXT_WORDS, dxfattribs={
        "insert": (80, 10), "char_height": 2, "width": 25, "attachment_point": 1, "color": 3,
        "rotation": 90})
    doc.styles.new("NARROW", dxfattribs={"font": "txt.shx", "width": 0.5})
    msp.add_mtext("aaaa aaaa aaaa", dxfattribs={
        "insert": (10, 12), "char_height": 2, "style": "NARROW", "color": 7})
    return doc

def dib(width, height):
    """A 24-bit bottom-up device-independent bitmap of a red/blue pattern."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height):
        row = bytearray()
        for x in range(width):
            row += bytes((255, 0, 0)) if (x + y) % 2 else bytes((0, 0, 255))
        row += bytes(stride - width * 3)
        rows.append(bytes(row))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, stride * height, 0, 0, 0, 0)
    return header + b"".join(rows)


def png(width, height):
    raw = b""
    for y in range(height):
        raw += b"\0" + bytes((0, 128, 255)) * width
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


SENTINEL = bytes((0x1F, 0x25, 0x6D, 0x07, 0xD4, 0x36, 0x28, 0x28,
                  0x9D, 0x57, 0xCA, 0x3F, 0x9D, 0x44, 0x10, 0x2B))


def dwg_with_preview(version, code, picture):
    """A DWG header whose image block holds one picture (2 BMP, 6 PNG)."""
    header = bytearray(version.encode() + bytes(0x80 - 6))
    image_at = 0x80
    data_at = image_at + 16 + 4 + 1 + 9
    struct.pack_into("<I", header, 0x0D, image_at)
    block = SENTINEL + struct.pack("<I", 1 + 9 + len(picture)) + bytes((1,))
    block += bytes((code,)) + struct.pack("<II", data_at, len(picture))
    return bytes(header) + block + picture + bytes(64)


def dwf_package(header, files, method):
    """A DWF file: its version line followed by a ZIP package of the files."""
    import io
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", method) as package:
        for name, data in files:
            package.writestr(name, data)
    return header + buffer.getvalue()


def dwf_descriptor(href, mime):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<dwf:Section xmlns:dwf="DWF-Section:6.0" name="page1">'
            '<dwf:Resources>'
            '<dwf:GraphicResource role="2d streaming graphics" mime="application/x-w2d" href="page1/page.w2d"/>'
            "<dwf:ImageResource role='thumbnail' mime='%s' href='%s' extents='0 0 1 1'/>"
            '</dwf:Resources></dwf:Section>' % (mime, href))


def write_dwf_files(folder):
    """A DWF whose descriptor names a deflated PNG thumbnail by its full
    path, one naming a stored BMP beside the descriptor, and an old DWF."""
    bmp = b"BM" + struct.pack("<IHHI", 14 + len(dib(31, 17)), 0, 0, 54) + dib(31, 17)
    files = [("manifest.xml", "<dwf:Manifest/>"),
             ("page1/page.w2d", b"(W2D V06.00)"),
             ("page1/descriptor.xml", dwf_descriptor("page1/thumbnail.png", "image/png")),
             ("page1/thumbnail.png", png(40, 25))]
    with open(os.path.join(folder, "preview_png.dwf"), "wb") as out:
        out.write(dwf_package(b"(DWF V06.00)", files, zipfile.ZIP_DEFLATED))
    files = [("manifest.xml", "<dwf:Manifest/>"),
             ("page1/descriptor.xml", dwf_descriptor("thumb.bmp", "image/bmp")),
             ("page1/thumb.bmp", bmp)]
    with open(os.path.join(folder, "preview_bmp.dwf"), "wb") as out:
        out.write(dwf_package(b"(DWF V06.00)", files, zipfile.ZIP_STORED))
    with open(os.path.join(folder, "old.dwf"), "wb") as out:
        out.write(b"(DWF V00.55)" + bytes(100))


def kept_drawing(version):
    """Things the library keeps without interpreting them: a named view and
    UCS, a dimension style with its own text style, a group, a custom
    dictionary with an XRECORD, a circle with an extension dictionary and
    extended data, and unusual header values. check_kept.py knows them."""
    doc = ezdxf.new(version)
    doc.header["$ANGBASE"] = 0.5
    doc.header["$TEXTSIZE"] = 7.25
    doc.header["$DIMSCALE"] = 3.0
    doc.styles.new("NOTES2", dxfattribs={"font": "romans.shx", "width": 0.7, "oblique": 15})
    dimstyle = doc.dimstyles.new("HARBECK")
    dimstyle.dxf.dimtxt = 3.5
    dimstyle.dxf.dimtxsty = "NOTES2"
    doc.views.new("NORTH", dxfattribs={"center": (50, 60), "height": 40, "width": 80})
    doc.ucs.new("TILTED", dxfattribs={"origin": (10, 20, 0), "xaxis": (0, 1, 0), "yaxis": (-1, 0, 0)})
    msp = doc.modelspace()
    first = msp.add_line((0, 0), (100, 0))
    second = msp.add_line((0, 0), (0, 100))
    circle = msp.add_circle((50, 50), 20)
    doc.appids.new("HARBECK")
    circle.set_xdata("HARBECK", [(1000, "tag"), (1040, 3.25)])
    if version != "R12":
        doc.groups.new("PAIR").extend([first, second])
        note = circle.new_extension_dict().add_xrecord("NOTE")
        note.reset([(1, "inside"), (40, 1.5)])
        settings = doc.rootdict.add_new_dict("HARBECK_DATA").add_xrecord("SETTINGS")
        settings.reset([(1, "hello"), (40, 2.5), (70, 7)])
    return doc


def write_kept_drawings(folder):
    for version in ("R12", "R2000", "R2018"):
        save(kept_drawing(version), folder, "kept_" + version, 1e-6, [])


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    names = []
    for version in VERSIONS:
        for fmt in ("asc", "bin"):
            doc, props = basic_drawing(version)
            name = "basic_%s_%s" % (version, fmt)
            save(doc, folder, name, 1e-6, props, fmt)
            names.append(name)
            if version != "R12":
                name = "curves_%s_%s" % (version, fmt)
                save(curves_drawing(version), folder, name, 0.01, [], fmt)
                names.append(name)
    save(render_drawing(), folder, "render", 1e-6, [])
    save(viewport_drawing(), folder, "viewport", 1e-6, [])
    save(dashed_drawing(), folder, "dashed", 1e-6, [])
    save(hatch_drawing(), folder, "hatch", 1e-6, [])
    save(mtext_drawing(), folder, "mtext", 1e-6, [])
    with open(os.path.join(folder, "drawings.txt"), "w") as out:
        out.write("\n".join(names) + "\n")
    with open(os.path.join(folder, "preview_bmp.dwg"), "wb") as out:
        out.write(dwg_with_preview("AC1015", 2, dib(37, 21)))
    with open(os.path.join(folder, "preview_png.dwg"), "wb") as out:
        out.write(dwg_with_preview("AC1027", 6, png(45, 30)))
    with open(os.path.join(folder, "nopreview.dwg"), "wb") as out:
        out.write(b"AC1018" + bytes(200))
    write_dwf_files(folder)
    write_viewport_fixtures(folder)
    write_kept_drawings(folder)
    write_text_align_fixtures(folder)
    with open(os.path.join(folder, "stamp"), "w") as out:
        out.write("ok\n")


def frozen_viewport_drawing(version):
    """Layout1 of an R12 or R2000 drawing with model lines on RED (0, 50)-
    (100, 50), GREEN (50, 0)-(50, 100) and HIDDEN (blue, (0, 70)-(100, 70)),
    and a cyan paper line (0, 0)-(20, 0). Viewports: id 1 over the sheet
    (its model view would put the green line at paper x = 250); the main one
    (centre (150, 100), 100 x 60, model (50, 50) at its centre, one unit a
    paper unit, HIDDEN frozen in it); a turned one (centre (300, 100),
    60 x 60, looking at model (50, 50) with view centre (0, 0), twist 90
    degrees)."""
    doc = ezdxf.new(version)
    doc.layers.add("RED", color=1)
    doc.layers.add("GREEN", color=3)
    doc.layers.add("HIDDEN", color=5)
    msp = doc.modelspace()
    msp.add_line((0, 50), (100, 50), dxfattribs={"layer": "RED"})
    msp.add_line((50, 0), (50, 100), dxfattribs={"layer": "GREEN"})
    msp.add_line((0, 70), (100, 70), dxfattribs={"layer": "HIDDEN"})
    layout = doc.layouts.get("Layout1")
    sheet = layout.add_viewport(center=(150, 100), size=(400, 300), view_center_point=(0, 50),
                                view_height=150)
    sheet.dxf.id = 1
    main = layout.add_viewport(center=(150, 100), size=(100, 60), view_center_point=(50, 50),
                               view_height=60)
    main.frozen_layers = ["HIDDEN"]
    turned = layout.add_viewport(center=(300, 100), size=(60, 60), view_center_point=(0, 0),
                                 view_height=60)
    turned.dxf.view_target_point = (50, 50, 0)
    turned.dxf.view_twist_angle = 90
    layout.add_line((0, 0), (20, 0), dxfattribs={"color": 4})
    return doc


def mview_groups(center, height, frozen=(), version=True):
    """The ACAD extended data of an R12 viewport, as (code, value) pairs."""
    groups = [(1001, "ACAD"), (1000, "MVIEW"), (1002, "{")]
    if version:
        groups.append((1070, "16"))
    groups += [(1010, "0.0"), (1020, "0.0"), (1030, "0.0"),
               (1010, "0.0"), (1020, "0.0"), (1030, "1.0"),
               (1040, "0.0"), (1040, str(height)), (1040, str(center[0])), (1040, str(center[1])),
               (1040, "50.0"), (1040, "0.0"), (1040, "0.0")]
    groups += [(1070, "0"), (1070, "100"), (1070, "1"), (1070, "1"), (1070, "0"), (1070, "0"),
               (1070, "0"), (1070, "0"), (1040, "0.0"), (1040, "0.0"), (1040, "0.0"),
               (1040, "10.0"), (1040, "10.0"), (1040, "10.0"), (1040, "10.0"), (1070, "0")]
    groups.append((1002, "{"))
    groups += [(1003, name) for name in frozen]
    groups += [(1002, "}"), (1002, "}")]
    return groups


def broken_mview_lists():
    """Damaged ACAD extended data: each keeps its viewport to its frame."""
    good = mview_groups((0, 0), 40)
    def replaced(index, group):
        g = list(good)
        g[index] = group
        return g
    return [
        [],                                              # no extended data
        good[:2],                                        # MVIEW without its list
        good[:7] + [(1002, "}")],                        # ends after the target
        replaced(9, (1070, "1")),                       # direction z of the wrong kind
        replaced(11, (1070, "40")),                      # height of the wrong kind
        replaced(11, (1040, "abc")),                     # height not a number
        replaced(11, (1040, "0")),                       # zero height
        replaced(11, (1040, "-5")),                      # negative height
        replaced(11, (1040, "1e999")),                   # infinite height
        replaced(11, (1040, "nan")),                     # height not a number
        good[:-1],                                       # outer list not closed
        good[:-3] + [(1003, "0")],                       # frozen name outside its list
        good[:-2] + [(1003, "0")],                       # frozen list not closed
        replaced(1, (1000, "OTHER")),                    # not MVIEW
        [(1001, "OTHERAPP")] + good[1:],                 # another application's data
        replaced(4, (1020, "0.0")),                      # target x missing
        good[:8],                                        # cut inside the direction
    ]


def r12_broken_viewports_text():
    """A hand-written R12 file: red model lines through (0, 0) along both
    axes; on paper one cyan-framed 40 x 40 viewport per damaged MVIEW list
    at centres (50 + 60 i, 50), and one good viewport (model (0, 0) at its
    centre, height 40) at (50, 150) behind another application's data."""
    lines = []
    def group(code, value):
        lines.append("%3d" % code)
        lines.append(str(value))
    for code, value in [(0, "SECTION"), (2, "HEADER"), (9, "$ACADVER"), (1, "AC1009"),
                        (9, "$PLIMMIN"), (10, "0.0"), (20, "0.0"),
                        (9, "$PLIMMAX"), (10, "1000.0"), (20, "200.0"), (0, "ENDSEC"),
                        (0, "SECTION"), (2, "TABLES"), (0, "TABLE"), (2, "LAYER"), (70, "1"),
                        (0, "LAYER"), (2, "0"), (70, "0"), (62, "7"), (6, "CONTINUOUS"),
                        (0, "ENDTAB"), (0, "ENDSEC"), (0, "SECTION"), (2, "ENTITIES")]:
        group(code, value)
    for a, b in [((-10000, 0), (10000, 0)), ((0, -10000), (0, 10000))]:
        for code, value in [(0, "LINE"), (8, "0"), (62, 1), (10, a[0]), (20, a[1]), (30, 0),
                            (11, b[0]), (21, b[1]), (31, 0)]:
            group(code, value)
    def viewport(center, ident, xdata):
        for code, value in [(0, "VIEWPORT"), (8, "0"), (67, 1), (62, 4), (10, center[0]),
                            (20, center[1]), (30, 0), (40, 40), (41, 40), (68, 1), (69, ident)]:
            group(code, value)
        for code, value in xdata:
            group(code, value)
    for i, xdata in enumerate(broken_mview_lists()):
        viewport((50 + 60 * i, 50), i + 2, xdata)
    viewport((50, 150), 99, [(1001, "OTHERAPP"), (1000, "x")] + mview_groups((0, 0), 40, (), False))
    group(0, "ENDSEC")
    group(0, "EOF")
    return "\n".join(lines) + "\n"


def write_viewport_fixtures(folder):
    save(frozen_viewport_drawing("R12"), folder, "r12_viewport", 1e-6, [])
    save(frozen_viewport_drawing("R12"), folder, "r12_viewport_bin", 1e-6, [], "bin")
    save(frozen_viewport_drawing("R2000"), folder, "frozen_viewport", 1e-6, [])
    with open(os.path.join(folder, "r12_broken_viewports.dxf"), "w") as out:
        out.write(r12_broken_viewports_text())


TEXT_ALIGN_GRID = [(h, v) for v in range(4) for h in range(3)]


def text_align_drawing():
    """TEXT in every alignment: points at (0, 0) and (100, 100); an aligned
    "Aligned" from (10, 70) to (50, 78), width factor 0.8, its rotation (30)
    to be ignored; a red fit "FIT WIDTH" from (10, 60) to (90, 60), height
    4; a middle "Middle" at (50, 45), height 3, its insertion point left at
    (0, 0); an ATTDEF fit from (10, 50) to (40, 50), height 2; "Ab", height
    2, for every halign 0..2 and valign 0..3 at (15 + 30 halign,
    10 + 6 valign), in that order (valign outer), each but the first with
    its insertion point at (0, 0); then, degenerate: an aligned "Same" with
    both points at (70, 20), height 2.5; a fit "%%u" (nothing to measure)
    from (70, 30) to (90, 30), height 2."""
    from ezdxf.enums import TextEntityAlignment as Align

    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    msp.add_point((0, 0))
    msp.add_point((100, 100))
    msp.add_text("Aligned", dxfattribs={"height": 2.5, "width": 0.8, "rotation": 30}).set_placement(
        (10, 70), (50, 78), align=Align.ALIGNED)
    msp.add_text("FIT WIDTH", dxfattribs={"height": 4, "color": 1}).set_placement(
        (10, 60), (90, 60), align=Align.FIT)
    middle = msp.add_text("Middle", dxfattribs={"height": 3})
    middle.set_placement((50, 45), align=Align.MIDDLE)
    middle.dxf.insert = (0, 0)
    msp.add_attdef("TAG", (10, 50), "ATTDEF FIT", dxfattribs={"height": 2}).set_placement(
        (10, 50), (40, 50), align=Align.FIT)
    for h, v in TEXT_ALIGN_GRID:
        text = msp.add_text("Ab", dxfattribs={"height": 2})
        text.dxf.halign = h
        text.dxf.valign = v
        text.dxf.align_point = (15 + 30 * h, 10 + 6 * v)
        text.dxf.insert = (15, 10) if (h, v) == (0, 0) else (0, 0)
    msp.add_text("Same", dxfattribs={"height": 2.5}).set_placement(
        (70, 20), (70, 20), align=Align.ALIGNED)
    msp.add_text("%%u", dxfattribs={"height": 2}).set_placement(
        (70, 30), (90, 30), align=Align.FIT)
    return doc


def write_text_align_fixtures(folder):
    save(text_align_drawing(), folder, "text_align", 1e-6, [])


if __name__ == "__main__":
    main()
