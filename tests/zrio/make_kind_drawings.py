#!/usr/bin/python3
"""Writes drawings that hold the entity kinds the DWG writer encodes beyond
the common ones, for the DWG writer tests, into the folder named on the
command line:
  kind_NAME.dxf     one kind each (2000): 3D solid, region and body with
                    modeler data, raster image with its definition, wipeout,
                    multiline with its style, tolerance, shapes of the
                    shapes.shx written beside them, OLE frame, proxy entity
                    with graphics
  kinds_R2000.dxf   all of them
  kinds_R2018.dxf   all of them in a later version's file, with a mesh and a
                    multileader that DWG 2004 and earlier cannot hold"""
import os
import struct
import sys

import ezdxf
from make_ink_drawings import SHAPES_SOURCE, compile_shapes
from ezdxf.math import Vec2
from ezdxf.render import mleader

# A unit cube as the modeler writes it (ACIS 7.0 text).
CUBE = """700 0 1 0
@33 Open Design Alliance ACIS Builder @12 ACIS 7.0 NT @24 Thu Jan 01 00:00:00 2004
1 9.9999999999999995e-007 1e-010
body $-1 -1 $-1 $1 $-1 $2 #
lump $-1 -1 $-1 $-1 $3 $0 #
transform $-1 -1 1 0 0 0 1 0 0 0 1 0 0 0 1 no_rotate no_reflect no_shear #
shell $-1 -1 $-1 $-1 $-1 $4 $-1 $1 #
face $-1 -1 $-1 $-1 $-1 $3 $-1 $5 forward single #
plane-surface $-1 -1 $-1 0 0 1 0 0 1 1 0 0 forward_v I I I I #
End-of-ACIS-data""".split("\n")


def proxy_graphics():
    """A closed square as proxy graphics: one polyline command."""
    points = [(0, 0, 0), (5, 0, 0), (5, 5, 0), (0, 5, 0), (0, 0, 0)]
    command = struct.pack("<II", 6, len(points)) + b"".join(struct.pack("<3d", *p) for p in points)
    command = struct.pack("<I", len(command) + 4) + command
    return struct.pack("<II", len(command) + 8, 1) + command


def hex_chunks(code, data):
    return [(code, data[at:at + 127].hex().upper()) for at in range(0, len(data), 127)]


def proxy_entity(handle, owner):
    graphics = proxy_graphics()
    data = bytes([0x12, 0x34, 0x56, 0x78, 0x9A])
    return [(0, "ACAD_PROXY_ENTITY"), (5, handle), (330, owner), (100, "AcDbEntity"), (8, "0"),
            (100, "AcDbProxyEntity"), (90, 498), (91, 500), (92, len(graphics))] + \
        hex_chunks(310, graphics) + [(93, len(data) * 8 - 3)] + hex_chunks(310, data) + \
        [(94, 0), (95, 0x0017), (70, 0)]


def ole_frame(handle, owner):
    data = bytes(range(256)) * 3
    return [(0, "OLE2FRAME"), (5, handle), (330, owner), (100, "AcDbEntity"), (8, "0"),
            (100, "AcDbOle2Frame"), (70, 2), (3, "Paintbrush Picture"), (10, 30.0), (20, 30.0),
            (30, 0.0), (11, 40.0), (21, 25.0), (31, 0.0), (71, 2), (72, 0), (90, len(data))] + \
        hex_chunks(310, data) + [(1, "OLE")]


def add_modeler(kind):
    def add(doc, msp):
        msp.new_entity(kind, {"layer": "0"}).sat = CUBE
    return add


def add_image(doc, msp):
    definition = doc.add_image_def(filename="photo.png", size_in_pixel=(640, 480))
    image = msp.add_image(definition, insert=(30, 0), size_in_units=(6.4, 4.8), rotation=15)
    image.set_boundary_path([(50, 50), (600, 60), (300, 400)])


def add_mline(doc, msp):
    msp.add_mline([(0, 20), (10, 20), (10, 30), (0, 35)], dxfattribs={"scale_factor": 2})


def add_tolerance(doc, msp):
    msp.new_entity("TOLERANCE", {"insert": (20, 20), "content": "{\\Fgdt;j}%%v0.5", "dimstyle": "Standard"})


def add_wipeout(doc, msp):
    msp.add_wipeout([(40, 0), (45, 0), (45, 5), (40, 4)])


def add_shapes(doc, msp):
    doc.styles.new("SHAPE_FILE", dxfattribs={"font": "shapes.shx", "flags": 1})
    msp.add_shape("BOX", (50, 0), 2, dxfattribs={"rotation": 30})
    msp.add_shape("ROUND", (55, 0), 1.5)


# Kinds ezdxf makes, by the name of the drawing that holds each alone.
KINDS = {"solid": add_modeler("3DSOLID"), "region": add_modeler("REGION"),
         "body": add_modeler("BODY"), "image": add_image, "wipeout": add_wipeout,
         "mline": add_mline, "tolerance": add_tolerance, "shape": add_shapes}
# Kinds that go in by hand, after ezdxf has written the file.
HAND_MADE = {"proxy": [proxy_entity], "ole": [ole_frame]}


def later_kinds(doc, msp):
    msp.add_mesh().vertices = [(0, 0, 0), (1, 0, 0), (1, 1, 0)]
    leader = msp.add_multileader_mtext("Standard")
    leader.set_content("note")
    leader.add_leader_line(mleader.ConnectionSide.left, [Vec2(60, 60)])
    leader.build(insert=Vec2(70, 70))


def write(folder, name, version, adders, hand_made):
    doc = ezdxf.new(version)
    for add in adders:
        add(doc, doc.modelspace())
    path = os.path.join(folder, name + ".dxf")
    doc.saveas(path)
    if not hand_made:
        return
    # ezdxf makes no proxy entities or OLE frames: they go in by hand, at the
    # end of the model space, with handles above the file's.
    with open(path) as source:
        text = source.read()
    entities = text.index("ENTITIES\n")
    end = text.index("  0\nENDSEC", entities)
    owner = doc.modelspace().block_record_handle
    seed = int(doc.header["$HANDSEED"], 16)
    groups = []
    for i, make in enumerate(hand_made):
        groups += make("%X" % (seed + i), owner)
    text = text[:end] + "".join("%3d\n%s\n" % g for g in groups) + text[end:]
    text = text.replace("$HANDSEED\n  5\n%s\n" % doc.header["$HANDSEED"],
                        "$HANDSEED\n  5\n%X\n" % (seed + len(hand_made)), 1)
    with open(path, "w") as out:
        out.write(text)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "shapes.shx"), "wb") as shx:
        shx.write(compile_shapes(SHAPES_SOURCE))
    for name, add in KINDS.items():
        write(folder, "kind_" + name, "R2000", [add], [])
    for name, makers in HAND_MADE.items():
        write(folder, "kind_" + name, "R2000", [], makers)
    every_maker = [make for makers in HAND_MADE.values() for make in makers]
    write(folder, "kinds_R2000", "R2000", list(KINDS.values()), every_maker)
    write(folder, "kinds_R2018", "R2018", list(KINDS.values()) + [later_kinds], every_maker)
    with open(os.path.join(folder, "stamp"), "w") as out:
        out.write("ok\n")


if __name__ == "__main__":
    main()
