#include "platform/zrio/win32.h"
#include "platform/zrio/dwg_file_2004.h"

#include <string.h>

#include <algorithm>
#include <string>

#include "platform/zrio/dwg_compressor.h"

#include "platform/native/native_begin.h"
#include <zlib.h>
#include "platform/native/native_end.h"

namespace zr {

namespace {

const uint32_t kDataPage = 0x4163043B, kSectionMapPage = 0x4163003B, kPageMapPage = 0x41630E3B;
const uint32_t kCompressedPageSize = 0x7400;  // of a page's data before compression
const uint32_t kPageHeaderMask = 0x4164536B;  // with the page's file offset
const size_t kPageAlign = 0x20;
const size_t kFileHeaderSize = 0x100, kHeaderDataAt = 0x80, kHeaderDataSize = 0x6C;

void PutLe(std::vector<uint8_t>& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

void SetLe(std::vector<uint8_t>& out, size_t at, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + size_t(i)] = uint8_t(value >> (8 * i));
}

// The random sequence the file header's data is encrypted with, and pages
// are padded with: the high words of a linear congruential generator
// seeded with 1.
const std::vector<uint8_t>& MagicSequence() {
  static const std::vector<uint8_t> sequence = [] {
    std::vector<uint8_t> bytes(kPageAlign + kFileHeaderSize);
    uint32_t seed = 1;
    for (uint8_t& b : bytes) {
      seed = seed * 0x343FD + 0x269EC3;
      b = uint8_t(seed >> 16);
    }
    return bytes;
  }();
  return sequence;
}

size_t Aligned(size_t size) { return (size + kPageAlign - 1) / kPageAlign * kPageAlign; }

struct Section {
  const char* name;
  uint32_t id;
  std::vector<uint8_t> data;
  bool compressed = true;
  struct Page {
    uint32_t number, dataSize;
    uint64_t start;
  };
  std::vector<Page> pages;

  // Stored pages hold the whole section, in steps of 0x80 bytes.
  uint32_t pageSize() const {
    return compressed ? kCompressedPageSize : uint32_t(std::max<size_t>((data.size() + 0x7F) / 0x80, 1) * 0x80);
  }
};

std::vector<uint8_t> SummarySection(const DwgSave& save, const DwgFileParts& parts) {
  std::vector<uint8_t> out;
  auto text = [&](const std::string& utf8) {
    std::string bytes = save.encode(utf8);
    PutLe(out, bytes.size() + 1, 2);
    out.insert(out.end(), bytes.begin(), bytes.end());
    out.push_back(0);
  };
  for (int id : {1, 2, 3, 4, 5, 6, 7, 0}) {
    std::string value;
    for (const auto& p : parts.summary)
      if (p.first == id) value = p.second;
    text(value);
  }
  PutLe(out, 0, 8);  // total editing time
  for (int i = 0; i < 2; ++i) {  // creation and update dates
    PutLe(out, 2451545, 4);
    PutLe(out, 0, 4);
  }
  PutLe(out, parts.customSummary.size(), 2);
  for (const auto& custom : parts.customSummary) {
    text(custom.first);
    text(custom.second);
  }
  PutLe(out, 0, 8);
  return out;
}

// Which program wrote the file, in the form AutoCAD writes from 2004 on:
// UTF-16 texts, each after a 16-byte check of its data (left zero).
std::vector<uint8_t> AppInfoSection() {
  std::vector<uint8_t> out;
  auto text = [&](const char* ascii) {
    size_t n = strlen(ascii) + 1;
    PutLe(out, n, 2);
    for (size_t i = 0; i < n; ++i) PutLe(out, uint8_t(ascii[i]), 2);
  };
  PutLe(out, 3, 4);
  text("AppInfoDataList");
  PutLe(out, 3, 4);
  for (const char* value :
       {"1.0", "Harbeck drawing browser",
        "<ProductInformation name =\"Harbeck\" build_version=\"1.0\" registry_version=\"1.0\" "
        "install_id_string=\"Harbeck\" registry_localeID=\"2052\"/>"}) {
    out.insert(out.end(), 16, 0);
    text(value);
  }
  return out;
}

class File2004 {
 public:
  File2004(const DwgSave& save, const DwgFileParts& parts) : m_save(save), m_parts(parts) {}

  std::vector<uint8_t> run() {
    m_out.assign(kFileHeaderSize, 0);
    std::vector<Section> sections = contents();
    // The summary and the preview come first, where the file header finds
    // them; the preview's entries name where its parts stand in the file.
    size_t summaryAt = m_out.size() + kPageAlign;
    place(sections[0]);
    size_t previewAt = m_out.size() + kPageAlign;
    sections[1].data = Picture(m_parts.thumbnail, uint32_t(previewAt));
    for (Section& s : sections) {
      if (s.pages.empty()) place(s);
    }
    uint32_t sectionMapPage = systemPage(kSectionMapPage, sectionMap(sections));
    uint32_t pageMapPage = m_nextPage;
    size_t pageMapAt = m_out.size();
    pageMap(pageMapPage);
    fileHeader(sectionMapPage, pageMapPage, pageMapAt, summaryAt, previewAt);
    return std::move(m_out);
  }

 private:
  // The sections, the summary and the preview first; numbered from the
  // last down to 1 (0 is the empty section the map starts with).
  std::vector<Section> contents() {
    std::vector<uint8_t> objects;
    PutLe(objects, 0x0DCA, 4);
    objects.insert(objects.end(), m_save.objectData.begin(), m_save.objectData.end());
    std::vector<std::pair<uint64_t, uint32_t>> offsets = m_save.objectOffsets;
    std::sort(offsets.begin(), offsets.end());
    for (auto& o : offsets) o.second += 4;
    std::vector<uint8_t> revisions;
    for (uint32_t v : {0u, 0u, 1u, 0u}) PutLe(revisions, v, 4);
    std::vector<Section> s;
    s.push_back({"AcDb:SummaryInfo", 9, SummarySection(m_save, m_parts), false, {}});
    s.push_back({"AcDb:Preview", 10, {}, false, {}});
    s.push_back({"AcDb:AppInfo", 11, AppInfoSection(), false, {}});
    s.push_back({"AcDb:RevHistory", 8, revisions, true, {}});
    s.push_back({"AcDb:AcDbObjects", 7, std::move(objects), true, {}});
    s.push_back({"AcDb:ObjFreeSpace", 6, FreeSpace(offsets.size(), 0), true, {}});
    s.push_back({"AcDb:Template", 5, TemplateSection(m_parts.measurement), true, {}});
    s.push_back({"AcDb:Handles", 4, ObjectMap(offsets), true, {}});
    s.push_back({"AcDb:Classes", 3, m_parts.classes, true, {}});
    s.push_back({"AcDb:AuxHeader", 2, AuxiliaryHeader(m_save), true, {}});
    s.push_back({"AcDb:Header", 1, m_parts.header, true, {}});
    return s;
  }

  void pad(size_t to) {
    const std::vector<uint8_t>& magic = MagicSequence();
    for (size_t i = 0; m_out.size() < to; ++i) m_out.push_back(magic[i]);
  }

  // A section's pages at the end of the file, each compressed from a full
  // page of data (the last one filled up with zeros), or stored whole.
  void place(Section& s) {
    uint32_t size = s.pageSize();
    for (size_t at = 0; at == 0 || at < s.data.size(); at += size) {
      std::vector<uint8_t> chunk(s.data.begin() + std::ptrdiff_t(std::min(at, s.data.size())),
                                 s.data.begin() + std::ptrdiff_t(std::min(at + size, s.data.size())));
      chunk.resize(size, 0);
      std::vector<uint8_t> stored = s.compressed ? CompressDwgPage(chunk.data(), chunk.size()) : chunk;
      s.pages.push_back({m_nextPage, uint32_t(stored.size()), at});
      dataPage(s.id, stored, at);
    }
  }

  void dataPage(uint32_t section, const std::vector<uint8_t>& stored, uint64_t start) {
    size_t pageAt = m_out.size();
    size_t onDisk = Aligned(kPageAlign + stored.size());
    uint32_t dataChecksum = DwgPageChecksum(0, stored.data(), stored.size());
    std::vector<uint8_t> header;
    for (uint64_t v : {uint64_t(kDataPage), uint64_t(section), uint64_t(stored.size()), uint64_t(onDisk),
                       start & 0xFFFFFFFF, start >> 32, uint64_t(0), uint64_t(dataChecksum)})
      PutLe(header, v, 4);
    SetLe(header, 0x18, DwgPageChecksum(dataChecksum, header.data(), header.size()), 4);
    uint32_t mask = kPageHeaderMask ^ uint32_t(pageAt);
    for (size_t i = 0; i < header.size(); i += 4)
      for (int k = 0; k < 4; ++k) header[i + size_t(k)] ^= uint8_t(mask >> (8 * k));
    m_out.insert(m_out.end(), header.begin(), header.end());
    m_out.insert(m_out.end(), stored.begin(), stored.end());
    pad(pageAt + onDisk);
    m_pages.push_back({m_nextPage++, uint32_t(onDisk)});
  }

  // A page of the file's own maps: a plain header and compressed data.
  std::vector<uint8_t> systemPageBytes(uint32_t type, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> compressed = CompressDwgPage(data.data(), data.size());
    std::vector<uint8_t> page;
    for (uint32_t v : {type, uint32_t(data.size()), uint32_t(compressed.size()), 2u, 0u}) PutLe(page, v, 4);
    uint32_t checksum = DwgPageChecksum(DwgPageChecksum(0, page.data(), page.size()), compressed.data(),
                                        compressed.size());
    SetLe(page, 0x10, checksum, 4);
    page.insert(page.end(), compressed.begin(), compressed.end());
    return page;
  }

  uint32_t systemPage(uint32_t type, const std::vector<uint8_t>& data) {
    size_t pageAt = m_out.size();
    std::vector<uint8_t> page = systemPageBytes(type, data);
    m_out.insert(m_out.end(), page.begin(), page.end());
    pad(pageAt + Aligned(page.size()));
    m_pages.push_back({m_nextPage, uint32_t(Aligned(page.size()))});
    return m_nextPage++;
  }

  std::vector<uint8_t> sectionMap(const std::vector<Section>& sections) {
    std::vector<uint8_t> map;
    uint32_t count = uint32_t(sections.size() + 1);
    for (uint32_t v : {count, 2u, kCompressedPageSize, 0u, count}) PutLe(map, v, 4);
    auto description = [&](const char* name, uint32_t id, uint64_t size, const std::vector<Section::Page>& pages,
                           uint32_t pageSize, bool compressed) {
      PutLe(map, size, 8);
      for (uint32_t v : {uint32_t(pages.size()), pageSize, 1u, compressed ? 2u : 1u, id, 0u}) PutLe(map, v, 4);
      char field[64] = {};
      strncpy(field, name, sizeof field - 1);
      map.insert(map.end(), field, field + sizeof field);
      for (const Section::Page& p : pages) {
        PutLe(map, p.number, 4);
        PutLe(map, p.dataSize, 4);
        PutLe(map, p.start, 8);
      }
    };
    description("", 0, 0, {}, kCompressedPageSize, true);
    for (uint32_t id = uint32_t(sections.size()); id >= 1; --id)
      for (const Section& s : sections)
        if (s.id == id) description(s.name, s.id, s.data.size(), s.pages, s.pageSize(), s.compressed);
    return map;
  }

  // The page map names every page with its size, itself included: its
  // size is taken until the map it makes fits in it.
  void pageMap(uint32_t number) {
    size_t pageAt = m_out.size();
    size_t declared = 0;
    std::vector<uint8_t> page;
    for (;;) {
      std::vector<uint8_t> map;
      for (const auto& p : m_pages) {
        PutLe(map, p.first, 4);
        PutLe(map, p.second, 4);
      }
      PutLe(map, number, 4);
      PutLe(map, declared, 4);
      page = systemPageBytes(kPageMapPage, map);
      if (Aligned(page.size()) <= declared) break;
      declared = Aligned(page.size());
    }
    m_out.insert(m_out.end(), page.begin(), page.end());
    pad(pageAt + declared);
    m_pages.push_back({number, uint32_t(declared)});
    m_nextPage = number + 1;
  }

  void fileHeader(uint32_t sectionMapPage, uint32_t pageMapPage, size_t pageMapAt, size_t summaryAt,
                  size_t previewAt) {
    memcpy(m_out.data(), "AC1018", 6);
    m_out[0x0B] = 0;  // maintenance version
    m_out[0x0C] = 3;
    SetLe(m_out, 0x0D, previewAt, 4);
    m_out[0x11] = DwgVersionNumber(m_save);
    m_out[0x12] = 0;
    SetLe(m_out, 0x13, m_save.codePage, 2);
    SetLe(m_out, 0x18, 0, 4);  // no encryption
    SetLe(m_out, 0x20, summaryAt, 4);
    SetLe(m_out, 0x24, 0, 4);  // no VBA project
    SetLe(m_out, 0x28, 0x80, 4);
    size_t secondAt = m_out.size();
    std::vector<uint8_t> data;
    const char id[12] = "AcFssFcAJMB";
    data.insert(data.end(), id, id + sizeof id);
    for (uint32_t v : {0u, uint32_t(kHeaderDataSize), 4u, 0u, 0u, 0u, 1u, pageMapPage}) PutLe(data, v, 4);
    PutLe(data, secondAt - kFileHeaderSize, 8);  // where the last page ends
    PutLe(data, secondAt, 8);
    for (uint32_t v : {0u, uint32_t(m_pages.size()), 0x20u, 0x80u, 0x40u, pageMapPage}) PutLe(data, v, 4);
    PutLe(data, pageMapAt - kFileHeaderSize, 8);
    for (uint32_t v : {sectionMapPage, pageMapPage, 0u, 0u}) PutLe(data, v, 4);
    SetLe(data, 0x68, uint32_t(crc32(0, data.data(), uInt(data.size()))), 4);
    const std::vector<uint8_t>& magic = MagicSequence();
    for (size_t i = 0; i < data.size(); ++i) data[i] ^= magic[i];
    memcpy(m_out.data() + kHeaderDataAt, data.data(), data.size());
    for (size_t i = kHeaderDataAt + kHeaderDataSize; i < kFileHeaderSize; ++i) m_out[i] = magic[i];
    m_out.insert(m_out.end(), data.begin(), data.end());
  }

  const DwgSave& m_save;
  const DwgFileParts& m_parts;
  std::vector<uint8_t> m_out;
  std::vector<std::pair<uint32_t, uint32_t>> m_pages;  // number, size in the file
  uint32_t m_nextPage = 1;
};

}  // namespace

uint32_t DwgPageChecksum(uint32_t seed, const uint8_t* data, size_t size) {
  uint32_t sum1 = seed & 0xFFFF, sum2 = seed >> 16;
  while (size > 0) {
    size_t chunk = std::min<size_t>(0x15B0, size);
    size -= chunk;
    for (size_t i = 0; i < chunk; ++i) {
      sum1 += *data++;
      sum2 += sum1;
    }
    sum1 %= 0xFFF1;
    sum2 %= 0xFFF1;
  }
  return sum2 << 16 | (sum1 & 0xFFFF);
}

std::vector<uint8_t> AssembleDwg2004File(const DwgSave& save, const DwgFileParts& parts) {
  return File2004(save, parts).run();
}

}  // namespace zr
