// LibreDWG's own read of a DWG file (dwg_read_data and convert, the package's
// road to its database), timed in a fresh Node process as our worker reads
// it; also the process's start-up up to a loaded package, and a second read
// of the same file in the same process (the code then compiled; NaN when
// LibreDWG trips on the state the first read left).
// Usage: node --liftoff-only package_read.mjs READER_FOLDER FILE.dwg
// Prints one line: startup_ms first_read_ms second_read_ms
import fs from 'node:fs';
import path from 'node:path';
import {pathToFileURL} from 'node:url';

const [reader, file] = process.argv.slice(2);
const packageFolder = path.join(reader, 'node_modules', '@mlightcad', 'libredwg-web');
const {LibreDwg, Dwg_File_Type} =
    await import(pathToFileURL(path.join(packageFolder, 'dist', 'libredwg-web.js')).href);
const libredwg = await LibreDwg.create(path.join(packageFolder, 'wasm'));
const startup = performance.now();
const bytes = fs.readFileSync(file);
const times = [];
for (let i = 0; i < 2; ++i) {
  const start = performance.now();
  try {
    const data = libredwg.dwg_read_data(bytes, Dwg_File_Type.DWG);
    libredwg.convert(data);
    libredwg.dwg_free(data);
    times.push(performance.now() - start);
  } catch {
    times.push(NaN);  // LibreDWG trips on what the first read left behind
  }
}
process.stdout.write(`${startup.toFixed(1)} ${times[0].toFixed(1)} ${times[1].toFixed(1)}\n`);
