// What LibreDWG reads of DWG files: its error code, the header, the tables,
// the layouts and every entity, as JSON on standard output (one object by
// file name). With --dxf, what LibreDWG's DXF writer writes of each 3D
// solid, region, body and viewport instead, by handle: the kind, the
// modeler data lines and the extended data groups (LibreDWG's JSON leaves
// regions and bodies out and gives extended data wrong).
// Usage: node dwg_written.mjs READER_FOLDER [--dxf] FILE.dwg...
import fs from 'node:fs';
import path from 'node:path';
import {pathToFileURL} from 'node:url';

const [reader, ...rest] = process.argv.slice(2);
const viaDxf = rest[0] === '--dxf';
const files = viaDxf ? rest.slice(1) : rest;
const {compileLibreDwg, prepareLibreDwg} =
    await import(pathToFileURL(path.join(reader, 'libredwg_instance.mjs')).href);
const compiled = await compileLibreDwg();

function read({wasm, libredwg}, file) {
  const name = 'drawing.dwg';
  wasm.FS.writeFile(name, fs.readFileSync(file));
  const result = wasm.dwg_read_file(name);
  const error = result ? result.error >>> 0 : 0xffffffff;
  const answer = {error};
  if (result && result.data && error < 128) {
    const db = libredwg.convert(result.data);
    answer.codePage = libredwg.dwg_get_codepage(result.data);
    answer.header = db.header;
    answer.tables = db.tables;
    answer.layouts = db.objects.LAYOUT;
    answer.entities = db.entities;
    answer.thumbnail = db.thumbnailImage ? db.thumbnailImage.length || 1 : 0;
    libredwg.dwg_free(result.data);
  }
  return answer;
}

// The records of the DXF text that hold modeler data or a view.
function dxfRecords({libredwg}, file) {
  const dxf = libredwg.dwg_write_dxf(fs.readFileSync(file));
  const lines = (typeof dxf === 'string' ? dxf : Buffer.from(dxf).toString('latin1')).split(/\r?\n/);
  const records = {};
  let current = null;
  for (let i = 0; i + 1 < lines.length; i += 2) {
    const code = Number(lines[i]), value = lines[i + 1];
    if (code === 0) {
      current = ['3DSOLID', 'REGION', 'BODY', 'VIEWPORT'].includes(value) ? {type: value, lines: [], xdata: []} : null;
    } else if (current && code === 5) {
      records[value] = current;
    } else if (current && code === 1) {
      current.lines.push(value);
    } else if (current && code >= 1000) {
      current.xdata.push([code, value.trim()]);
    }
  }
  return records;
}

const answers = {};
for (const file of files) {
  // A fresh instance a file: LibreDWG keeps state between reads.
  const instance = await prepareLibreDwg(compiled);
  instance.taken = true;
  answers[path.basename(file)] = viaDxf ? dxfRecords(instance, file) : read(instance, file);
}
process.stdout.write('\n' + JSON.stringify(answers, (k, v) => (typeof v === 'bigint' ? Number(v) : v)));
