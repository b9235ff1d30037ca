#include "platform/zrio/win32.h"
#include "platform/zrio/dwg_sections.h"

#include <string.h>

#include <algorithm>

#include "platform/zrio/dwg_bit_writer.h"
#include "platform/zrio/dxf_writer.h"

namespace zr {

const uint8_t kHeaderSentinel[16] = {0xCF, 0x7B, 0x1F, 0x23, 0xFD, 0xDE, 0x38, 0xA9,
                                     0x5F, 0x7C, 0x68, 0xB8, 0x4E, 0x6D, 0x33, 0x5F};
const uint8_t kClassesSentinel[16] = {0x8D, 0xA1, 0xC4, 0xB8, 0xC4, 0xA9, 0xF8, 0xC5,
                                      0xC0, 0xDC, 0xF4, 0x5F, 0xE7, 0xCF, 0xB6, 0x8A};

namespace {

const uint8_t kFileHeaderSentinel[16] = {0x95, 0xA0, 0x4E, 0x28, 0x99, 0x82, 0x1A, 0xE5,
                                         0x5E, 0x41, 0xE0, 0x5F, 0x9D, 0x3A, 0x4D, 0x00};
const uint8_t kPictureSentinel[16] = {0x1F, 0x25, 0x6D, 0x07, 0xD4, 0x36, 0x28, 0x28,
                                      0x9D, 0x57, 0xCA, 0x3F, 0x9D, 0x44, 0x10, 0x2B};
const uint8_t kSecondHeaderSentinel[16] = {0xD4, 0x7B, 0x21, 0xCE, 0x28, 0x93, 0x9F, 0xBF,
                                           0x53, 0x24, 0x40, 0x09, 0x12, 0x3C, 0xAA, 0x01};

// The closing sentinel of a section is the opening one with its bits turned.
void PutSentinel(std::vector<uint8_t>& out, const uint8_t* sentinel, bool closing) {
  for (int i = 0; i < 16; ++i) out.push_back(closing ? uint8_t(~sentinel[i]) : sentinel[i]);
}

void PutLe(std::vector<uint8_t>& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

void SetLe(std::vector<uint8_t>& out, size_t at, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + size_t(i)] = uint8_t(value >> (8 * i));
}

void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& more) {
  out.insert(out.end(), more.begin(), more.end());
}

// The word the file header holds at 0x11, repeated in the second header.
const uint16_t kHeaderWord = 0x19;

struct Locator {
  uint8_t number;
  uint32_t at, size;
};

std::vector<uint8_t> SecondHeader(const DwgSave& save, uint32_t at, const std::vector<Locator>& locators) {
  DwgBitWriter body;
  body.bl(at);
  const char* version = save.since2000() ? "AC1015" : "AC1014";
  body.raw(reinterpret_cast<const uint8_t*>(version), 6);
  for (int i = 0; i < 5; ++i) body.rc(0);
  body.rc(0);  // maintenance version
  body.rc(1);
  body.bs(kHeaderWord);
  body.rs(save.codePage);
  body.bs(uint16_t(locators.size()));
  for (const Locator& l : locators) {
    body.rc(l.number);
    body.bl(l.at);
    body.bl(l.size);
  }
  const uint64_t handles[14] = {save.handSeed, save.controls[kTableBlock], save.controls[kTableLayer],
                                save.controls[kTableStyle], save.controls[kTableLtype],
                                save.controls[kTableView], save.controls[kTableUcs],
                                save.controls[kTableVport], save.controls[kTableAppId],
                                save.controls[kTableDimStyle], save.controls[kTableVpEntHdr],
                                save.groupDictionary, save.mlineStyleDictionary, save.namedObjects};
  body.bs(14);
  for (int i = 0; i < 14; ++i) {
    uint8_t n = 0;
    for (uint64_t v = handles[i]; v; v >>= 8) ++n;
    body.rc(n);
    body.rc(uint8_t(i));
    for (int k = n - 1; k >= 0; --k) body.rc(uint8_t(handles[i] >> (8 * k)));
  }
  body.align();
  // The size counts itself, the body, the CRC and eight closing bytes.
  std::vector<uint8_t> out;
  PutSentinel(out, kSecondHeaderSentinel, false);
  PutLe(out, 4 + body.bytes().size() + 2 + 8, 4);
  Append(out, body.bytes());
  uint16_t crc = DwgCrc16(out.data() + 16, out.size() - 16, 0xC0C1);
  PutLe(out, crc, 2);
  PutLe(out, 0, 8);
  PutSentinel(out, kSecondHeaderSentinel, true);
  return out;
}

}  // namespace

// The object map: handles in rising order with their file offsets, as
// differences from the previous pair, in pieces of at most 2032 bytes.
std::vector<uint8_t> ObjectMap(const std::vector<std::pair<uint64_t, uint32_t>>& offsets) {
  std::vector<uint8_t> out;
  size_t i = 0;
  for (;;) {
    DwgBitWriter piece;
    uint64_t lastHandle = 0;
    int64_t lastOffset = 0;
    while (i < offsets.size() && piece.bytes().size() < 2020) {
      piece.mc(int64_t(offsets[i].first - lastHandle));
      piece.mc(int64_t(offsets[i].second) - lastOffset);
      lastHandle = offsets[i].first;
      lastOffset = int64_t(offsets[i].second);
      ++i;
    }
    size_t size = piece.bytes().size() + 2;
    std::vector<uint8_t> section = {uint8_t(size >> 8), uint8_t(size)};
    Append(section, piece.bytes());
    uint16_t crc = DwgCrc16(section.data(), section.size(), 0xC0C1);
    section.push_back(uint8_t(crc >> 8));
    section.push_back(uint8_t(crc));
    Append(out, section);
    if (size == 2) break;
  }
  return out;
}

// Free space section: object count, a date and the object section's span.
std::vector<uint8_t> FreeSpace(size_t objectCount, uint32_t objectsStart) {
  std::vector<uint8_t> out;
  PutLe(out, 0, 4);
  PutLe(out, objectCount, 4);
  PutLe(out, 2451545, 4);  // Julian day and milliseconds
  PutLe(out, 0, 4);
  PutLe(out, objectsStart, 4);
  out.push_back(4);
  const uint32_t values[4] = {0x32, 0x64, 0x200, 0xFFFFFFFF};
  for (uint32_t v : values) {
    PutLe(out, v, 4);
    PutLe(out, 0, 4);
  }
  return out;
}

std::vector<uint8_t> AuxiliaryHeader(const DwgSave& save) {
  std::vector<uint8_t> out = {0xFF, 0x77, 0x01};
  uint16_t version = DwgVersionNumber(save);
  PutLe(out, version, 2);
  PutLe(out, 0, 2);  // maintenance version
  PutLe(out, 1, 4);  // saves
  PutLe(out, 0xFFFFFFFF, 4);
  PutLe(out, 1, 2);
  PutLe(out, 0, 2);
  PutLe(out, 0, 4);
  for (int i = 0; i < 2; ++i) {
    PutLe(out, version, 2);
    PutLe(out, 0, 2);
  }
  const uint16_t fixed[] = {5, 0x893, 5, 0x893, 0, 1};
  for (uint16_t v : fixed) PutLe(out, v, 2);
  for (int i = 0; i < 5; ++i) PutLe(out, 0, 4);
  for (int i = 0; i < 2; ++i) {  // creation and update dates
    PutLe(out, 2451545, 4);
    PutLe(out, 0, 4);
  }
  PutLe(out, save.handSeed < 0x7FFFFFFF ? save.handSeed : 0xFFFFFFFF, 4);
  PutLe(out, 0, 4);  // plot stamp
  PutLe(out, 0, 2);
  PutLe(out, 1, 2);
  for (int i = 0; i < 3; ++i) PutLe(out, 0, 4);
  PutLe(out, 1, 4);
  for (int i = 0; i < 4; ++i) PutLe(out, 0, 4);
  return out;
}

// The preview picture: an empty header entry and the BMP.
std::vector<uint8_t> Picture(const std::vector<uint8_t>& bmp, uint32_t at) {
  std::vector<uint8_t> out;
  PutSentinel(out, kPictureSentinel, false);
  const uint32_t headerSize = 80;
  uint8_t count = bmp.empty() ? 0 : 2;
  uint32_t tableSize = 1 + 9u * count;
  PutLe(out, tableSize + (bmp.empty() ? 0 : headerSize + bmp.size()), 4);
  out.push_back(count);
  if (count) {
    uint32_t headerAt = at + 16 + 4 + tableSize;
    out.push_back(1);
    PutLe(out, headerAt, 4);
    PutLe(out, headerSize, 4);
    out.push_back(2);
    PutLe(out, headerAt + headerSize, 4);
    PutLe(out, bmp.size(), 4);
    out.insert(out.end(), headerSize, 0);
    Append(out, bmp);
  }
  PutSentinel(out, kPictureSentinel, true);
  return out;
}

// The template: no description, then the drawing's units.
std::vector<uint8_t> TemplateSection(uint16_t measurement) {
  std::vector<uint8_t> out;
  PutLe(out, 0, 2);
  PutLe(out, measurement, 2);
  return out;
}

uint8_t DwgVersionNumber(const DwgSave& save) {
  return save.since2004() ? 25 : save.since2000() ? 23 : 21;
}

std::vector<uint8_t> FramedSection(const uint8_t* sentinel, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> out;
  PutSentinel(out, sentinel, false);
  PutLe(out, data.size(), 4);
  Append(out, data);
  uint16_t crc = DwgCrc16(out.data() + 16, out.size() - 16, 0xC0C1);
  PutLe(out, crc, 2);
  PutSentinel(out, sentinel, true);
  return out;
}

std::vector<uint8_t> AssembleDwgFile(const DwgSave& save, const DwgFileParts& parts) {
  // 2000 adds the auxiliary header to the five sections of R14.
  const int kLocators = save.since2000() ? 6 : 5;
  const size_t kFileHeaderSize = 0x19 + 9 * kLocators + 2 + 16;
  std::vector<uint8_t> out(kFileHeaderSize, 0);
  std::vector<Locator> locators;
  auto place = [&](uint8_t number, const std::vector<uint8_t>& bytes) {
    locators.push_back({number, uint32_t(out.size()), uint32_t(bytes.size())});
    Append(out, bytes);
  };
  place(0, parts.header);
  place(1, parts.classes);
  uint32_t objectsStart = uint32_t(out.size());
  std::vector<std::pair<uint64_t, uint32_t>> offsets = save.objectOffsets;
  std::sort(offsets.begin(), offsets.end());
  for (auto& object : offsets) object.second += objectsStart;
  Append(out, save.objectData);
  place(2, ObjectMap(offsets));
  place(3, FreeSpace(offsets.size(), objectsStart));
  place(4, TemplateSection(parts.measurement));
  if (save.since2000()) place(5, AuxiliaryHeader(save));
  uint32_t pictureAt = uint32_t(out.size());
  Append(out, Picture(parts.thumbnail, pictureAt));
  Append(out, SecondHeader(save, uint32_t(out.size()), locators));

  // The file header, now that every section is placed.
  const char* version = save.since2000() ? "AC1015" : "AC1014";
  memcpy(out.data(), version, 6);
  out[0x0B] = 0;  // maintenance version
  out[0x0C] = 1;
  SetLe(out, 0x0D, pictureAt, 4);
  SetLe(out, 0x11, kHeaderWord, 2);
  SetLe(out, 0x13, save.codePage, 2);
  SetLe(out, 0x15, kLocators, 4);
  size_t at = 0x19;
  for (const Locator& l : locators) {
    out[at] = l.number;
    SetLe(out, at + 1, l.at, 4);
    SetLe(out, at + 5, l.size, 4);
    at += 9;
  }
  uint16_t crc = DwgCrc16(out.data(), at, 0) ^ (save.since2000() ? 0x8461 : 0x3CC4);
  SetLe(out, at, crc, 2);
  memcpy(out.data() + at + 2, kFileHeaderSentinel, 16);
  return out;
}

}  // namespace zr
