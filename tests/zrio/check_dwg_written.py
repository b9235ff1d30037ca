"""LibreDWG reads back every DWG file the DWG writer tests wrote and must
agree with ezdxf's read of the file's DXF twin (the same save in DXF form):
no critical error, the same layers (colour, on, frozen, line type), line
types, text styles, block records, layouts and header values, and in every
block the same entities (kind, handle, layer) with the same geometry.

Usage: check_dwg_written.py DWG_READER_FOLDER FOLDER"""
import json
import math
import os
import re
import subprocess
import sys

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))
TOLERANCE = 1e-9


def libredwg_reads(reader, batches):
    """LibreDWG's reads of each batch (a list of files and whether through
    its DXF writer), one node process a batch, all at once."""
    runs = [subprocess.Popen(['node', os.path.join(HERE, 'dwg_written.mjs'), reader] +
                             (['--dxf'] if via_dxf else []) + files,
                             stdout=subprocess.PIPE, text=True) for files, via_dxf in batches]
    answers = []
    for run in runs:
        out, _ = run.communicate(timeout=600)
        if run.returncode != 0:
            raise RuntimeError('node dwg_written.mjs failed')
        answers.append(json.loads(out[out.index('{'):]))
    return answers


def near(a, b):
    return abs(a - b) <= TOLERANCE * max(1.0, abs(a), abs(b))


def near_point(p, q, dims=3):
    keys = 'xyz'[:dims]
    return all(near(p[i] if isinstance(p, (list, tuple)) else getattr(p, keys[i]),
                    q.get(keys[i], 0.0)) for i in range(dims))


def unescaped(text):
    """DXF text with its \\U+XXXX escapes and its carets ("^I" a tab, "^ " a
    caret) turned into the characters."""
    text = re.sub(r'\^([ @-_])', lambda m: '^' if m.group(1) == ' ' else chr(ord(m.group(1)) - 64), text)
    return re.sub(r'\\U\+([0-9A-Fa-f]{4})', lambda m: chr(int(m.group(1), 16)), text)


def angle(degrees):
    return math.radians(degrees)


def kind(e):
    t = e.dxftype()
    if t == 'INSERT' and (e.dxf.get('row_count', 1) > 1 or e.dxf.get('column_count', 1) > 1):
        return None  # nor multiple inserts
    if t == 'POLYLINE':
        if e.is_polygon_mesh or e.is_poly_face_mesh:
            return None  # LibreDWG's conversion gives no meshes
        return 'POLYLINE3D' if e.is_3d_polyline else 'POLYLINE2D'
    if t in MODELER:
        return None  # nor regions and bodies: compared through LibreDWG's DXF writer
    return t


MODELER = ('3DSOLID', 'REGION', 'BODY')


def decrypted(line):
    """A modeler data line as DXF and DWG keep it, in plain text."""
    return ''.join(chr(159 - ord(c)) if ord(c) > 32 else c for c in unescaped(line))


def binary(tags, start, stop):
    """The bytes of the 310 groups between the groups of codes start and stop."""
    data, inside = b'', False
    for code, value in tags:
        if code == start:
            inside = True
        elif code == stop:
            inside = False
        elif inside and code == 310:
            data += value
    return data


def geometry_problems(e, r, r14):
    """What differs between an ezdxf entity and LibreDWG's read of it."""
    t, d = e.dxftype(), e.dxf
    checks = []
    if t == 'LINE':
        checks = [near_point(d.start, r['startPoint']), near_point(d.end, r['endPoint'])]
    elif t in ('CIRCLE', 'ARC'):
        checks = [near_point(d.center, r['center']), near(d.radius, r['radius'])]
        if t == 'ARC':
            checks += [near(angle(d.start_angle), r['startAngle']), near(angle(d.end_angle), r['endAngle'])]
    elif t == 'POINT':
        checks = [near_point(d.location, r['position'])]
    elif t == 'ELLIPSE':
        checks = [near_point(d.center, r['center']), near_point(d.major_axis, r['majorAxisEndPoint']),
                  near(d.ratio, r['axisRatio']), near(d.start_param, r['startAngle']),
                  near(d.end_param, r['endAngle'])]
    elif t == 'TEXT':
        checks = [near_point(d.insert, r['startPoint'], 2), near(d.height, r['textHeight']),
                  unescaped(d.text) == r['text'], near(angle(d.get('rotation', 0)), r['rotation'])]
    elif t == 'MTEXT':
        checks = [near_point(d.insert, r['insertionPoint']), near(d.char_height, r['textHeight']),
                  unescaped(e.text) == r['text']]
    elif t == 'INSERT':
        checks = [d.name == r['name'], near_point(d.insert, r['insertionPoint']),
                  near(d.get('xscale', 1), r['xScale']), near(d.get('yscale', 1), r['yScale']),
                  near(angle(d.get('rotation', 0)), r['rotation']),
                  len(e.attribs) == len(r.get('attribs', []))]
    elif t == 'LWPOLYLINE':
        points = list(e.get_points('xyb'))
        checks = [len(points) == len(r['vertices'])] + [
            near(p[0], v['x']) and near(p[1], v['y']) and near(p[2], v.get('bulge', 0))
            for p, v in zip(points, r['vertices'])]
    elif t == 'POLYLINE':
        # LibreDWG's conversion leaves out the last vertex of a polyline,
        # in AutoCAD's own files too.
        points = [v.dxf.location for v in e.vertices]
        checks = [len(r['vertices']) in (len(points), len(points) - 1)] + [
            near_point(p, v) for p, v in zip(points, r['vertices'])]
    elif t in ('SOLID', 'TRACE', '3DFACE'):
        dims = 3 if t == '3DFACE' else 2
        checks = [near_point(d.get('vtx%d' % i), r['corner%d' % (i + 1)], dims) for i in range(4)]
    elif t == 'SPLINE':
        checks = [len(e.control_points) == len(r['controlPoints']),
                  len(e.fit_points) == len(r['fitPoints'])]
        checks += [near_point(p, q) for p, q in zip(e.control_points, r['controlPoints'])]
        checks += [near_point(p, q) for p, q in zip(e.fit_points, r['fitPoints'])]
        checks += [near(k, q) for k, q in zip(e.knots, r['knots'])]
    elif t == 'HATCH':
        paths = r['boundaryPaths']
        checks = [len(e.paths) == len(paths)]
        for p, q in zip(e.paths, paths):
            checks += [near_point(v, w, 2) for v, w in zip(p.vertices, q['vertices'])]
    elif t == 'VIEWPORT' and d.hasattr('center'):  # ezdxf sees no R12-style viewport data
        checks = [near_point(d.get('center', (0, 0, 0)), r['viewportCenter']),
                  near(d.get('width', 0), r['width']), near(d.get('height', 0), r['height'])]
        # An R14 viewport keeps its view in the MVIEW list of its extended
        # data (LibreDWG's DXF writer writes the viewports of the first
        # paper space only).
        if r14 and d.hasattr('view_height') and 'dxf' in r:
            checks.append(mview_view(r['dxf']['xdata']) == view_of(e))
        elif not r14:
            checks.append(near(d.get('view_height', 0), r['viewHeight']))
    elif t in ('RAY', 'XLINE'):
        checks = [near_point(d.start, r['firstPoint']), near_point(d.unit_vector, r['unitDirection'])]
    elif t == 'DIMENSION':
        checks = [d.geometry == r['name'], near_point(d.defpoint, r['definitionPoint'])]
    elif t in ('IMAGE', 'WIPEOUT'):
        checks = [near_point(d.insert, r['position']), near_point(d.u_pixel, r['uPixel']),
                  near_point(d.v_pixel, r['vPixel']), near_point(d.image_size, r['imageSize'], 2),
                  len(e.boundary_path) == r['countBoundaryPoints']]
    elif t == 'MLINE':
        vertices = r['vertices']
        checks = [near(d.scale_factor, r['scale']), len(e.vertices) == len(vertices)] + [
            near_point(v.location, w['vertex']) and near_point(v.line_direction, w['vertexDirection'])
            and near_point(v.miter_direction, w['miterDirection']) for v, w in zip(e.vertices, vertices)]
    elif t == 'TOLERANCE':
        checks = [near_point(d.insert, r['insertionPoint']), unescaped(d.content) == r['text'],
                  near_point(d.x_axis_vector, r['xAxisDirection'])]
    elif t == 'SHAPE':
        # The shape's number and file come from the shape file beside the drawing.
        checks = [near_point(d.insert, r['insertionPoint']), near(d.size, r['size']),
                  near(angle(d.get('rotation', 0)), r['rotation']), r['shapeNumber'] > 0, r['styleName'] != '']
    elif t == 'OLE2FRAME':
        checks = [e.binary_data().hex().upper() == r['binaryData']]
    elif t == 'ACAD_PROXY_ENTITY':
        checks = [binary(e.acdb_proxy_entity, 92, 93).hex().upper() == r['graphicsData']]
    return [] if all(checks) else ['%s %s geometry' % (t, d.handle)]


def view_of(e):
    d = e.dxf
    return [round(v, 9) for v in list(d.get('view_target_point', (0, 0, 0))) +
            list(d.get('view_direction_vector', (0, 0, 1))) +
            [d.get('view_twist_angle', 0), d.get('view_height', 0)] + list(d.get('view_center_point', (0, 0)))[:2]]


def mview_view(xdata):
    """Target, direction, twist, height and centre of an MVIEW list."""
    values = [float(v) for c, v in xdata if c in (1010, 1020, 1030, 1040)]
    if len(xdata) < 3 or xdata[1] != [1000, 'MVIEW']:
        return None
    return [round(v, 9) for v in values[:10]]


def compare(name, doc, read):
    problems = []
    if read['error'] >= 128:
        return ['LibreDWG error %d' % read['error']]
    tables = read['tables']
    layers = {l['name']: l for l in tables['LAYER']['entries']}
    for layer in doc.layers:
        if layer.dxf.name == 'Defpoints' and 'Defpoints' not in doc.filename_text:
            continue  # made by ezdxf on loading, not in the file
        got = layers.get(unescaped(layer.dxf.name))
        if not got:
            problems.append('layer %s missing' % layer.dxf.name)
            continue
        if (abs(layer.dxf.color) != abs(got['colorIndex']) and not got['off']) or \
                (layer.dxf.color < 0) != got['off'] or layer.is_frozen() != got['frozen'] or \
                layer.dxf.linetype.upper() != got['lineType'].upper():
            problems.append('layer %s differs' % layer.dxf.name)
    for table, entries in (('LTYPE', doc.linetypes), ('STYLE', doc.styles)):
        want = sorted(e.dxf.name.upper() for e in entries)
        got = sorted(e['name'].upper() for e in tables[table]['entries'])
        if want != got:
            problems.append('%s entries %s != %s' % (table, want, got))
    # ezdxf makes a paper space and its layout on loading a file without one,
    # and R14 has no layout objects nor insertion units.
    r14 = 'AC1014' in doc.filename_text[:4000]  # ezdxf loads R14 as 2000
    if not r14 and sorted(l.name for l in doc.layouts if l.name in doc.filename_text) != \
            sorted(l['layoutName'] for l in read['layouts']):
        problems.append('layouts differ')
    if 'THUMBNAILIMAGE' in doc.filename_text and not read['thumbnail']:
        problems.append('no preview picture')
    header = read['header']
    for var in ('$EXTMIN', '$EXTMAX', '$LIMMIN', '$LIMMAX'):
        dims = 2 if 'LIM' in var else 3
        if var in doc.header and not near_point(doc.header[var], header[var[1:]], dims):
            problems.append('header %s' % var)
    for var in ('$LUNITS', '$LUPREC', '$PDMODE', '$PDSIZE', '$LTSCALE') + (() if r14 else ('$INSUNITS',)):
        if var in doc.header and not near(doc.header[var], header[var[1:]]):
            problems.append('header %s' % var)
    records = {r['name'].upper(): r for r in tables['BLOCK_RECORD']['entries']}
    via_dxf = read.get('dxf', {})
    for block in doc.blocks:
        record = records.get(block.name.upper())
        if record is None and block.name not in doc.filename_text:
            continue
        if record is None:
            problems.append('block %s missing' % block.name)
            continue
        got = {e['handle']: e for e in record.get('entities', []) if e['type'] not in MODELER}
        want = {e.dxf.handle: e for e in block if kind(e)}
        if set(got) != set(want):
            problems.append('block %s entities: not read %s, not written %s' %
                            (block.name, sorted(set(want) - set(got))[:10], sorted(set(got) - set(want))[:10]))
            continue
        for e in block:
            if e.dxftype() in MODELER:
                r = via_dxf.get(e.dxf.handle)
                if not r or r['type'] != e.dxftype() or [decrypted(l) for l in r['lines']] != e.sat:
                    problems.append('%s %s modeler data' % (e.dxftype(), e.dxf.handle))
        for handle, e in want.items():
            r = got[handle]
            if handle in via_dxf:
                r['dxf'] = via_dxf[handle]
            if kind(e) != r['type'] or unescaped(e.dxf.layer) != r['layer']:
                problems.append('%s %s kind or layer' % (e.dxftype(), handle))
            else:
                problems += geometry_problems(e, r, r14)
    return problems


def main():
    reader, folder = sys.argv[1], sys.argv[2]
    names = sorted(f[:-4] for f in os.listdir(folder) if f.endswith('.dwg'))
    # Modeler data, and the view of R14 viewports, come through LibreDWG's DXF writer.
    def wants_dxf(n):
        twin = os.path.join(folder, n + '.dxf')
        if not os.path.exists(twin):
            return False
        text = open(twin, encoding='latin-1').read()
        return re.search(r'\n  0\n(3DSOLID|REGION|BODY)\n', text) or \
            ('AC1014' in text[:4000] and '\n  0\nVIEWPORT\n' in text)
    with_dxf = [n for n in names if wants_dxf(n)]
    paths = [os.path.join(folder, n + '.dwg') for n in names]
    half = len(paths) // 2
    first, second, dxf = libredwg_reads(reader, [(paths[:half], False), (paths[half:], False),
                                                 ([os.path.join(folder, n + '.dwg') for n in with_dxf], True)])
    reads = dict(first, **second)
    for n in with_dxf:
        reads[n + '.dwg']['dxf'] = dxf[n + '.dwg']
    failed = 0
    for name in names:
        read = reads[name + '.dwg']
        if not os.path.exists(os.path.join(folder, name + '.dxf')):
            # Saved through the drawing, without a twin: read without a critical error.
            if read['error'] >= 128:
                failed += 1
                print('%s: LibreDWG error %d' % (name, read['error']))
            continue
        try:
            doc = ezdxf.readfile(os.path.join(folder, name + '.dxf'))
            with open(os.path.join(folder, name + '.dxf'), encoding='latin-1') as twin:
                doc.filename_text = twin.read()
        except ezdxf.DXFStructureError as error:
            # The twin keeps a damaged group of its source that ezdxf refuses.
            print('%s: twin not read by ezdxf (%s); LibreDWG error %d'
                  % (name, error, reads[name + '.dwg']['error']))
            continue
        problems = compare(name, doc, reads[name + '.dwg'])
        if problems:
            failed += 1
            print('%s: %s' % (name, '; '.join(problems[:8])))
    errors = sorted(set((n, reads[n + '.dwg']['error']) for n in names if reads[n + '.dwg']['error']))
    if errors:
        print('LibreDWG read with non-critical error codes: %s' % errors)
    print('%d of %d files agree' % (len(names) - failed, len(names)))
    return 1 if failed or not names else 0


if __name__ == '__main__':
    sys.exit(main())
