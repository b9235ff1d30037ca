#include "platform/zrio/win32.h"
#include "platform/zrio/zip_package.h"

#include <string.h>

#include "platform/base/byte_reader.h"

#include "platform/native/native_begin.h"
#include <zlib.h>
#include "platform/native/native_end.h"

namespace zr {

namespace {

const uint32_t kEndOfDirectory = 0x06054B50;
const uint32_t kDirectoryEntry = 0x02014B50;
const uint32_t kLocalHeader = 0x04034B50;
const size_t kEndRecordSize = 22;
const uint16_t kEncrypted = 1;

// Offset of the end-of-directory record: the last one, searched backwards
// over the longest possible archive comment.
bool FindEndRecord(const uint8_t* data, size_t size, size_t* at) {
  if (size < kEndRecordSize) return false;
  size_t lowest = size - kEndRecordSize > 0xFFFF ? size - kEndRecordSize - 0xFFFF : 0;
  for (size_t p = size - kEndRecordSize + 1; p-- > lowest;) {
    if (GetU32LE(data + p) == kEndOfDirectory) {
      *at = p;
      return true;
    }
  }
  return false;
}

bool Inflate(const uint8_t* packed, size_t packedSize, size_t size, std::vector<uint8_t>* out) {
  out->assign(size, 0);
  z_stream stream;
  memset(&stream, 0, sizeof(stream));
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
  stream.next_in = const_cast<Bytef*>(packed);
  stream.avail_in = uInt(packedSize);
  stream.next_out = out->data();
  stream.avail_out = uInt(size);
  int result = inflate(&stream, Z_FINISH);
  bool ok = result == Z_STREAM_END && stream.total_out == size;
  inflateEnd(&stream);
  return ok;
}

}  // namespace

std::string ZipNameKey(const std::string& name) {
  std::string key = name;
  for (char& c : key) {
    if (c == '\\') c = '/';
    else if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return key;
}

bool ZipPackage::open(const uint8_t* data, size_t size) {
  m_data = data;
  m_size = size;
  m_entries.clear();
  size_t end = 0;
  if (!FindEndRecord(data, size, &end)) return false;
  CByteReader record(data + end, size - end);
  record.Skip(10);  // signature, disk numbers, entries on this disk
  size_t count = record.U16LE();
  size_t length = record.U32LE();
  size_t offset = record.U32LE();
  if (!record.Ok() || length > end) return false;
  size_t directory = end - length;
  if (directory < offset) return false;
  m_shift = int64_t(directory - offset);
  return readDirectory(directory, length, count);
}

bool ZipPackage::readDirectory(size_t at, size_t length, size_t count) {
  CByteReader directory(m_data + at, length);
  for (size_t i = 0; i < count; ++i) {
    if (directory.U32LE() != kDirectoryEntry) return false;
    ZipEntry entry;
    directory.Skip(4);  // versions made by and needed
    entry.flags = directory.U16LE();
    entry.method = directory.U16LE();
    directory.Skip(4);  // time and date
    entry.crc = directory.U32LE();
    entry.packedSize = directory.U32LE();
    entry.size = directory.U32LE();
    size_t nameLength = directory.U16LE();
    size_t extraLength = directory.U16LE();
    size_t commentLength = directory.U16LE();
    directory.Skip(8);  // disk, internal and external attributes
    entry.localHeader = directory.U32LE();
    const uint8_t* name = directory.Span(nameLength);
    directory.Skip(extraLength + commentLength);
    if (!directory.Ok()) return false;
    entry.name.assign(reinterpret_cast<const char*>(name), nameLength);
    m_entries.push_back(entry);
  }
  return true;
}

const ZipEntry* ZipPackage::find(const std::string& name) const {
  std::string key = ZipNameKey(name);
  while (!key.empty() && key[0] == '/') key.erase(0, 1);
  for (const ZipEntry& entry : m_entries)
    if (ZipNameKey(entry.name) == key) return &entry;
  return nullptr;
}

// Start of the entry's packed bytes, checked to lie inside the data.
bool ZipPackage::entryData(const ZipEntry& entry, const uint8_t** data) const {
  uint64_t header = entry.localHeader + uint64_t(m_shift);
  CByteReader in(m_data, m_size);
  if (header > m_size || !in.Seek(size_t(header)) || in.U32LE() != kLocalHeader) return false;
  in.Skip(22);  // versions, flags, method, time, date, CRC and sizes
  size_t nameLength = in.U16LE();
  size_t extraLength = in.U16LE();
  in.Skip(nameLength + extraLength);
  const uint8_t* packed = in.Span(entry.packedSize);
  if (!packed) return false;
  *data = packed;
  return true;
}

bool ZipPackage::extract(const ZipEntry& entry, size_t maxSize, std::vector<uint8_t>* out) const {
  out->clear();
  if ((entry.flags & kEncrypted) || entry.size == 0 || entry.size > maxSize) return false;
  const uint8_t* packed = nullptr;
  if (!entryData(entry, &packed)) return false;
  bool ok = false;
  if (entry.method == 0 && entry.packedSize == entry.size) {
    out->assign(packed, packed + entry.size);
    ok = true;
  } else if (entry.method == 8) {
    ok = Inflate(packed, entry.packedSize, entry.size, out);
  }
  if (ok && uint32_t(crc32(0, out->data(), uInt(out->size()))) != entry.crc) ok = false;
  if (!ok) out->clear();
  return ok;
}

}  // namespace zr
