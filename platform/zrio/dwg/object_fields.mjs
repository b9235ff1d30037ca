// The fields of one of LibreDWG's objects, read straight from its
// instance's memory at the offsets LibreDWG gives for them: a number, a
// point or a reference read so costs next to nothing, where asking
// LibreDWG's field-by-name API costs some microseconds a field (a call into
// WebAssembly, and a JavaScript object made of the answer). Texts are asked
// of that API, which decodes them as the converter's texts are decoded.
// The caller names each field's type as LibreDWG keeps it.

// Offsets are a property of the compiled module, the same in every
// instance, so they are kept for the worker's life, by object type and
// field.
const offsets = new Map();  // 'type field' -> byte offset in the object's own data

export class ObjectFields {
  // `obj`: the object; valid() is false when LibreDWG holds no fields of it.
  constructor(libredwg, obj) {
    this.libredwg = libredwg;
    this.wasm = libredwg.wasmInstance;
    this.type = this.wasm.dwg_object_get_fixedtype(obj);
    this.tio = libredwg.dwg_object_to_object_tio(obj);
    this.memory = new DataView(this.wasm.HEAPU8.buffer);
  }

  valid() {
    return !!this.tio;
  }

  // The address of a field. The memory's view is made again when the
  // memory has grown (a text asked of LibreDWG may make it grow).
  at(field) {
    const key = this.type + ' ' + field;
    let offset = offsets.get(key);
    if (offset === undefined) {
      offset = this.libredwg.dwg_dynapi_entity_field_offset(this.tio, field);
      if (!Number.isInteger(offset) || offset < 0) throw new Error(`LibreDWG has no field ${field} of type ${this.type}`);
      offsets.set(key, offset);
    }
    if (this.memory.buffer !== this.wasm.HEAPU8.buffer) this.memory = new DataView(this.wasm.HEAPU8.buffer);
    return this.tio + offset;
  }

  // An unsigned char (RC, B).
  byte(field) {
    const at = this.at(field);
    return this.memory.getUint8(at);
  }

  // An unsigned short (BS).
  short(field) {
    const at = this.at(field);
    return this.memory.getUint16(at, true);
  }

  // A double (BD, RD).
  number(field) {
    const at = this.at(field);
    return this.memory.getFloat64(at, true);
  }

  // A point of two doubles (2RD), as {x, y}.
  point2(field) {
    const at = this.at(field);
    return {x: this.memory.getFloat64(at, true), y: this.memory.getFloat64(at + 8, true)};
  }

  // A point of three doubles (3BD), as {x, y, z}.
  point3(field) {
    const at = this.at(field);
    const m = this.memory;
    return {x: m.getFloat64(at, true), y: m.getFloat64(at + 8, true), z: m.getFloat64(at + 16, true)};
  }

  // The handle a reference (H) points at, as upper-case hexadecimal; ''
  // for no reference.
  reference(field) {
    const at = this.at(field);
    const ref = this.memory.getUint32(at, true);
    return ref ? this.libredwg.dwg_ref_get_id(ref) ?? '' : '';
  }

  // A text (T), decoded by LibreDWG's field API.
  text(field) {
    return this.libredwg.dwg_dynapi_entity_data(this.tio, field);
  }
}
