// The DWG worker converts a drawing asking LibreDWG only for the header and
// dimension style variables its DXF writer takes (lean_conversion.mjs).
// Each file here, and damaged copies of it, is read twice on fresh
// instances, converted in full (LibreDWG's own convert) and the worker's
// way, completed and written as binary DXF: the two must hand over the same
// bytes and leave out the same kinds, or fail alike.
// Usage: node dwg_lean_conversion.mjs READER FILE.dwg...
import fs from 'node:fs';
import path from 'node:path';
import {pathToFileURL} from 'node:url';

const [reader, ...files] = process.argv.slice(2);
const load = name => import(pathToFileURL(path.join(reader, name)).href);
const {compileLibreDwg, prepareLibreDwg} = await load('libredwg_instance.mjs');
const {convertForHandOver} = await load('lean_conversion.mjs');
const {dwgToBinaryDxf} = await load('dxf_text.mjs');
const {RawDrawing} = await load('libredwg_raw.mjs');
const {completeDrawing} = await load('raw_completion.mjs');

const kDamagedCopies = 4;
const kBytesChanged = 6;
const compiled = await compileLibreDwg();

// What the worker would hand over for `bytes`, or why it could not.
async function handOver(bytes, convert) {
  const {wasm, libredwg} = await prepareLibreDwg(compiled);
  try {
    wasm.FS.writeFile('drawing.dwg', bytes);
    const result = wasm.dwg_read_file('drawing.dwg');
    if (!result || !result.data || (result.error >>> 0) >= 128) return 'unread';
    const version = libredwg.dwg_get_version_type(result.data).hdr;
    const db = convert(libredwg, result.data);
    const unread = completeDrawing(db, new RawDrawing(libredwg, wasm, result.data, 'ANSI_1252', version));
    const {dxf, skipped} = dwgToBinaryDxf(db, version, 'ANSI_1252');
    return {dxf: Buffer.from(dxf), left: JSON.stringify([unread, skipped])};
  } catch (error) {
    return `failed: ${error && error.message}`;
  }
}

// Copies of the file with bytes changed past its first kilobyte (the
// header LibreDWG needs to read anything), the same on every run.
function damagedCopies(bytes) {
  let seed = bytes.length;
  const next = () => (seed = (seed * 1103515245 + 12345) >>> 0);
  const copies = [];
  for (let c = 0; c < kDamagedCopies && bytes.length > 2048; ++c) {
    const copy = Buffer.from(bytes);
    for (let i = 0; i < kBytesChanged; ++i) copy[1024 + (next() % (bytes.length - 1024))] = next() & 0xff;
    copies.push(copy);
  }
  return copies;
}

let failures = 0, compared = 0;
for (const file of files) {
  const bytes = fs.readFileSync(file);
  for (const [label, input] of [['', bytes], ...damagedCopies(bytes).map((b, i) => [` (damaged ${i + 1})`, b])]) {
    const full = await handOver(input, (libredwg, data) => libredwg.convert(data));
    const lean = await handOver(input, convertForHandOver);
    const name = path.basename(file) + label;
    if (typeof full === 'string' || typeof lean === 'string') {
      if (full !== lean) {
        console.log(`${name}: in full ${typeof full === 'string' ? full : 'read'}, lean ${typeof lean === 'string' ? lean : 'read'}`);
        ++failures;
      }
      continue;
    }
    ++compared;
    if (!full.dxf.equals(lean.dxf)) {
      let at = 0;
      while (at < full.dxf.length && full.dxf[at] === lean.dxf[at]) ++at;
      console.log(`${name}: the hand-overs differ from byte ${at} (of ${full.dxf.length} and ${lean.dxf.length})`);
      ++failures;
    } else if (full.left !== lean.left) {
      console.log(`${name}: left out in full ${full.left}, lean ${lean.left}`);
      ++failures;
    }
  }
}
console.log(`${compared} hand-overs compared, ${failures} differ`);
if (!files.length || compared < files.length) failures = Math.max(failures, 1);
process.exit(failures ? 1 : 0);
