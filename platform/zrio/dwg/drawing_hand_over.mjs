// The steps from a DWG file's bytes to the DXF handed over for it, on a
// LibreDWG instance in the state of a new one (libredwg_instance.mjs):
// LibreDWG's read, the conversion to the package's database, its
// completion from LibreDWG's own objects and the writing of the DXF. The worker (read_dwg.mjs) hands over
// what this makes; the lean conversion's test makes it with each converter.
import {DwgCodePage} from '@mlightcad/libredwg-web';

import {dwgToBinaryDxf, dwgToDxf} from './dxf_text.mjs';
import {convertForHandOver} from './lean_conversion.mjs';
import {RawDrawing} from './libredwg_raw.mjs';
import {completeDrawing} from './raw_completion.mjs';

// LibreDWG's error codes of this value and above mean the file could not be read.
const kCriticalError = 128;

// Why a file could not be handed over: `code` is LibreDWG's error code, or
// 0 when it is not one.
export class Failure extends Error {
  constructor(code, message) {
    super(message);
    this.code = code;
  }
}

function codePageName(page) {
  const name = DwgCodePage[page] || '';
  const ansi = /^CP_ANSI_(\d+)$/.exec(name);
  if (ansi) return 'ANSI_' + ansi[1];
  if (name === 'CP_GB2312') return 'ANSI_936';
  if (name === 'CP_BIG5') return 'ANSI_950';
  return 'ANSI_1252';
}

function readFile(wasm, bytes) {
  if (bytes.length < 6 || bytes.toString('latin1', 0, 2) !== 'AC') throw new Failure(0, 'not a DWG file');
  const fileName = 'drawing.dwg';
  wasm.FS.writeFile(fileName, bytes);
  const result = wasm.dwg_read_file(fileName);
  wasm.FS.unlink(fileName);
  const error = result ? result.error >>> 0 : 0xffffffff;
  if (!result || !result.data || error >= kCriticalError) throw new Failure(error, 'LibreDWG cannot read the file');
  return result.data;
}

// The drawing of `bytes` as binary DXF, or as DXF text where `asText` asks
// for it or a value does not fit its binary type (`dxf`, valid until the
// next hand-over), and what it leaves out, by kind (`skipped`). `convert`
// makes the package's database; `step` is told when each step is done:
// 'read', 'converted', 'completed', 'written'. Throws a Failure.
export function handOver({wasm, libredwg}, bytes, {asText = false, convert = convertForHandOver, step = () => {}} = {}) {
  const data = readFile(wasm, bytes);
  step('read');
  const version = libredwg.dwg_get_version_type(data).hdr;
  const page = codePageName(libredwg.dwg_get_codepage(data));
  const database = convert(libredwg, data);
  step('converted');
  const unread = completeDrawing(database, new RawDrawing(libredwg, wasm, data, page, version));
  step('completed');
  // LibreDWG reads some damaged files without a critical error but finds
  // nothing in them: a drawing has a model space.
  if (!database.tables.BLOCK_RECORD.entries.some(r => /^\*MODEL_SPACE$/i.test(r.name))) {
    throw new Failure(0, 'no model space in the file');
  }
  const {dxf, skipped} = (asText ? dwgToDxf : dwgToBinaryDxf)(database, version, page);
  for (const [kind, count] of Object.entries(unread)) skipped[kind] = (skipped[kind] || 0) + count;
  step('written');
  return {dxf, skipped};
}
