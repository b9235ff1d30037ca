#!/usr/bin/python3
"""Reads the drawings zrio_writeback_tests saved (folder 2, "keptsave_*")
with ezdxf: its audit finds no error in any of them, and the files saved
from kept_*.dxf (folder 1, see make_fixtures.kept_drawing) still hold what
the library does not interpret, in every version that can hold it."""
import os
import sys

import ezdxf


def close(a, b):
    return abs(a - b) < 1e-9


def check_kept(doc, source, version):
    """Problems found in a save of kept_<source> as <version>."""
    problems = []
    for name, value in (("$TEXTSIZE", 7.25), ("$DIMSCALE", 3.0), ("$ANGBASE", 0.5)):
        if not close(doc.header.get(name, 0), value):
            problems.append("%s is %s" % (name, doc.header.get(name)))
    view = doc.views.get("NORTH") if doc.views.has_entry("NORTH") else None
    if view is None or not close(view.dxf.height, 40) or not close(view.dxf.center[0], 50):
        problems.append("view NORTH lost")
    ucs = doc.ucs.get("TILTED") if doc.ucs.has_entry("TILTED") else None
    if ucs is None or not close(ucs.dxf.origin[1], 20) or not close(ucs.dxf.xaxis[1], 1):
        problems.append("UCS TILTED lost")
    style = doc.styles.get("NOTES2") if doc.styles.has_entry("NOTES2") else None
    if style is None or not close(style.dxf.width, 0.7) or not close(style.dxf.oblique, 15):
        problems.append("text style NOTES2 lost")
    dimstyle = doc.dimstyles.get("HARBECK") if doc.dimstyles.has_entry("HARBECK") else None
    if dimstyle is None or not close(dimstyle.dxf.dimtxt, 3.5):
        problems.append("dimension style HARBECK lost")
    elif source != "R12" and version != "R12" and dimstyle.dxf.get("dimtxsty") != "NOTES2":
        problems.append("HARBECK's text style is %s" % dimstyle.dxf.get("dimtxsty"))
    circles = doc.modelspace().query("CIRCLE")
    if len(circles) != 1:
        return problems + ["%d circles" % len(circles)]
    circle = circles[0]
    xdata = circle.get_xdata("HARBECK") if circle.has_xdata("HARBECK") else []
    if [tuple(t) for t in xdata] != [(1000, "tag"), (1040, 3.25)]:
        problems.append("extended data %s" % xdata)
    if source == "R12" or version == "R12":
        return problems
    group = doc.groups.get("PAIR") if "PAIR" in doc.groups else None
    if group is None or [e.dxftype() for e in group] != ["LINE", "LINE"]:
        problems.append("group PAIR lost")
    if not circle.has_extension_dict:
        problems.append("the circle's extension dictionary is lost")
    else:
        note = circle.get_extension_dict().get("NOTE")
        if note is None or [tuple(t) for t in note.tags] != [(1, "inside"), (40, 1.5)]:
            problems.append("the circle's XRECORD is lost")
    data = doc.rootdict.get("HARBECK_DATA")
    settings = data.get("SETTINGS") if data is not None else None
    if settings is None or [tuple(t) for t in settings.tags] != [(1, "hello"), (40, 2.5), (70, 7)]:
        problems.append("the custom dictionary is lost")
    return problems


def main():
    saved = sys.argv[2]
    names = sorted(n for n in os.listdir(saved) if n.startswith("keptsave_") and n.endswith(".dxf"))
    if len(names) < 40:
        print("expected the saved drawings, found %d" % len(names))
        return 1
    failures = 0
    for name in names:
        doc = ezdxf.readfile(os.path.join(saved, name))
        problems = ["audit: %s" % e.message for e in doc.audit().errors[:3]]
        parts = name[:-4].split("_")
        if parts[1] == "kept":
            problems += check_kept(doc, parts[2], parts[3])
        for problem in problems:
            print("%s: %s" % (name, problem))
        failures += 1 if problems else 0
        print("%s: %s" % (name, "ok" if not problems else "FAILED"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
