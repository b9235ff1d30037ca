// LibreDWG's conversion of a drawing it has read to the package's database
// (libredwg.convert), asking LibreDWG only for what the DXF writer takes
// (dxf_text.mjs):
// - the header and dimension style variables it writes. The converter asks
//   its instance for every header variable, some two hundred, and for every
//   variable of every dimension style, each a call into WebAssembly;
// - of the dictionaries, the root one (the writer takes its handle), and of
//   the extended records, those the root dictionary owns (where a drawing
//   keeps its summary properties, the only record the writer takes). The
//   converter reads every entry of every dictionary and every group of every
//   record: on a drawing with many of them, a third of its time or more;
// - no multileader style, layer filter, layer index or spatial filter: the
//   writer takes none.
// While it converts, the instance answers the variables left out as
// LibreDWG answers a field it does not have, without asking LibreDWG, and
// gives the objects left out a type the converter does not convert; the
// database then lacks them and holds everything else the full conversion
// makes. (A converter that stopped asking through its instance would just
// convert in full.)
import {Dwg_Object_Type} from '@mlightcad/libredwg-web';

import {kDimStyleVariablesWritten, kHeaderVariablesWritten} from './dxf_text.mjs';

// The fields of a dimension style that are its variables: DIMSCALE and the
// like. Other objects' fields are named in lower case.
const kDimStyleVariable = /^DIM[A-Z0-9_]+$/;

// What LibreDWG answers for a field it does not have.
const kAbsent = Object.freeze({success: false, message: 'not asked for'});

const kUnwrittenTypes = new Set([
  Dwg_Object_Type.DWG_TYPE_MLEADERSTYLE, Dwg_Object_Type.DWG_TYPE_LAYERFILTER,
  Dwg_Object_Type.DWG_TYPE_LAYER_INDEX, Dwg_Object_Type.DWG_TYPE_SPATIAL_FILTER,
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
// for what the writer does not take. The converter asks for the type of
// every object more than once; the answers for dictionaries and records,
// which take a look at their owners, are kept.
class ObjectFilter {
  constructor(libredwg, data) {
    this.wasm = libredwg.wasmInstance;
    this.data = data;
    this.kept = new Map();
  }

  typeOf(obj) {
    const type = this.wasm.dwg_object_get_fixedtype(obj);
    if (kUnwrittenTypes.has(type)) return kNotConverted;
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

export function convertForHandOver(libredwg, data) {
  const headerValue = libredwg.dwg_dynapi_header_value;
  const fieldValue = libredwg.dwg_dynapi_entity_value;
  const fixedType = libredwg.dwg_object_get_fixedtype;
  const filter = new ObjectFilter(libredwg, data);
  libredwg.dwg_dynapi_header_value = (drawing, name) =>
    kHeaderVariablesWritten.has(name) ? headerValue.call(libredwg, drawing, name) : kAbsent;
  libredwg.dwg_dynapi_entity_value = (object, name) =>
    kDimStyleVariable.test(name) && !kDimStyleVariablesWritten.has(name) ? kAbsent
                                                                          : fieldValue.call(libredwg, object, name);
  libredwg.dwg_object_get_fixedtype = obj => filter.typeOf(obj);
  try {
    return libredwg.convert(data);
  } finally {
    libredwg.dwg_dynapi_header_value = headerValue;
    libredwg.dwg_dynapi_entity_value = fieldValue;
    libredwg.dwg_object_get_fixedtype = fixedType;
  }
}
