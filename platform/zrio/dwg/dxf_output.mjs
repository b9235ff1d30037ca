// Where the drawing writer (dxf_text.mjs) puts its groups: DXF text, or
// binary DXF with the same groups and values, which the library reads
// without turning text back into numbers.
//
// Both write each value as the DXF text would hold it: a number as the
// shortest text that reads back as the same number, an integer group's
// value cut to a whole number, a text as printable ASCII. The binary form
// holds that value in its group code's type (16-bit code, little-endian
// doubles and integers, zero-ended strings, chunks of bytes); where the
// type cannot hold the text's value exactly (a number too large for its
// code, a fraction in an integer group, a zero byte or a line break in a
// name), the binary output is `unfit` and the drawing goes as text.

const kDegrees = 180 / Math.PI;

export function finite(value) {
  return typeof value === 'number' && Number.isFinite(value) ? value : 0;
}

function isZeroVector(v) {
  return !v || (finite(v.x) === 0 && finite(v.y) === 0 && finite(v.z) === 0);
}

// Text as printable ASCII: other characters as \U+XXXX, line breaks as the
// given replacement, other control characters as blanks.
export function escapeText(text, lineBreak) {
  const s = typeof text === 'string' ? text : (text === undefined || text === null ? '' : String(text));
  if (/^[\x20-\x7e]*$/.test(s)) return s;
  let out = '';
  for (let i = 0; i < s.length; ++i) {
    const c = s.charCodeAt(i);
    if (c >= 0x20 && c <= 0x7e) {
      out += s[i];
    } else if (c === 0x0a) {
      out += lineBreak;
    } else if (c < 0x20 || c === 0x7f) {
      if (c !== 0x0d) out += ' ';
    } else if (c >= 0xd800 && c <= 0xdfff) {
      out += '?';  // outside the 16-bit range an escape can name
      if (c <= 0xdbff && i + 1 < s.length) ++i;
    } else {
      out += '\\U+' + c.toString(16).toUpperCase().padStart(4, '0');
    }
  }
  return out;
}

// The output is written straight into a growing buffer, one byte a
// character (the texts are printable ASCII but for names a drawing gives,
// which keep the low byte of each character). The buffer is kept from one
// drawing to the next: fresh memory costs the system a page fault for every
// 4 KB first written, which took longer than writing the drawing. One grown
// past kKeptBytes for a very large drawing is not kept for the next.
const kFirstBytes = 4 << 20;
const kKeptBytes = 64 << 20;
let keptBytes = null;

// The groups of one drawing, whatever their form; `put` writes a group's
// value as its text would stand.
class DxfOutput {
  constructor() {
    if (!keptBytes || keptBytes.length > kKeptBytes) keptBytes = Buffer.alloc(kFirstBytes);
    this.bytes = keptBytes;
    this.length = 0;
    this.skipped = {};
  }

  group(code, value) {
    this.put(code, value);
  }
  number(code, value) {
    this.put(code, finite(value));
  }
  integer(code, value) {
    this.put(code, Math.trunc(finite(value)));
  }
  text(code, value) {
    this.put(code, escapeText(value, ' '));
  }
  // MTEXT contents: line breaks as paragraph breaks (or as `lineBreak`).
  mtext(code, value, lineBreak = '\\P') {
    this.put(code, escapeText(value, lineBreak));
  }
  handle(code, value) {
    if (!value || value === '0') return;
    this.put(code, String(value).toUpperCase());
  }
  point(code, p, withZ = true) {
    this.number(code, p ? p.x : 0);
    this.number(code + 10, p ? p.y : 0);
    if (withZ) this.number(code + 20, p && p.z !== undefined ? p.z : 0);
  }
  angle(code, radians) {
    this.number(code, finite(radians) * kDegrees);
  }
  extrusion(v) {
    if (isZeroVector(v) || (finite(v.x) === 0 && finite(v.y) === 0 && finite(v.z) === 1)) return;
    this.point(210, v);
  }
  skip(type) {
    this.skipped[type] = (this.skipped[type] || 0) + 1;
  }
  // The output written, as bytes.
  result() {
    return this.bytes.subarray(0, this.length);
  }

  // Room for `n` more bytes.
  reserve(n) {
    if (this.length + n <= this.bytes.length) return;
    let size = this.bytes.length * 2;
    while (size < this.length + n) size *= 2;
    const grown = Buffer.alloc(size);
    this.bytes.copy(grown, 0, 0, this.length);
    this.bytes = keptBytes = grown;
  }
  // The characters of `s` from `at` on, one byte each.
  characters(s, at) {
    const b = this.bytes;
    for (let i = 0, n = s.length; i < n; ++i) b[at++] = s.charCodeAt(i);
    return at;
  }
}

export class DxfText extends DxfOutput {
  put(code, value) {
    this.code(code);
    this.line(String(value));
  }
  // Binary data as hexadecimal digits.
  chunk(code, bytes) {
    this.put(code, bytes.toString('hex').toUpperCase());
  }

  // A group code: a small non-negative integer.
  code(code) {
    this.reserve(8);
    const b = this.bytes;
    let at = this.length;
    if (code >= 1000) b[at++] = 48 + Math.trunc(code / 1000) % 10;
    if (code >= 100) b[at++] = 48 + Math.trunc(code / 100) % 10;
    if (code >= 10) b[at++] = 48 + Math.trunc(code / 10) % 10;
    b[at++] = 48 + code % 10;
    b[at++] = 10;
    this.length = at;
  }
  line(s) {
    this.reserve(s.length + 1);
    const at = this.characters(s, this.length);
    this.bytes[at] = 10;
    this.length = at + 1;
  }
}

// The value types of group codes, as binary DXF holds them.
const kString = 0, kDouble = 1, kInt16 = 2, kInt32 = 3, kInt64 = 4, kBool = 5, kChunk = 6;
const kLastCode = 1071;

function typeOfCode(code) {
  const within = (lo, hi) => code >= lo && code <= hi;
  if (within(10, 59) || within(110, 149) || within(210, 239) || within(460, 469) || within(1010, 1059)) return kDouble;
  if (within(60, 79) || within(170, 179) || within(270, 289) || within(370, 389) || within(400, 409) ||
      within(1060, 1070))
    return kInt16;
  if (within(90, 99) || within(420, 429) || within(440, 459) || code === 1071) return kInt32;
  if (within(160, 169)) return kInt64;
  if (within(290, 299)) return kBool;
  if (within(310, 319) || code === 1004) return kChunk;
  return kString;
}

const kCodeTypes = Uint8Array.from({length: kLastCode + 1}, (_, code) => typeOfCode(code));
// The whole numbers each integer type holds.
const kIntegerRanges = {
  [kInt16]: [-0x8000, 0x7fff], [kInt32]: [-0x80000000, 0x7fffffff],
  [kInt64]: [Number.MIN_SAFE_INTEGER, Number.MAX_SAFE_INTEGER], [kBool]: [0, 0xff],
};
// A chunk of binary data holds at most this many bytes.
const kLargestChunk = 0xff;
const kSentinel = Buffer.from('AutoCAD Binary DXF\r\n\x1a\0', 'latin1');

export class DxfBinary extends DxfOutput {
  constructor() {
    super();
    this.unfit = false;
    this.doubles = new Float64Array(1);
    this.doubleBytes = new Uint8Array(this.doubles.buffer);
    this.reserve(kSentinel.length);
    kSentinel.copy(this.bytes, 0);
    this.length = kSentinel.length;
  }

  put(code, value) {
    const type = code >= 0 && code <= kLastCode ? kCodeTypes[code] : kString;
    if (type === kString) return this.string(code, typeof value === 'string' ? value : String(value));
    if (typeof value !== 'number' || !Number.isFinite(value)) return this.misfit();
    if (type === kDouble) return this.double(code, value);
    const range = kIntegerRanges[type];
    if (type === kChunk || !Number.isInteger(value) || value < range[0] || value > range[1]) return this.misfit();
    this.whole(code, type, value);
  }
  chunk(code, bytes) {
    if (bytes.length > kLargestChunk || kCodeTypes[code] !== kChunk) return this.misfit();
    this.code(code, 1 + bytes.length);
    this.bytes[this.length++] = bytes.length;
    this.bytes.set(bytes, this.length);
    this.length += bytes.length;
  }

  // A value the binary form cannot hold as its text stands: the output
  // goes unused, and the drawing is written as text instead.
  misfit() {
    this.unfit = true;
  }
  // The code of a group whose value takes `valueBytes`, with room for both.
  code(code, valueBytes) {
    this.reserve(2 + valueBytes);
    this.bytes[this.length] = code & 0xff;
    this.bytes[this.length + 1] = (code >> 8) & 0xff;
    this.length += 2;
  }
  string(code, s) {
    this.code(code, s.length + 1);
    const start = this.length;
    const end = this.characters(s, start);
    const b = this.bytes;
    // A text line cannot hold a line break, and a zero byte would end the
    // string early.
    for (let at = start; at < end; ++at) {
      if (b[at] <= 13 && (b[at] === 0 || b[at] === 10 || b[at] === 13)) this.unfit = true;
    }
    b[end] = 0;
    this.length = end + 1;
  }
  double(code, value) {
    this.code(code, 8);
    this.doubles[0] = value === 0 ? 0 : value;  // the text of -0 is "0"
    this.bytes.set(this.doubleBytes, this.length);
    this.length += 8;
  }
  whole(code, type, value) {
    const size = type === kInt16 ? 2 : type === kInt32 ? 4 : type === kBool ? 1 : 8;
    this.code(code, size);
    const b = this.bytes;
    let at = this.length;
    if (type === kInt64) {
      b.writeBigInt64LE(BigInt(value), at);
    } else {
      for (let i = 0, v = value; i < size; ++i, v >>= 8) b[at + i] = v & 0xff;
    }
    this.length = at + size;
  }
}
