// What LibreDWG itself reads of each DWG file, for the DWG tests to compare
// with what the drawing library opens: version, layers, layouts, entities
// by block and type, attribute counts, where tables stand and the stored
// extents.
// Usage: node dwg_reference.mjs READER_FOLDER OUTPUT.json FILE.dwg...
// Each file is read in a process of its own, all at once.
import {execFile} from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import {fileURLToPath, pathToFileURL} from 'node:url';

const [reader, output, ...files] = process.argv.slice(2);

async function describe(file) {
  const packageFolder = path.join(reader, 'node_modules', '@mlightcad', 'libredwg-web');
  const {LibreDwg, Dwg_File_Type} =
      await import(pathToFileURL(path.join(packageFolder, 'dist', 'libredwg-web.js')).href);
  const libredwg = await LibreDwg.create(path.join(packageFolder, 'wasm'));
  const bytes = fs.readFileSync(file);
  const data = libredwg.dwg_read_data(bytes, Dwg_File_Type.DWG);
  const version = libredwg.dwg_get_version_type(data).hdr;
  const db = libredwg.convert(data);
  libredwg.dwg_free(data);
  const blocks = {};
  const tables = [];
  let attributes = 0;
  for (const record of db.tables.BLOCK_RECORD.entries) {
    const counts = {};
    for (const e of record.entities || []) {
      counts[e.type] = (counts[e.type] || 0) + 1;
      if (e.type === 'ACAD_TABLE' && e.blockRecordHandle) {
        counts['ACAD_TABLE with a block'] = (counts['ACAD_TABLE with a block'] || 0) + 1;
        const block = db.tables.BLOCK_RECORD.entries.find(b => b.handle === e.blockRecordHandle);
        if (block) tables.push({block: block.name, at: [e.startPoint.x, e.startPoint.y]});
      }
      attributes += (e.attribs || []).length;
    }
    blocks[record.name] = counts;
  }
  return {
    version,
    layers: db.tables.LAYER.entries.map(l => ({name: l.name, color: l.colorIndex, on: !l.off, frozen: l.frozen})),
    layouts: db.objects.LAYOUT.map(l => l.layoutName),
    blocks,
    attributes,
    tables,
    extents: [db.header.EXTMIN, db.header.EXTMAX],
  };
}

if (output === '--one') {
  process.stdout.write(JSON.stringify(await describe(files[0])));
} else {
  const describeInProcess = file => new Promise((resolve, reject) => {
    const args = ['--liftoff-only', fileURLToPath(import.meta.url), reader, '--one', file];
    execFile(process.execPath, args, {maxBuffer: 1 << 26}, (error, text) => {
      if (error) reject(error);
      else resolve(JSON.parse(text.slice(text.indexOf('{'))));
    });
  });
  const described = await Promise.all(files.map(describeInProcess));
  const answers = {};
  files.forEach((file, i) => { answers[path.basename(file)] = described[i]; });
  fs.writeFileSync(output, JSON.stringify(answers, null, 1));
}
