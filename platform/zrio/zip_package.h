// Read-only access to a ZIP package held in memory: its directory and the
// bytes of one entry (stored or deflated), checked against the entry's CRC.
#pragma once
#include "platform/zrio/win32.h"
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

namespace zr {

struct ZipEntry {
  std::string name;
  uint16_t flags = 0;
  uint16_t method = 0;  // 0 stored, 8 deflated
  uint32_t crc = 0;
  uint32_t packedSize = 0;
  uint32_t size = 0;
  uint64_t localHeader = 0;  // offset of the entry's local header in the data
};

class ZipPackage {
 public:
  // Reads the central directory. The package may follow other bytes (a DWF
  // file starts with its version line); offsets are corrected for them.
  bool open(const uint8_t* data, size_t size);

  const std::vector<ZipEntry>& entries() const { return m_entries; }
  // The entry of that name, compared without case and with '\' and '/'
  // taken as the same; null when there is none.
  const ZipEntry* find(const std::string& name) const;
  // The entry's bytes; false when it is empty, encrypted, larger than
  // maxSize, damaged, or packed by a method other than store or deflate.
  bool extract(const ZipEntry& entry, size_t maxSize, std::vector<uint8_t>* out) const;

 private:
  bool readDirectory(size_t at, size_t length, size_t count);
  bool entryData(const ZipEntry& entry, const uint8_t** data) const;

  const uint8_t* m_data = nullptr;
  size_t m_size = 0;
  int64_t m_shift = 0;  // where offset 0 of the package lies in the data
  std::vector<ZipEntry> m_entries;
};

// Path comparison key: lower-case ASCII, '\' turned into '/'.
std::string ZipNameKey(const std::string& name);

}  // namespace zr
