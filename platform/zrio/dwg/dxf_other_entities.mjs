// Entity kinds the library reads as kept groups, written with their DXF
// groups: proxy entities with their graphics, shapes, OLE frames, arc
// dimensions, lights, and polygon and polyface meshes.
import {binaryChunks} from './dxf_modeler.mjs';

// Bytes LibreDWG's own objects gave (`bytes`), else the converter's hex text.
function bytesOf(bytes, hex) {
  if (bytes) return bytes;
  return typeof hex === 'string' && /^[0-9a-fA-F]*$/.test(hex) ? Buffer.from(hex, 'hex') : Buffer.alloc(0);
}

// A proxy entity: its classes, its graphics (92 and 310) and its own data.
export function writeProxy(writer, e, owner, paper) {
  const o = writer.out;
  writer.common(e, 'ACAD_PROXY_ENTITY', owner, paper);
  o.group(100, 'AcDbProxyEntity');
  o.integer(90, e.proxyEntityClassId || 498);
  o.integer(91, e.applicationEntityClassId || 0);
  const graphics = bytesOf(e.graphics, e.graphicsData);
  o.integer(92, graphics.length);
  binaryChunks(o, 310, graphics);
  const data = bytesOf(e.data, e.entityData);
  o.integer(93, e.entityDataSize || data.length * 8);
  binaryChunks(o, 310, data);
  for (const id of e.linkedObjectIds || []) o.handle(330, id);
  o.integer(94, 0);
  o.integer(95, e.objectDrawingFormat || 0);
  o.integer(70, e.originalDataFormat || 0);
}

// A shape's name lives in its shape file, which the worker does not read:
// group 2 holds the shape's number, group 7 the text style of the shape
// file it belongs to. The library names the shape from that file when it
// opens the drawing (shape_library.h).
export function writeShape(writer, e, owner, paper) {
  const o = writer.out;
  writer.common(e, 'SHAPE', owner, paper);
  o.group(100, 'AcDbShape');
  if (e.thickness) o.number(39, e.thickness);
  o.point(10, e.insertionPoint);
  o.number(40, e.size);
  o.integer(2, e.shapeNumber);
  o.text(7, e.styleName || '');
  if (e.rotation) o.angle(50, e.rotation);
  if (e.xScale && e.xScale !== 1) o.number(41, e.xScale);
  if (e.obliqueAngle) o.angle(51, e.obliqueAngle);
  o.extrusion(e.extrusionDirection);
}

// The OLE object's data, after the frame's own groups.
function writeOleData(o, e) {
  const data = bytesOf(e.data, e.binaryData);
  o.integer(90, data.length);
  binaryChunks(o, 310, data);
  o.group(1, 'OLE');
}

export function writeOle2Frame(writer, e, owner, paper) {
  const o = writer.out;
  writer.common(e, 'OLE2FRAME', owner, paper);
  o.group(100, 'AcDbOle2Frame');
  o.integer(70, e.oleVersion || 2);
  o.text(3, e.oleClient || '');
  o.point(10, e.leftUpPoint);
  o.point(11, e.rightDownPoint);
  o.integer(71, e.oleObjectType || 2);
  o.integer(72, e.tileModeDescriptor || 0);
  writeOleData(o, e);
}

export function writeArcDimension(writer, e, owner, paper) {
  const o = writer.out;
  writer.common(e, 'ARC_DIMENSION', owner, paper);
  o.group(100, 'AcDbDimension');
  o.text(2, e.name);
  o.point(10, e.definitionPoint);
  o.point(11, {z: 0, ...e.textPoint});
  o.integer(70, e.flag);
  o.integer(71, e.attachmentPoint || 5);
  if (e.measurement) o.number(42, e.measurement);
  if (e.text) o.text(1, e.text);
  if (e.textRotation) o.angle(53, e.textRotation);
  o.extrusion(e.extrusionDirection);
  o.text(3, e.styleName || 'Standard');
  o.group(100, 'AcDbArcDimension');
  o.point(13, e.xline1);
  o.point(14, e.xline2);
  o.point(15, e.center);
  o.point(16, e.leader1);
  o.point(17, e.leader2);
  o.integer(70, e.isPartial ? 1 : 0);
  o.number(40, e.startParameter);
  o.number(41, e.endParameter);
  o.integer(71, e.hasLeader ? 1 : 0);
}

export function writeLight(writer, e, owner, paper) {
  const o = writer.out;
  writer.common(e, 'LIGHT', owner, paper);
  o.group(100, 'AcDbLight');
  o.integer(90, e.version || 1);
  o.text(1, e.name);
  o.integer(70, e.lightType || 1);
  o.integer(290, e.status ? 1 : 0);
  o.integer(291, e.plotGlyph ? 1 : 0);
  o.number(40, e.intensity);
  o.point(10, e.position);
  o.point(11, e.target);
  o.integer(72, e.attenuationType);
  o.integer(292, e.useLimits ? 1 : 0);
  o.number(41, e.startLimit);
  o.number(42, e.endLimit);
  o.angle(50, e.hotspot);
  o.angle(51, e.falloff);
  o.integer(293, e.castShadows ? 1 : 0);
  o.integer(73, e.shadowType);
  o.integer(91, e.shadowMapSize);
  o.integer(280, e.shadowMapSoftness);
}

// A polygon mesh (its M x N points) or a polyface mesh (its points, then
// its faces of up to four point indices).
export function writeMesh(writer, e, owner, paper) {
  const o = writer.out;
  const polyface = (e.flag & 64) !== 0;
  writer.common(e, 'POLYLINE', owner, paper);
  o.group(100, polyface ? 'AcDbPolyFaceMesh' : 'AcDbPolygonMesh');
  o.integer(66, 1);
  o.point(10, {x: 0, y: 0, z: 0});
  o.integer(70, e.flag);
  o.integer(71, e.meshM);
  o.integer(72, e.meshN);
  if (e.densityM) o.integer(73, e.densityM);
  if (e.densityN) o.integer(74, e.densityN);
  if (e.smoothType) o.integer(75, e.smoothType);
  for (const v of e.vertices) {
    writer.common({layer: e.layer, colorIndex: e.colorIndex, ...v}, 'VERTEX', e.handle, paper);
    if (v.face) {
      o.group(100, 'AcDbFaceRecord');
      o.point(10, {x: 0, y: 0, z: 0});
      o.integer(70, 128);
      v.face.forEach((index, i) => { if (index) o.integer(71 + i, index); });
      continue;
    }
    o.group(100, 'AcDbVertex');
    o.group(100, polyface ? 'AcDbPolyFaceMeshVertex' : 'AcDbPolygonMeshVertex');
    o.point(10, v);
    o.integer(70, polyface ? 192 : 64);
  }
  writer.sequenceEnd(e, paper);
}

// An OLE frame of drawings before 2000: its data only.
export function writeOleFrame(writer, e, owner, paper) {
  const o = writer.out;
  writer.common(e, 'OLEFRAME', owner, paper);
  o.group(100, 'AcDbOleFrame');
  o.integer(70, e.flag || 2);
  writeOleData(o, e);
}

export function writeArcAlignedText(writer, e, owner, paper) {
  const o = writer.out;
  writer.common(e, 'ARCALIGNEDTEXT', owner, paper);
  o.group(100, 'AcDbArcAlignedText');
  o.text(1, e.text);
  o.text(2, e.fontName);
  o.text(3, e.bigFontName);
  o.text(7, e.styleName || 'Standard');
  o.point(10, e.center);
  o.number(40, e.radius);
  o.number(41, e.xScale || 1);
  o.number(42, e.textSize);
  o.number(43, e.characterSpacing);
  o.number(44, e.offsetFromArc);
  o.number(45, e.rightOffset);
  o.number(46, e.leftOffset);
  o.angle(50, e.startAngle);
  o.angle(51, e.endAngle);
  o.integer(70, e.isReverse ? 1 : 0);
  o.integer(71, e.textDirection);
  o.integer(72, e.alignment);
  o.integer(73, e.textPosition);
  o.integer(74, e.isBold ? 1 : 0);
  o.integer(75, e.isItalic ? 1 : 0);
  o.integer(76, e.isUnderlined ? 1 : 0);
  o.integer(77, e.characterSet);
  o.integer(78, e.pitchAndFamily);
  o.integer(79, e.isShx ? 1 : 0);
  o.integer(90, e.rawTextColor);
  o.integer(280, e.wizardFlag);
  o.handle(330, e.arcHandle);
  o.extrusion(e.extrusionDirection);
}

// A section plane: its boundary and back line.
export function writeSection(writer, e, owner, paper) {
  const o = writer.out;
  const vertices = e.vertices || [], back = e.backLineVertices || [];
  writer.common(e, 'SECTION', owner, paper);
  o.group(100, 'AcDbSection');
  o.integer(90, e.state);
  o.integer(91, e.flags);
  o.text(1, e.name);
  o.point(10, e.verticalDirection);
  o.number(40, e.topHeight);
  o.number(41, e.bottomHeight);
  o.integer(70, e.indicatorTransparency);
  o.integer(63, e.indicatorColor || 0);
  o.integer(92, vertices.length);
  for (const v of vertices) o.point(11, v);
  o.integer(93, back.length);
  for (const v of back) o.point(12, v);
  const settings = e.geometrySettingHardId;
  if (settings) o.handle(360, typeof settings === 'bigint' ? settings.toString(16) : settings);
}
