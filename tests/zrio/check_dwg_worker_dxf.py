"""The DWG worker's DXF text of each fixture, read by ezdxf, against
LibreDWG's own DXF output of the same file (dwg_to_dxf.mjs): the same
entity kinds block by block, the same handles, layers and key geometry, the
same multiline styles; what the worker left out must be kinds LibreDWG's own
output has none of. The binary DXF the worker hands the library is binary
DXF, and ezdxf reads from it what it reads from the text: the same
entities, layers, header values and key geometry.
Then the kinds no fixture holds, written by the worker's DXF writer from
drawings in the converter's form, read back by ezdxf.

Usage: check_dwg_worker_dxf.py READER WORK_FOLDER REFERENCE_FOLDER FILE.dwg...
"""
import collections
import math
import os
import re
import subprocess
import sys

import ezdxf
from ezdxf import recover

HERE = os.path.dirname(os.path.abspath(__file__))
failures = []


def fail(where, what):
    failures.append(f'{where}: {what}')


def close(a, b, tolerance=1e-6):
    return all(math.isclose(x, y, rel_tol=tolerance, abs_tol=tolerance) for x, y in zip(a, b))


def by_handle(doc):
    entities = {}
    for block in doc.blocks:
        for e in block:
            entities[e.dxf.handle] = (block.block_record_handle, e)
    return entities


def sat_text(e):
    return ''.join(e.sat)


# Key geometry of an entity, for the kinds whose groups the worker fills
# from LibreDWG's data, after its linetype and whether it is invisible.
def key(e):
    linetype = e.dxf.get('linetype', 'BYLAYER') if e.dxf.is_supported('linetype') else ''
    invisible = e.dxf.get('invisible', 0) if e.dxf.is_supported('invisible') else 0
    return [linetype.upper(), invisible, *geometry(e)]


def geometry(e):
    t, d = e.dxftype(), e.dxf
    if t == 'LINE':
        return [*d.start, *d.end]
    if t in ('CIRCLE', 'ARC'):
        return [*d.center, d.radius]
    if t in ('TEXT', 'ATTDEF', 'ATTRIB'):
        return [d.text, *d.insert]
    if t == 'INSERT':
        return [d.name, *d.insert]
    if t == 'POLYLINE':
        return [len(e.vertices), *[c for v in e.vertices for c in v.dxf.location], *[v.dxf.handle for v in e.vertices]]
    if t == 'SPLINE':
        points = [c for p in [*e.control_points, *e.fit_points] for c in p]
        return [d.flags & 0x1f, d.degree, len(e.control_points), len(e.fit_points), *points]
    if t == 'DIMENSION':
        points = [c for k in ('defpoint', 'defpoint2', 'defpoint3', 'defpoint4', 'defpoint5') if d.hasattr(k) for c in d.get(k)]
        return [d.geometry, d.dimtype, *points, d.get('actual_measurement', 0)]
    if t == 'LWPOLYLINE':
        return [c for p in e.get_points('xyb') for c in p]
    if t in ('3DSOLID', 'REGION', 'BODY'):
        return [sat_text(e).replace('\n', '')]
    if t == 'MULTILEADER':
        ctx = e.context
        lines = [c for leader in ctx.leaders for line in leader.lines for v in line.vertices for c in v]
        return [ctx.mtext.default_content if ctx.mtext else '', *lines]
    if t == 'ACAD_TABLE':
        reference = e.xtags.get_subclass('AcDbBlockReference')
        return [reference.get_first_value(2), *reference.get_first_value(10), len(list(e.virtual_entities()))]
    if t == 'ARC_DIMENSION':
        return [d.geometry, *d.defpoint]
    if t == 'TOLERANCE':
        return [d.content, *d.insert]
    if t == 'MLINE':
        vertices = [c for v in e.vertices for p in (v.location, v.line_direction, v.miter_direction) for c in p]
        params = [c for v in e.vertices for line in [*v.line_params, *v.fill_params] for c in [len(line), *line]]
        return [d.style_name.upper(), d.scale_factor, d.justification, d.flags, *d.start_location, *vertices, *params]
    return []


def same_key(a, b):
    if len(a) != len(b):
        return False
    for x, y in zip(a, b):
        if isinstance(x, str) or isinstance(y, str):
            if x != y:
                return False
        elif not close([x], [y]):
            return False
    return True


def compare(name, ours, theirs, left, binary):
    mine, ref = by_handle(ours), by_handle(theirs)
    modern = (ours.loaded_dxfversion or ours.dxfversion) >= 'AC1015'
    if not modern:
        # LibreDWG's R14 output draws the kinds R14 has not in blocks of
        # its own making.
        ours_blocks = {b for b, _ in mine.values()}
        ref = {h: (b, e) for h, (b, e) in ref.items() if b in ours_blocks}
    counts = collections.Counter((b, e.dxftype()) for b, e in ref.values())
    our_counts = collections.Counter((b, e.dxftype()) for b, e in mine.values())
    for (block, kind), n in counts.items():
        got = our_counts.get((block, kind), 0)
        if got != n:
            fail(name, f'{got} {kind} in block {block}, LibreDWG has {n}')
    if modern:
        # The same kinds: LibreDWG's own output of a drawing of 2000 or
        # later holds every kind it reads; one of R14 leaves out the kinds
        # R14 has not.
        extra = {k for _, k in our_counts} - {k for _, k in counts}
        if extra:
            fail(name, f'kinds LibreDWG does not write: {sorted(extra)}')
    for handle, (block, e) in ref.items():
        if handle not in mine:
            fail(name, f'{e.dxftype()} {handle} missing')
            continue
        other = mine[handle][1]
        if other.dxftype() != e.dxftype():
            fail(name, f'{handle} is {other.dxftype()}, LibreDWG has {e.dxftype()}')
        elif e.dxftype() in ('3DSOLID', 'REGION', 'BODY') and not other.sat and other.dxf.handle in binary:
            continue  # LibreDWG gives binary ACIS data, which its own output turns into SAT text
        elif not same_key(key(other), key(e)):
            fail(name, f'{e.dxftype()} {handle}: {key(other)} against {key(e)}')
    our_defs = {d.dxf.handle: d for d in ours.objects.query('IMAGEDEF')}
    for d in theirs.objects.query('IMAGEDEF'):
        mine_def = our_defs.get(d.dxf.handle)
        if not mine_def or mine_def.dxf.filename != d.dxf.filename or not close(mine_def.dxf.image_size, d.dxf.image_size):
            fail(name, f'IMAGEDEF {d.dxf.handle} {d.dxf.filename} missing or different')
    layers = lambda doc: sorted(l.dxf.name.upper() for l in doc.layers)
    if layers(ours) != layers(theirs):
        fail(name, f'layers {layers(ours)} against {layers(theirs)}')
    # LibreDWG writes the index of a colour given by its method (0 for "by
    # layer") in drawings of 2004 and later: colours are compared before.
    with_colors = (ours.loaded_dxfversion or ours.dxfversion) < 'AC1018'
    if mline_styles(ours, with_colors) != mline_styles(theirs, with_colors):
        fail(name, f'multiline styles {mline_styles(ours, with_colors)} against {mline_styles(theirs, with_colors)}')
    ref_kinds = {k for _, k in counts}
    for line in left.splitlines():
        kind, count = line.rsplit(' ', 1)
        if kind in ref_kinds:
            fail(name, f'left out {count} {kind}, which LibreDWG writes')


BINARY_SENTINEL = b'AutoCAD Binary DXF\r\n\x1a\x00'


def check_binary_form(name, text, text_path, path):
    """ezdxf reads the same drawing from the binary form as from the text."""
    with open(path, 'rb') as f:
        if f.read(len(BINARY_SENTINEL)) != BINARY_SENTINEL:
            fail(name, 'the worker did not hand the drawing over as binary DXF')
            return
    binary = read(path)
    mine, theirs = by_handle(binary), by_handle(text)
    if sorted(mine) != sorted(theirs):
        fail(name, f'binary DXF holds {len(mine)} entities, the text {len(theirs)}')
    for handle, (block, e) in theirs.items():
        other = mine.get(handle)
        if not other or other[0] != block or other[1].dxftype() != e.dxftype() or key(other[1]) != key(e):
            fail(name, f'{e.dxftype()} {handle} differs in the binary DXF')
    layers = lambda doc: sorted((l.dxf.name, l.dxf.color, l.dxf.linetype) for l in doc.layers)
    if layers(binary) != layers(text):
        fail(name, 'the layers differ in the binary DXF')
    # The variables the text gives (ezdxf makes up some a drawing leaves
    # out, such as the GUIDs and the creation time, anew each read).
    with open(text_path, encoding='latin-1') as f:
        given = re.findall(r'^ *9\r?\n(\$\w+)\r?$', f.read(), re.M)
    header = lambda doc: {name: doc.header.get(name) for name in given}
    if header(binary) != header(text):
        fail(name, 'the header differs in the binary DXF')


def mline_styles(doc, with_colors):
    """The multiline styles of the ACAD_MLINESTYLE dictionary: handle, name,
    flags, cap angles and lines (offset, linetype, colours)."""
    styles = []
    dictionary = doc.rootdict.get('ACAD_MLINESTYLE')
    for name, style in dictionary.items() if dictionary else []:
        d = style.dxf
        colors = [d.fill_color, *[e.color for e in style.elements]] if with_colors else []
        lines = [(round(e.offset, 9), e.linetype.upper()) for e in style.elements]
        styles.append((d.handle, name.upper(), d.flags, round(d.start_angle, 6), round(d.end_angle, 6), lines, colors))
    return sorted(styles)


def check_binary_acis(name, ours):
    """Solids LibreDWG gives as SAB: one ACDSDATA record each, naming the
    solid, holding binary ACIS data."""
    solids = {e.dxf.handle for e in ours.modelspace().query('3DSOLID REGION BODY') if not e.sat}
    records = {}
    for record in ours.acdsdata.entities:
        if record.dxftype() != 'ACDSRECORD' or not record.has_section('ASM_Data'):
            continue
        handle = record.get_section('AcDbDs::ID')[2].value
        records[handle] = b''.join(t.value for t in record.get_section('ASM_Data') if t.code == 310)
    for handle, data in records.items():
        if handle not in solids or not data.startswith(b'ACIS BinaryFile'):
            fail(name, f'ACDSDATA record of {handle} holds no ACIS data of a solid')
    return records


def entity_groups(path, handle):
    """The groups of the entity with the handle, by code: point
    coordinates joined under the x code."""
    with open(path, encoding='ascii') as f:
        lines = f.read().split('\n')
    pairs = list(zip(lines[0::2], lines[1::2]))
    start = next((i for i, (c, v) in enumerate(pairs) if c.strip() == '5' and v == handle), len(pairs))
    groups = {}
    for code, value in pairs[start + 1:]:
        code = int(code)
        if code == 0:
            break
        if 20 <= code < 40 and 10 + code % 10 in groups:
            groups[10 + code % 10].append(value)
        else:
            groups.setdefault(code, []).append(value)
    return groups


def check_kinds(path):
    doc = read(path)
    msp = doc.modelspace()
    by_type = {e.dxftype(): e for e in msp}
    image = by_type.get('IMAGE')
    if not image or image.image_def is None:
        fail('kinds', 'IMAGE without its definition')
    else:
        definition = image.image_def
        if definition.dxf.filename != 'C:\\pictures\\site plan.png' or not close(definition.dxf.image_size, (640, 480)):
            fail('kinds', f'IMAGEDEF {definition.dxf.filename} {definition.dxf.image_size}')
        reactor = doc.entitydb.get(image.dxf.image_def_reactor_handle)
        if not reactor or reactor.dxftype() != 'IMAGEDEF_REACTOR' or reactor.dxf.image_handle != image.dxf.handle:
            fail('kinds', 'IMAGEDEF_REACTOR does not link the image')
        if len(image.boundary_path) != 2 or not close(image.dxf.image_size, (640, 480)):
            fail('kinds', f'IMAGE boundary {list(image.boundary_path)} size {image.dxf.image_size}')
        if image.dxf.handle not in doc.rootdict['ACAD_IMAGE_DICT'] and 'site plan' not in doc.rootdict['ACAD_IMAGE_DICT']:
            fail('kinds', 'the image dictionary does not hold the definition')
    # A shape by its number and text style (the library names it).
    shape = by_type.get('SHAPE')
    if not shape or shape.dxf.name != '132' or entity_groups(path, 'A2').get(7) != ['GDT'] \
            or not close(shape.dxf.insert, (5, 6, 0)) or not close([shape.dxf.rotation], [90]):
        fail('kinds', 'SHAPE number, style, place or rotation')
    # ezdxf 0.18 reads no fields of an OLE frame or a proxy but the data:
    # their groups are read from the text.
    ole = entity_groups(path, 'A3')
    if not by_type.get('OLE2FRAME') or ole.get(10) != ['0', '100', '0'] or ole.get(11) != ['80', '40', '0'] \
            or ole.get(90) != ['4'] or ole.get(310) != ['0102A0FF']:
        fail('kinds', f'OLE2FRAME corners or data: {ole}')
    proxy = entity_groups(path, 'A4')
    if not by_type.get('ACAD_PROXY_ENTITY') or [proxy.get(c) for c in (90, 91, 92)] != [['498'], ['501'], ['6']] \
            or proxy.get(310, [''])[0] != '0C0000000100':
        fail('kinds', f'ACAD_PROXY_ENTITY classes or graphics: {proxy}')
    mleader = by_type.get('MULTILEADER')
    if not mleader or mleader.context.block is None or mleader.context.block.block_record_handle != 'B1' \
            or not close(mleader.context.block.insert, (62, 60, 0)) \
            or [list(v) for v in mleader.context.leaders[0].lines[0].vertices] != [[40, 40, 0], [50, 55, 0]]:
        fail('kinds', 'MULTILEADER block content or leader line')
    table = by_type.get('ACAD_TABLE')
    if not table or key(table)[2:6] != ['*T1', 100, 0, 0]:
        fail('kinds', 'ACAD_TABLE block or place')
    check_mline(by_type.get('MLINE'))
    # The visibility parameter as the library reads it: the entities it
    # controls, each state's name and the entities it shows.
    parameter = entity_groups(path, 'E5')
    if [parameter.get(c) for c in (331, 303, 332)] != [['C1', 'C2', 'C3'], ['Round', 'Square'], ['C1', 'C2', 'C1', 'C3']]:
        fail('kinds', f'BLOCKVISIBILITYPARAMETER {parameter}')


def check_mline(mline):
    """The multiline with a style of its own: ezdxf finds the style it
    points at (its fill, caps, lines' offsets, colours and linetypes) and
    the vertices' parameters of each line."""
    style = mline.style if mline else None
    if not style or style.dxf.name != 'WALL' or style.dxf.flags != 1 | 16 | 1024 or style.dxf.fill_color != 8 \
            or not close([style.dxf.start_angle, style.dxf.end_angle], [90, 60]) \
            or [(e.offset, e.color, e.linetype) for e in style.elements] != [(1.5, 1, 'ByLayer'), (-0.5, 0, 'DASHED')]:
        fail('kinds', f'MLINE style {style and style.dxfattribs()} {style and list(style.elements)}')
        return
    d = mline.dxf
    if [d.scale_factor, d.justification, d.flags, len(mline.vertices)] != [2, 1, 1, 3] \
            or [list(p) for p in mline.vertices[2].fill_params] != [[], [0.5]] \
            or [list(p) for p in mline.vertices[0].line_params] != [[3, 0], [-1, 0, 4, 2]]:
        fail('kinds', f'MLINE {d.scale_factor} {d.justification} {d.flags} {[v.line_params for v in mline.vertices]}')


def read(path):
    try:
        return ezdxf.readfile(path)
    except ezdxf.DXFError as error:
        fail(os.path.basename(path), f'ezdxf cannot read it: {error}')
        return recover.readfile(path)[0]


def main():
    reader, work, reference, *files = sys.argv[1:]
    script = os.path.join(HERE, 'dwg_worker_dxf.mjs')
    subprocess.run(['node', script, reader, work, *files], check=True)
    subprocess.run(['node', script, reader, work, '--kinds'], check=True)
    compared = binary = 0
    for file in files:
        stem = os.path.splitext(os.path.basename(file))[0]
        ours = read(os.path.join(work, stem + '.dxf'))
        with open(os.path.join(work, stem + '.left'), encoding='utf-8') as f:
            left = f.read()
        check_binary_form(stem, ours, os.path.join(work, stem + '.dxf'),
                          os.path.join(work, stem + '.binary.dxf'))
        records = check_binary_acis(stem, ours)
        binary += len(records)
        theirs_path = os.path.join(reference, stem + '.dxf')
        if not os.path.exists(theirs_path):
            # LibreDWG cannot write this one as DXF: nothing may be left out.
            if left:
                fail(stem, f'left out {left!r}')
            continue
        theirs, _ = recover.readfile(theirs_path)
        compare(stem, ours, theirs, left, records)
        compared += 1
    check_kinds(os.path.join(work, 'kinds.dxf'))
    kinds = os.path.join(work, 'kinds.dxf')
    check_binary_form('kinds', read(kinds), kinds, os.path.join(work, 'kinds.binary.dxf'))
    for f in failures:
        print(f)
    print(f'{compared} drawings compared with LibreDWG\'s DXF, {binary} binary ACIS records')
    return 1 if failures or compared == 0 else 0


if __name__ == '__main__':
    sys.exit(main())
