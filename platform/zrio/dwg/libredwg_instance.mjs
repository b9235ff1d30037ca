// Instances of LibreDWG's WebAssembly module, each in the state of a new
// one when a file comes, made ready ahead of need: the module is compiled
// once, and nothing of one file's read is left for the next. An instance
// is new, or one that has read a file and been put back as it was when new
// (its memory, and its stack where it began). Putting one back costs a few
// milliseconds while the program waits, and it is worth it: a new
// instance's bindings (made for each instance) and its memory are cold,
// and a small drawing read after a pause took some 2 ms longer on one
// (sample_2000: LibreDWG's read 1.7 against 1.25 ms, our conversion 2.7
// against 1.5 ms). The DWG worker (read_dwg.mjs) reads through them, and
// the DWG benchmark times LibreDWG's own read on instances made ready the
// same way.
import fs from 'node:fs';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

import {createModule, LibreDwg} from '@mlightcad/libredwg-web';

export function compileLibreDwg() {
  const here = path.dirname(fileURLToPath(import.meta.url));
  const file = path.join(here, 'node_modules', '@mlightcad', 'libredwg-web', 'wasm', 'libredwg-web.wasm');
  return WebAssembly.compile(fs.readFileSync(file));
}

// A new instance's memory is backed by the system page by page as it is
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

// A new instance of LibreDWG over the compiled module, with its own memory.
async function newLibreDwg(compiled) {
  let exports = null;
  const wasm = await createModule({
    instantiateWasm: (imports, receive) =>
      WebAssembly.instantiate(compiled, imports).then(instance => {
        exports = instance.exports;
        return receive(instance, compiled);
      }),
  });
  const libredwg = LibreDwg.createByWasmInstance(wasm);
  if (libredwg.wasmInstance !== wasm) throw new Error('LibreDWG kept an instance of an earlier read');
  return {wasm, libredwg, exports, taken: false, pristine: pristineStateOf(wasm, exports)};
}

// A new instance has written only the low part of its memory, under
// kLowPartLimit; the rest is zero.
const kLowPartLimit = 64 << 20;
const kChunkBytes = 1 << 20;
const kZeroChunk = new Uint8Array(kChunkBytes);

function isZero(wasm, start, end) {
  return Buffer.from(wasm.HEAPU8.buffer, start, end - start).equals(kZeroChunk.subarray(0, end - start));
}

// Zeroes what is not zero from `start` to `end`, a chunk at a time: the
// chunks the system has never backed stay so.
function wipe(wasm, start, end) {
  end = Math.min(end, wasm.HEAPU8.length);
  for (let at = Math.max(start, 0); at < end; at += kChunkBytes) {
    const chunkEnd = Math.min(at + kChunkBytes, end);
    if (!isZero(wasm, at, chunkEnd)) wasm.HEAPU8.fill(0, at, chunkEnd);
  }
}

// A new instance's low part (up to its last chunk that is not zero), and
// where its stack began.
function pristineStateOf(wasm, exports) {
  let end = Math.min(kLowPartLimit, wasm.HEAPU8.length);
  while (end > 0 && isZero(wasm, end - kChunkBytes, end)) end -= kChunkBytes;
  return {bytes: wasm.HEAPU8.slice(0, end), stack: exports.emscripten_stack_get_current()};
}

// The allocator takes a block larger than any it holds free from the top
// of its heap: where it puts such a probe, the heap ends. The probe is half
// the memory: only a heap of more than that could hold a free block as
// large. Past where it puts the probe, the allocator marks the space it
// took, within kMarksAboveProbe. A read whose heap has grown more than
// kReusedHeapBytes above the low part leaves its instance unused: its
// memory would cost more to wipe than a new instance to make.
const kProbeBytes = 512 << 20;
const kMarksAboveProbe = 32 << 20;
const kReusedHeapBytes = 64 << 20;

// Where the heap ends, the probe's marks wiped; 0 when no block of the
// probe's size is left.
function heapEnd(wasm, exports) {
  const probe = exports.malloc(kProbeBytes);
  if (!probe) return 0;
  exports.free(probe);
  wipe(wasm, probe + kProbeBytes - kChunkBytes, probe + kProbeBytes + kMarksAboveProbe);
  return probe;
}

// Puts back an instance that has read a file as it was when new: its low
// part as it was, and zero from there to where the read's heap ended. False,
// leaving it as it is, when the instance cannot be so put back: its stack
// is not where it began (a read that stopped in LibreDWG's code), the
// read's heap has grown too large, or the allocator fails (a read that
// wrote over its records).
function putBack({wasm, exports, pristine}) {
  if (exports.emscripten_stack_get_current() !== pristine.stack) return false;
  let end = 0;
  try {
    end = heapEnd(wasm, exports);
  } catch {
    return false;
  }
  if (!end || end - pristine.bytes.length > kReusedHeapBytes) return false;
  wasm.HEAPU8.set(pristine.bytes, 0);
  wipe(wasm, pristine.bytes.length, end + kChunkBytes);
  return true;
}

// The instance for the next file, made ready while the program waits for
// it, after the young garbage of the last read is collected (when Node
// runs with --expose-gc): neither is a file's wait. `used`, an instance
// that has read a file whole, is put back when it can be; else a new one
// is made. The collection is of the young generation only: a full one
// forced from script also throws away the code V8 has optimised
// (LibreDWG's converter, the DXF writer), and the next read ran
// unoptimised: the conversion a fifth slower, the completion and the DXF
// writing two to four times. The older garbage (an instance let go) V8
// collects by itself as the instances' memory grows, which is when the
// next one is made. The taker sets `taken`.
export function prepareLibreDwg(compiled, used = null) {
  if (global.gc) global.gc({type: 'minor'});
  if (used && putBack(used)) {
    used.taken = false;
    return Promise.resolve(used);
  }
  const next = newLibreDwg(compiled);
  next.then(touchLowMemory, () => {});  // a failure is met when the next file awaits it
  return next;
}
