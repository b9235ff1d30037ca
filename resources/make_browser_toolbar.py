#!/usr/bin/python3
"""Draws the browse frame's tool bar picture (toolbar resource 116, 32
buttons of 16 x 16) into browser_toolbar.bmp with the view frame's drawing
helpers and colours. Run it from the resources folder; the picture is kept
in the tree.
"""
import sys

from make_views_toolbars import (BLACK, BLUE, GREEN, GREY, LIGHT_BLUE, RED, WHITE, YELLOW, about, actual_size,
                                 arrow, exif, fit, folder, help_, highlight, layers, magnifier, options, page,
                                 pan, properties, quick_mode, smoothing, strip)


def folder_up(d):
    folder(d)
    d.line((8, 12, 8, 6), fill=GREEN, width=2)
    d.polygon([(8, 2), (4, 7), (12, 7)], fill=GREEN)


def refresh(d):
    d.arc((2, 2, 13, 13), 30, 330, fill=BLUE, width=2)
    d.polygon([(10, 1), (15, 5), (10, 7)], fill=BLUE)


def insert_to_autocad(d):
    page(d)
    d.rectangle((5, 7, 11, 12), outline=RED)
    d.line((6, 11, 10, 8), fill=RED)


def interface_style(d):
    d.rectangle((0, 1, 15, 14), outline=BLACK, fill=WHITE)
    d.rectangle((1, 2, 14, 3), fill=BLUE)
    d.rectangle((1, 4, 5, 13), fill=YELLOW)
    d.rectangle((6, 9, 14, 13), fill=LIGHT_BLUE)


def preview_pane(d):
    d.rectangle((0, 1, 15, 14), outline=BLACK, fill=WHITE)
    d.rectangle((1, 2, 14, 3), fill=BLUE)
    d.rectangle((2, 5, 7, 12), fill=LIGHT_BLUE, outline=GREY)
    d.line((9, 6, 13, 6), fill=GREY)
    d.line((9, 9, 13, 9), fill=GREY)


def switch_to_view(d):
    d.rectangle((1, 1, 14, 14), outline=BLACK, fill=WHITE)
    d.rectangle((1, 1, 14, 3), fill=BLUE)
    arrow(d, 3, 12, 9, GREEN)


def copy(d):
    d.rectangle((1, 1, 9, 10), outline=BLACK, fill=WHITE)
    d.rectangle((6, 5, 14, 14), outline=BLACK, fill=WHITE)
    for y in (8, 10, 12):
        d.line((8, y, 12, y), fill=BLUE)


def paste(d):
    d.rectangle((2, 2, 12, 14), outline=BLACK, fill=(150, 100, 30))
    d.rectangle((5, 1, 9, 3), outline=BLACK, fill=GREY)
    d.rectangle((7, 6, 14, 14), outline=BLACK, fill=WHITE)


def delete(d):
    d.line((3, 3, 12, 12), fill=RED, width=3)
    d.line((12, 3, 3, 12), fill=RED, width=3)


def thumbnails(d):
    for x, y in ((1, 1), (9, 1), (1, 9), (9, 9)):
        d.rectangle((x, y, x + 5, y + 5), outline=BLACK, fill=LIGHT_BLUE)


def large_icons(d):
    d.rectangle((3, 2, 12, 10), outline=BLACK, fill=YELLOW)
    d.line((3, 13, 12, 13), fill=BLACK)


def small_icons(d):
    for x, y in ((1, 2), (9, 2), (1, 9), (9, 9)):
        d.rectangle((x, y, x + 3, y + 3), outline=BLACK, fill=YELLOW)
        d.line((x + 5, y + 2, x + 6, y + 2), fill=BLACK)


def list_(d):
    for x in (1, 9):
        for y in (2, 6, 10):
            d.rectangle((x, y, x + 2, y + 2), outline=BLACK, fill=YELLOW)
            d.line((x + 4, y + 1, x + 6, y + 1), fill=BLACK)


def details(d):
    for y in (2, 6, 10):
        d.rectangle((1, y, 3, y + 2), outline=BLACK, fill=YELLOW)
        d.line((5, y + 1, 14, y + 1), fill=BLACK)


def skip_thumbnail(d):
    d.rectangle((1, 3, 9, 12), outline=BLACK, fill=LIGHT_BLUE)
    d.polygon([(9, 3), (15, 7), (9, 12)], fill=GREEN)


def main():
    strip([folder_up, refresh, insert_to_autocad, interface_style, preview_pane, switch_to_view,
           lambda d: magnifier(d, "-"), lambda d: magnifier(d, "+"), lambda d: magnifier(d, "window"), pan,
           lambda d: magnifier(d, "back"), lambda d: magnifier(d, "all"), fit, actual_size,
           quick_mode, highlight, smoothing, layers, properties, exif, copy, paste, delete, options,
           thumbnails, large_icons, small_icons, list_, details, skip_thumbnail, about, help_],
          "browser_toolbar.bmp")


if __name__ == "__main__":
    sys.exit(main())
