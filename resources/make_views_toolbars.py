#!/usr/bin/python3
"""Draws the view frame's tool bar pictures (16 x 16 buttons, 8-bit BMPs
whose silver background the tool bar maps to the button face colour):

  views_toolbar.bmp       the view frame's tool bar (137)
  views_viewpoints.bmp    the ten view points of the menus (166)
  views_raster.bmp        the raster transforms of the menus (226)

Run it from the resources folder; the pictures are kept in the tree.
"""
import sys

from PIL import Image, ImageDraw

SILVER = (192, 192, 192)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)
BLUE = (0, 0, 160)
LIGHT_BLUE = (80, 140, 230)
RED = (200, 0, 0)
GREEN = (0, 140, 0)
YELLOW = (250, 210, 40)
BROWN = (150, 100, 30)


def magnifier(d, mark=None):
    d.ellipse((1, 1, 10, 10), outline=BLACK, fill=WHITE)
    d.line((9, 9, 14, 14), fill=BROWN, width=3)
    if mark == "-":
        d.line((3, 5, 8, 5), fill=BLUE, width=2)
    elif mark == "+":
        d.line((3, 5, 8, 5), fill=BLUE, width=2)
        d.line((5, 3, 5, 8), fill=BLUE, width=2)
    elif mark == "window":
        for x in range(3, 9, 2):
            d.point((x, 3), fill=BLUE)
            d.point((x, 8), fill=BLUE)
        for y in range(3, 9, 2):
            d.point((3, y), fill=BLUE)
            d.point((8, y), fill=BLUE)
    elif mark == "back":
        d.line((3, 5, 8, 5), fill=GREEN, width=1)
        d.line((3, 5, 5, 3), fill=GREEN)
        d.line((3, 5, 5, 7), fill=GREEN)
    elif mark == "all":
        d.rectangle((3, 3, 8, 8), outline=BLUE)


def page(d, fill=WHITE):
    d.polygon([(3, 1), (10, 1), (13, 4), (13, 14), (3, 14)], outline=BLACK, fill=fill)
    d.line((10, 1, 10, 4), fill=BLACK)
    d.line((10, 4, 13, 4), fill=BLACK)


def arrow(d, x0, x1, y, colour):
    d.line((x0, y, x1, y), fill=colour, width=2)
    step = 3 if x1 > x0 else -3
    d.polygon([(x1 + step // 3, y), (x1 - step, y - 3), (x1 - step, y + 3)], fill=colour)


def folder(d, open_=False):
    d.polygon([(1, 4), (5, 4), (6, 5), (13, 5), (13, 13), (1, 13)], outline=BLACK, fill=YELLOW)
    if open_:
        d.polygon([(3, 8), (15, 8), (13, 13), (1, 13)], outline=BLACK, fill=(255, 235, 120))


def back_to_browse(d):
    folder(d)
    arrow(d, 12, 4, 9, BLUE)


def open_file(d):
    folder(d, True)


def save_as(d):
    d.rectangle((1, 1, 14, 14), outline=BLACK, fill=BLUE)
    d.rectangle((4, 1, 11, 6), fill=WHITE, outline=BLACK)
    d.rectangle((4, 9, 11, 14), fill=GREY)


def print_(d):
    d.rectangle((4, 1, 11, 6), outline=BLACK, fill=WHITE)
    d.rectangle((1, 6, 14, 12), outline=BLACK, fill=GREY)
    d.rectangle((4, 10, 11, 14), outline=BLACK, fill=WHITE)
    d.point((12, 8), fill=GREEN)


def previous_file(d):
    page(d)
    arrow(d, 12, 5, 9, GREEN)


def next_file(d):
    page(d)
    arrow(d, 4, 11, 9, GREEN)


def previous_page(d):
    d.polygon([(11, 2), (11, 13), (4, 7)], outline=BLACK, fill=LIGHT_BLUE)


def next_page(d):
    d.polygon([(4, 2), (4, 13), (11, 7)], outline=BLACK, fill=LIGHT_BLUE)


def pan(d):
    arrow(d, 8, 1, 7, BLACK)
    arrow(d, 7, 14, 7, BLACK)
    d.line((7, 7, 7, 1), fill=BLACK, width=2)
    d.polygon([(7, 0), (4, 3), (10, 3)], fill=BLACK)
    d.line((7, 7, 7, 14), fill=BLACK, width=2)
    d.polygon([(7, 15), (4, 12), (10, 12)], fill=BLACK)


def fit(d):
    d.rectangle((1, 1, 14, 14), outline=BLACK)
    d.rectangle((5, 5, 10, 10), fill=LIGHT_BLUE, outline=BLUE)
    for a, b in (((2, 2), (4, 4)), ((13, 2), (11, 4)), ((2, 13), (4, 11)), ((13, 13), (11, 11))):
        d.line(a + b, fill=RED)


def actual_size(d):
    d.rectangle((0, 3, 15, 12), fill=WHITE, outline=BLACK)
    d.line((3, 5, 3, 10), fill=BLACK)
    d.point((7, 6), fill=BLACK)
    d.point((7, 9), fill=BLACK)
    d.line((11, 5, 11, 10), fill=BLACK)
    d.point((2, 6), fill=BLACK)
    d.point((10, 6), fill=BLACK)


def quick_mode(d):
    d.polygon([(9, 0), (3, 8), (7, 8), (5, 15), (12, 6), (8, 6)], outline=BLACK, fill=YELLOW)


def highlight(d):
    d.rectangle((1, 1, 11, 11), fill=(255, 255, 120))
    d.line((2, 9, 9, 2), fill=RED, width=2)
    d.polygon([(8, 8), (8, 15), (10, 13), (12, 15), (13, 14), (11, 12), (14, 12)], outline=BLACK, fill=WHITE)


def smoothing(d):
    for i in range(7):
        shade = 60 + i * 28
        d.ellipse((1 + i, 1 + i, 14 - i, 14 - i), fill=(shade, shade, 255))


def orbit(d):
    d.ellipse((1, 4, 14, 11), outline=BLUE)
    d.ellipse((5, 5, 10, 10), fill=GREEN, outline=BLACK)
    d.polygon([(12, 3), (15, 5), (12, 7)], fill=BLUE)


def layers(d):
    for i, colour in enumerate((RED, GREEN, LIGHT_BLUE)):
        y = 2 + i * 4
        d.polygon([(1, y + 3), (7, y), (14, y + 3), (8, y + 6)], outline=BLACK, fill=colour)


def full_screen(d):
    d.rectangle((1, 2, 14, 11), outline=BLACK, fill=LIGHT_BLUE)
    d.rectangle((6, 12, 9, 14), fill=BLACK)
    for x, y, dx, dy in ((3, 4, 1, 1), (12, 4, -1, 1), (3, 9, 1, -1), (12, 9, -1, -1)):
        d.line((x, y, x + 2 * dx, y), fill=WHITE)
        d.line((x, y, x, y + 2 * dy), fill=WHITE)


def properties(d):
    page(d)
    d.point((8, 5), fill=BLUE)
    d.line((8, 7, 8, 12), fill=BLUE, width=2)


def exif(d):
    d.rectangle((1, 4, 14, 13), outline=BLACK, fill=GREY)
    d.rectangle((4, 2, 8, 4), fill=BLACK)
    d.ellipse((5, 6, 11, 12), outline=BLACK, fill=LIGHT_BLUE)


def options(d):
    d.ellipse((2, 2, 13, 13), outline=BLACK, fill=GREY)
    for a, b in (((7, 0), (8, 15)), ((0, 7), (15, 8))):
        d.rectangle(a + b, fill=GREY)
    d.ellipse((5, 5, 10, 10), fill=SILVER, outline=BLACK)


def about(d):
    d.ellipse((1, 1, 14, 14), outline=BLUE, fill=WHITE)
    d.point((7, 4), fill=BLUE)
    d.line((7, 6, 7, 11), fill=BLUE, width=2)


def help_(d):
    d.arc((4, 1, 11, 8), 180, 90, fill=BLUE, width=2)
    d.line((8, 8, 8, 10), fill=BLUE, width=2)
    d.rectangle((7, 12, 8, 13), fill=BLUE)


def view_cube(face):
    def draw(d):
        front = [(2, 5), (10, 5), (10, 13), (2, 13)]
        top = [(2, 5), (5, 2), (13, 2), (10, 5)]
        side = [(10, 5), (13, 2), (13, 10), (10, 13)]
        for name, polygon in (("front", front), ("top", top), ("side", side)):
            d.polygon(polygon, outline=BLACK, fill=LIGHT_BLUE if name == face else WHITE)
    return draw


def view_side(mirror, face):
    def draw(d):
        view_cube(face)(d)
        if mirror:
            d.line((0, 15, 4, 15), fill=RED, width=2)
    return draw


def iso(corner):
    def draw(d):
        view_cube(None)(d)
        x, y = corner
        d.ellipse((x - 2, y - 2, x + 2, y + 2), fill=RED)
    return draw


def rotate(left):
    def draw(d):
        d.rectangle((4, 5, 11, 14), outline=BLACK, fill=WHITE)
        if left:
            d.arc((3, 0, 13, 9), 180, 360, fill=BLUE, width=2)
            d.polygon([(1, 4), (6, 4), (3, 7)], fill=BLUE)
        else:
            d.arc((2, 0, 12, 9), 180, 360, fill=BLUE, width=2)
            d.polygon([(9, 4), (14, 4), (12, 7)], fill=BLUE)
    return draw


def mirror(d):
    d.line((7, 0, 7, 15), fill=GREY)
    d.polygon([(1, 12), (6, 3), (6, 12)], outline=BLACK, fill=LIGHT_BLUE)
    d.polygon([(14, 12), (9, 3), (9, 12)], outline=BLACK, fill=WHITE)


def flip(d):
    d.line((0, 7, 15, 7), fill=GREY)
    d.polygon([(3, 6), (12, 1), (12, 6)], outline=BLACK, fill=LIGHT_BLUE)
    d.polygon([(3, 9), (12, 14), (12, 9)], outline=BLACK, fill=WHITE)


def cut(d):
    d.ellipse((1, 9, 6, 14), outline=BLACK)
    d.ellipse((9, 9, 14, 14), outline=BLACK)
    d.line((5, 10, 11, 1), fill=GREY)
    d.line((10, 10, 4, 1), fill=GREY)


def strip(glyphs, path):
    image = Image.new("RGB", (16 * len(glyphs), 16), SILVER)
    for index, glyph in enumerate(glyphs):
        cell = Image.new("RGB", (16, 16), SILVER)
        glyph(ImageDraw.Draw(cell))
        image.paste(cell, (16 * index, 0))
    palette = image.quantize(colors=64, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    palette.save(path)


def main():
    strip([back_to_browse, open_file, save_as, print_, previous_file, next_file, previous_page, next_page,
           lambda d: magnifier(d, "-"), lambda d: magnifier(d, "+"), lambda d: magnifier(d, "window"), pan,
           lambda d: magnifier(d, "back"), lambda d: magnifier(d, "all"), fit, actual_size,
           quick_mode, highlight, smoothing, orbit, layers, full_screen, properties, exif, options, about,
           help_], "views_toolbar.bmp")
    strip([view_cube("top"), view_cube("top"), view_side(False, "side"), view_side(False, "side"),
           view_cube("front"), view_cube("front"), iso((2, 13)), iso((10, 13)), iso((13, 2)), iso((5, 2))],
          "views_viewpoints.bmp")
    strip([rotate(True), rotate(False), mirror, flip, cut], "views_raster.bmp")


if __name__ == "__main__":
    sys.exit(main())
