#!/usr/bin/python3
"""Draws a DXF file with ezdxf's drawing add-on (matplotlib) in the view
window the drawing library drew it in, and compares ink with the library's
picture: the share of ezdxf's ink that ours covers within 3 pixels, and the
share of ours that ezdxf's covers. Prints both shares; writes the pair of
pictures and where each misses the other beside ours (NAME-pair.png) for
looking at.

Usage: ink_compare.py [--layers-on] FILE.dxf OURS.png LEFT BOTTOM RIGHT TOP
Ours is drawn on white; ink is any pixel that is not the background.
--layers-on draws every layer: LibreDWG's DXF writer writes layers as off
(a negative colour) that LibreDWG's own reading of the DWG has on.
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

REACH = 3  # pixels
DPI = 100


def ezdxf_picture(path, window, width, height, layers_on):
    doc = ezdxf.readfile(path)
    if layers_on:
        for layer in doc.layers:
            layer.on()
    figure = plt.figure(figsize=(width / DPI, height / DPI), dpi=DPI)
    axes = figure.add_axes([0, 0, 1, 1])
    # Thin lines, as the library draws without a pen dpi.
    config = Configuration.defaults().with_changes(lineweight_scaling=0)
    backend = MatplotlibBackend(axes, adjust_figure=False)
    # On white, as ours: colour 7 is then drawn black.
    context = RenderContext(doc)
    context.set_current_layout(doc.modelspace())
    context.current_layout_properties.set_colors("#ffffff")
    Frontend(context, backend, config=config).draw_layout(
        doc.modelspace(), finalize=False, layout_properties=context.current_layout_properties)
    axes.set_axis_off()
    axes.set_xlim(window[0], window[2])
    axes.set_ylim(window[1], window[3])
    figure.canvas.draw()
    rgba = numpy.asarray(figure.canvas.buffer_rgba())[:, :, :3].astype(int)
    plt.close(figure)
    return rgba


def ink(rgb, background):
    return numpy.abs(rgb - numpy.array(background)).sum(axis=2) > 48


def spread(mask):
    """Pixels within REACH (in x and y) of a set pixel."""
    height, width = mask.shape
    padded = numpy.pad(mask, REACH)
    out = numpy.zeros_like(mask)
    for dy in range(2 * REACH + 1):
        for dx in range(2 * REACH + 1):
            out |= padded[dy:dy + height, dx:dx + width]
    return out


def share(covered, by):
    total = covered.sum()
    return 1.0 if total == 0 else float((covered & spread(by)).sum()) / total


def main():
    args = sys.argv[1:]
    layers_on = args[0] == "--layers-on"
    if layers_on:
        args = args[1:]
    dxf, ours_png = args[0], args[1]
    window = [float(v) for v in args[2:6]]
    ours_rgb = (matplotlib.image.imread(ours_png)[:, :, :3] * 255).round().astype(int)
    height, width = ours_rgb.shape[:2]
    theirs_rgb = ezdxf_picture(dxf, window, width, height, layers_on)
    ours = ink(ours_rgb, (255, 255, 255))
    theirs = ink(theirs_rgb, (255, 255, 255))
    theirs_covered, ours_covered = share(theirs, ours), share(ours, theirs)
    misses = numpy.full((height, width, 3), 255, dtype=numpy.uint8)
    misses[theirs & ~spread(ours)] = (255, 0, 0)
    misses[ours & ~spread(theirs)] = (0, 0, 255)
    pair = numpy.concatenate([ours_rgb.astype(numpy.uint8), theirs_rgb.astype(numpy.uint8), misses], axis=1)
    matplotlib.image.imsave(os.path.splitext(ours_png)[0] + "-pair.png", pair)
    print("%.4f %.4f %d %d" % (theirs_covered, ours_covered, theirs.sum(), ours.sum()))
    return 0


if __name__ == "__main__":
    sys.exit(main())
