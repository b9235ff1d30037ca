// 3DSOLID, REGION, BODY and the surfaces as DXF has them: the modeler
// geometry's ACIS data as SAT text in groups 1 and 3, in DXF's character
// form (each character from '!' on stands as 159 less its code), or, where
// LibreDWG gives binary SAB (drawings of 2007 to 2010), as a record of the
// ACDSDATA section that names the entity by handle, as AutoCAD 2013 and
// later keep it.

// A SAT line is written in pieces of at most this many characters: the
// first in group 1, the others in group 3.
const kPieceLength = 255;
// Bytes of binary data a 310 group holds.
const kChunkBytes = 127;
// The character whose DXF form is a caret.
const kCaretCode = 159 - 0x5e;

const kSubclasses = {
  '3DSOLID': 'AcDb3dSolid', BODY: 'AcDbBody', REGION: 'AcDbRegion', EXTRUDEDSURFACE: 'AcDbExtrudedSurface',
  LOFTEDSURFACE: 'AcDbLoftedSurface', NURBSURFACE: 'AcDbNurbSurface', PLANESURFACE: 'AcDbPlaneSurface',
  REVOLVEDSURFACE: 'AcDbRevolvedSurface', SWEPTSURFACE: 'AcDbSweptSurface',
};

export function isModelerKind(type) {
  return Object.prototype.hasOwnProperty.call(kSubclasses, type);
}

// DXF's character form of SAT text. A caret it makes ('A') is written as a
// caret and a blank, as DXF text writes a caret that escapes nothing.
export function encodeSatLine(line) {
  let out = '';
  for (let i = 0; i < line.length; ++i) {
    const c = line.charCodeAt(i);
    if (c === kCaretCode) out += '^ ';
    else out += c <= 32 || c >= 159 ? line[i] : String.fromCharCode(159 - c);
  }
  return out;
}

export function binaryChunks(o, code, bytes) {
  for (let at = 0; at < bytes.length; at += kChunkBytes) {
    o.chunk(code, bytes.subarray(at, at + kChunkBytes));
  }
}

// `sabRecords` collects the binary data for the ACDSDATA section.
export function writeModeler(writer, e, owner, paper, sabRecords) {
  const o = writer.out;
  writer.common(e, e.type, owner, paper);
  o.group(100, 'AcDbModelerGeometry');
  o.integer(70, 1);
  const acis = e.acis;
  if (acis && acis.sat) {
    for (const line of acis.sat.split('\n')) {
      const text = encodeSatLine(line.replace(/\r$/, ''));
      if (!text) continue;
      for (let at = 0; at < text.length; at += kPieceLength) {
        o.group(at === 0 ? 1 : 3, text.slice(at, at + kPieceLength));
      }
    }
  } else if (acis && acis.sab) {
    sabRecords.push({handle: e.handle, bytes: acis.sab});
  }
  if (e.guid) o.text(2, e.guid);
  if (kSubclasses[e.type] === 'AcDbRegion' || kSubclasses[e.type] === 'AcDbBody') return;
  o.group(100, kSubclasses[e.type]);
  o.handle(350, e.historyObjectSoftId);
}

// The ACDSDATA section with one ASM_Data record a solid of binary data.
export function writeAcdsData(writer, records) {
  const o = writer.out;
  writer.section('ACDSDATA', () => {
    o.integer(70, 2);
    o.integer(71, 2);
    o.group(0, 'ACDSSCHEMA');
    o.integer(90, 0);
    o.group(1, 'AcDb3DSolid_ASM_Data');
    o.group(2, 'AcDbDs::ID');
    o.integer(280, 10);
    o.integer(91, 8);
    o.group(2, 'ASM_Data');
    o.integer(280, 15);
    o.integer(91, 0);
    o.group(101, 'ACDSRECORD');
    o.integer(95, 0);
    o.integer(90, 2);
    for (const r of records) {
      o.group(0, 'ACDSRECORD');
      o.integer(90, 0);
      o.group(2, 'AcDbDs::ID');
      o.integer(280, 10);
      o.handle(320, r.handle);
      o.group(2, 'ASM_Data');
      o.integer(280, 15);
      o.integer(94, r.bytes.length);
      binaryChunks(o, 310, r.bytes);
    }
  });
}
