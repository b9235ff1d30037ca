#!/usr/bin/python3
"""Reads the drawings the library tests saved (folder 2) with ezdxf and
compares them with the ezdxf files they came from (folder 1): same entity
kinds and counts (R12 files: converted kinds aside) and the same extents."""
import collections
import os
import sys

import ezdxf
from ezdxf import bbox


def kinds(doc):
    return collections.Counter(e.dxftype() for e in doc.modelspace())


def main():
    fixtures, saved = sys.argv[1], sys.argv[2]
    failures = 0
    names = sorted(n for n in os.listdir(saved) if "_as_" in n and n.endswith(".dxf"))
    if len(names) < 16:
        print("expected the saved drawings, found %d" % len(names))
        return 1
    for name in names:
        source = name.split("_as_")[0]
        version = name.split("_as_")[1][:-4]
        original = ezdxf.readfile(os.path.join(fixtures, source + ".dxf"))
        again = ezdxf.readfile(os.path.join(saved, name))
        a, b = bbox.extents(original.modelspace()), bbox.extents(again.modelspace())
        span = max(a.size.x, a.size.y)
        tolerance = (1e-3 if version == "R12" and source.startswith("curves") else 1e-6) * span
        for p, q in ((a.extmin, b.extmin), (a.extmax, b.extmax)):
            if abs(p.x - q.x) > tolerance or abs(p.y - q.y) > tolerance:
                print("%s: extents %s %s differ from %s %s" % (name, b.extmin, b.extmax, a.extmin, a.extmax))
                failures += 1
                break
        errors = again.audit().errors
        if errors:
            print("%s: ezdxf's audit finds %s" % (name, [str(e.message) for e in errors[:3]]))
            failures += 1
        if version != "R12" and kinds(original) != kinds(again):
            print("%s: entities %s differ from %s" % (name, dict(kinds(again)), dict(kinds(original))))
            failures += 1
        print("%s: read by ezdxf %s" % (name, "ok" if failures == 0 else "with differences"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
