#include "platform/zrio/win32.h"
#include "platform/zrio/zip_package.h"

#include <string.h>

#include "platform/zrio/little_endian.h"

#include "platform/native/native_begin.h"
#include <zlib.h>
#include "platform/native/native_end.h"

namespace zr {

namespace {

const uint32_t kEndOfDirectory = 0x06054B50;
const uint32_t kDirectoryEntry = 0x02014B50;
const uint32_t kLocalHeader = 0x04034B50;
const size_t kEndRecordSize = 22;
const size_t kDirectoryEntrySize = 46;
const size_t kLocalHeaderSize = 30;
const uint16_t kEncrypted = 1;

// Offset of the end-of-directory record: the last one, searched backwards
// over the longest possible archive comment.
bool FindEndRecord(const uint8_t* data, size_t size, size_t* at) {
  if (size < kEndRecordSize) return false;
  size_t lowest = size - kEndRecordSize > 0xFFFF ? size - kEndRecordSize - 0xFFFF : 0;
  for (size_t p = size - kEndRecordSize + 1; p-- > lowest;) {
    if (Le32(data + p) == kEndOfDirectory) {
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
  data_ = data;
  size_ = size;
  entries_.clear();
  size_t end = 0;
  if (!FindEndRecord(data, size, &end)) return false;
  const uint8_t* record = data + end;
  size_t count = Le16(record + 10);
  size_t length = Le32(record + 12);
  size_t offset = Le32(record + 16);
  if (length > end) return false;
  size_t directory = end - length;
  if (directory < offset) return false;
  shift_ = int64_t(directory - offset);
  return readDirectory(directory, length, count);
}

bool ZipPackage::readDirectory(size_t at, size_t length, size_t count) {
  size_t stop = at + length;
  for (size_t i = 0; i < count; ++i) {
    if (stop - at < kDirectoryEntrySize || Le32(data_ + at) != kDirectoryEntry) return false;
    const uint8_t* e = data_ + at;
    size_t variable = size_t(Le16(e + 28)) + Le16(e + 30) + Le16(e + 32);
    if (stop - at - kDirectoryEntrySize < variable) return false;
    ZipEntry entry;
    entry.flags = Le16(e + 8);
    entry.method = Le16(e + 10);
    entry.crc = Le32(e + 16);
    entry.packedSize = Le32(e + 20);
    entry.size = Le32(e + 24);
    entry.localHeader = Le32(e + 42);
    entry.name.assign(reinterpret_cast<const char*>(e + kDirectoryEntrySize), Le16(e + 28));
    entries_.push_back(entry);
    at += kDirectoryEntrySize + variable;
  }
  return true;
}

const ZipEntry* ZipPackage::find(const std::string& name) const {
  std::string key = ZipNameKey(name);
  while (!key.empty() && key[0] == '/') key.erase(0, 1);
  for (const ZipEntry& entry : entries_)
    if (ZipNameKey(entry.name) == key) return &entry;
  return nullptr;
}

// Start of the entry's packed bytes, checked to lie inside the data.
bool ZipPackage::entryData(const ZipEntry& entry, const uint8_t** data) const {
  uint64_t header = entry.localHeader + uint64_t(shift_);
  if (header > size_ || size_ - header < kLocalHeaderSize) return false;
  const uint8_t* h = data_ + header;
  if (Le32(h) != kLocalHeader) return false;
  uint64_t start = header + kLocalHeaderSize + Le16(h + 26) + Le16(h + 28);
  if (start > size_ || size_ - start < entry.packedSize) return false;
  *data = data_ + start;
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
