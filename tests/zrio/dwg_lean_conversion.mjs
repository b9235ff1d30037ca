// The DWG worker converts a drawing asking LibreDWG only for what its DXF
// writer takes (lean_conversion.mjs). Each file here, and damaged copies of
// it, is handed over twice on fresh instances as the worker hands it over
// (drawing_hand_over.mjs), converted in full (LibreDWG's own convert) and
// the worker's way: the two must hand over the same bytes and leave out the
// same kinds, or fail alike.
// Usage: node dwg_lean_conversion.mjs READER FILE.dwg...
import fs from 'node:fs';
import path from 'node:path';
import {pathToFileURL} from 'node:url';

const [reader, ...files] = process.argv.slice(2);
const load = name => import(pathToFileURL(path.join(reader, name)).href);
const {compileLibreDwg, prepareLibreDwg} = await load('libredwg_instance.mjs');
const {handOver} = await load('drawing_hand_over.mjs');
const {convertForHandOver} = await load('lean_conversion.mjs');

const kDamagedCopies = 4;
const kBytesChanged = 6;
const compiled = await compileLibreDwg();

// What the worker would hand over for `bytes` through `convert`, or why it
// could not.
async function handOverThrough(bytes, convert) {
  const instance = await prepareLibreDwg(compiled);
  instance.taken = true;
  try {
    const {dxf, skipped} = handOver(instance, bytes, {convert});
    return {dxf: Buffer.from(dxf), left: JSON.stringify(skipped)};
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
    const full = await handOverThrough(input, (libredwg, data) => libredwg.convert(data));
    const lean = await handOverThrough(input, convertForHandOver);
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
