// LibreDWG's own read of a DWG file (dwg_read_data and convert, the package's
// road to its database), timed in a fresh Node process: the process's
// start-up up to a loaded package, the first read (LibreDWG's code then runs
// for the first time) and the fastest of three more reads of the same file
// in the same process (NaN when LibreDWG trips on the state an earlier read
// left).
// Usage: node package_read.mjs READER_FOLDER FILE.dwg
// Prints one line: startup_ms first_read_ms warm_read_ms
import fs from 'node:fs';
import path from 'node:path';
import {pathToFileURL} from 'node:url';

const kWarmReads = 3;

const [reader, file] = process.argv.slice(2);
const packageFolder = path.join(reader, 'node_modules', '@mlightcad', 'libredwg-web');
const {LibreDwg, Dwg_File_Type} =
    await import(pathToFileURL(path.join(packageFolder, 'dist', 'libredwg-web.js')).href);
const libredwg = await LibreDwg.create(path.join(packageFolder, 'wasm'));
const startup = performance.now();
const bytes = fs.readFileSync(file);

function timedRead() {
  const start = performance.now();
  try {
    const data = libredwg.dwg_read_data(bytes, Dwg_File_Type.DWG);
    libredwg.convert(data);
    libredwg.dwg_free(data);
    return performance.now() - start;
  } catch {
    return NaN;
  }
}

const first = timedRead();
let warm = Infinity;
for (let i = 0; i < kWarmReads; ++i) warm = Math.min(warm, timedRead());
process.stdout.write(`${startup.toFixed(1)} ${first.toFixed(1)} ${warm.toFixed(1)}\n`);
