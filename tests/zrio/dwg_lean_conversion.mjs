// The DWG worker converts a drawing asking LibreDWG only for what its DXF
// writer takes (lean_conversion.mjs), on an instance that is new or was put
// back as it was when new after an earlier read (libredwg_instance.mjs).
// Each file here, and damaged copies of it, is handed over as the worker
// hands it over (drawing_hand_over.mjs): on new instances converted in full
// (LibreDWG's own convert) and the worker's way, and the worker's way on one
// instance that reads every file in turn. All three must hand over the same
// bytes and leave out the same kinds, or fail alike; and after each put-back
// that instance's memory and stack must be as they were when it was new.
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

// What the worker would hand over for `bytes` through `convert` on
// `instance`, or why it could not.
function handOverOn(instance, bytes, convert) {
  instance.taken = true;
  try {
    const {dxf, skipped} = handOver(instance, bytes, {convert});
    return {dxf: Buffer.from(dxf), left: JSON.stringify(skipped)};
  } catch (error) {
    return `failed: ${error && error.message}`;
  }
}

// Where two hand-overs differ ('' when they do not).
function difference(a, b, [aName, bName]) {
  if (typeof a === 'string' || typeof b === 'string') {
    return a === b ? '' : `${aName} ${typeof a === 'string' ? a : 'read'}, ${bName} ${typeof b === 'string' ? b : 'read'}`;
  }
  if (!a.dxf.equals(b.dxf)) {
    let at = 0;
    while (at < a.dxf.length && a.dxf[at] === b.dxf[at]) ++at;
    return `${aName} and ${bName} differ from byte ${at} (of ${a.dxf.length} and ${b.dxf.length})`;
  }
  return a.left === b.left ? '' : `left out ${aName} ${a.left}, ${bName} ${b.left}`;
}

// Where an instance's memory first differs from what it was when new, or
// its stack begins elsewhere ('' when neither). A new instance's memory is
// what it kept of it (`pristine`: its low part, and where its stack began),
// then zero (some bytes of the low part are random, drawn by each instance).
const kCompared = 64 << 20;
function stateDifference({wasm, exports, pristine}) {
  if (exports.emscripten_stack_get_current() !== pristine.stack) return 'its stack begins elsewhere';
  const memory = Buffer.from(wasm.HEAPU8.buffer, 0, wasm.HEAPU8.length);
  const low = pristine.bytes.length;
  const zero = Buffer.alloc(kCompared);
  const firstDifference = (start, expected) => {
    let at = start;
    while (memory[at] === expected[at - start]) ++at;
    return `its memory differs from what it was when new at byte ${at}`;
  };
  if (!memory.subarray(0, low).equals(pristine.bytes)) return firstDifference(0, pristine.bytes);
  for (let at = low; at < memory.length; at += kCompared) {
    const part = memory.subarray(at, Math.min(at + kCompared, memory.length));
    if (!part.equals(zero.subarray(0, part.length))) return firstDifference(at, zero);
  }
  return '';
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

const newInstance = () => prepareLibreDwg(compiled);
let reused = await newInstance();
let failures = 0, compared = 0, putBack = 0;
const report = (name, what) => {
  if (!what) return;
  console.log(`${name}: ${what}`);
  ++failures;
};
report('a new instance', stateDifference(reused));
for (const file of files) {
  const bytes = fs.readFileSync(file);
  for (const [label, input] of [['', bytes], ...damagedCopies(bytes).map((b, i) => [` (damaged ${i + 1})`, b])]) {
    const name = path.basename(file) + label;
    const full = handOverOn(await newInstance(), input, (libredwg, data) => libredwg.convert(data));
    const lean = handOverOn(await newInstance(), input, convertForHandOver);
    const again = handOverOn(reused, input, convertForHandOver);
    report(name, difference(full, lean, ['in full', 'lean']));
    report(name, difference(lean, again, ['on a new instance', 'on one that read before']));
    if (typeof lean !== 'string') ++compared;
    if (typeof again === 'string') {
      reused = await newInstance();
      continue;
    }
    const next = await prepareLibreDwg(compiled, reused);
    if (next === reused) {
      ++putBack;
      report(`${name}, put back`, stateDifference(reused));
    }
    reused = next;
  }
}
console.log(`${compared} hand-overs compared, ${failures} differ; the instance was put back ${putBack} times`);
if (!files.length || compared < files.length || putBack < files.length) failures = Math.max(failures, 1);
process.exit(failures ? 1 : 0);
