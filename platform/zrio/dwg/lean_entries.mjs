// The table entries and objects the lean conversion (lean_conversion.mjs)
// makes itself, in the converter's form, each with what the DXF writer
// (dxf_text.mjs) and the completion (raw_completion.mjs) take of it and
// nothing more. The converter asks LibreDWG for every field of these, by
// name, some microseconds a field: a viewport of some thirty fields cost
// more than a fifth of a millisecond. Here numbers, points and references
// are read from LibreDWG's memory (object_fields.mjs). An object LibreDWG
// holds no fields of (a damaged one) is left out.
import {kDimStyleVariablesWritten} from './dxf_text.mjs';
import {handleOf} from './libredwg_raw.mjs';
import {ObjectFields} from './object_fields.mjs';

// The handle of the object's owner (0 for none), through the module's own
// functions: the package's wrapper makes an object of every reference.
export function ownerOf(wasm, obj) {
  const tio = wasm.dwg_object_get_tio(obj);
  const ref = tio ? wasm.dwg_object_object_get_ownerhandle(tio) : 0;
  return ref ? wasm.dwg_ref_get_absref(ref) : 0;
}

// The object's fields, with its handle and its owner's, as the converter
// gives them; null when LibreDWG holds no fields of it.
function fieldsOf(libredwg, obj) {
  const fields = new ObjectFields(libredwg, obj);
  if (!fields.valid()) return null;
  fields.handle = handleOf(libredwg, obj);
  fields.ownerHandle = ownerOf(libredwg.wasmInstance, obj).toString(16).toUpperCase();
  return fields;
}

// The converter gives a registered application no handle.
function appIdEntry(f) {
  return {name: f.text('name'), standardFlag: f.byte('flag')};
}

function styleEntry(f) {
  return {
    handle: f.handle,
    ownerHandle: f.ownerHandle,
    name: f.text('name'),
    standardFlag: f.byte('flag'),
    fixedTextHeight: 0,
    widthFactor: f.number('width_factor'),
    obliqueAngle: f.number('oblique_angle'),
    textGenerationFlag: f.byte('generation'),
    lastHeight: f.number('last_height'),
    font: f.text('font_file'),
    bigFont: f.text('bigfont_file'),
  };
}

function viewportEntry(f) {
  return {
    handle: f.handle,
    ownerHandle: f.ownerHandle,
    name: f.text('name'),
    standardFlag: f.byte('flag'),
    lowerLeftCorner: f.point2('lower_left'),
    upperRightCorner: f.point2('upper_right'),
    center: f.point2('VIEWCTR'),
    viewDirectionFromTarget: f.point3('VIEWDIR'),
    viewTarget: f.point3('view_target'),
    viewHeight: f.number('VIEWSIZE'),
    aspectRatio: f.number('aspect_ratio'),
    viewTwistAngle: f.number('view_twist'),
  };
}

// The variables the writer writes, and no other.
function dimStyleEntry(f) {
  const entry = {handle: f.handle, ownerHandle: f.ownerHandle, name: f.text('name')};
  for (const name of kDimStyleVariablesWritten) entry[name] = f.number(name);
  return entry;
}

function layoutObject(f) {
  return {
    handle: f.handle,
    ownerHandle: f.ownerHandle,
    layoutName: f.text('layout_name'),
    controlFlag: f.short('layout_flags'),
    tabOrder: f.short('tab_order'),
    minLimit: f.point2('LIMMIN'),
    maxLimit: f.point2('LIMMAX'),
    insertionPoint: f.point3('INSBASE'),
    minExtent: f.point3('EXTMIN'),
    maxExtent: f.point3('EXTMAX'),
    elevation: f.number('ucs_elevation'),
    ucsOrigin: f.point3('UCSORG'),
    ucsXAxis: f.point3('UCSXDIR'),
    ucsYAxis: f.point3('UCSYDIR'),
    orthographicType: f.short('UCSORTHOVIEW'),
    paperSpaceTableId: f.reference('block_header'),
    viewportId: f.reference('active_viewport'),
  };
}

// Of a dictionary, the writer takes the root's handle only.
function dictionaryObject(f) {
  return {handle: f.handle, ownerHandle: f.ownerHandle};
}

// Where each kind made here goes in the converter's database, and its maker.
export const kLeanKinds = {
  APPID: {table: 'APPID', make: appIdEntry},
  STYLE: {table: 'STYLE', make: styleEntry},
  VPORT: {table: 'VPORT', make: viewportEntry},
  DIMSTYLE: {table: 'DIMSTYLE', make: dimStyleEntry},
  LAYOUT: {objects: 'LAYOUT', make: layoutObject},
  DICTIONARY: {objects: 'DICTIONARY', make: dictionaryObject},
};

// The entries of `objects` (of one kind) made by `make`, leaving out those
// LibreDWG holds no fields of.
export function leanEntries(libredwg, objects, make) {
  const entries = [];
  for (const obj of objects) {
    const fields = fieldsOf(libredwg, obj);
    if (fields) entries.push(make(fields));
  }
  return entries;
}
