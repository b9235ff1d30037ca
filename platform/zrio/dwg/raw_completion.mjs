// Completes what LibreDWG's converter makes of a drawing (the package's
// DwgDatabase) from LibreDWG's own objects (libredwg_raw.mjs): the kinds
// the converter leaves out (regions, bodies and surfaces, polyface and
// polygon meshes, arc dimensions, lights), the fields it loses (the last
// vertex of 2D and 3D polylines, the default text of attribute
// definitions, the ACIS data of solids, a multileader's text in drawings
// before 2007, the bytes of OLE frames and proxies) and what it gives wrong
// (a spline's flags, the linetypes by block and continuous, the points of
// an angle between two lines, the block an insert points at), the
// multiline styles it leaves out with the style each multiline points at,
// and the visibility parameters of dynamic blocks.
// The entities added take their place in their block's drawing order.
import {colorOf, RawType} from './libredwg_raw.mjs';

// Modeler kinds: their ACIS data, as LibreDWG gives it.
const kModelerKinds = new Set(['3DSOLID', 'REGION', 'BODY', 'EXTRUDEDSURFACE', 'LOFTEDSURFACE',
                               'NURBSURFACE', 'PLANESURFACE', 'REVOLVEDSURFACE', 'SWEPTSURFACE']);

// Entity records that belong to another entity (read with it) or to a block.
const kOwnedRecords = new Set([RawType.ATTRIB, RawType.BLOCK, RawType.ENDBLK, RawType.SEQEND,
                               RawType.VERTEX_2D, RawType.VERTEX_3D, RawType.VERTEX_MESH,
                               RawType.VERTEX_PFACE, RawType.VERTEX_PFACE_FACE]);

// Polyline flags: a polygon mesh, a polyface mesh.
const kPolygonMesh = 16;
const kPolyfaceMesh = 64;

// The ACIS data of a modeler entity: {sat} for SAT text (version 1), {sab}
// for the bytes of binary SAB (version 2); null when LibreDWG holds none
// (drawings of 2013 and later keep it in a section LibreDWG does not read).
function acisOf(raw, obj) {
  if (raw.number(obj, 'acis_empty')) return null;
  const address = raw.number(obj, 'acis_data');
  if (!address) return null;
  if (raw.number(obj, 'version') >= 2) {
    const sab = raw.bytes(address, raw.number(obj, 'sab_size'));
    return sab.length ? {sab} : null;
  }
  const sat = raw.cString(address);
  return sat ? {sat} : null;
}

// A vertex record of a polyline: its own handle, its polyline's layer and
// colour.
function vertexBase(raw, v, polyline) {
  return {handle: raw.handleOf(v), layer: polyline.layer, colorIndex: polyline.colorIndex, ...raw.point(v, 'point')};
}

function vertices2d(raw, obj, polyline) {
  return raw.subentities(obj).filter(v => raw.typeOf(v) === RawType.VERTEX_2D).map(v => ({
    ...vertexBase(raw, v, polyline),
    startWidth: raw.number(v, 'start_width'),
    endWidth: raw.number(v, 'end_width'),
    bulge: raw.number(v, 'bulge'),
    flag: raw.number(v, 'flag'),
    tangentDirection: raw.number(v, 'tangent_dir'),
  }));
}

function vertices3d(raw, obj, polyline) {
  return raw.subentities(obj).filter(v => raw.typeOf(v) === RawType.VERTEX_3D)
      .map(v => ({...vertexBase(raw, v, polyline), flag: raw.number(v, 'flag')}));
}

// A polyface mesh: its points, then its faces (1-based point indices, a
// negative one starting an invisible edge).
function polyfaceMesh(raw, obj, common) {
  const vertices = [];
  for (const v of raw.subentities(obj)) {
    const type = raw.typeOf(v);
    if (type === RawType.VERTEX_PFACE) {
      vertices.push({...vertexBase(raw, v, common), flag: raw.number(v, 'flag')});
    } else if (type === RawType.VERTEX_PFACE_FACE) {
      vertices.push({handle: raw.handleOf(v), x: 0, y: 0, z: 0, flag: 128, face: raw.int16s(v, 'vertind', 4)});
    }
  }
  return {...common, type: 'POLYLINE_MESH', flag: kPolyfaceMesh, meshM: raw.number(obj, 'numverts'),
          meshN: raw.number(obj, 'numfaces'), vertices};
}

function polygonMesh(raw, obj, common) {
  const vertices = raw.subentities(obj).filter(v => raw.typeOf(v) === RawType.VERTEX_MESH)
      .map(v => ({...vertexBase(raw, v, common), flag: raw.number(v, 'flag')}));
  return {...common, type: 'POLYLINE_MESH', flag: (raw.number(obj, 'flag') & ~kPolyfaceMesh) | kPolygonMesh,
          meshM: raw.number(obj, 'num_m_verts'), meshN: raw.number(obj, 'num_n_verts'),
          densityM: raw.number(obj, 'm_density'), densityN: raw.number(obj, 'n_density'),
          smoothType: raw.number(obj, 'curve_type'), vertices};
}

function arcDimension(raw, obj, common) {
  return {
    ...common, type: 'ARC_DIMENSION', name: raw.blockName(obj, 'block'),
    styleName: raw.libredwg.dwg_entity_get_dimstyle_name(raw.tioOf(obj)) || 'Standard',
    definitionPoint: raw.point(obj, 'def_pt'), textPoint: raw.point(obj, 'text_midpt'),
    text: raw.text(obj, 'user_text'), textRotation: raw.number(obj, 'text_rotation'),
    attachmentPoint: raw.number(obj, 'attachment'), measurement: raw.number(obj, 'act_measurement'),
    extrusionDirection: raw.point(obj, 'extrusion'), flag: raw.number(obj, 'flag'),
    xline1: raw.point(obj, 'xline1_pt'), xline2: raw.point(obj, 'xline2_pt'),
    center: raw.point(obj, 'center_pt'), isPartial: raw.number(obj, 'is_partial'),
    startParameter: raw.number(obj, 'arc_start_param'), endParameter: raw.number(obj, 'arc_end_param'),
    hasLeader: raw.number(obj, 'has_leader'), leader1: raw.point(obj, 'leader1_pt'),
    leader2: raw.point(obj, 'leader2_pt'),
  };
}

function light(raw, obj, common) {
  const field = name => raw.number(obj, name);
  return {
    ...common, type: 'LIGHT', version: field('class_version'), name: raw.text(obj, 'name'),
    lightType: field('type'), status: field('status'), plotGlyph: field('plot_glyph'),
    intensity: field('intensity'), position: raw.point(obj, 'position'), target: raw.point(obj, 'target'),
    attenuationType: field('attenuation_type'), useLimits: field('use_attenuation_limits'),
    startLimit: field('attenuation_start_limit'), endLimit: field('attenuation_end_limit'),
    hotspot: field('hotspot_angle'), falloff: field('falloff_angle'), castShadows: field('cast_shadows'),
    shadowType: field('shadow_type'), shadowMapSize: field('shadow_map_size'),
    shadowMapSoftness: field('shadow_map_softness'),
  };
}

// The points of an angle between two lines, which the converter gives out
// of place (one of them lost): the definition point (DXF 10), the first
// line's start and end (13, 14), the second line's start (15) and the
// point on the dimension's arc (16).
function twoLineAngular(raw, obj, e) {
  e.definitionPoint = raw.point(obj, 'def_pt');
  e.subDefinitionPoint1 = raw.point(obj, 'xline1start_pt');
  e.subDefinitionPoint2 = raw.point(obj, 'xline1end_pt');
  e.centerPoint = raw.point(obj, 'xline2start_pt');
  e.arcPoint = raw.point(obj, 'xline2end_pt');
}

// An entity the converter leaves out, in the converter's form; null for a
// kind of which nothing is read here.
function rawEntity(raw, obj, common) {
  const name = raw.nameOf(obj);
  if (kModelerKinds.has(name)) return {...common, type: name, acis: acisOf(raw, obj)};
  switch (name) {
    case 'POLYLINE_PFACE': return polyfaceMesh(raw, obj, common);
    case 'POLYLINE_MESH': return polygonMesh(raw, obj, common);
    case 'ARC_DIMENSION': return arcDimension(raw, obj, common);
    case 'LIGHT': return light(raw, obj, common);
  }
  return null;
}

// A text the converter read as UTF-16 from a drawing that keeps 8-bit
// texts (a multileader's, before 2007): its code units are the bytes.
function reread8Bit(raw, text) {
  if (raw.unicode || typeof text !== 'string' || !/[\u0100-\uffff]/.test(text)) return text;
  const bytes = [];
  for (let i = 0; i < text.length; ++i) bytes.push(text.charCodeAt(i) & 0xff, text.charCodeAt(i) >> 8);
  while (bytes.length && bytes[bytes.length - 1] === 0) bytes.pop();
  return raw.decoder.decode(Uint8Array.from(bytes));
}

// Fields the converter loses, taken from the entity's own object; a solid
// whose ACIS data LibreDWG does not give is counted in `unread`.
function completeEntity(raw, e, blockNames, unread) {
  const obj = raw.object(e.handle);
  if (!obj) return;
  switch (e.type) {
    case 'POLYLINE2D': e.vertices = vertices2d(raw, obj, e); break;
    case 'POLYLINE3D': e.vertices = vertices3d(raw, obj, e); break;
    case 'ATTDEF': e.text = {...e.text, text: raw.text(obj, 'default_value')}; break;
    case 'INSERT': e.name = blockNames.get(raw.reference(obj, 'block_header')) || e.name; break;
    case 'MULTILEADER': e.textContent = reread8Bit(raw, e.textContent); break;
    case 'MLINE': e.styleHandle = raw.reference(obj, 'mlinestyle'); break;
    // The converter gives the spline flags of 2013 and later (how the
    // spline was made) where DXF has its own (closed, periodic, planar).
    case 'SPLINE': e.flag = raw.number(obj, 'flag'); break;
    case 'DIMENSION': if (e.subclassMarker === 'AcDb2LineAngularDimension') twoLineAngular(raw, obj, e); break;
    case 'ACAD_PROXY_ENTITY':
      e.graphics = raw.proxyGraphics(obj);
      e.data = raw.proxyData(obj);
      break;
    case 'OLE2FRAME': case 'OLEFRAME': e.data = raw.oleData(obj, e.type === 'OLE2FRAME'); break;
    default:
      if (kModelerKinds.has(e.type)) e.acis = acisOf(raw, obj);
  }
  if (kModelerKinds.has(e.type) && !e.acis) countWithoutAcis(e, unread);
  // The converter gives no name for the linetypes "by block" and
  // "continuous" (nor for "by layer", the default).
  if (!e.lineType) e.lineType = raw.linetypeByFlags(obj);
}

function countWithoutAcis(e, unread) {
  count(unread, `${e.type} (its ACIS data)`);
}

function count(unread, name) {
  unread[name] = (unread[name] || 0) + 1;
}

// LibreDWG's own data of a damaged file may fault where its converter did
// not: the entity then keeps what the converter gave (undefined when it
// gave nothing), and is counted.
function guarded(unread, name, read) {
  try {
    return read();
  } catch {
    count(unread, `${name} (LibreDWG's own data unreadable)`);
    return undefined;
  }
}

// Adds to each block the entities the converter left out, after the entity
// that comes before them in the block's drawing order. Kinds not read are
// counted in `unread` by name.
function addRawEntities(db, raw, converted, unread) {
  const records = new Map(db.tables.BLOCK_RECORD.entries.map(r => [r.handle.toUpperCase(), r]));
  const byHandle = table => new Map(table.entries.map(t => [t.handle.toUpperCase(), t.name]));
  const layers = byHandle(db.tables.LAYER), linetypes = byHandle(db.tables.LTYPE);
  const added = new Map();  // block handle -> handle -> entity
  const space = pattern => (db.tables.BLOCK_RECORD.entries.find(r => pattern.test(r.name)) || {handle: ''}).handle.toUpperCase();
  const spaces = {model: space(/^\*MODEL_SPACE$/i), paper: space(/^\*PAPER_SPACE$/i)};
  for (const obj of raw.entities()) {
    if (kOwnedRecords.has(raw.typeOf(obj))) continue;
    const handle = raw.handleOf(obj);
    if (converted.has(handle)) continue;
    const owner = raw.ownerOf(obj, spaces);
    const name = raw.nameOf(obj) || 'UNKNOWN';
    const e = records.has(owner) ? guarded(unread, name, () => rawEntity(raw, obj, raw.common(obj, layers, linetypes))) : null;
    if (e && kModelerKinds.has(e.type) && !e.acis) countWithoutAcis(e, unread);
    if (e === null) count(unread, name);
    if (!e) continue;
    if (!added.has(owner)) added.set(owner, new Map());
    added.get(owner).set(handle, e);
  }
  for (const [owner, entities] of added) insertInDrawingOrder(raw, records.get(owner), entities);
}

function insertInDrawingOrder(raw, record, entities) {
  const block = raw.object(record.handle);
  const list = record.entities || (record.entities = []);
  const at = new Map(list.map((e, i) => [String(e.handle).toUpperCase(), i]));
  const order = block ? raw.ownedEntities(block).map(obj => raw.handleOf(obj)) : [];
  // Each added entity goes after the last one before it that is in the list.
  const after = new Map();  // index in the list (-1: first) -> entities
  let previous = -1;
  for (const handle of order) {
    if (at.has(handle)) {
      previous = at.get(handle);
    } else if (entities.has(handle)) {
      if (!after.has(previous)) after.set(previous, []);
      after.get(previous).push(entities.get(handle));
      entities.delete(handle);
    }
  }
  if (entities.size) after.set(list.length - 1, [...(after.get(list.length - 1) || []), ...entities.values()]);
  const merged = [...(after.get(-1) || [])];
  list.forEach((e, i) => merged.push(e, ...(after.get(i) || [])));
  record.entities = merged;
}

// The converter keeps an external reference's block flags (4) but not the
// path of the drawing it names.
function addXrefPaths(db, raw) {
  for (const record of db.tables.BLOCK_RECORD.entries) {
    if (record.flags & 4) record.xrefPath = raw.text(raw.object(String(record.handle).toUpperCase()), 'xref_pname');
  }
}

// The multiline styles, in the converter's form: name, description, flags,
// fill colour, cap angles and lines (offset, colour, linetype name), with
// the dictionary that owns them.
function addMlineStyles(db, raw, objects, unread) {
  const linetypes = new Map(db.tables.LTYPE.entries.map(t => [t.handle.toUpperCase(), t.name]));
  // The linetype table's entries in its order, read when a line names its
  // linetype by index (most say by layer).
  let indexed = null;
  const byIndex = index => {
    if (index === undefined) return undefined;
    if (!indexed) indexed = raw.tableEntries(objects.get(RawType.LTYPE_CONTROL)[0]);
    return indexed[index];
  };
  const linetypeOf = line =>
    line.linetype || linetypes.get(line.linetypeHandle || byIndex(line.linetypeIndex)) || 'ByLayer';
  const styles = [];
  for (const obj of objects.get(RawType.MLINESTYLE)) {
    const style = guarded(unread, 'MLINESTYLE', () => ({
      handle: raw.handleOf(obj), ownerHandle: raw.objectOwner(obj), name: raw.text(obj, 'name'),
      description: raw.text(obj, 'description'), flags: raw.number(obj, 'flag'),
      fill: colorOf(raw.value(obj, 'fill_color')), startAngle: raw.number(obj, 'start_angle'),
      endAngle: raw.number(obj, 'end_angle'),
      lines: raw.mlineStyleLines(obj).map(line => ({offset: line.offset, colorIndex: line.colorIndex,
                                                   color: line.color, lineType: linetypeOf(line)})),
    }));
    if (style) styles.push(style);
  }
  db.objects.MLINESTYLE = styles;
}

// The visibility parameters of dynamic blocks, which tell the states an
// insert of the block's own definition shows. One whose states show
// entities it does not control is left out, counted: read wrong, it would
// hide what the drawing shows.
function addVisibilityParameters(db, raw, objects, unread) {
  const parameters = [];
  for (const obj of objects.get(RawType.BLOCKVISIBILITYPARAMETER)) {
    const p = guarded(unread, 'BLOCKVISIBILITYPARAMETER', () => raw.visibilityParameter(obj));
    if (!p) continue;
    const controlled = new Set(p.controlled);
    if (p.controlled.length && p.states.length && !controlled.has('') &&
        p.states.every(s => s.shown.every(h => controlled.has(h)))) {
      parameters.push(p);
    } else {
      count(unread, 'BLOCKVISIBILITYPARAMETER (its states unreadable)');
    }
  }
  db.objects.BLOCKVISIBILITYPARAMETER = parameters;
}

// Completes `db` in place; returns the entity kinds left out because
// LibreDWG gives nothing of them here, by name, with their counts.
export function completeDrawing(db, raw) {
  const blockNames = new Map(db.tables.BLOCK_RECORD.entries.map(r => [r.handle.toUpperCase(), r.name]));
  const converted = new Set();
  const unread = {};
  for (const record of db.tables.BLOCK_RECORD.entries) {
    for (const e of record.entities || []) {
      converted.add(String(e.handle).toUpperCase());
      guarded(unread, e.type, () => completeEntity(raw, e, blockNames, unread));
    }
  }
  addRawEntities(db, raw, converted, unread);
  addXrefPaths(db, raw);
  const objects = raw.objectsOfTypes([RawType.LTYPE_CONTROL, RawType.MLINESTYLE, RawType.BLOCKVISIBILITYPARAMETER]);
  addMlineStyles(db, raw, objects, unread);
  addVisibilityParameters(db, raw, objects, unread);
  return unread;
}
