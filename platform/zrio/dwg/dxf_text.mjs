// Writes a drawing that LibreDWG has read (the package's DwgDatabase) as the
// DXF the drawing library's DXF reader takes, as text or as binary DXF of
// the same groups (dxf_output.mjs): header values, tables, every block with
// its entities, and the layout objects. Every character outside printable
// ASCII is written as a \U+XXXX escape, so the text means the same whatever
// the drawing's version and code page.
//
// Every entity kind LibreDWG gives data for is written with its DXF
// groups; what is left out is counted by kind.
import {mlineStyleDictionary, writeMline, writeMlineStyles} from './dxf_mline.mjs';
import {isModelerKind, writeAcdsData, writeModeler} from './dxf_modeler.mjs';
import {writeMultiLeader} from './dxf_multileader.mjs';
import {writeArcAlignedText, writeArcDimension, writeLight, writeMesh, writeOle2Frame, writeOleFrame, writeProxy,
        writeSection, writeShape} from './dxf_other_entities.mjs';
import {DxfBinary, DxfText, escapeText, finite} from './dxf_output.mjs';
import {hasTableData, writeTable} from './dxf_table.mjs';
import {writeVisibilityParameter} from './dxf_visibility.mjs';

// DWG lineweight codes 0..23 in hundredths of a millimetre; 29, 30 and 31
// are "by layer", "by block" and "default".
const kLineweights = [0, 5, 9, 13, 15, 18, 20, 25, 30, 35, 40, 50, 53, 60, 70, 80, 90, 100, 106,
                      120, 140, 158, 200, 211];

function lineweightOf(code) {
  if (code === undefined || code === null) return -1;
  if (code >= 0 && code < kLineweights.length) return kLineweights[code];
  if (code === 30) return -2;
  if (code === 31) return -3;
  return -1;
}

function isZeroVector(v) {
  return !v || (finite(v.x) === 0 && finite(v.y) === 0 && finite(v.z) === 0);
}

function isDwgProps(record) {
  return Array.isArray(record.data) && record.data.some(g => g.code === 1 && g.value === 'DWGPROPS COOKIE');
}

function upper(name) {
  return (name || '').toUpperCase();
}

// The header variables written: points of two coordinates, integers
// (group 70) and numbers (group 40), beside the extents and the current
// layer.
const kHeaderPoints2 = ['LIMMIN', 'LIMMAX', 'PLIMMIN', 'PLIMMAX'];
const kHeaderIntegers = ['LUNITS', 'LUPREC', 'PDMODE', 'INSUNITS'];
const kHeaderNumbers = ['LTSCALE', 'PDSIZE', 'TDINDWG'];
// A dimension style's variables written, with their groups.
const kDimStyleGroups = [[40, 'DIMSCALE'], [140, 'DIMTXT'], [147, 'DIMGAP']];

// What the writer takes of the drawing's header and of its dimension
// styles (LibreDWG's names, which the converter keeps).
export const kHeaderVariablesWritten =
    new Set(['EXTMIN', 'EXTMAX', 'CLAYER', ...kHeaderPoints2, ...kHeaderIntegers, ...kHeaderNumbers]);
export const kDimStyleVariablesWritten = new Set(kDimStyleGroups.map(([, name]) => name));

class DrawingWriter {
  constructor(db, acadver, codePage, out) {
    this.db = db;
    this.acadver = acadver;
    this.codePage = codePage;
    this.out = out;
    this.blockNames = new Map();  // block record handle -> name
    for (const record of db.tables.BLOCK_RECORD.entries) this.blockNames.set(upper(record.handle), record.name);
    this.sabRecords = [];  // binary ACIS data of solids, for the ACDSDATA section
    this.imageReactors = [];  // links of images to their definitions, for the objects
    this.mlineStyles = new Map((db.objects.MLINESTYLE || []).map(s => [upper(s.handle), s]));
  }

  write() {
    this.header();
    this.tables();
    this.blocks();
    this.section('ENTITIES', () => {});
    this.objects();
    if (this.sabRecords.length) writeAcdsData(this, this.sabRecords);
    this.out.group(0, 'EOF');
    return this.out;
  }

  section(name, body) {
    this.out.group(0, 'SECTION');
    this.out.group(2, name);
    body();
    this.out.group(0, 'ENDSEC');
  }

  header() {
    const h = this.db.header || {};
    const o = this.out;
    this.section('HEADER', () => {
      o.group(9, '$ACADVER');
      o.group(1, this.acadver);
      o.group(9, '$DWGCODEPAGE');
      o.group(3, this.codePageName());
      if (this.validExtents(h.EXTMIN, h.EXTMAX)) {
        o.group(9, '$EXTMIN');
        o.point(10, h.EXTMIN);
        o.group(9, '$EXTMAX');
        o.point(10, h.EXTMAX);
      }
      for (const name of kHeaderPoints2) {
        const p = h[name];
        if (!p || typeof p !== 'object') continue;
        o.group(9, '$' + name);
        o.point(10, p, false);
      }
      for (const name of kHeaderIntegers) {
        if (typeof h[name] !== 'number') continue;
        o.group(9, '$' + name);
        o.integer(70, h[name]);
      }
      for (const name of kHeaderNumbers) {
        if (typeof h[name] !== 'number') continue;
        o.group(9, '$' + name);
        o.number(40, h[name]);
      }
      if (typeof h.CLAYER === 'string' && h.CLAYER) {
        o.group(9, '$CLAYER');
        o.text(8, h.CLAYER);
      }
    });
  }

  codePageName() {
    const page = this.codePage;
    if (typeof page === 'string' && /^ANSI_\d+$/.test(page)) return page;
    return 'ANSI_1252';
  }

  validExtents(min, max) {
    if (!min || !max) return false;
    for (const axis of ['x', 'y']) {
      const a = min[axis], b = max[axis];
      if (!Number.isFinite(a) || !Number.isFinite(b) || a > b || Math.abs(a) > 1e19 || Math.abs(b) > 1e19)
        return false;
    }
    return true;
  }

  tables() {
    const t = this.db.tables;
    this.section('TABLES', () => {
      this.table('VPORT', t.VPORT.entries.filter(v => upper(v.name) === '*ACTIVE'), v => this.vport(v));
      this.table('LTYPE', t.LTYPE.entries, l => this.ltype(l));
      this.table('LAYER', t.LAYER.entries, l => this.layer(l));
      this.table('STYLE', t.STYLE.entries, s => this.style(s));
      this.table('APPID', t.APPID.entries, a => this.named(a, 'AcDbRegAppTableRecord'));
      this.table('DIMSTYLE', t.DIMSTYLE.entries, d => this.dimStyle(d));
      this.table('BLOCK_RECORD', t.BLOCK_RECORD.entries, b => this.blockRecord(b));
    });
  }

  table(name, entries, writeEntry) {
    const o = this.out;
    o.group(0, 'TABLE');
    o.group(2, name);
    o.group(100, 'AcDbSymbolTable');
    o.integer(70, entries.length);
    for (const entry of entries) {
      o.group(0, name);
      if (name === 'DIMSTYLE') o.handle(105, entry.handle);
      else o.handle(5, entry.handle);
      o.group(100, 'AcDbSymbolTableRecord');
      writeEntry(entry);
    }
    o.group(0, 'ENDTAB');
  }

  named(entry, subclass) {
    this.out.group(100, subclass);
    this.out.text(2, entry.name);
    this.out.integer(70, entry.standardFlag || 0);
  }

  // The sizes feature control frames (TOLERANCE) are drawn in.
  dimStyle(d) {
    this.named(d, 'AcDbDimStyleTableRecord');
    for (const [code, name] of kDimStyleGroups)
      if (finite(d[name]) > 0) this.out.number(code, d[name]);
  }

  vport(v) {
    const o = this.out;
    this.named(v, 'AcDbViewportTableRecord');
    o.point(10, v.lowerLeftCorner, false);
    o.point(11, v.upperRightCorner, false);
    o.point(12, v.center, false);
    o.point(16, isZeroVector(v.viewDirectionFromTarget) ? {x: 0, y: 0, z: 1} : v.viewDirectionFromTarget);
    o.point(17, v.viewTarget);
    o.number(40, v.viewHeight);
    o.number(41, v.aspectRatio || 1);
    o.angle(51, v.viewTwistAngle);
  }

  ltype(l) {
    const o = this.out;
    this.named(l, 'AcDbLinetypeTableRecord');
    o.text(3, l.description);
    o.integer(72, 65);
    const pattern = l.pattern || [];
    o.integer(73, pattern.length);
    o.number(40, l.totalPatternLength);
    for (const element of pattern) {
      o.number(49, element.elementLength);
      o.integer(74, 0);
    }
  }

  layer(l) {
    const o = this.out;
    o.group(100, 'AcDbLayerTableRecord');
    o.text(2, l.name);
    o.integer(70, (l.frozen ? 1 : 0) | (l.frozenInNew ? 2 : 0) | (l.locked ? 4 : 0));
    const color = Math.abs(Math.trunc(finite(l.colorIndex))) || 7;
    o.integer(62, l.off ? -color : color);
    o.text(6, l.lineType || 'Continuous');
    if (l.plotFlag === 0) o.integer(290, 0);
    if (this.hasLineweights()) o.integer(370, lineweightOf(l.lineweight));
  }

  style(s) {
    const o = this.out;
    this.named(s, 'AcDbTextStyleTableRecord');
    o.number(40, s.fixedTextHeight);
    o.number(41, s.widthFactor || 1);
    o.angle(50, s.obliqueAngle);
    o.integer(71, s.textGenerationFlag || 0);
    o.number(42, s.lastHeight);
    o.text(3, s.font);
    o.text(4, s.bigFont);
  }

  blockRecord(b) {
    this.out.group(100, 'AcDbBlockTableRecord');
    this.out.text(2, b.name);
    this.out.handle(340, b.layout);
  }

  hasLineweights() {
    return this.acadver >= 'AC1015';
  }

  blocks() {
    const o = this.out;
    this.section('BLOCKS', () => {
      for (const record of this.db.tables.BLOCK_RECORD.entries) {
        const paper = upper(record.name).startsWith('*PAPER_SPACE');
        o.group(0, 'BLOCK');
        o.handle(330, record.handle);
        o.group(100, 'AcDbEntity');
        if (paper) o.integer(67, 1);
        o.group(8, '0');
        o.group(100, 'AcDbBlockBegin');
        o.text(2, record.name);
        o.integer(70, record.flags & 0x1f);
        o.point(10, record.basePoint);
        o.text(3, record.name);
        if (record.xrefPath) o.text(1, record.xrefPath);
        for (const entity of record.entities || []) this.entity(entity, record.handle, paper);
        o.group(0, 'ENDBLK');
        o.handle(330, record.handle);
        o.group(100, 'AcDbEntity');
        if (paper) o.integer(67, 1);
        o.group(8, '0');
        o.group(100, 'AcDbBlockEnd');
      }
    });
  }

  // Groups every entity starts with.
  common(e, type, owner, paper) {
    const o = this.out;
    o.group(0, type);
    o.handle(5, e.handle);
    o.handle(330, owner);
    o.group(100, 'AcDbEntity');
    if (paper) o.integer(67, 1);
    o.text(8, e.layer || '0');
    const linetype = e.lineType || '';
    if (linetype && upper(linetype) !== 'BYLAYER') o.text(6, linetype);
    const color = Math.trunc(finite(e.colorIndex === undefined ? 256 : e.colorIndex));
    if (color !== 256 && color >= 0 && color <= 257) o.integer(62, color);
    if (typeof e.color === 'number' && e.color >= 0) o.integer(420, e.color & 0xffffff);
    if (this.hasLineweights()) {
      const weight = lineweightOf(e.lineweight);
      if (weight !== -1) o.integer(370, weight);
    }
    if (e.isVisible === false) o.integer(60, 1);
  }

  entity(e, owner, paper) {
    const o = this.out;
    switch (e.type) {
      case 'LINE':
        this.common(e, 'LINE', owner, paper);
        o.group(100, 'AcDbLine');
        if (e.thickness) o.number(39, e.thickness);
        o.point(10, e.startPoint);
        o.point(11, e.endPoint);
        o.extrusion(e.extrusionDirection);
        return;
      case 'POINT':
        this.common(e, 'POINT', owner, paper);
        o.group(100, 'AcDbPoint');
        o.point(10, e.position);
        if (e.thickness) o.number(39, e.thickness);
        o.extrusion(e.extrusionDirection);
        return;
      case 'CIRCLE':
      case 'ARC':
        this.common(e, e.type, owner, paper);
        o.group(100, 'AcDbCircle');
        if (e.thickness) o.number(39, e.thickness);
        o.point(10, e.center);
        o.number(40, e.radius);
        o.extrusion(e.extrusionDirection);
        if (e.type === 'ARC') {
          o.group(100, 'AcDbArc');
          o.angle(50, e.startAngle);
          o.angle(51, e.endAngle);
        }
        return;
      case 'ELLIPSE':
        this.common(e, 'ELLIPSE', owner, paper);
        o.group(100, 'AcDbEllipse');
        o.point(10, e.center);
        o.point(11, e.majorAxisEndPoint);
        o.extrusion(e.extrusionDirection);
        o.number(40, e.axisRatio);
        o.number(41, e.startAngle);
        o.number(42, e.endAngle);
        return;
      case 'LWPOLYLINE': return this.lwPolyline(e, owner, paper);
      case 'POLYLINE2D': case 'POLYLINE3D': return this.polyline(e, owner, paper);
      case 'SPLINE': return this.spline(e, owner, paper);
      case 'TEXT':
        this.common(e, 'TEXT', owner, paper);
        o.group(100, 'AcDbText');
        this.textBase(e, 1, 73);
        return;
      case 'ATTDEF': case 'ATTRIB': return this.attribute(e, owner, paper);
      case 'MTEXT': return this.mtext(e, owner, paper);
      case 'INSERT': return this.insert(e, owner, paper);
      case 'ACAD_TABLE': return this.tableEntity(e, owner, paper);
      case 'MULTILEADER': return writeMultiLeader(this, e, owner, paper);
      case 'ACAD_PROXY_ENTITY': return writeProxy(this, e, owner, paper);
      case 'SHAPE': return writeShape(this, e, owner, paper);
      case 'OLE2FRAME': return writeOle2Frame(this, e, owner, paper);
      case 'ARC_DIMENSION': return writeArcDimension(this, e, owner, paper);
      case 'LIGHT': return writeLight(this, e, owner, paper);
      case 'POLYLINE_MESH': return writeMesh(this, e, owner, paper);
      case 'OLEFRAME': return writeOleFrame(this, e, owner, paper);
      case 'ARCALIGNEDTEXT': return writeArcAlignedText(this, e, owner, paper);
      case 'SECTION': return writeSection(this, e, owner, paper);
      case 'SOLID': case 'TRACE':
        this.common(e, e.type, owner, paper);
        o.group(100, 'AcDbTrace');
        o.point(10, e.corner1);
        o.point(11, e.corner2);
        o.point(12, e.corner3);
        o.point(13, e.corner4 || e.corner3);
        if (e.thickness) o.number(39, e.thickness);
        o.extrusion(e.extrusionDirection);
        return;
      case '3DFACE':
        this.common(e, '3DFACE', owner, paper);
        o.group(100, 'AcDbFace');
        o.point(10, e.corner1);
        o.point(11, e.corner2);
        o.point(12, e.corner3);
        o.point(13, e.corner4 || e.corner3);
        o.integer(70, e.flag || 0);
        return;
      case 'RAY': case 'XLINE':
        this.common(e, e.type, owner, paper);
        o.group(100, e.type === 'RAY' ? 'AcDbRay' : 'AcDbXline');
        o.point(10, e.firstPoint);
        o.point(11, e.unitDirection);
        return;
      case 'HATCH': return this.hatch(e, owner, paper);
      case 'DIMENSION': return this.dimension(e, owner, paper);
      case 'LEADER': return this.leader(e, owner, paper);
      case 'VIEWPORT': return this.viewport(e, owner, paper);
      case 'MLINE': return writeMline(this, e, owner, paper);
      case 'WIPEOUT': case 'IMAGE': return this.rasterFrame(e, owner, paper);
      case 'TOLERANCE': return this.tolerance(e, owner, paper);
      default:
        if (isModelerKind(e.type)) return writeModeler(this, e, owner, paper, this.sabRecords);
        o.skip(e.type);
    }
  }

  lwPolyline(e, owner, paper) {
    const o = this.out;
    const vertices = e.vertices || [];
    this.common(e, 'LWPOLYLINE', owner, paper);
    o.group(100, 'AcDbPolyline');
    o.integer(90, vertices.length);
    // The DWG flags keep "closed" in 512 and "linetype generation" in 256.
    o.integer(70, (e.flag & 512 ? 1 : 0) | (e.flag & 256 ? 128 : 0));
    if (e.constantWidth) o.number(43, e.constantWidth);
    if (e.elevation) o.number(38, e.elevation);
    if (e.thickness) o.number(39, e.thickness);
    for (const v of vertices) {
      o.point(10, v, false);
      if (v.startWidth || v.endWidth) {
        o.number(40, v.startWidth || 0);
        o.number(41, v.endWidth || 0);
      }
      if (v.bulge) o.number(42, v.bulge);
    }
    o.extrusion(e.extrusionDirection);
  }

  polyline(e, owner, paper) {
    const o = this.out;
    const is3d = e.type === 'POLYLINE3D';
    this.common(e, 'POLYLINE', owner, paper);
    o.group(100, is3d ? 'AcDb3dPolyline' : 'AcDb2dPolyline');
    o.integer(66, 1);
    o.point(10, {x: 0, y: 0, z: is3d ? 0 : e.elevation});
    if (e.thickness) o.number(39, e.thickness);
    o.integer(70, is3d ? (e.flag & 1) | 8 : e.flag & ~(8 | 16 | 64));
    if (e.startWidth) o.number(40, e.startWidth);
    if (e.endWidth) o.number(41, e.endWidth);
    o.extrusion(e.extrusionDirection);
    for (const v of e.vertices || []) {
      this.common(v, 'VERTEX', e.handle, paper);
      o.group(100, 'AcDbVertex');
      o.group(100, is3d ? 'AcDb3dPolylineVertex' : 'AcDb2dVertex');
      o.point(10, v);
      if (!is3d) {
        if (v.startWidth) o.number(40, v.startWidth);
        if (v.endWidth) o.number(41, v.endWidth);
        if (v.bulge) o.number(42, v.bulge);
      }
      o.integer(70, is3d ? 32 : (v.flag || 0) & ~(32 | 64 | 128));
    }
    this.sequenceEnd(e, paper);
  }

  // The SEQEND that ends the records following a polyline or an insert.
  sequenceEnd(e, paper) {
    const o = this.out;
    o.group(0, 'SEQEND');
    o.handle(330, e.handle);
    o.group(100, 'AcDbEntity');
    if (paper) o.integer(67, 1);
    o.text(8, e.layer || '0');
  }

  spline(e, owner, paper) {
    const o = this.out;
    const knots = e.knots || [], controls = e.controlPoints || [], fits = e.fitPoints || [];
    const weights = e.weights || [];
    this.common(e, 'SPLINE', owner, paper);
    o.group(100, 'AcDbSpline');
    if (!isZeroVector(e.normal)) o.point(210, e.normal);
    const rational = weights.length === controls.length && weights.some(w => w !== 1);
    o.integer(70, (e.flag & 0x1b) | (rational ? 4 : 0));
    o.integer(71, e.degree || 3);
    o.integer(72, knots.length);
    o.integer(73, controls.length);
    o.integer(74, fits.length);
    o.number(42, e.knotTolerance || 1e-10);
    o.number(43, e.controlTolerance || 1e-10);
    o.number(44, e.fitTolerance || 1e-10);
    if (fits.length && !isZeroVector(e.startTangent)) o.point(12, e.startTangent);
    if (fits.length && !isZeroVector(e.endTangent)) o.point(13, e.endTangent);
    for (const k of knots) o.number(40, k);
    if (rational) for (const w of weights) o.number(41, w);
    for (const p of controls) o.point(10, p);
    for (const p of fits) o.point(11, p);
  }

  // TEXT and the text of ATTRIB/ATTDEF; the vertical alignment goes to
  // group 73 for TEXT and 74 for attributes.
  textBase(t, valueCode, valignCode) {
    const o = this.out;
    if (t.thickness) o.number(39, t.thickness);
    o.point(10, t.startPoint);
    o.number(40, t.textHeight);
    o.text(valueCode, t.text);
    if (t.rotation) o.angle(50, t.rotation);
    if (t.xScale && t.xScale !== 1) o.number(41, t.xScale);
    if (t.obliqueAngle) o.angle(51, t.obliqueAngle);
    o.text(7, t.styleName || 'Standard');
    if (t.generationFlag) o.integer(71, t.generationFlag);
    const halign = t.halign || 0, valign = t.valign || 0;
    if (halign) o.integer(72, halign);
    if (halign || valign) o.point(11, t.endPoint);
    o.extrusion(t.extrusionDirection);
    if (valignCode === 73) {
      o.group(100, 'AcDbText');
      if (valign) o.integer(73, valign);
    }
    return valign;
  }

  attribute(e, owner, paper) {
    const o = this.out;
    const isDefinition = e.type === 'ATTDEF';
    this.common(e, e.type, owner, paper);
    o.group(100, 'AcDbText');
    const valign = this.textBase(e.text || {}, 1, 74);
    o.group(100, isDefinition ? 'AcDbAttributeDefinition' : 'AcDbAttribute');
    if (isDefinition) o.text(3, e.prompt);
    o.text(2, e.tag);
    o.integer(70, e.flags || 0);
    if (valign) o.integer(74, valign);
  }

  mtext(e, owner, paper) {
    const o = this.out;
    this.common(e, 'MTEXT', owner, paper);
    o.group(100, 'AcDbMText');
    o.point(10, e.insertionPoint);
    o.number(40, e.textHeight);
    o.number(41, e.rectWidth);
    o.integer(71, e.attachmentPoint || 1);
    o.integer(72, e.drawingDirection || 1);
    const text = escapeText(e.text, '\\P');
    let at = 0;
    for (; text.length - at > 250; at += 250) o.group(3, text.slice(at, at + 250));
    o.group(1, text.slice(at));
    o.text(7, e.styleName || 'Standard');
    o.extrusion(e.extrusionDirection);
    if (!isZeroVector(e.direction)) o.point(11, e.direction);
    else if (e.rotation) o.angle(50, e.rotation);
    if (e.lineSpacingStyle) o.integer(73, e.lineSpacingStyle);
    if (e.lineSpacing) o.number(44, e.lineSpacing);
  }

  insert(e, owner, paper) {
    const o = this.out;
    const attribs = e.attribs || [];
    this.common(e, 'INSERT', owner, paper);
    o.group(100, 'AcDbBlockReference');
    if (attribs.length) o.integer(66, 1);
    o.text(2, e.name);
    o.point(10, e.insertionPoint);
    if (e.xScale !== 1) o.number(41, e.xScale);
    if (e.yScale !== 1) o.number(42, e.yScale);
    if (e.zScale !== 1) o.number(43, e.zScale);
    if (e.rotation) o.angle(50, e.rotation);
    if (e.columnCount > 1) o.integer(70, e.columnCount);
    if (e.rowCount > 1) o.integer(71, e.rowCount);
    if (e.columnCount > 1) o.number(44, e.columnSpacing);
    if (e.rowCount > 1) o.number(45, e.rowSpacing);
    o.extrusion(e.extrusionDirection);
    if (!attribs.length) return;
    for (const a of attribs) this.attribute(a, e.handle, paper);
    this.sequenceEnd(e, paper);
  }

  // A table with the anonymous block that draws it; one LibreDWG gives no
  // data of is left out.
  tableEntity(e, owner, paper) {
    const name = this.blockNames.get(upper(e.blockRecordHandle));
    if (!hasTableData(e) || !name) return this.out.skip(e.type);
    writeTable(this, e, name, owner, paper);
  }

  hatch(e, owner, paper) {
    const o = this.out;
    const paths = e.boundaryPaths || [];
    this.common(e, 'HATCH', owner, paper);
    o.group(100, 'AcDbHatch');
    o.point(10, {x: 0, y: 0, z: 0});
    o.point(210, isZeroVector(e.extrusionDirection) ? {x: 0, y: 0, z: 1} : e.extrusionDirection);
    o.text(2, e.patternName || (e.solidFill ? 'SOLID' : 'ANSI31'));
    o.integer(70, e.solidFill ? 1 : 0);
    o.integer(71, e.associativity ? 1 : 0);
    o.integer(91, paths.length);
    for (const path of paths) this.hatchPath(path);
    o.integer(75, e.hatchStyle || 0);
    o.integer(76, e.patternType === undefined ? 1 : e.patternType);
    if (!e.solidFill) {
      const lines = e.definitionLines || [];
      o.angle(52, e.patternAngle);
      o.number(41, e.patternScale || 1);
      o.integer(77, 0);
      o.integer(78, lines.length);
      for (const line of lines) {
        o.angle(53, line.angle);
        o.number(43, line.base ? line.base.x : 0);
        o.number(44, line.base ? line.base.y : 0);
        o.number(45, line.offset ? line.offset.x : 0);
        o.number(46, line.offset ? line.offset.y : 0);
        const dashes = line.dashLengths || [];
        o.integer(79, dashes.length);
        for (const d of dashes) o.number(49, d);
      }
    }
    o.integer(98, 0);
  }

  hatchPath(path) {
    const o = this.out;
    const flag = path.boundaryPathTypeFlag || 0;
    o.integer(92, flag);
    if (flag & 2) {
      const vertices = path.vertices || [];
      const bulges = vertices.some(v => v.bulge);
      o.integer(72, bulges ? 1 : 0);
      o.integer(73, path.isClosed === undefined || path.isClosed ? 1 : 0);
      o.integer(93, vertices.length);
      for (const v of vertices) {
        o.point(10, v, false);
        if (bulges) o.number(42, v.bulge || 0);
      }
    } else {
      const edges = path.edges || [];
      o.integer(93, edges.length);
      for (const edge of edges) this.hatchEdge(edge);
    }
    o.integer(97, 0);
  }

  hatchEdge(edge) {
    const o = this.out;
    o.integer(72, edge.type);
    switch (edge.type) {
      case 1:
        o.point(10, edge.start, false);
        o.point(11, edge.end, false);
        break;
      case 2:
        o.point(10, edge.center, false);
        o.number(40, edge.radius);
        o.angle(50, edge.startAngle);
        o.angle(51, edge.endAngle);
        o.integer(73, edge.isCCW === false ? 0 : 1);
        break;
      case 3:
        o.point(10, edge.center, false);
        o.point(11, edge.end, false);
        o.number(40, edge.lengthOfMinorAxis);
        o.angle(50, edge.startAngle);
        o.angle(51, edge.endAngle);
        o.integer(73, edge.isCCW === false ? 0 : 1);
        break;
      default: {
        const knots = edge.knots || [], controls = edge.controlPoints || [];
        const rational = controls.some(p => p.weight !== undefined && p.weight !== 1);
        o.integer(94, edge.degree || 3);
        o.integer(73, rational ? 1 : 0);
        o.integer(74, edge.isPeriodic ? 1 : 0);
        o.integer(95, knots.length);
        o.integer(96, controls.length);
        for (const k of knots) o.number(40, k);
        for (const p of controls) {
          o.point(10, p, false);
          if (rational) o.number(42, p.weight === undefined ? 1 : p.weight);
        }
      }
    }
  }

  dimension(e, owner, paper) {
    const o = this.out;
    this.common(e, 'DIMENSION', owner, paper);
    o.group(100, 'AcDbDimension');
    o.text(2, e.name);
    o.point(10, e.definitionPoint);
    o.point(11, e.textPoint);
    o.integer(70, e.dimensionType || 0);
    o.integer(71, e.attachmentPoint || 5);
    if (e.measurement) o.number(42, e.measurement);
    if (e.text) o.text(1, e.text);
    if (e.textRotation) o.angle(53, e.textRotation);
    o.extrusion(e.extrusionDirection);
    o.text(3, e.styleName || 'Standard');
    const kind = (e.dimensionType || 0) & 7;
    switch (e.subclassMarker) {
      case 'AcDbAlignedDimension':
      case 'AcDbRotatedDimension':
        o.group(100, 'AcDbAlignedDimension');
        o.point(13, e.subDefinitionPoint1);
        o.point(14, e.subDefinitionPoint2);
        if (kind === 0) {
          o.angle(50, e.rotationAngle);
          o.group(100, 'AcDbRotatedDimension');
        }
        break;
      case 'AcDb3PointAngularDimension':
      case 'AcDb2LineAngularDimension':
        o.group(100, e.subclassMarker);
        o.point(13, e.subDefinitionPoint1);
        o.point(14, e.subDefinitionPoint2);
        o.point(15, e.centerPoint);
        if (e.subclassMarker === 'AcDb2LineAngularDimension') o.point(16, e.arcPoint, false);
        break;
      case 'AcDbOrdinateDimension':
        o.group(100, 'AcDbOrdinateDimension');
        o.point(13, e.subDefinitionPoint1);
        o.point(14, e.subDefinitionPoint2);
        break;
      case 'AcDbRadialDimension':
      case 'AcDbDiametricDimension':
        o.group(100, e.subclassMarker);
        o.point(15, e.centerPoint);
        o.number(40, e.leaderLength);
        break;
    }
  }

  leader(e, owner, paper) {
    const o = this.out;
    const vertices = e.vertices || [];
    this.common(e, 'LEADER', owner, paper);
    o.group(100, 'AcDbLeader');
    o.text(3, e.styleName || 'Standard');
    o.integer(71, e.isArrowheadEnabled ? 1 : 0);
    o.integer(72, e.isSpline ? 1 : 0);
    o.integer(73, e.leaderCreationFlag || 0);
    o.integer(74, e.isHooklineSameDirection ? 1 : 0);
    o.integer(75, e.isHooklineExists ? 1 : 0);
    o.integer(76, vertices.length);
    for (const v of vertices) o.point(10, v);
    if (!isZeroVector(e.normal)) o.point(210, e.normal);
  }

  viewport(e, owner, paper) {
    const o = this.out;
    this.common(e, 'VIEWPORT', owner, paper);
    o.group(100, 'AcDbViewport');
    o.point(10, e.viewportCenter);
    o.number(40, e.width);
    o.number(41, e.height);
    // The first viewport of a layout is the sheet itself; the others are on.
    o.integer(68, e.viewportId === 1 ? 1 : (e.status > 0 ? e.status : 2));
    o.integer(69, e.viewportId);
    o.point(12, e.displayCenter, false);
    o.point(16, isZeroVector(e.viewDirection) ? {x: 0, y: 0, z: 1} : e.viewDirection);
    o.point(17, e.targetPoint);
    o.number(45, e.viewHeight);
    o.angle(51, e.viewTwistAngle);
    for (const layer of e.frozenLayerIds || []) o.handle(331, layer);
    o.integer(90, e.statusBitFlags || 0);
  }

  // A wipeout or a picture: where it stands and its clip boundary, in
  // pixels of the picture.
  rasterFrame(e, owner, paper) {
    const o = this.out;
    const boundary = e.clippingBoundaryPath || [];
    this.common(e, e.type, owner, paper);
    // A wipeout's one subclass holds the raster image's fields.
    o.group(100, e.type === 'WIPEOUT' ? 'AcDbWipeout' : 'AcDbRasterImage');
    o.integer(90, e.version || 0);
    o.point(10, e.position);
    o.point(11, e.uPixel);
    o.point(12, e.vPixel);
    o.point(13, e.imageSize, false);
    o.integer(70, e.flags || 0);
    o.integer(280, e.clipping ? 1 : 0);
    o.integer(281, e.brightness === undefined ? 50 : e.brightness);
    o.integer(282, e.contrast === undefined ? 50 : e.contrast);
    o.integer(283, e.fade || 0);
    o.handle(340, e.imageDefHandle);
    o.handle(360, e.imageDefReactorHandle);
    o.integer(71, e.clippingBoundaryType || 1);
    o.integer(91, boundary.length);
    for (const p of boundary) o.point(14, p, false);
    if (e.clipMode) o.integer(290, 1);
    if (e.type === 'IMAGE' && e.imageDefReactorHandle) {
      this.imageReactors.push({handle: e.imageDefReactorHandle, image: e.handle, imageDef: e.imageDefHandle});
    }
  }

  tolerance(e, owner, paper) {
    const o = this.out;
    this.common(e, 'TOLERANCE', owner, paper);
    o.group(100, 'AcDbFcf');
    o.text(3, e.styleName || 'Standard');
    o.point(10, e.insertionPoint);
    // The frame's lines are parted by ^J.
    o.mtext(1, e.text || '', '^J');
    o.extrusion(e.extrusionDirection);
    o.point(11, e.xAxisDirection || {x: 1, y: 0, z: 0});
  }

  objects() {
    const o = this.out;
    const layouts = this.db.objects.LAYOUT || [];
    const dictionaries = this.db.objects.DICTIONARY || [];
    const root = dictionaries.find(d => !d.ownerHandle || d.ownerHandle === '0');
    // The layouts' owner; LibreDWG gives dictionary names of drawings
    // before 2007 garbled, so the name ACAD_LAYOUT cannot be looked up.
    const layoutDictionary = layouts.length && root ? layouts[0].ownerHandle : undefined;
    const imageDefs = this.db.objects.IMAGEDEF || [];
    const imageDictionary = imageDefs.length && root ? imageDefs[0].ownerHandle : undefined;
    const mlineStyles = [...this.mlineStyles.values()];
    const mlineDictionary = root ? mlineStyleDictionary(mlineStyles) : '';
    this.section('OBJECTS', () => {
      o.group(0, 'DICTIONARY');
      o.handle(5, root ? root.handle : '');
      o.group(100, 'AcDbDictionary');
      o.integer(281, 1);
      if (layoutDictionary) {
        o.group(3, 'ACAD_LAYOUT');
        o.handle(350, layoutDictionary);
      }
      if (imageDictionary) {
        o.group(3, 'ACAD_IMAGE_DICT');
        o.handle(350, imageDictionary);
      }
      if (mlineDictionary) {
        o.group(3, 'ACAD_MLINESTYLE');
        o.handle(350, mlineDictionary);
      }
      if (layoutDictionary) this.dictionary(layoutDictionary, root.handle, layouts.map(l => [l.layoutName, l.handle]));
      if (imageDictionary) this.imageDictionary(imageDictionary, root.handle, imageDefs);
      if (mlineDictionary) writeMlineStyles(this, mlineDictionary, root.handle, mlineStyles);
      for (const layout of layouts) this.layout(layout, layoutDictionary);
      for (const def of imageDefs) this.imageDef(def);
      for (const reactor of this.imageReactors) this.imageDefReactor(reactor);
      for (const parameter of this.db.objects.BLOCKVISIBILITYPARAMETER || []) writeVisibilityParameter(o, parameter);
      const props = (this.db.objects.XRECORD || []).find(isDwgProps);
      if (props) this.dwgProps(props);
    });
  }

  // A dictionary of objects by name: `entries` holds [name, handle] pairs.
  dictionary(handle, owner, entries) {
    const o = this.out;
    o.group(0, 'DICTIONARY');
    o.handle(5, handle);
    o.handle(330, owner);
    o.group(100, 'AcDbDictionary');
    o.integer(281, 1);
    for (const [name, object] of entries) {
      o.text(3, name);
      o.handle(350, object);
    }
  }

  // The dictionary of the image definitions, each named by its file's name.
  imageDictionary(handle, owner, defs) {
    this.dictionary(handle, owner, defs.map(def => [
      (def.fileName || '').split(/[\\/]/).pop().replace(/\.[^.]*$/, '') || def.handle, def.handle]));
  }

  // A picture's definition: its file and its size in pixels.
  imageDef(def) {
    const o = this.out;
    const reactors = this.imageReactors.filter(r => upper(r.imageDef) === upper(def.handle));
    o.group(0, 'IMAGEDEF');
    o.handle(5, def.handle);
    if (reactors.length) {
      o.group(102, '{ACAD_REACTORS');
      for (const r of reactors) o.handle(330, r.handle);
      o.group(102, '}');
    }
    o.handle(330, def.ownerHandle);
    o.group(100, 'AcDbRasterImageDef');
    o.integer(90, 0);
    o.text(1, def.fileName);
    o.point(10, def.size, false);
    o.point(11, def.sizeOfOnePixel, false);
    o.integer(280, def.isLoaded ? 1 : 0);
    o.integer(281, def.resolutionUnits || 0);
  }

  imageDefReactor(r) {
    const o = this.out;
    o.group(0, 'IMAGEDEF_REACTOR');
    o.handle(5, r.handle);
    o.handle(330, r.image);
    o.group(100, 'AcDbRasterImageDefReactor');
    o.integer(90, 2);
    o.handle(330, r.image);
  }

  // The summary properties that drawings of AutoCAD 2000 to 2002 keep in a
  // DWGPROPS record (later ones keep them in a file section LibreDWG does
  // not give): its texts, in their own groups.
  dwgProps(record) {
    const o = this.out;
    o.group(0, 'XRECORD');
    o.handle(5, record.handle);
    o.handle(330, record.ownerHandle);
    o.group(100, 'AcDbXrecord');
    for (const {code, value} of record.data) {
      if (typeof value === 'string' && ((code >= 1 && code <= 9) || (code >= 300 && code <= 309))) o.text(code, value);
    }
  }

  layout(l, owner) {
    const o = this.out;
    o.group(0, 'LAYOUT');
    o.handle(5, l.handle);
    o.handle(330, owner);
    o.group(100, 'AcDbPlotSettings');
    o.group(1, '');
    o.integer(70, 0);
    o.group(100, 'AcDbLayout');
    o.text(1, l.layoutName);
    o.integer(70, l.controlFlag || 0);
    o.integer(71, l.tabOrder || 0);
    o.point(10, l.minLimit, false);
    o.point(11, l.maxLimit, false);
    o.point(12, l.insertionPoint);
    o.point(14, l.minExtent);
    o.point(15, l.maxExtent);
    o.number(146, l.elevation);
    o.point(13, l.ucsOrigin);
    o.point(16, l.ucsXAxis);
    o.point(17, l.ucsYAxis);
    o.integer(76, l.orthographicType || 0);
    o.handle(330, l.paperSpaceTableId);
    o.handle(331, l.viewportId);
  }
}

// The DXF text of a drawing as bytes, and what was left out by kind. The
// bytes are valid until the next call.
export function dwgToDxf(db, acadver, codePage) {
  const text = new DrawingWriter(db, acadver, codePage, new DxfText()).write();
  return {dxf: text.result(), skipped: text.skipped};
}

// The same drawing as binary DXF, with the groups and values of its DXF
// text; `binary` is false where a value of the text does not fit its
// binary type and the bytes are the text instead.
export function dwgToBinaryDxf(db, acadver, codePage) {
  const out = new DrawingWriter(db, acadver, codePage, new DxfBinary()).write();
  if (out.unfit) return {...dwgToDxf(db, acadver, codePage), binary: false};
  return {dxf: out.result(), skipped: out.skipped, binary: true};
}
