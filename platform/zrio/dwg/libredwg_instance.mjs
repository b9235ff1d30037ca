// Fresh instances of LibreDWG's WebAssembly module, made ahead of need: the
// module is compiled once, and each file is read by an instance of its own
// with its own memory, so nothing of one file's read is left for the next.
// The DWG worker (read_dwg.mjs) reads through them, and the DWG benchmark
// times LibreDWG's own read on instances made the same way.
import fs from 'node:fs';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

import {createModule, LibreDwg} from '@mlightcad/libredwg-web';

export function compileLibreDwg() {
  const here = path.dirname(fileURLToPath(import.meta.url));
  const file = path.join(here, 'node_modules', '@mlightcad', 'libredwg-web', 'wasm', 'libredwg-web.wasm');
  return WebAssembly.compile(fs.readFileSync(file));
}

// A fresh instance's memory is backed by the system page by page as it is
// first written, and on a virtual machine each page can cost a tenth of a
// millisecond: a small drawing's read would spend most of its time there.
// While the program waits, it writes once to every page of the low part of
// the memory, where a small drawing's read keeps what it allocates, each
// byte written with the value it holds: the read finds the memory exactly as
// the instance made it. It works in short slices and stops when the
// instance is taken, so that a file never waits for it.
const kTouchedBytes = 16 << 20;
const kPageBytes = 4096;
const kPagesASlice = 32;

async function touchLowMemory(instance) {
  for (let at = 0; !instance.taken;) {
    const heap = instance.wasm.HEAPU8;
    const end = Math.min(heap.length, kTouchedBytes, at + kPagesASlice * kPageBytes);
    if (at >= end) return;
    for (; at < end; at += kPageBytes) heap[at] = heap[at];
    await new Promise(resolve => setImmediate(resolve));
  }
}

// A fresh instance of LibreDWG over the compiled module, with its own memory.
async function newLibreDwg(compiled) {
  const wasm = await createModule({
    instantiateWasm: (imports, receive) =>
      WebAssembly.instantiate(compiled, imports).then(instance => receive(instance, compiled)),
  });
  const libredwg = LibreDwg.createByWasmInstance(wasm);
  if (libredwg.wasmInstance !== wasm) throw new Error('LibreDWG kept an instance of an earlier read');
  return {wasm, libredwg, taken: false};
}

// The instance for the next file, made while the program waits for it,
// after the young garbage of the last read is collected (when Node runs
// with --expose-gc): neither is a file's wait. The collection is of the
// young generation only: a full one forced from script also throws away the
// code V8 has optimised (LibreDWG's converter, the DXF writer), and the next
// read ran unoptimised: the conversion a fifth slower, the completion and
// the DXF writing two to four times. The older garbage (the last
// instance) V8 collects by itself as the instances' memory grows, which is
// when the next one is made. The taker sets `taken`.
export function prepareLibreDwg(compiled) {
  if (global.gc) global.gc({type: 'minor'});
  const next = newLibreDwg(compiled);
  next.then(touchLowMemory, () => {});  // a failure is met when the next file awaits it
  return next;
}
