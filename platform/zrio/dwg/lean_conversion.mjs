// LibreDWG's conversion of a drawing it has read to the package's database
// (libredwg.convert), asking LibreDWG only for what the DXF writer takes
// (dxf_text.mjs):
// - the header variables it writes. The converter asks its instance for
//   every header variable, some two hundred, each a call into WebAssembly;
// - of the dictionaries, the root one (the writer takes its handle), and of
//   the extended records, those the root dictionary owns (where a drawing
//   keeps its summary properties, the only record the writer takes). The
//   converter reads every entry of every dictionary and every group of every
//   record: on a drawing with many of them, a third of its time or more;
// - no multileader style, layer filter, layer index or spatial filter: the
//   writer takes none. No multiline style either: the completion reads them
//   itself (raw_completion.mjs);
// - of a dimension style, its handle, name and the variables the writer
//   writes, read here: the converter asks for each of its hundred-odd
//   variables, which cost a tenth of a millisecond or more a style even
//   when answered without asking LibreDWG.
// While it converts, the instance answers the header variables left out as
// LibreDWG answers a field it does not have, without asking LibreDWG, and
// gives the objects left out a type the converter does not convert; the
// database then lacks them and holds everything else the full conversion
// makes, but the dimension styles' variables the writer does not take.
// (A converter that stopped asking through its instance would just convert
// in full.)
import {Dwg_Object_Type} from '@mlightcad/libredwg-web';

import {kDimStyleVariablesWritten, kHeaderVariablesWritten} from './dxf_text.mjs';
import {handleOf} from './libredwg_raw.mjs';

// What LibreDWG answers for a field it does not have.
const kAbsent = Object.freeze({success: false, message: 'not asked for'});

const kUnwrittenTypes = new Set([
  Dwg_Object_Type.DWG_TYPE_MLEADERSTYLE, Dwg_Object_Type.DWG_TYPE_LAYERFILTER,
  Dwg_Object_Type.DWG_TYPE_LAYER_INDEX, Dwg_Object_Type.DWG_TYPE_SPATIAL_FILTER,
  Dwg_Object_Type.DWG_TYPE_MLINESTYLE,
]);
// A type of no object, which the converter passes over.
const kNotConverted = -1;

// The handle of the object's owner (0 for none), through the module's own
// functions: the package's wrapper makes an object of every reference.
function ownerOf(wasm, obj) {
  const tio = wasm.dwg_object_get_tio(obj);
  const ref = tio ? wasm.dwg_object_object_get_ownerhandle(tio) : 0;
  return ref ? wasm.dwg_ref_get_absref(ref) : 0;
}

// Which objects the converter is told of, and as what type: kNotConverted
// for what the writer does not take and for the dimension styles, which are
// kept in `dimStyles` in the order the converter meets them. The converter
// asks for the type of every object more than once; the answers for
// dictionaries and records, which take a look at their owners, are kept.
class ObjectFilter {
  constructor(libredwg, data) {
    this.wasm = libredwg.wasmInstance;
    this.data = data;
    this.kept = new Map();
    this.dimStyles = new Set();
  }

  typeOf(obj) {
    const type = this.wasm.dwg_object_get_fixedtype(obj);
    if (kUnwrittenTypes.has(type)) return kNotConverted;
    if (type === Dwg_Object_Type.DWG_TYPE_DIMSTYLE) {
      this.dimStyles.add(obj);
      return kNotConverted;
    }
    if (type !== Dwg_Object_Type.DWG_TYPE_DICTIONARY && type !== Dwg_Object_Type.DWG_TYPE_XRECORD) return type;
    let answer = this.kept.get(obj);
    if (answer === undefined) {
      const written = type === Dwg_Object_Type.DWG_TYPE_DICTIONARY ? ownerOf(this.wasm, obj) === 0 : this.isOwnedByRoot(obj);
      answer = written ? type : kNotConverted;
      this.kept.set(obj, answer);
    }
    return answer;
  }

  // Whether the object's owner is the root dictionary: a dictionary owned
  // by nothing.
  isOwnedByRoot(obj) {
    const owner = ownerOf(this.wasm, obj);
    const ownerObject = owner ? this.wasm.dwg_resolve_handle_silent(this.data, BigInt(owner)) : 0;
    return !!ownerObject && this.wasm.dwg_object_get_fixedtype(ownerObject) === Dwg_Object_Type.DWG_TYPE_DICTIONARY &&
           ownerOf(this.wasm, ownerObject) === 0;
  }
}

// A dimension style's table entry as the converter makes it, with the
// variables the writer writes and no other: its handle, its owner's and its
// name; null for a style LibreDWG holds no fields of (a damaged object).
function dimStyleEntry(libredwg, obj) {
  const tio = libredwg.dwg_object_to_object_tio(obj);
  if (!tio) return null;
  const entry = {
    handle: handleOf(libredwg, obj),
    ownerHandle: ownerOf(libredwg.wasmInstance, obj).toString(16).toUpperCase(),
    name: libredwg.dwg_dynapi_entity_data(tio, 'name'),
  };
  for (const name of kDimStyleVariablesWritten) entry[name] = libredwg.dwg_dynapi_entity_data(tio, name);
  return entry;
}

export function convertForHandOver(libredwg, data) {
  const headerValue = libredwg.dwg_dynapi_header_value;
  const fixedType = libredwg.dwg_object_get_fixedtype;
  const filter = new ObjectFilter(libredwg, data);
  libredwg.dwg_dynapi_header_value = (drawing, name) =>
    kHeaderVariablesWritten.has(name) ? headerValue.call(libredwg, drawing, name) : kAbsent;
  libredwg.dwg_object_get_fixedtype = obj => filter.typeOf(obj);
  let database;
  try {
    database = libredwg.convert(data);
  } finally {
    libredwg.dwg_dynapi_header_value = headerValue;
    libredwg.dwg_object_get_fixedtype = fixedType;
  }
  database.tables.DIMSTYLE.entries = [...filter.dimStyles].map(obj => dimStyleEntry(libredwg, obj)).filter(Boolean);
  return database;
}
