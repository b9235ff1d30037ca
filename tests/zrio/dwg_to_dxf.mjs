// Writes DWG files as DXF through LibreDWG's own DXF writer, for ezdxf to
// draw beside what the drawing library draws of each DWG: FOLDER/NAME.dxf
// for NAME.dwg. Each file is written by a process of its own, all at once.
// A file LibreDWG cannot write is left out and named.
// Usage: node dwg_to_dxf.mjs READER_FOLDER FOLDER FILE.dwg...
import {execFile} from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import {fileURLToPath, pathToFileURL} from 'node:url';

const [reader, folder, ...files] = process.argv.slice(2);

async function convert(file, output) {
  const packageFolder = path.join(reader, 'node_modules', '@mlightcad', 'libredwg-web');
  const {LibreDwg} = await import(pathToFileURL(path.join(packageFolder, 'dist', 'libredwg-web.js')).href);
  const libredwg = await LibreDwg.create(path.join(packageFolder, 'wasm'));
  const dxf = libredwg.dwg_write_dxf(fs.readFileSync(file));
  if (!dxf) throw new Error(`LibreDWG could not write ${file} as DXF`);
  fs.writeFileSync(output, dxf);
}

if (files.length === 1 && process.env.DWG_TO_DXF_OUTPUT) {
  try {
    await convert(files[0], process.env.DWG_TO_DXF_OUTPUT);
  } catch (error) {
    console.error(String(error));
    process.exit(1);
  }
  // The module's instance keeps the process alive.
  process.exit(0);
}
fs.mkdirSync(folder, {recursive: true});
const self = fileURLToPath(import.meta.url);
await Promise.all(files.map(file => new Promise(resolve => {
  const output = path.join(folder, path.basename(file, '.dwg') + '.dxf');
  const env = {...process.env, DWG_TO_DXF_OUTPUT: output};
  execFile(process.execPath, [self, reader, folder, file], {env, maxBuffer: 1 << 26}, error => {
    if (error) console.error(`left out: ${path.basename(file)} (LibreDWG could not write it as DXF)`);
    resolve();
  });
})));
