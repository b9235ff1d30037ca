// Reads DWG and DWT files through LibreDWG for the drawing library, one
// after the other, for as long as the library keeps this worker.
//
// The library starts this program ahead of need; it compiles LibreDWG's
// WebAssembly module once, then waits for files. A request on standard
// input is a kind byte, a 32-bit little-endian length and the file's bytes:
// 'F' asks for the drawing as binary DXF, 'T' as DXF text (the same groups
// and values). The answer goes to file descriptor 3 in messages of one kind
// byte, a 32-bit little-endian length and that many bytes:
//   'P' progress: one byte, the percent done (only once a read has taken
//       a while);
//   'L' what the drawing holds that the DXF text leaves out: one line a
//       kind, its name and its count (before the drawing, when there is
//       any);
//   'D' the drawing as binary DXF, or as DXF text where it was asked for or
//       where a value does not fit its binary type (last message of a
//       success);
//   'E' failure: a 32-bit LibreDWG error code (0 when it is not one),
//       then a UTF-8 message (last message of a failure).
// The worker ends at the end of its input, and after a failure.
//
// LibreDWG keeps state between reads that a later read may trip on, so each
// file is read by an instance of the compiled module in the state of a new
// one (see libredwg_instance.mjs). What LibreDWG prints goes to standard
// output and standard error, which the library keeps apart from the answer.
import fs from 'node:fs';

import {Failure, handOver} from './drawing_hand_over.mjs';
import {compileLibreDwg, prepareLibreDwg} from './libredwg_instance.mjs';

const kAnswer = 3;

// Messages go out in one write where the pipe takes them whole, so that the
// library wakes once for them. Each is a kind and its payload.
function send(...messages) {
  let pieces = [];
  for (const [kind, payload] of messages) {
    const head = Buffer.alloc(5);
    head.write(kind, 0, 'latin1');
    head.writeUInt32LE(payload.length, 1);
    pieces.push(head, payload);
  }
  while (pieces.length) {
    let written = fs.writevSync(kAnswer, pieces);
    while (pieces.length && written >= pieces[0].length) written -= pieces.shift().length;
    if (pieces.length) pieces[0] = pieces[0].subarray(written);
  }
}

function sendFailure(code, message) {
  const head = Buffer.alloc(4);
  head.writeUInt32LE(code >>> 0, 0);
  send(['E', Buffer.concat([head, Buffer.from(message, 'utf8')])]);
}

// A read that ends sooner than this shows no progress: its messages would
// only wake the library while the file is read.
const kQuietMs = 100;

function progress(percent, stages) {
  if (stages.elapsed() >= kQuietMs) send(['P', Buffer.from([percent])]);
}

// Where a file's time goes in this worker, from the moment its request is
// whole: the wait for its instance with LibreDWG's read, LibreDWG's
// conversion to its database, the completion from LibreDWG's own objects,
// the writing of the DXF and the answer's sending. When the environment
// names a file in HARBECK_DWG_STAGES (the DWG benchmark does), each drawing
// read appends a line to it: the file's size, then those five parts in
// milliseconds.
const kStageLog = process.env.HARBECK_DWG_STAGES;

class Stages {
  constructor() {
    this.started = performance.now();
    this.last = this.started;
    this.laps = [];
  }

  lap() {
    const now = performance.now();
    this.laps.push((now - this.last).toFixed(2));
    this.last = now;
  }

  elapsed() {
    return performance.now() - this.started;
  }

  record(size) {
    if (kStageLog) fs.appendFileSync(kStageLog, `${size} ${this.laps.join(' ')}\n`);
  }
}

// A request buffer larger than this is not kept for the next file.
const kKeptRequestBytes = 64 << 20;

// The files asked for, as they arrive on standard input, each with whether
// its drawing goes as text; ends with the input. Each file's bytes are
// valid until the next is asked for: they go into a buffer kept from file
// to file, as fresh memory costs a page fault for every 4 KB first written.
async function* fileRequests(input) {
  let kept = Buffer.alloc(0);
  const head = Buffer.alloc(5);
  let headFilled = 0;
  let file = null;
  let fileFilled = 0;
  for await (let chunk of input) {
    while (chunk.length) {
      if (!file) {
        const n = Math.min(head.length - headFilled, chunk.length);
        chunk.copy(head, headFilled, 0, n);
        headFilled += n;
        chunk = chunk.subarray(n);
        if (headFilled < head.length) break;
        const kind = head.toString('latin1', 0, 1);
        if (kind !== 'F' && kind !== 'T') throw new Error('not a file request');
        const size = head.readUInt32LE(1);
        if (kept.length < size || kept.length > kKeptRequestBytes) kept = Buffer.alloc(size);
        file = kept.subarray(0, size);
        fileFilled = 0;
      }
      const n = Math.min(file.length - fileFilled, chunk.length);
      chunk.copy(file, fileFilled, 0, n);
      fileFilled += n;
      chunk = chunk.subarray(n);
      if (fileFilled === file.length) {
        yield {bytes: file, asText: head.toString('latin1', 0, 1) === 'T'};
        file = null;
        headFilled = 0;
      }
    }
  }
  if (file || headFilled) throw new Error('the request ended early');
}

// The progress shown once each step of a read is done.
const kPercentDone = {read: 25, completed: 40};

// The answer's messages: what was left out ('L'), when anything was, and
// the drawing ('D').
function readDrawing(instance, bytes, asText, stages) {
  const step = name => {
    stages.lap();
    if (kPercentDone[name]) progress(kPercentDone[name], stages);
  };
  const {dxf, skipped} = handOver(instance, bytes, {asText, step});
  const kinds = Object.keys(skipped).sort();
  const answer = [['D', dxf]];
  if (kinds.length) answer.unshift(['L', Buffer.from(kinds.map(k => `${k} ${skipped[k]}\n`).join(''), 'utf8')]);
  return answer;
}

async function main() {
  const compiled = await compileLibreDwg();
  let next = prepareLibreDwg(compiled);
  for await (const {bytes, asText} of fileRequests(process.stdin)) {
    const stages = new Stages();
    const instance = await next;
    instance.taken = true;
    send(...readDrawing(instance, bytes, asText, stages));
    stages.lap();
    stages.record(bytes.length);
    next = prepareLibreDwg(compiled, instance);
  }
}

main().catch(error => {
  if (error instanceof Failure) sendFailure(error.code, error.message);
  else sendFailure(0, String(error && error.stack ? error.stack : error));
  process.exit(1);
});
