// What LibreDWG reads of DWG files: its error code, the header, the tables,
// the layouts and every entity, as JSON on standard output (one object by
// file name).
// Usage: node dwg_written.mjs READER_FOLDER FILE.dwg...
import fs from 'node:fs';
import path from 'node:path';
import {pathToFileURL} from 'node:url';

const [reader, ...files] = process.argv.slice(2);
const {compileLibreDwg, prepareLibreDwg} =
    await import(pathToFileURL(path.join(reader, 'libredwg_instance.mjs')).href);
const compiled = await compileLibreDwg();

const answers = {};
for (const file of files) {
  // A fresh instance a file: LibreDWG keeps state between reads.
  const instance = await prepareLibreDwg(compiled);
  instance.taken = true;
  const {wasm, libredwg} = instance;
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
  answers[path.basename(file)] = answer;
}
process.stdout.write('\n' + JSON.stringify(answers, (k, v) => (typeof v === 'bigint' ? Number(v) : v)));
