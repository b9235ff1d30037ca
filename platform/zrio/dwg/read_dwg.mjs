// Reads one DWG or DWT file through LibreDWG for the drawing library.
//
// The library starts this program ahead of need; it loads LibreDWG, then
// reads the file's bytes from its standard input until the end, and answers
// on file descriptor 3 with messages of one kind byte, a 32-bit
// little-endian length and that many bytes:
//   'P' progress: one byte, the percent done;
//   'D' the drawing as DXF text (last message of a success);
//   'E' failure: a 32-bit LibreDWG error code (0 when it is not one),
//       then a UTF-8 message (last message of a failure).
// What LibreDWG prints goes to standard output and standard error, which the
// library keeps apart from the answer. One file a process: LibreDWG keeps
// state between reads that a later read may trip on.
import fs from 'node:fs';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

import {createModule, DwgCodePage, LibreDwg} from '@mlightcad/libredwg-web';

import {dwgToDxf} from './dxf_text.mjs';

const kAnswer = 3;
// LibreDWG's error codes of this value and above mean the file could not be read.
const kCriticalError = 128;

function send(kind, payload) {
  const head = Buffer.alloc(5);
  head.write(kind, 0, 'latin1');
  head.writeUInt32LE(payload.length, 1);
  writeAll(head);
  writeAll(payload);
}

function writeAll(bytes) {
  for (let at = 0; at < bytes.length;) at += fs.writeSync(kAnswer, bytes, at, bytes.length - at);
}

function fail(code, message) {
  const head = Buffer.alloc(4);
  head.writeUInt32LE(code >>> 0, 0);
  send('E', Buffer.concat([head, Buffer.from(message, 'utf8')]));
  process.exitCode = 1;
}

function progress(percent) {
  send('P', Buffer.from([percent]));
}

function readInput() {
  const chunks = [];
  const chunk = Buffer.alloc(1 << 20);
  for (;;) {
    let n;
    try {
      n = fs.readSync(0, chunk, 0, chunk.length, null);
    } catch (error) {
      if (error.code === 'EAGAIN') continue;
      if (error.code === 'EOF') break;
      throw error;
    }
    if (n === 0) break;
    chunks.push(Buffer.from(chunk.subarray(0, n)));
  }
  return Buffer.concat(chunks);
}

function codePageName(page) {
  const name = DwgCodePage[page] || '';
  const ansi = /^CP_ANSI_(\d+)$/.exec(name);
  if (ansi) return 'ANSI_' + ansi[1];
  if (name === 'CP_GB2312') return 'ANSI_936';
  if (name === 'CP_BIG5') return 'ANSI_950';
  return 'ANSI_1252';
}

async function main() {
  const here = path.dirname(fileURLToPath(import.meta.url));
  const wasmFolder = path.join(here, 'node_modules', '@mlightcad', 'libredwg-web', 'wasm');
  const wasm = await createModule({locateFile: file => path.join(wasmFolder, file)});
  const libredwg = LibreDwg.createByWasmInstance(wasm);

  const bytes = readInput();
  if (bytes.length < 6 || bytes.toString('latin1', 0, 2) !== 'AC') return fail(0, 'not a DWG file');
  const fileName = 'drawing.dwg';
  wasm.FS.writeFile(fileName, bytes);
  const result = wasm.dwg_read_file(fileName);
  wasm.FS.unlink(fileName);
  const error = result ? result.error >>> 0 : 0xffffffff;
  if (!result || !result.data || error >= kCriticalError) {
    if (result && result.data) wasm.dwg_free(result.data);
    return fail(error, 'LibreDWG cannot read the file');
  }
  progress(25);
  let version, codePage, database;
  try {
    version = libredwg.dwg_get_version_type(result.data);
    codePage = libredwg.dwg_get_codepage(result.data);
    database = libredwg.convert(result.data);
  } finally {
    libredwg.dwg_free(result.data);
  }
  progress(40);
  // LibreDWG reads some damaged files without a critical error but finds
  // nothing in them: a drawing has a model space.
  if (!database.tables.BLOCK_RECORD.entries.some(r => /^\*MODEL_SPACE$/i.test(r.name))) {
    return fail(0, 'no model space in the file');
  }
  const {dxf, skipped} = dwgToDxf(database, version.hdr, codePageName(codePage));
  if (Object.keys(skipped).length) console.error('left out:', JSON.stringify(skipped));
  send('D', Buffer.from(dxf, 'latin1'));
}

main().catch(error => fail(0, String(error && error.stack ? error.stack : error)));
