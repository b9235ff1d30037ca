// LibreDWG's own objects of a drawing it has read, beside what its
// converter makes of them (the package's DwgDatabase): the converter leaves
// out some kinds and some fields, which are read here through LibreDWG's
// field-by-name API. Handles are upper-case hexadecimal strings, as the
// converter gives them.
import {Dwg_Object_Type} from '@mlightcad/libredwg-web';

const kEntitySupertype = 0;
// How a colour of 2004 and later is given (the top byte of its RGB word):
// by layer, by block, as RGB, as a colour index.
const kByLayerMethod = 0xc0;
const kByBlockMethod = 0xc1;
const kRgbMethod = 0xc2;
const kIndexMethod = 0xc3;
// An entity's colour method of a true colour, as LibreDWG gives it (its RGB
// word may say so instead).
const kTrueColorMethod = 0xc3;
// A linetype index of drawings before 2018: by layer, by block.
const kLinetypeIndexByLayer = 32767;
const kLinetypeIndexByBlock = 32766;
// An entity's linetype flags: 1 by block, 2 continuous (0 by layer, 3 by
// handle).
const kLinetypeByBlock = 1;
const kLinetypeContinuous = 2;
// An entity's space: its owner is the paper space (1) or the model space (2).
const kInPaperSpace = 1;
const kInModelSpace = 2;

// Object types of LibreDWG's own numbering.
export const RawType = {
  ATTRIB: 2, BLOCK: 4, ENDBLK: 5, SEQEND: 6, VERTEX_2D: 10, VERTEX_3D: 11, VERTEX_MESH: 12,
  VERTEX_PFACE: 13, VERTEX_PFACE_FACE: 14, LTYPE_CONTROL: Dwg_Object_Type.DWG_TYPE_LTYPE_CONTROL,
  MLINESTYLE: Dwg_Object_Type.DWG_TYPE_MLINESTYLE,
  BLOCKVISIBILITYPARAMETER: Dwg_Object_Type.DWG_TYPE_BLOCKVISIBILITYPARAMETER,
};

// Text decoders by code page name (ANSI_936 and the like).
const kDecoderLabels = {
  ANSI_874: 'windows-874', ANSI_932: 'shift_jis', ANSI_936: 'gbk', ANSI_949: 'euc-kr', ANSI_950: 'big5',
};

function decoderFor(codePage) {
  const number = /^ANSI_(\d+)$/.exec(codePage || '');
  const label = kDecoderLabels[codePage] || (number && number[1].startsWith('125') ? 'windows-' + number[1] : 'windows-1252');
  try {
    return new TextDecoder(label);
  } catch {
    return new TextDecoder('windows-1252');
  }
}

function copyOf(bytes) {
  return bytes && bytes.length ? Buffer.from(bytes) : null;
}

// A colour of LibreDWG's (its index, RGB word and method) in the
// converter's form: an index (256 by layer, 0 by block) and a true colour
// where it has one. A colour index given in the RGB word wins over the
// index field, which LibreDWG leaves at 256 (by layer) for the colours of
// multiline styles.
export function colorOf(c) {
  if (!c) return {colorIndex: 256};
  const method = c.method || (c.rgb >>> 24);
  if (method === kByLayerMethod) return {colorIndex: 256};
  if (method === kByBlockMethod) return {colorIndex: 0};
  if (method === kIndexMethod) return {colorIndex: ((c.rgb >>> 24) === kIndexMethod && c.rgb & 0xff) || c.index};
  if (method === kRgbMethod) return {colorIndex: c.index, color: c.rgb & 0xffffff};
  return {colorIndex: c.index};
}

// An object's handle as the converter gives handles: upper-case
// hexadecimal ('' when LibreDWG has none).
export function handleOf(libredwg, obj) {
  const h = libredwg.dwg_obj_get_handle_value(obj);
  return h === null || h === undefined ? '' : h.toString(16).toUpperCase();
}

export class RawDrawing {
  // `version`: the drawing's version (AC1015 and the like). Drawings of
  // 2007 and later keep their texts in UTF-16, earlier ones in the code
  // page.
  constructor(libredwg, wasm, data, codePage, version) {
    this.libredwg = libredwg;
    this.wasm = wasm;
    this.data = data;
    this.version = version;
    this.unicode = version >= 'AC1021';
    this.decoder = decoderFor(codePage);
    this.objectCount = wasm.dwg_get_num_objects(data);
  }

  // The object of a handle, or 0.
  object(handle) {
    if (!handle || handle === '0') return 0;
    try {
      return this.libredwg.dwg_resolve_handle_silent(this.data, BigInt('0x' + handle)) || 0;
    } catch {
      return 0;
    }
  }

  handleOf(obj) {
    return handleOf(this.libredwg, obj);
  }

  // The module's own functions where they serve: called once an object,
  // the wrapper's cost counts.
  typeOf(obj) {
    return this.wasm.dwg_object_get_fixedtype(obj);
  }

  nameOf(obj) {
    return this.libredwg.dwg_object_get_dxfname(obj) || '';
  }

  // Every entity of the file with its type and owner, in the file's order.
  *entities() {
    for (let i = 0; i < this.objectCount; ++i) {
      const obj = this.wasm.dwg_get_object(this.data, i);
      if (!obj || !this.isEntity(obj)) continue;
      yield obj;
    }
  }

  // The objects of the file of the given types, by type, in the file's
  // order: one pass over the file, which may hold a million objects.
  objectsOfTypes(types) {
    const found = new Map(types.map(type => [type, []]));
    for (let i = 0; i < this.objectCount; ++i) {
      const obj = this.wasm.dwg_get_object(this.data, i);
      const list = obj ? found.get(this.typeOf(obj)) : undefined;
      if (list) list.push(obj);
    }
    return found;
  }

  // The handle of the object that owns a (non-entity) object.
  objectOwner(obj) {
    const ref = this.libredwg.dwg_object_object_get_ownerhandle_object(this.libredwg.dwg_object_to_object(obj));
    return ref && ref.absolute_ref ? Number(ref.absolute_ref).toString(16).toUpperCase() : '';
  }

  // The handles a table's control object lists, in its order.
  tableEntries(control) {
    return control ? this.references(this.number(control, 'entries'), this.number(control, 'num_entries')) : [];
  }

  // The handles of the `count` references of an array at `address`; none
  // for a count no file's objects can fill.
  references(address, count) {
    if (!address || count <= 0 || count > this.objectCount) return [];
    return this.libredwg.dwg_ptr_to_object_ref_ptr_array(address, count).map(ref => {
      const absolute = ref ? this.libredwg.dwg_ref_get_absref(ref) : null;
      return absolute ? Number(absolute).toString(16).toUpperCase() : '';
    });
  }

  // A dynamic block's visibility parameter: its name, the entities it
  // controls, and each state's name with the entities it shows.
  visibilityParameter(obj) {
    const kind = 'BLOCKVISIBILITYPARAMETER_state';
    const size = this.libredwg.dwg_dynapi_subclass_size(kind);
    const first = this.number(obj, 'states'), count = Math.min(this.number(obj, 'num_states'), this.objectCount);
    const states = [];
    for (let i = 0; first && i < count; ++i) {
      const field = name => this.libredwg.dwg_dynapi_subclass_value(first + i * size, kind, name);
      const number = name => {
        const v = field(name);
        return v && v.success ? Number(v.data) || 0 : 0;
      };
      states.push({name: this.textOf(field('name')), shown: this.references(number('blocks'), number('num_blocks'))});
    }
    return {handle: this.handleOf(obj), ownerHandle: this.objectOwner(obj), name: this.text(obj, 'blockvisi_name'),
            controlled: this.references(this.number(obj, 'blocks'), this.number(obj, 'num_blocks')), states};
  }

  // The lines of a multiline style: each one's offset, colour (in the
  // converter's form) and linetype, as a name ("ByLayer", "ByBlock") or the
  // handle of its record.
  mlineStyleLines(obj) {
    const count = this.number(obj, 'num_lines');
    const lines = count ? this.number(obj, 'lines') : 0;
    if (!lines) return [];
    const kind = 'MLINESTYLE_line';
    const size = this.libredwg.dwg_dynapi_subclass_size(kind);
    const field = (at, name) => {
      const v = this.libredwg.dwg_dynapi_subclass_value(at, kind, name);
      return v && v.success ? v.data : undefined;
    };
    const found = [];
    for (let i = 0; i < count; ++i) {
      const at = lines + i * size;
      found.push({offset: Number(field(at, 'offset')) || 0, ...colorOf(field(at, 'color')), ...this.mlineLinetype(at)});
    }
    return found;
  }

  // A multiline style line's linetype: from 2018 on a reference to its
  // record, before then an index into the linetype table (32767 by layer,
  // 32766 by block).
  mlineLinetype(at) {
    const kind = 'MLINESTYLE_line';
    if (this.version >= 'AC1032') {
      const v = this.libredwg.dwg_dynapi_subclass_value(at, kind, 'lt.ltype');
      const absolute = v && v.success && v.data ? this.libredwg.dwg_ref_get_absref(v.data) : null;
      return {linetypeHandle: absolute ? Number(absolute).toString(16).toUpperCase() : ''};
    }
    const offset = this.libredwg.dwg_dynapi_subclass_field_offset(kind, 'lt.index');
    const index = new DataView(this.wasm.HEAPU8.buffer).getInt16(at + offset, true);
    if (index === kLinetypeIndexByLayer) return {linetype: 'ByLayer'};
    if (index === kLinetypeIndexByBlock) return {linetype: 'ByBlock'};
    return {linetypeIndex: index};
  }

  // The block record that owns an entity; `spaces` holds the handles of
  // the model space and the paper space, which own entities that name no
  // owner of their own.
  ownerOf(obj, spaces) {
    const ent = this.libredwg.dwg_object_to_entity(obj);
    const mode = this.wasm.dwg_object_entity_get_entmode(ent);
    if (mode === kInModelSpace) return spaces.model;
    if (mode === kInPaperSpace) return spaces.paper;
    const ref = this.libredwg.dwg_object_entity_get_ownerhandle_object(ent);
    return ref && ref.absolute_ref ? Number(ref.absolute_ref).toString(16).toUpperCase() : '';
  }

  // The records that follow an entity: a polyline's vertices and faces, an
  // insert's attributes.
  subentities(obj) {
    return this.chain(this.wasm.get_first_owned_subentity(obj), s => this.wasm.get_next_owned_subentity(obj, s));
  }

  // The entities a block owns, in its drawing order.
  ownedEntities(block) {
    return this.chain(this.wasm.get_first_owned_entity(block), e => this.wasm.get_next_owned_entity(block, e));
  }

  // A chain of objects from `first` on; a damaged file's chain that comes
  // back to an object already met, or runs longer than the file has
  // objects, ends there.
  chain(first, next) {
    const found = [];
    const seen = new Set();
    for (let obj = first; obj && !seen.has(obj) && found.length < this.objectCount; obj = next(obj)) {
      seen.add(obj);
      found.push(obj);
    }
    return found;
  }

  // A field of an entity or object by LibreDWG's name; undefined when it
  // has none.
  value(obj, field) {
    const tio = this.tioOf(obj);
    const v = tio ? this.libredwg.dwg_dynapi_entity_value(tio, field) : null;
    return v && v.success ? v.data : undefined;
  }

  number(obj, field) {
    const v = this.value(obj, field);
    return typeof v === 'number' || typeof v === 'bigint' ? Number(v) : 0;
  }

  point(obj, field) {
    const v = this.value(obj, field);
    return v && typeof v === 'object' ? {x: v.x || 0, y: v.y || 0, z: v.z || 0} : {x: 0, y: 0, z: 0};
  }

  text(obj, field) {
    const tio = this.tioOf(obj);
    return this.textOf(tio ? this.libredwg.dwg_dynapi_entity_value(tio, field) : null);
  }

  // The text of a field's value as LibreDWG's field API gives it.
  textOf(v) {
    if (!v || !v.success) return '';
    if (!this.unicode && v.bin) return this.decoder.decode(Uint8Array.from(Object.values(v.bin)));
    return typeof v.data === 'string' ? v.data : '';
  }

  // The handle a reference field points at.
  reference(obj, field) {
    const ref = this.value(obj, field);
    const absolute = ref ? this.libredwg.dwg_ref_get_absref(ref) : null;
    return absolute ? Number(absolute).toString(16).toUpperCase() : '';
  }

  // The name of the block a reference field points at.
  blockName(obj, field) {
    return this.libredwg.dwg_entity_get_block_name(this.tioOf(obj), field) || '';
  }

  // `count` 16-bit integers stored in the entity from a field on.
  int16s(obj, field, count) {
    const tio = this.tioOf(obj);
    const at = tio + this.libredwg.dwg_dynapi_entity_field_offset(tio, field);
    const view = new DataView(this.wasm.HEAPU8.buffer);
    const values = [];
    for (let i = 0; i < count; ++i) values.push(view.getInt16(at + 2 * i, true));
    return values;
  }

  // A copy of `size` bytes of LibreDWG's memory.
  bytes(address, size) {
    const heap = this.wasm.HEAPU8;
    if (!address || size <= 0 || address + size > heap.length) return Buffer.alloc(0);
    return Buffer.from(heap.subarray(address, address + size));
  }

  // The zero-ended text LibreDWG keeps at an address, one byte a character.
  cString(address) {
    const heap = this.wasm.HEAPU8;
    if (!address || address >= heap.length) return '';
    let end = address;
    while (end < heap.length && heap[end]) ++end;
    return Buffer.from(heap.subarray(address, end)).toString('latin1');
  }

  // The proxy graphics an entity carries, or null.
  proxyGraphics(obj) {
    return copyOf(this.libredwg.dwg_entity_get_preview(obj));
  }

  // A proxy entity's own data, or null.
  proxyData(obj) {
    return copyOf(this.libredwg.dwg_entity_proxy_entity_get_entity_data(this.tioOf(obj)));
  }

  // The data of an OLE frame (OLE2FRAME, or OLEFRAME before 2000), or null.
  oleData(obj, ole2) {
    const tio = this.tioOf(obj);
    return copyOf(ole2 ? this.libredwg.dwg_entity_ole2frame_get_data(tio) : this.libredwg.dwg_entity_oleframe_get_data(tio));
  }

  isEntity(obj) {
    return this.wasm.dwg_object_get_supertype(obj) === kEntitySupertype;
  }

  // The groups every entity has, in the converter's form; `layers` and
  // `linetypes` name the table records by handle.
  common(obj, layers, linetypes) {
    const ent = this.libredwg.dwg_object_to_entity(obj);
    const layerRef = this.libredwg.dwg_object_entity_get_layer_object_ref(ent);
    const linetypeRef = this.libredwg.dwg_object_entity_get_ltype_object_ref(ent);
    const color = this.libredwg.dwg_object_entity_get_color_object(ent) || {index: 256};
    const hex = ref => (ref && ref.absolute_ref ? Number(ref.absolute_ref).toString(16).toUpperCase() : '');
    return {
      handle: this.handleOf(obj),
      layer: layers.get(hex(layerRef)) || '0',
      lineType: this.linetypeByFlags(obj) || linetypes.get(hex(linetypeRef)) || '',
      colorIndex: color.index,
      color: color.method === kTrueColorMethod || (color.rgb >>> 24) === kRgbMethod ? color.rgb & 0xffffff : undefined,
      lineweight: this.wasm.dwg_object_entity_get_line_weight(ent),
      isVisible: !this.wasm.dwg_object_entity_get_invisible(ent),
    };
  }

  // The linetype an entity names by its flags: "ByBlock", "Continuous", or
  // '' (by layer, or one named by handle).
  linetypeByFlags(obj) {
    const flags = this.wasm.dwg_object_entity_get_ltype_flags(this.libredwg.dwg_object_to_entity(obj));
    return flags === kLinetypeByBlock ? 'ByBlock' : flags === kLinetypeContinuous ? 'Continuous' : '';
  }

  tioOf(obj) {
    if (!obj) return 0;
    return this.isEntity(obj) ? this.libredwg.dwg_object_to_entity_tio(obj) : this.libredwg.dwg_object_to_object_tio(obj);
  }
}
