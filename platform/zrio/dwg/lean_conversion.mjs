// LibreDWG's conversion of a drawing it has read to the package's database
// (libredwg.convert), asking LibreDWG only for the header and dimension
// style variables the DXF writer takes (dxf_text.mjs). The converter asks
// its instance for every header variable, some two hundred, and for every
// variable of every dimension style, each a call into WebAssembly: on a
// small drawing those calls are a fifth of the conversion's time. While it
// converts, the instance answers the variables the writer leaves out as
// LibreDWG answers a field it does not have, without asking LibreDWG; the
// database then lacks them and holds everything else the full conversion
// makes. (A converter that stopped asking through its instance would just
// convert in full.)
import {kDimStyleVariablesWritten, kHeaderVariablesWritten} from './dxf_text.mjs';

// The fields of a dimension style that are its variables: DIMSCALE and the
// like. Other objects' fields are named in lower case.
const kDimStyleVariable = /^DIM[A-Z0-9_]+$/;

// What LibreDWG answers for a field it does not have.
const kAbsent = Object.freeze({success: false, message: 'not asked for'});

export function convertForHandOver(libredwg, data) {
  const headerValue = libredwg.dwg_dynapi_header_value;
  const fieldValue = libredwg.dwg_dynapi_entity_value;
  libredwg.dwg_dynapi_header_value = (drawing, name) =>
    kHeaderVariablesWritten.has(name) ? headerValue.call(libredwg, drawing, name) : kAbsent;
  libredwg.dwg_dynapi_entity_value = (object, name) =>
    kDimStyleVariable.test(name) && !kDimStyleVariablesWritten.has(name) ? kAbsent
                                                                          : fieldValue.call(libredwg, object, name);
  try {
    return libredwg.convert(data);
  } finally {
    libredwg.dwg_dynapi_header_value = headerValue;
    libredwg.dwg_dynapi_entity_value = fieldValue;
  }
}
