#!/usr/bin/python3
"""Draws a DXF file with ezdxf's drawing add-on (matplotlib) in the view
window the drawing library drew it in, and compares ink with the library's
picture: the share of ezdxf's ink that ours covers, and the share of ours
that ezdxf's covers. Prints both shares; writes the pair of pictures and
where each misses the other beside ours (NAME-pair.png) for looking at.

Lines, fills and points are judged by their pixels: ink is covered when the
other picture has ink within 3 pixels. Text is judged by where it stands,
not by its glyphs, as the two draw it in different faces: each side's texts
have boxes (ezdxf's from its own layout of each line, ours from the file
the library wrote), and ink inside a text's box is covered when the other
picture has text ink (ink inside its own text boxes of about the same
height, within a factor of 1.5) within that box grown by the text's height.

Usage: ink_compare.py [--layers-on | --every-layer] [--texts BOXES] FILE.dxf OURS.png LEFT BOTTOM RIGHT TOP
Ours is drawn on white; ink is any pixel that is not the background.
--layers-on turns every layer on: LibreDWG's DXF writer writes layers as
off (a negative colour) that LibreDWG's own reading of the DWG has on.
--every-layer also thaws every layer, for drawings whose layers are mostly
off or frozen (ours is drawn so too).
BOXES has one line per text of ours: the four corners of its box (from the
baseline's start, along it, then up by the height) in output pixels (x
right, y up from the picture's bottom edge) and its height in pixels.
"""
import os
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.image
import matplotlib.pyplot as plt
import numpy

import ezdxf
from ezdxf.addons.drawing import Frontend, RenderContext
from ezdxf.addons.drawing.config import Configuration
from ezdxf.addons.drawing.matplotlib import MatplotlibBackend
from ezdxf.entities.mtext import ColumnType

REACH = 3  # pixels
# What around a text's box (baseline to cap height) still belongs to it:
# ascenders, descenders and glyph edges.
BOX_MARGIN, BOX_MARGIN_PER_HEIGHT = 2, 0.3
# Texts whose heights differ by more than this are not one text drawn twice.
HEIGHT_RATIO = 1.5
DPI = 100


class TextBoxBackend(MatplotlibBackend):
    """Keeps the box of each line of text ezdxf draws, in drawing units:
    its width by ezdxf's own measure, from the baseline to the cap height."""

    def __init__(self, axes):
        super().__init__(axes, adjust_figure=False)
        self.text_boxes = []

    def draw_text(self, text, transform, properties, cap_height):
        super().draw_text(text, transform, properties, cap_height)
        if not text.strip():
            return
        width = self.get_text_line_width(text, cap_height, properties.font)
        corners = [transform.transform((x, y, 0)) for x, y in
                   ((0, 0), (width, 0), (width, cap_height), (0, cap_height))]
        height = (corners[3] - corners[0]).magnitude
        self.text_boxes.append(([(c.x, c.y) for c in corners], height))


def without_empty_columns(doc):
    """MTEXTs whose column data says they have no columns, as plain MTEXTs:
    ezdxf's layout of them fails ("not enough space") when that data has no
    column width, as AutoCAD 2018 files have it."""
    for block in doc.blocks:
        for mtext in [e for e in block.query("MTEXT") if e.has_columns and e.columns.column_type == ColumnType.NONE]:
            attributes = mtext.dxf.all_existing_dxf_attribs()
            for name in ("handle", "owner"):
                attributes.pop(name, None)
            block.add_mtext(mtext.text, dxfattribs=attributes)
            block.delete_entity(mtext)


def ezdxf_picture(path, window, width, height, layers_on, thawed):
    """The picture and the text boxes (in pixels of the picture, y up)."""
    doc = ezdxf.readfile(path)
    without_empty_columns(doc)
    for layer in doc.layers:
        if layers_on:
            layer.on()
        if thawed:
            layer.thaw()
    msp = doc.modelspace()
    figure = plt.figure(figsize=(width / DPI, height / DPI), dpi=DPI)
    axes = figure.add_axes([0, 0, 1, 1])
    # Thin lines, as the library draws without a pen dpi; rays and
    # construction lines (drawn 20 units long by default) across the window.
    reach = 100 * max(abs(v) for v in window) + 100 * (window[2] - window[0] + window[3] - window[1])
    config = Configuration.defaults().with_changes(lineweight_scaling=0, infinite_line_length=reach)
    backend = TextBoxBackend(axes)
    # On white, as ours: colour 7 is then drawn black.
    context = RenderContext(doc)
    context.set_current_layout(msp)
    context.current_layout_properties.set_colors("#ffffff")
    Frontend(context, backend, config=config).draw_layout(
        msp, finalize=False, layout_properties=context.current_layout_properties)
    axes.set_axis_off()
    axes.set_xlim(window[0], window[2])
    axes.set_ylim(window[1], window[3])
    figure.canvas.draw()
    rgba = numpy.asarray(figure.canvas.buffer_rgba())[:, :, :3].astype(int)
    plt.close(figure)
    left, bottom, right, top = window
    sx, sy = width / (right - left), height / (top - bottom)
    boxes = [([((x - left) * sx, (y - bottom) * sy) for x, y in corners], h * sy)
             for corners, h in backend.text_boxes]
    return rgba, boxes


def read_boxes(path):
    boxes = []
    with open(path) as f:
        for line in f:
            v = [float(t) for t in line.split()]
            if len(v) == 9:
                boxes.append(([(v[0], v[1]), (v[2], v[3]), (v[4], v[5]), (v[6], v[7])], v[8]))
    return boxes


def ink(rgb, background):
    return numpy.abs(rgb - numpy.array(background)).sum(axis=2) > 48


def spread(mask, reach=REACH):
    """Pixels within `reach` (in x and y) of a set pixel."""
    height, width = mask.shape
    padded = numpy.pad(mask, reach)
    out = numpy.zeros_like(mask)
    for dy in range(2 * reach + 1):
        for dx in range(2 * reach + 1):
            out |= padded[dy:dy + height, dx:dx + width]
    return out


class BoxMask:
    """A text box (a parallelogram in pixels, y up) grown by a margin on
    every side, as the pixels of a picture whose centres it holds: the rows
    and columns of the part of the picture it touches, and the mask there."""

    def __init__(self, corners, margin, shape):
        height, width = shape
        p0, p1, p3 = (numpy.array(corners[i]) for i in (0, 1, 3))
        u, v = p1 - p0, p3 - p0
        area = u[0] * v[1] - u[1] * v[0]
        if abs(area) < 1e-6:  # no width or no height: the corners' box
            xs, ys = [c[0] for c in corners], [c[1] for c in corners]
            lo, hi = numpy.array([min(xs), min(ys)]) - margin, numpy.array([max(xs), max(ys)]) + margin
        else:
            reach_u = margin * numpy.hypot(*v) / abs(area)  # the margin in lengths of u
            reach_v = margin * numpy.hypot(*u) / abs(area)
            ends = [p0 + a * u + b * v for a in (-reach_u, 1 + reach_u) for b in (-reach_v, 1 + reach_v)]
            lo, hi = numpy.min(ends, axis=0), numpy.max(ends, axis=0)
        # Pixel (column c, row r) is centred at x = c + 0.5, y = height - r - 0.5.
        self.columns = slice(max(0, int(numpy.floor(lo[0]))), min(width, int(numpy.ceil(hi[0])) + 1))
        self.rows = slice(max(0, int(numpy.floor(height - hi[1]))), min(height, int(numpy.ceil(height - lo[1])) + 1))
        cs = numpy.arange(self.columns.start, self.columns.stop) + 0.5
        ys = height - (numpy.arange(self.rows.start, self.rows.stop) + 0.5)
        if self.columns.start >= self.columns.stop or self.rows.start >= self.rows.stop:
            self.mask = numpy.zeros((0, 0), dtype=bool)
            return
        x, y = numpy.meshgrid(cs, ys)
        if abs(area) < 1e-6:
            self.mask = numpy.ones(x.shape, dtype=bool)
            return
        dx, dy = x - p0[0], y - p0[1]
        a = (dx * v[1] - dy * v[0]) / area
        b = (u[0] * dy - u[1] * dx) / area
        self.mask = (a >= -reach_u) & (a <= 1 + reach_u) & (b >= -reach_v) & (b <= 1 + reach_v)

    def add_to(self, picture):
        if self.mask.size:
            picture[self.rows, self.columns] |= self.mask

    def meets(self, other, picture):
        """Whether a set pixel of the picture lies in both boxes."""
        rows = slice(max(self.rows.start, other.rows.start), min(self.rows.stop, other.rows.stop))
        columns = slice(max(self.columns.start, other.columns.start), min(self.columns.stop, other.columns.stop))
        if not self.mask.size or not other.mask.size or rows.start >= rows.stop or columns.start >= columns.stop:
            return False
        def part(box):
            return box.mask[rows.start - box.rows.start:rows.stop - box.rows.start,
                            columns.start - box.columns.start:columns.stop - box.columns.start]
        return bool((picture[rows, columns] & part(self) & part(other)).any())


class TextBoxes:
    """The texts of one picture: each box (with the margin that belongs to
    it) and its height."""

    def __init__(self, boxes, shape):
        self.shape = shape
        self.corners = boxes
        self.boxes = [(BoxMask(corners, BOX_MARGIN + BOX_MARGIN_PER_HEIGHT * height, shape), height)
                      for corners, height in boxes]
        self.spans = numpy.array([[b.rows.start, b.rows.stop, b.columns.start, b.columns.stop, h]
                                  for b, h in self.boxes]).reshape(-1, 5)

    def area(self):
        area = numpy.zeros(self.shape, dtype=bool)
        for box, _ in self.boxes:
            box.add_to(area)
        return area

    def inked_near(self, region, height, picture):
        """Whether the picture has ink in one of these texts of about
        `height` inside the region."""
        r0, r1, c0, c1, h = self.spans.T
        near = ((r0 < region.rows.stop) & (r1 > region.rows.start) & (c0 < region.columns.stop) &
                (c1 > region.columns.start) & (h <= height * HEIGHT_RATIO) & (height <= h * HEIGHT_RATIO))
        return any(self.boxes[i][0].meets(region, picture) for i in numpy.flatnonzero(near))


def covered_by(other, other_texts, texts):
    """Where the other picture's ink covers this one's: within 3 pixels of
    it, and inside every text of this one's that the other has a text of
    about its height near (within its box grown by its height)."""
    covered = spread(other)
    for (box, height), (corners, _) in zip(texts.boxes, texts.corners):
        near = BoxMask(corners, height + REACH, other.shape)
        if other_texts.inked_near(near, height, other):
            box.add_to(covered)
    return covered


def share(ink_pixels, covered):
    total = ink_pixels.sum()
    return 1.0 if total == 0 else float((ink_pixels & covered).sum()) / total


def main():
    args = sys.argv[1:]
    layers_on, thawed, our_boxes = False, False, []
    while args[0].startswith("--"):
        if args[0] == "--layers-on":
            layers_on, args = True, args[1:]
        elif args[0] == "--every-layer":
            layers_on, thawed, args = True, True, args[1:]
        elif args[0] == "--texts":
            our_boxes = read_boxes(args[1])
            args = args[2:]
        else:
            sys.exit("unknown option " + args[0])
    dxf, ours_png = args[0], args[1]
    window = [float(v) for v in args[2:6]]
    ours_rgb = (matplotlib.image.imread(ours_png)[:, :, :3] * 255).round().astype(int)
    height, width = ours_rgb.shape[:2]
    theirs_rgb, their_boxes = ezdxf_picture(dxf, window, width, height, layers_on, thawed)
    ours = ink(ours_rgb, (255, 255, 255))
    theirs = ink(theirs_rgb, (255, 255, 255))
    our_texts, their_texts = TextBoxes(our_boxes, ours.shape), TextBoxes(their_boxes, ours.shape)
    # Ours is covered by theirs, and theirs by ours.
    ours_covered = covered_by(theirs, their_texts, our_texts)
    theirs_covered = covered_by(ours, our_texts, their_texts)
    misses = numpy.full((height, width, 3), 255, dtype=numpy.uint8)
    misses[our_texts.area() | their_texts.area()] = (235, 235, 235)
    misses[theirs & ~theirs_covered] = (255, 0, 0)
    misses[ours & ~ours_covered] = (0, 0, 255)
    pair = numpy.concatenate([ours_rgb.astype(numpy.uint8), theirs_rgb.astype(numpy.uint8), misses], axis=1)
    matplotlib.image.imsave(os.path.splitext(ours_png)[0] + "-pair.png", pair)
    print("%.4f %.4f %d %d" % (share(theirs, theirs_covered), share(ours, ours_covered), theirs.sum(), ours.sum()))
    return 0


if __name__ == "__main__":
    sys.exit(main())
