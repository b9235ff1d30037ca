// What the DWG worker answers for DWG files, for check_dwg_worker_dxf.py to
// compare with LibreDWG's own DXF output: FOLDER/NAME.dxf with the DXF text
// of NAME.dwg (asked for as text), FOLDER/NAME.binary.dxf with the binary
// DXF it hands the library, and FOLDER/NAME.left with what it left out. The
// real worker (read_dwg.mjs) reads each file through its own requests and
// answers.
// With --kinds it writes FOLDER/kinds.dxf and FOLDER/kinds.binary.dxf
// instead: drawings in the form LibreDWG's converter gives, holding the
// kinds no fixture holds (images, shapes, OLE frames, proxies, a block
// multileader, a table with cells, a multiline of a style of its own, an
// insert of a dynamic block with visibility states), through the worker's
// DXF writer, as text and as binary DXF.
// Usage: node dwg_worker_dxf.mjs READER FOLDER FILE.dwg...
//        node dwg_worker_dxf.mjs READER FOLDER --kinds
import {spawn} from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import {pathToFileURL} from 'node:url';

const [reader, folder, ...files] = process.argv.slice(2);
fs.mkdirSync(folder, {recursive: true});

// `kind`: 'T' for DXF text, 'F' for binary DXF.
function answerOf(file, kind) {
  const child = spawn(process.execPath, [path.join(reader, 'read_dwg.mjs')], {stdio: ['pipe', 'ignore', 'ignore', 'pipe']});
  const chunks = [];
  child.stdio[3].on('data', c => chunks.push(c));
  const bytes = fs.readFileSync(file);
  const head = Buffer.alloc(5);
  head.write(kind, 0, 'latin1');
  head.writeUInt32LE(bytes.length, 1);
  child.stdin.end(Buffer.concat([head, bytes]));
  return new Promise(resolve => child.on('close', () => resolve(Buffer.concat(chunks))));
}

// The answer's messages by kind.
function messagesOf(answer) {
  const messages = {};
  for (let at = 0; at + 5 <= answer.length;) {
    const kind = answer.toString('latin1', at, at + 1), length = answer.readUInt32LE(at + 1);
    messages[kind] = answer.subarray(at + 5, at + 5 + length);
    at += 5 + length;
  }
  return messages;
}

async function readFile(file) {
  const stem = path.join(folder, path.basename(file, '.dwg'));
  for (const [kind, output] of [['T', stem + '.dxf'], ['F', stem + '.binary.dxf']]) {
    const messages = messagesOf(await answerOf(file, kind));
    if (messages.D) fs.writeFileSync(output, messages.D);
    if (messages.E) console.error(`${path.basename(file)}: ${messages.E.subarray(4).toString('utf8')}`);
    if (kind === 'T') fs.writeFileSync(stem + '.left', messages.L ? messages.L.toString('utf8') : '');
  }
}

const common = (type, handle) => ({type, handle, layer: 'KINDS', colorIndex: 256, lineweight: 29, isVisible: true});
const point = (x, y, z = 0) => ({x, y, z});

// One of each kind no fixture holds, in the converter's form.
function kindsDrawing() {
  const entities = [
    {...common('IMAGE', 'A1'), version: 0, position: point(10, 20), uPixel: point(0.5, 0), vPixel: point(0, 0.5),
     imageSize: {x: 640, y: 480}, imageDefHandle: 'D1', flags: 7, clipping: 1, brightness: 50, contrast: 50, fade: 0,
     imageDefReactorHandle: 'D2', clippingBoundaryType: 1, countBoundaryPoints: 2,
     clippingBoundaryPath: [{x: -0.5, y: -0.5}, {x: 639.5, y: 479.5}], clipMode: 0},
    {...common('SHAPE', 'A2'), thickness: 0, insertionPoint: point(5, 6), size: 2.5, shapeNumber: 132,
     styleName: 'GDT', rotation: Math.PI / 2, xScale: 1, obliqueAngle: 0, extrusionDirection: point(0, 0, 1)},
    {...common('OLE2FRAME', 'A3'), oleVersion: 2, oleClient: 'Paintbrush Picture', dataSize: 4,
     leftUpPoint: point(0, 100), rightDownPoint: point(80, 40), lockAspect: 0, oleObjectType: 2,
     tileModeDescriptor: 0, binaryData: '0102A0FF'},
    {...common('ACAD_PROXY_ENTITY', 'A4'), proxyEntityClassId: 498, applicationEntityClassId: 501,
     originalDxfName: 'AECC_POINT', graphicsDataSize: 6, graphicsData: '0C0000000100', entityDataSize: 16,
     entityData: 'BEEF', originalDataFormat: 0},
    {...common('MULTILEADER', 'A5'), version: 2, leaderStyleId: '2AF', leaderLineType: 1, landingEnabled: true,
     doglegEnabled: true, doglegLength: 2, arrowheadSize: 3, contentType: 1, contentScale: 1,
     contentBasePosition: point(60, 60), hasMText: false, hasBlock: true, blockContentId: 'B1',
     blockContent: {blockContentId: 'B1', normal: point(0, 0, 1), position: point(62, 60), scale: point(2, 2, 1),
                    rotation: 0, color: -1056964608},
     planeOrigin: point(0, 0), planeXAxisDirection: point(1, 0, 0), planeYAxisDirection: point(0, 1, 0),
     leaderSections: [{lastLeaderLinePoint: point(58, 60), doglegVector: point(1, 0, 0), doglegLength: 2,
                       leaderBranchIndex: 0,
                       leaderLines: [{vertices: [point(40, 40), point(50, 55)], leaderLineIndex: 0}]}]},
    {...common('ACAD_TABLE', 'A6'), name: '*T1', startPoint: point(100, 0), directionVector: point(1, 0, 0),
     tableValue: 22, rowCount: 1, columnCount: 2, rowHeightArr: [9], columnWidthArr: [30, 40],
     tableStyleId: '29B', blockRecordHandle: 'B2',
     cells: [{text: 'first', attachmentPoint: 5, cellType: 1, textHeight: 2.5, topBorderVisibility: true,
              bottomBorderVisibility: true, leftBorderVisibility: true, rightBorderVisibility: true},
             {text: 'second', attachmentPoint: 5, cellType: 1, textHeight: 2.5, topBorderVisibility: true,
              bottomBorderVisibility: false, leftBorderVisibility: true, rightBorderVisibility: true}]},
    {...common('MLINE', 'A7'), scale: 2, justification: 1, flags: 1, startPoint: point(0, 50),
     extrusionDirection: point(0, 0, 1), numberOfVertices: 3, numberOfLines: 2, mlineStyle: 'WALL', styleHandle: 'E1',
     vertices: [[point(0, 50), point(1, 0), point(0, 1)], [point(20, 50), point(0, 1), point(-Math.SQRT1_2, Math.SQRT1_2)],
                [point(20, 70), point(0, 1), point(-1, 0)]].map(([vertex, vertexDirection, miterDirection], i) => ({
       vertex, vertexDirection, miterDirection, numberOfLines: 2,
       lines: [{segmentParams: [i === 1 ? 3 * Math.SQRT2 : 3, 0], areaFillParams: []},
               {segmentParams: [i === 1 ? -Math.SQRT2 : -1, 0, 4, 2], areaFillParams: [0.5]}]}))},
    {...common('INSERT', 'A8'), name: 'DYN', insertionPoint: point(0, 80), xScale: 1, yScale: 1, zScale: 1, rotation: 0},
  ];
  // A dynamic block of two visibility states, a circle and a square, with
  // a line both show.
  const dynamic = [{...common('LINE', 'C1'), startPoint: point(-10, -12), endPoint: point(10, -12)},
                   {...common('CIRCLE', 'C2'), center: point(0, 0), radius: 8},
                   {...common('LWPOLYLINE', 'C3'), flag: 512, vertices: [point(-7, -7), point(7, -7), point(7, 7)]}];
  const record = (handle, name, own) => ({handle, name, flags: name.startsWith('*T') ? 1 : 0,
                                          basePoint: point(0, 0), layout: '', entities: own});
  return {
    header: {},
    tables: {
      VPORT: {entries: []}, STYLE: {entries: []}, APPID: {entries: []}, DIMSTYLE: {entries: []},
      LTYPE: {entries: [{handle: '15', name: 'DASHED', description: '__ __', totalPatternLength: 0.75,
                         pattern: [{elementLength: 0.5}, {elementLength: -0.25}]}]},
      LAYER: {entries: [{handle: '10', name: 'KINDS', colorIndex: 3, lineType: 'Continuous', lineweight: 29}]},
      BLOCK_RECORD: {entries: [record('1F', '*Model_Space', entities), record('B1', 'MARK', []), record('B2', '*T1', []),
                               record('B3', 'DYN', dynamic)]},
    },
    objects: {
      DICTIONARY: [{handle: 'C', ownerHandle: '0', entries: {}}], LAYOUT: [], XRECORD: [],
      IMAGEDEF: [{handle: 'D1', ownerHandle: 'D0', fileName: 'C:\\pictures\\site plan.png', size: {x: 640, y: 480},
                  sizeOfOnePixel: {x: 0.01, y: 0.01}, isLoaded: 1, resolutionUnits: 2}],
      // Fill on, a square start cap, a round end cap.
      MLINESTYLE: [{handle: 'E1', ownerHandle: 'E0', name: 'WALL', description: 'Wall with fill', flags: 1 | 16 | 1024,
                    fill: {colorIndex: 8}, startAngle: Math.PI / 2, endAngle: Math.PI / 3,
                    lines: [{offset: 1.5, colorIndex: 1, lineType: 'ByLayer'},
                            {offset: -0.5, colorIndex: 0, lineType: 'DASHED'}]}],
      BLOCKVISIBILITYPARAMETER: [{handle: 'E5', ownerHandle: 'E4', name: 'Visibility1', controlled: ['C1', 'C2', 'C3'],
                                  states: [{name: 'Round', shown: ['C1', 'C2']}, {name: 'Square', shown: ['C1', 'C3']}]}],
    },
  };
}

if (files[0] === '--kinds') {
  const {dwgToBinaryDxf, dwgToDxf} = await import(pathToFileURL(path.join(reader, 'dxf_text.mjs')).href);
  fs.writeFileSync(path.join(folder, 'kinds.dxf'), dwgToDxf(kindsDrawing(), 'AC1032', 'ANSI_1252').dxf);
  fs.writeFileSync(path.join(folder, 'kinds.binary.dxf'), dwgToBinaryDxf(kindsDrawing(), 'AC1032', 'ANSI_1252').dxf);
} else {
  await Promise.all(files.map(readFile));
}
