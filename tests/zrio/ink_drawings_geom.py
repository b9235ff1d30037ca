"""The ink comparison's drawings of solids, proxy entities, tables,
multileader blocks, dimensions, dynamic blocks, images, helices and OLE
frames. Where ezdxf's drawing add-on skips a kind (ACIS solids,
ACAD_PROXY_ENTITY, image pixels, visibility states, HELIX, OLE2FRAME), a
twin drawing holds what the kind should draw as
plain entities, and the library's picture of the drawing is compared with
ezdxf's picture of the twin.
"""
import math
import os

import ezdxf
from ezdxf.acis import api as acis
from ezdxf.math import Matrix44, Vec2
from ezdxf.render import mleader

import acis_sat
import proxy_graphic


def save(doc, folder, name):
    doc.saveas(os.path.join(folder, name + ".dxf"))


def insert_entities(folder, name, texts):
    """Puts entity texts at the end of the ENTITIES section of a file."""
    path = os.path.join(folder, name + ".dxf")
    with open(path) as f:
        text = f.read()
    end = text.index("  0\nENDSEC", text.index("ENTITIES"))
    with open(path, "w") as f:
        f.write(text[:end] + "".join(texts) + text[end:])


def acis_drawings(folder):
    """3DSOLID and REGION bodies as R2000 files code their SAT text, and as
    SAB in the ACDSDATA section of an R2013 file; their twin draws each
    edge the SAT gives as a line, ellipse or spline."""
    for name, version, place in (("acis_sat", "R2000", (0, 0, 0)), ("acis_sab", "R2013", (60, 0, 0))):
        doc = ezdxf.new(version)
        msp = doc.modelspace()
        twin = ezdxf.new("R2000")
        solid = acis_sat.sample_body(place, 30)
        region = acis_sat.sample_body((place[0] + 20, place[1] - 40, 0), -15)
        for body, entity in ((solid, msp.add_3dsolid()), (region, msp.add_region())):
            if version == "R2000":
                entity.sat = body.sat.text()
            else:
                entity.sab = body.sat.sab()
            acis_sat.draw_twin(twin.modelspace(), body)
        save(doc, folder, name)
        save(twin, folder, name + "_twin")


def proxy_drawings(folder):
    """An ACAD_PROXY_ENTITY (its graphics in its own part) and an entity of
    an unknown class (in its entity part). ezdxf reads the graphics of the
    second kind only: its twin holds two of those, with their three-point
    arcs given by centre and sweep."""
    for name, twin in (("proxy", False), ("proxy_twin", True)):
        first = "ACME_WIDGET" if twin else "ACAD_PROXY_ENTITY"
        doc = ezdxf.new("R2018")
        msp = doc.modelspace()
        save(doc, folder, name)
        owner = msp.layout_key
        insert_entities(folder, name, [
            proxy_graphic.entity_text(first, "FFF0", owner, proxy_graphic.sample(0, not twin), not twin),
            proxy_graphic.entity_text("ACME_WIDGET", "FFF1", owner, proxy_graphic.sample(70, not twin), False)])


def table_without_block(folder, fixtures):
    """The table of a fixture with the name of its block changed: drawn from
    its cells, compared with ezdxf's picture of the table's block."""
    with open(os.path.join(fixtures, "ezd_acad_table_simple.dxf")) as f:
        text = f.read()
    at = text.index("AcDbBlockReference\n  2\n*T1\n")
    text = text[:at] + text[at:].replace("*T1\n", "*T1_NOT_STORED\n", 1)
    with open(os.path.join(folder, "table_cells.dxf"), "w") as f:
        f.write(text)


def multileader_block(folder):
    doc = ezdxf.new("R2018")
    msp = doc.modelspace()
    mark = doc.blocks.new("MARK")
    mark.add_circle((0, 0), 5)
    mark.add_line((-5, -5), (5, 5))
    mark.add_attdef("NUM", (0, 0), dxfattribs={"height": 3, "halign": 1, "valign": 2})
    for at, turn, scale in (((10, 5), 30, 2), ((60, 0), 0, 1)):
        builder = msp.add_multileader_block("Standard")
        builder.set_content(name="MARK", scale=scale, alignment=mleader.BlockAlignment.center_extents)
        builder.set_attribute("NUM", "42")
        builder.add_leader_line(mleader.ConnectionSide.left, [Vec2(at[0] - 30, at[1] - 20)])
        builder.build(insert=Vec2(*at), rotation=turn)
    save(doc, folder, "multileader_block")


def dimensions(folder):
    doc = ezdxf.new("R2018", setup=True)
    msp = doc.modelspace()
    # Text and arrows of a size to see at the drawing's scale.
    style = {"dimstyle": "EZDXF", "override": {"dimtxt": 2.5, "dimasz": 2.5, "dimlfac": 1.0, "dimgap": 0.6,
                                               "dimexe": 1.2, "dimexo": 0.6}}
    msp.add_linear_dim(base=(0, 20), p1=(0, 0), p2=(40, 0), **style).render()
    msp.add_aligned_dim(p1=(50, 0), p2=(80, 20), distance=8, **style).render()
    msp.add_circle((20, -40), 12)
    msp.add_radius_dim(center=(20, -40), radius=12, angle=30, **style).render()
    msp.add_diameter_dim(center=(20, -40), radius=12, angle=160, **style).render()
    msp.add_angular_dim_3p(base=(70, -30), center=(55, -50), p1=(80, -50), p2=(70, -25), **style).render()
    msp.add_arc(center=(110, -40), radius=15, start_angle=20, end_angle=140)
    msp.add_arc_dim_3p(base=(110, -20), center=(110, -40), p1=(124.1, -34.9), p2=(98.5, -30.4), **style).render()
    msp.add_ordinate_x_dim(feature_location=(100, 10), offset=(5, 15), origin=(90, 0), **style).render()
    save(doc, folder, "dimensions")
    # The same without the dimensions' blocks: drawn from their geometry.
    for dimension in msp.query("DIMENSION ARC_DIMENSION"):
        dimension.dxf.geometry = "*NOT_STORED"
    save(doc, folder, "dimensions_without_blocks")


def dynamic_block(folder):
    """A dynamic block of two visibility states (a circle, a square) and a
    line shown in both. Its inserts refer to the definition itself: one
    shows the parameter's first state; the other names the second state in
    its extension data. The twin holds each state as a plain block."""
    for twin in (False, True):
        doc = ezdxf.new("R2018")
        msp = doc.modelspace()
        block = doc.blocks.new("DYN")
        always = block.add_line((-10, -12), (10, -12))
        round_ = block.add_circle((0, 0), 8)
        square = block.add_lwpolyline([(-7, -7), (7, -7), (7, 7), (-7, 7)], close=True)
        if twin:
            other = doc.blocks.new("DYN_SQUARE")
            other.add_line((-10, -12), (10, -12))
            other.add_lwpolyline([(-7, -7), (7, -7), (7, 7), (-7, 7)], close=True)
            block.delete_entity(square)
            msp.add_blockref("DYN", (0, 0))
            msp.add_blockref("DYN_SQUARE", (30, 0))
            save(doc, folder, "dynamic_block_twin")
            continue
        msp.add_blockref("DYN", (0, 0))
        second = msp.add_blockref("DYN", (30, 0))
        xdict = second.new_extension_dict()
        data = xdict.add_xrecord("ACAD_ENHANCEDBLOCKDATA")
        data.reset([(1, "Square")])
        handles = [e.dxf.handle for e in (always, round_, square)]
        save(doc, folder, "dynamic_block")
        path = os.path.join(folder, "dynamic_block.dxf")
        with open(path) as f:
            text = f.read()
        parameter = visibility_parameter(block.block_record_handle, handles,
                                         [("Round", [handles[0], handles[1]]), ("Square", [handles[0], handles[2]])])
        end = text.index("  0\nENDSEC", text.index("OBJECTS"))
        with open(path, "w") as f:
            f.write(text[:end] + parameter + text[end:])


def visibility_parameter(owner, handles, states):
    groups = [(0, "BLOCKVISIBILITYPARAMETER"), (5, "FFF0"), (330, owner), (100, "AcDbEvalExpr"), (90, 1),
              (100, "AcDbBlockElement"), (300, "Visibility1"), (100, "AcDbBlockParameter"), (280, 1),
              (100, "AcDbBlock1PtParameter"), (1010, 0.0), (1020, 0.0), (1030, 0.0),
              (100, "AcDbBlockVisibilityParameter"), (281, 1), (301, "Visibility1"), (302, ""), (91, 0),
              (93, len(handles))]
    groups += [(331, h) for h in handles]
    groups.append((92, len(states)))
    for name, members in states:
        groups += [(303, name), (94, len(members))] + [(332, h) for h in members] + [(95, 0)]
    return "".join("%3d\n%s\n" % (code, value) for code, value in groups)


# An 8 x 6 picture: its quarters red, green, blue and a dark yellow (no
# white, which would not be ink), written as PNG.
IMAGE_SIZE = (8, 6)
QUARTERS = [[(220, 30, 30), (30, 160, 30)], [(30, 30, 200), (150, 140, 20)]]


def picture_color(column, row):
    return QUARTERS[0 if row < IMAGE_SIZE[1] // 2 else 1][0 if column < IMAGE_SIZE[0] // 2 else 1]


def write_picture(path):
    import matplotlib.image
    import numpy
    pixels = numpy.zeros((IMAGE_SIZE[1], IMAGE_SIZE[0], 3), dtype=numpy.uint8)
    for row in range(IMAGE_SIZE[1]):
        for column in range(IMAGE_SIZE[0]):
            pixels[row, column] = picture_color(column, row)
    matplotlib.image.imsave(path, pixels)


# Images: placed (insertion, pixel size, rotation), and clipped: not at all,
# by a polygon, by a rectangle, by a polygon inverted; the last one's file
# is missing.
IMAGES = [((0, 0), 5, 0, None, False, "picture.png"),
          ((60, 0), 4, 30, [(-0.5, -0.5), (7.5, -0.5), (3.5, 5.5)], False, "picture.png"),
          ((0, 50), 5, 0, [(1.5, 0.5), (5.5, 4.5)], False, "picture.png"),
          ((60, 50), 5, -20, [(1.5, 0.5), (6.5, 1.5), (3.5, 4.5)], True, "picture.png"),
          ((120, 0), 5, 0, None, False, "no_such_picture.png")]


def image_corners(at, size, turn, points):
    """World points of clip points (pixel coordinates from the top left
    pixel's centre)."""
    a = math.radians(turn)
    u = (size * math.cos(a), size * math.sin(a))
    v = (-size * math.sin(a), size * math.cos(a))
    out = []
    for x, y in points:
        s, t = x + 0.5, IMAGE_SIZE[1] - 0.5 - y
        out.append((at[0] + u[0] * s + v[0] * t, at[1] + u[1] * s + v[1] * t))
    return out


def outline(clip):
    if clip is None:
        clip = [(-0.5, -0.5), (IMAGE_SIZE[0] - 0.5, IMAGE_SIZE[1] - 0.5)]
    if len(clip) == 2:
        (x0, y0), (x1, y1) = clip
        clip = [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]
    return clip


def images(folder):
    """The images, and their twin: each image's visible area as a solid
    hatch (the picture has no white), its frame as a polyline."""
    write_picture(os.path.join(folder, "picture.png"))
    doc = ezdxf.new("R2018")
    msp = doc.modelspace()
    twin = ezdxf.new("R2018")
    tsp = twin.modelspace()
    for at, size, turn, clip, inverted, file in IMAGES:
        definition = doc.add_image_def(filename=file, size_in_pixel=IMAGE_SIZE)
        a = math.radians(turn)
        image = msp.add_image(definition, insert=at, size_in_units=(size * IMAGE_SIZE[0], size * IMAGE_SIZE[1]),
                              rotation=turn)
        if clip is not None:
            image.set_boundary_path(clip)
        if inverted:
            image.dxf.clip_mode = 1
        frame = image_corners(at, size, turn, outline(clip))
        whole = image_corners(at, size, turn, outline(None))
        tsp.add_lwpolyline(frame, close=True)
        if file != "picture.png":
            continue
        hatch = tsp.add_hatch(color=1)
        if inverted:
            hatch.paths.add_polyline_path(whole)
            hatch.paths.add_polyline_path(frame)
            tsp.add_lwpolyline(whole, close=True)
        else:
            hatch.paths.add_polyline_path(frame)
    save(doc, folder, "images")
    save(twin, folder, "images_twin")


def write_all(folder, fixtures):
    acis_drawings(folder)
    proxy_drawings(folder)
    table_without_block(folder, fixtures)
    multileader_block(folder)
    dimensions(folder)
    dynamic_block(folder)
    images(folder)
    helix_and_ole_frame(folder)
    solids_as_faces(folder, os.path.join(fixtures, "dxp_api-cw750-details.dxf"))


def ole_frame(owner, left, top, right, bottom):
    """An OLE2FRAME (ezdxf makes none) by its upper left and lower right
    corners, with a few bytes of object data."""
    groups = [(0, "OLE2FRAME"), (5, "FFF0"), (330, owner), (100, "AcDbEntity"), (8, "0"),
              (100, "AcDbOle2Frame"), (70, 2), (3, "Paintbrush Picture"), (10, left), (20, top), (30, 0.0),
              (11, right), (21, bottom), (31, 0.0), (71, 2), (72, 0), (90, 16), (310, "00" * 16), (1, "OLE")]
    return "".join("%3d\n%s\n" % (code, value) for code, value in groups)


def helix_and_ole_frame(folder):
    """A helix turned to lie along the y axis, one along the z axis (a
    circle from above) and an OLE frame. ezdxf draws neither kind: the twin
    holds each helix as the spline ezdxf made it from, and the frame as a
    rectangle."""
    for name in ("helix_ole", "helix_ole_twin"):
        doc = ezdxf.new("R2018")
        msp = doc.modelspace()
        lying = msp.add_helix(8, 6, 3)
        lying.transform(Matrix44.chain(Matrix44.x_rotate(math.radians(90)), Matrix44.translate(20, 0, 0)))
        standing = msp.add_helix(5, 2, 2.5)
        standing.transform(Matrix44.translate(50, 10, 0))
        if name.endswith("_twin"):
            for helix in (lying, standing):
                msp.add_spline(dxfattribs={"degree": helix.dxf.degree}).apply_construction_tool(
                    helix.construction_tool())
                msp.delete_entity(helix)
            msp.add_lwpolyline([(70, 30), (90, 30), (90, 18), (70, 18)], close=True)
        save(doc, folder, name)
        if not name.endswith("_twin"):
            insert_entities(folder, name, [ole_frame(msp.layout_key, 70.0, 30.0, 90.0, 18.0)])


def solids_as_faces(folder, path):
    """A twin of a drawing whose 3DSOLIDs keep their bodies as SAB data
    (which ezdxf does not draw): each solid's faces, as ezdxf's ACIS reader
    meshes them, as closed 3D polylines on the solid's layer."""
    doc = ezdxf.readfile(path)
    msp = doc.modelspace()
    for solid in msp.query("3DSOLID"):
        for body in acis.load(solid.sab if solid.has_binary_data else solid.sat):
            for mesh in acis.mesh_from_body(body):
                vertices = list(mesh.vertices)
                for face in mesh.faces:
                    msp.add_polyline3d([vertices[i] for i in face], close=True,
                                       dxfattribs={"layer": solid.dxf.layer})
        msp.delete_entity(solid)
    name = os.path.splitext(os.path.basename(path))[0] + "_solids_as_faces"
    save(doc, folder, name)
