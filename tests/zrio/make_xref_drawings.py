#!/usr/bin/python3
"""Writes the drawings of the external reference tests (xref_test.cpp and
the ink comparison) into the folder named on the command line: hosts that
refer to other drawings by absolute and relative paths, by a name found in
the search folders, nested, in a cycle, as overlays, to missing and broken
files; a bound copy of a host, its references made ordinary blocks, for
ezdxf to draw; and a host whose references hold images (ImageMagick writes
the pictures).

Usage: make_xref_drawings.py FOLDER
"""
import os
import subprocess
import sys

import ezdxf

PART_BASE = (5, 5, 0)


def wine_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def part_content(doc, layout, prefix):
    """The part's layers, block and entities. The bound copy names its
    layers and blocks with the xref's prefix, as the host shows them."""
    doc.layers.add(prefix + "WALLS", color=1, linetype="DASHED")
    doc.layers.add(prefix + "DOORS", color=3)
    doc.layers.add(prefix + "HIDDEN", color=5).off()
    mark = doc.blocks.new(prefix + "MARK", base_point=(0, 0))
    mark.add_lwpolyline([(0, 0), (4, 0), (2, 3)], close=True, dxfattribs={"layer": prefix + "DOORS"})
    walls = {"layer": prefix + "WALLS"}
    layout.add_lwpolyline([(0, 0), (40, 0), (40, 20), (0, 20)], close=True, dxfattribs=walls)
    layout.add_line((0, 0), (40, 20), dxfattribs=walls)
    layout.add_circle((30, 10), 5, dxfattribs={"layer": prefix + "DOORS"})
    layout.add_arc((10, 10), 6, 0, 180, dxfattribs={"layer": prefix + "DOORS"})
    layout.add_circle((20, 10), 30, dxfattribs={"layer": prefix + "HIDDEN"})
    layout.add_line((0, 25), (40, 25), dxfattribs={"layer": "0"})
    layout.add_blockref(prefix + "MARK", (10, 12))
    layout.add_blockref(prefix + "MARK", (20, 4), dxfattribs={"xscale": 2, "yscale": 2})


def new_doc():
    return ezdxf.new("R2010", setup=True)


def save(doc, folder, name, base=None):
    if base is not None:
        doc.header["$INSBASE"] = base
    doc.saveas(os.path.join(folder, name))


def simple(folder, name, layer, color, start, end, xrefs=(), base=None):
    """A drawing of one line on its own layer, referring to others:
    xrefs are (block name, stored path, flags, insertion point)."""
    doc = new_doc()
    doc.layers.add(layer, color=color)
    msp = doc.modelspace()
    msp.add_line(start, end, dxfattribs={"layer": layer})
    for block, path, flags, at in xrefs:
        doc.add_xref_def(path, block, flags=flags)
        msp.add_blockref(block, at)
    save(doc, folder, name, base)


def host_of(folder, name, xrefs):
    simple(folder, name, "HOST", 7, (0, -20), (10, -20), xrefs)


ATTACH, OVERLAY = 4, 4 | 8


def transform_host(folder, part_path):
    """PART placed twice, once moved, scaled and turned, beside a host line;
    and the same drawing with PART bound, for ezdxf."""
    for bound in (False, True):
        doc = new_doc()
        msp = doc.modelspace()
        if bound:
            part_content(doc, doc.blocks.new("PART", base_point=PART_BASE), "PART|")
        else:
            doc.add_xref_def(part_path, "PART", flags=ATTACH)
        doc.layers.add("HOST")
        msp.add_line((-20, -20), (150, -20), dxfattribs={"layer": "HOST"})
        msp.add_blockref("PART", (0, 0))
        msp.add_blockref("PART", (100, 50), dxfattribs={"xscale": 2, "yscale": 1.5, "rotation": 30})
        save(doc, folder, "transform_bound.dxf" if bound else "transform_host.dxf")


def picture(path, colour):
    subprocess.run(["/usr/bin/convert", "-size", "2x2", "xc:" + colour, "PNG24:" + path], check=True)


def with_images(doc, images):
    """Images of 10 x 10 units: (stored path, lower left corner)."""
    for path, at in images:
        definition = doc.add_image_def(filename=path, size_in_pixel=(2, 2))
        doc.modelspace().add_image(definition, insert=at, size_in_units=(10, 10))


def image_references(folder):
    """IMG_HOST shows its own logo.png and refers to IMG_PART twice (at
    (20, 0) and (40, 0)) and to IMG_OTHER (at (60, 0)), which refers to
    IMG_PART again (at (0, 60)). Each part has a logo.png of its own beside
    it; IMG_PART's host_only.png is only beside the host, its searched.png
    only in a search folder."""
    for sub in ("img_a", "img_b", "img_search"):
        os.makedirs(os.path.join(folder, sub), exist_ok=True)
    picture(os.path.join(folder, "logo.png"), "lime")
    picture(os.path.join(folder, "host_only.png"), "cyan")
    picture(os.path.join(folder, "img_a", "logo.png"), "red")
    picture(os.path.join(folder, "img_b", "logo.png"), "blue")
    picture(os.path.join(folder, "img_search", "searched.png"), "magenta")
    part = new_doc()
    with_images(part, [("logo.png", (0, 0)), ("host_only.png", (0, 20)), ("searched.png", (0, 40))])
    save(part, os.path.join(folder, "img_a"), "img_part.dxf")
    other = new_doc()
    with_images(other, [("logo.png", (0, 0))])
    other.add_xref_def("..\\img_a\\img_part.dxf", "NESTED_PART", flags=ATTACH)
    other.modelspace().add_blockref("NESTED_PART", (0, 60))
    save(other, os.path.join(folder, "img_b"), "img_other.dxf")
    host = new_doc()
    with_images(host, [("logo.png", (0, 0))])
    for block, path, at in (("PART_ONE", "img_a\\img_part.dxf", (20, 0)),
                            ("PART_TWO", "img_a\\img_part.dxf", (40, 0)),
                            ("OTHER", "img_b\\img_other.dxf", (60, 0))):
        host.add_xref_def(path, block, flags=ATTACH)
        host.modelspace().add_blockref(block, at)
    save(host, folder, "img_host.dxf")


def main():
    folder = sys.argv[1]
    for sub in ("parts", "user_folder", "support_folder"):
        os.makedirs(os.path.join(folder, sub), exist_ok=True)
    part = new_doc()
    part_content(part, part.modelspace(), "")
    save(part, os.path.join(folder, "parts"), "part.dxf", PART_BASE)
    part_path = os.path.join(folder, "parts", "part.dxf")
    transform_host(folder, wine_path(part_path))

    # Found at the stored path, relative to the drawing, by name beside it.
    simple(folder, "beside.dxf", "BESIDE", 4, (0, 0), (5, 0))
    host_of(folder, "relative_host.dxf", [("REL", "parts\\part.dxf", ATTACH, (0, 0)),
                                          ("NEAR", "D:\\elsewhere\\beside.dxf", ATTACH, (0, 40))])
    # Found only in the search folders.
    simple(os.path.join(folder, "user_folder"), "user_part.dxf", "USERS", 2, (0, 0), (5, 5))
    simple(os.path.join(folder, "support_folder"), "support_part.dxf", "SUPPORTS", 6, (0, 0), (5, -5))
    host_of(folder, "search_host.dxf", [("USER", "C:\\gone\\user_part.dxf", ATTACH, (0, 0)),
                                        ("SUPPORT", "support_part.dxf", ATTACH, (20, 0))])
    # Nested two deep: the host places A at (100, 0), A places B at (50, 0),
    # B's circle of radius 10 is at its origin.
    host_of(folder, "nested_host.dxf", [("A", "nest_a.dxf", ATTACH, (100, 0))])
    simple(folder, "nest_a.dxf", "LA", 1, (0, 0), (10, 0), [("B", "nest_b.dxf", ATTACH, (50, 0))])
    doc = new_doc()
    doc.layers.add("LB", color=2)
    doc.modelspace().add_circle((0, 0), 10, dxfattribs={"layer": "LB"})
    save(doc, folder, "nest_b.dxf")
    # A cycle of two, and a drawing that refers to itself.
    simple(folder, "cycle_a.dxf", "CYCLE_A", 1, (0, 0), (10, 0), [("CB", "cycle_b.dxf", ATTACH, (0, 10))])
    simple(folder, "cycle_b.dxf", "CYCLE_B", 2, (0, 0), (10, 0), [("CA", "cycle_a.dxf", ATTACH, (0, 10))])
    simple(folder, "self.dxf", "SELF", 3, (0, 0), (10, 0), [("ME", "self.dxf", ATTACH, (20, 0))])
    # Overlays: the host's own shows, one inside an attached drawing does not.
    host_of(folder, "overlay_host.dxf", [("OA", "overlay_a.dxf", ATTACH, (0, 0)),
                                         ("OC", "overlay_c.dxf", OVERLAY, (0, 30))])
    simple(folder, "overlay_a.dxf", "LA", 1, (0, 0), (10, 0), [("OB", "overlay_b.dxf", OVERLAY, (0, 10))])
    simple(folder, "overlay_b.dxf", "LB", 2, (0, 0), (10, 0))
    simple(folder, "overlay_c.dxf", "LC", 3, (0, 0), (10, 0))
    # Missing and unreadable references.
    host_of(folder, "missing_host.dxf", [("GONE", "gone.dxf", ATTACH, (0, 0)),
                                         ("BROKEN", "broken.dxf", ATTACH, (0, 0)),
                                         ("REL", "parts\\part.dxf", ATTACH, (0, 0))])
    with open(os.path.join(folder, "broken.dxf"), "w") as f:
        f.write("not a drawing\n")
    # A reference whose file the test changes between opens.
    host_of(folder, "changing_host.dxf", [("CH", "changing.dxf", ATTACH, (0, 0))])
    simple(folder, "changing_one.dxf", "ONE", 1, (0, 0), (10, 0))
    simple(folder, "changing_two.dxf", "TWO", 2, (0, 0), (10, 10))
    image_references(folder)
    return 0


if __name__ == "__main__":
    sys.exit(main())
