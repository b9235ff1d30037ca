"""Exit 0 when ezdxf reads SAVED as a DXF of VERSION (AC1009 ...) whose model
space holds the same entities (type, layer, colour) as SOURCE."""
import sys

import ezdxf


def entities(path):
    doc = ezdxf.readfile(path)
    return doc.loaded_dxfversion, sorted(
        (e.dxftype(), e.dxf.layer, e.dxf.get("color", 256)) for e in doc.modelspace())


def main():
    saved, source, version = sys.argv[1:4]
    saved_version, saved_entities = entities(saved)
    _, source_entities = entities(source)
    if saved_version != version or saved_entities != source_entities or not source_entities:
        print(saved_version, saved_entities, source_entities)
        return 1
    return 0


sys.exit(main())
