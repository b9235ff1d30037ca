// LibreDWG's conversion of a drawing it has read to the package's database
// (libredwg.convert), asking LibreDWG only for what the DXF writer takes
// (dxf_text.mjs):
// - the header variables it writes. The converter asks its instance for
//   every header variable, some two hundred, each a call into WebAssembly;
// - of the extended records, those the root dictionary owns (where a
//   drawing keeps its summary properties, the only record the writer
//   takes). The converter reads every group of every record: on a drawing
//   with many of them, a third of its time or more;
// - no multileader style, layer filter, layer index or spatial filter: the
//   writer takes none. No multiline style either: the completion reads them
//   itself (raw_completion.mjs);
// - no registered application, text style, viewport, dimension style,
//   layout or dictionary: those the writer takes are made here instead, of
//   the fields it takes (lean_entries.mjs), which the converter reads with
//   every other field, by name, some microseconds a field. Of the
//   dictionaries the root one is made (the writer takes its handle), of
//   the others none. Layers and linetypes stay with the converter, whose
//   entity conversion names them;
// - no preview image, which the writer does not take either.
// While it converts, the instance answers the header variables left out as
// LibreDWG answers a field it does not have, without asking LibreDWG,
// answers that the drawing has no preview, and gives the objects left out
// a type the converter does not convert; the database then lacks them and
// the preview, and holds everything else the full conversion
// makes, but the fields of the entries made here that the writer does not
// take. (A converter that stopped asking through its instance would just
// convert in full.)
import {Dwg_Object_Type} from '@mlightcad/libredwg-web';

import {kHeaderVariablesWritten} from './dxf_text.mjs';
import {kLeanKinds, leanEntries, ownerOf} from './lean_entries.mjs';

// What LibreDWG answers for a field it does not have.
const kAbsent = Object.freeze({success: false, message: 'not asked for'});

const kUnwrittenTypes = new Set([
  Dwg_Object_Type.DWG_TYPE_MLEADERSTYLE, Dwg_Object_Type.DWG_TYPE_LAYERFILTER,
  Dwg_Object_Type.DWG_TYPE_LAYER_INDEX, Dwg_Object_Type.DWG_TYPE_SPATIAL_FILTER,
  Dwg_Object_Type.DWG_TYPE_MLINESTYLE,
]);
// The kinds made here (lean_entries.mjs), by type.
const kLeanTypes = new Map(Object.keys(kLeanKinds).map(kind => [Dwg_Object_Type['DWG_TYPE_' + kind], kind]));
// A type of no object, which the converter passes over.
const kNotConverted = -1;

// Which objects the converter is told of, and as what type: kNotConverted
// for what the writer does not take and for the kinds made here, whose
// objects are kept in `lean` (kind -> set) in the order the converter meets
// them, that of the file (it asks for every object's type in that order
// before it converts any). Of the dictionaries only the root one is kept.
// The converter asks for the type of every object four times or so, and
// each question is a call into WebAssembly: the answers are kept.
class ObjectFilter {
  constructor(libredwg, data) {
    this.wasm = libredwg.wasmInstance;
    this.data = data;
    this.lean = new Map(Object.keys(kLeanKinds).map(kind => [kind, new Set()]));
    this.typeOf = keptAnswers(obj => this.answerFor(obj));
  }

  answerFor(obj) {
    const type = this.wasm.dwg_object_get_fixedtype(obj);
    if (kUnwrittenTypes.has(type)) return kNotConverted;
    if (type === Dwg_Object_Type.DWG_TYPE_DICTIONARY) {
      if (ownerOf(this.wasm, obj) === 0) this.lean.get('DICTIONARY').add(obj);
      return kNotConverted;
    }
    if (kLeanTypes.has(type)) {
      this.lean.get(kLeanTypes.get(type)).add(obj);
      return kNotConverted;
    }
    if (type !== Dwg_Object_Type.DWG_TYPE_XRECORD) return type;
    return this.isOwnedByRoot(obj) ? type : kNotConverted;
  }

  // Whether the object's owner is the root dictionary.
  isOwnedByRoot(obj) {
    const owner = ownerOf(this.wasm, obj);
    const ownerObject = owner ? this.wasm.dwg_resolve_handle_silent(this.data, BigInt(owner)) : 0;
    return !!ownerObject && this.wasm.dwg_object_get_fixedtype(ownerObject) === Dwg_Object_Type.DWG_TYPE_DICTIONARY &&
           ownerOf(this.wasm, ownerObject) === 0;
  }
}

// `answer` for an object, asked once an object and kept.
function keptAnswers(answer) {
  const kept = new Map();
  return obj => {
    let found = kept.get(obj);
    if (found === undefined) {
      found = answer(obj);
      kept.set(obj, found);
    }
    return found;
  };
}

// What the converter is told, while it converts, in place of LibreDWG's
// own answers. An object's data is the same whenever the converter asks for
// it (twice for most), and each question is a call into WebAssembly. The
// writer does not take the drawing's preview image.
function answersWhileConverting(libredwg, filter) {
  const headerValue = libredwg.dwg_dynapi_header_value;
  const objectData = libredwg.dwg_object_to_object_tio;
  return {
    dwg_dynapi_header_value: (drawing, name) =>
      kHeaderVariablesWritten.has(name) ? headerValue.call(libredwg, drawing, name) : kAbsent,
    dwg_object_get_fixedtype: filter.typeOf,
    dwg_object_to_object_tio: keptAnswers(obj => objectData.call(libredwg, obj)),
    dwg_bmp: () => null,
  };
}

export function convertForHandOver(libredwg, data) {
  const filter = new ObjectFilter(libredwg, data);
  const answers = answersWhileConverting(libredwg, filter);
  const own = Object.fromEntries(Object.keys(answers).map(name => [name, libredwg[name]]));
  Object.assign(libredwg, answers);
  let database;
  try {
    database = libredwg.convert(data);
  } finally {
    Object.assign(libredwg, own);
  }
  for (const [kind, {table, objects, make}] of Object.entries(kLeanKinds)) {
    const entries = leanEntries(libredwg, filter.lean.get(kind), make);
    if (table) database.tables[table].entries = entries;
    else database.objects[objects] = entries;
  }
  return database;
}
