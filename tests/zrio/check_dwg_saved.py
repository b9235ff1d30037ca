#!/usr/bin/python3
"""Reads the DXF files the DWG tests saved (folder 2) with ezdxf: each one
passes ezdxf's audit, and the model space of every version but R12 holds
the entities LibreDWG read of the DWG (reference file 1) of the kinds the
drawing library draws."""
import collections
import json
import os
import sys

import ezdxf

# Kinds the library draws with the same name in the DWG and the DXF.
SAME = {"LINE", "POINT", "CIRCLE", "ARC", "ELLIPSE", "LWPOLYLINE", "SPLINE", "TEXT", "MTEXT",
        "INSERT", "SOLID", "3DFACE", "HATCH", "DIMENSION", "LEADER", "RAY", "XLINE"}


def main():
    reference = json.load(open(sys.argv[1]))
    saved = sys.argv[2]
    names = sorted(n for n in os.listdir(saved) if n.endswith(".dxf"))
    if len(names) < 12:
        print("expected the saved drawings, found %d" % len(names))
        return 1
    failures = 0
    for name in names:
        stem, version = name[:-4].rsplit("_", 1)
        doc = ezdxf.readfile(os.path.join(saved, name))
        problems = []
        errors = doc.audit().errors
        if errors:
            problems.append("ezdxf's audit finds %s" % [str(e.message) for e in errors[:3]])
        if version != "R12":
            ours = collections.Counter(e.dxftype() for e in doc.modelspace())
            blocks = reference[stem + ".dwg"]["blocks"]
            model = next(v for k, v in blocks.items() if k.upper() == "*MODEL_SPACE")
            tables = model.get("ACAD_TABLE with a block", 0)
            for kind in SAME | {"ACAD_TABLE"}:
                expected = model.get(kind, 0)
                if kind == "ACAD_TABLE":
                    expected = 0 if version == "R14" else tables
                if kind == "INSERT" and version == "R14":  # R14 has no tables: a reference to the block
                    expected += tables
                if ours[kind] != expected:
                    problems.append("%d %s, LibreDWG read %d" % (ours[kind], kind, expected))
        failures += bool(problems)
        print("%s: %s" % (name, "; ".join(problems) if problems else "read by ezdxf, entities as in the DWG"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
