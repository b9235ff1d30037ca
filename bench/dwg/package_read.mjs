// LibreDWG's own read of DWG files (dwg_read_data and convert, the package's
// road to its database), timed in a Node process that the DWG benchmark
// keeps beside our worker and asks file after file, interleaved with our
// opens. Each read gets a LibreDWG instance made ready ahead of it the way
// our worker makes its own (libredwg_instance.mjs of the reader: new, or
// the last one put back as it was when new): the process, its compiled
// module and the instance are in the state our worker's are in when a file
// comes.
// Usage: node --expose-gc package_read.mjs READER_FOLDER
// A request on standard input is a line: a file's path, or an empty line
// for the process's start-up (from its start to a compiled module and a
// first instance). The answer goes to file descriptor 3 as one line of
// milliseconds ("nan" when LibreDWG could not read the file).
import fs from 'node:fs';
import path from 'node:path';
import readline from 'node:readline';
import {pathToFileURL} from 'node:url';

const kAnswer = 3;

const [reader] = process.argv.slice(2);
const {Dwg_File_Type} = await import(
    pathToFileURL(path.join(reader, 'node_modules', '@mlightcad', 'libredwg-web', 'dist', 'libredwg-web.js')).href);
const {compileLibreDwg, prepareLibreDwg} =
    await import(pathToFileURL(path.join(reader, 'libredwg_instance.mjs')).href);

const compiled = await compileLibreDwg();
let next = prepareLibreDwg(compiled);
await next;
const startup = performance.now();

function timedRead({libredwg}, bytes) {
  const start = performance.now();
  try {
    const data = libredwg.dwg_read_data(bytes, Dwg_File_Type.DWG);
    if (!data) return NaN;
    libredwg.convert(data);
    return performance.now() - start;
  } catch {
    return NaN;
  }
}

for await (const file of readline.createInterface({input: process.stdin})) {
  if (!file) {
    fs.writeSync(kAnswer, `${startup.toFixed(2)}\n`);
    continue;
  }
  const bytes = fs.readFileSync(file);
  const instance = await next;
  instance.taken = true;
  const ms = timedRead(instance, bytes);
  fs.writeSync(kAnswer, `${ms.toFixed(2)}\n`);
  next = prepareLibreDwg(compiled, Number.isNaN(ms) ? null : instance);
}
