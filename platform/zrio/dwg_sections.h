// The file around a DWG save's objects: the file header with its section
// locators, the header variables and classes sections, the objects, the
// object map, the second header, the free space, template and auxiliary
// header sections and the preview picture. 2004 puts them in compressed
// pages (dwg_file_2004).
#pragma once
#include <stdint.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/zrio/dwg_save.h"

namespace zr {

struct DwgFileParts {
  std::vector<uint8_t> header, classes;  // framed sections
  std::vector<uint8_t> thumbnail;        // a BMP without its file header, or nothing
  uint16_t measurement = 0;              // 0 English, 1 metric units
  // The drawing's summary (2004 keeps it in a section of its own): the
  // properties by their number (1 title to 7 revision, 0 hyperlink base)
  // and the custom ones as name and value, in UTF-8.
  std::vector<std::pair<int, std::string>> summary;
  std::vector<std::pair<std::string, std::string>> customSummary;
};

// The file of version R14 or 2000.
std::vector<uint8_t> AssembleDwgFile(const DwgSave& save, const DwgFileParts& parts);

// The sections both layouts share. The object map's offsets are where
// each object starts, in rising order of their handles.
std::vector<uint8_t> ObjectMap(const std::vector<std::pair<uint64_t, uint32_t>>& offsets);
std::vector<uint8_t> FreeSpace(size_t objectCount, uint32_t objectsStart);
std::vector<uint8_t> AuxiliaryHeader(const DwgSave& save);
std::vector<uint8_t> TemplateSection(uint16_t measurement);
// The preview picture, to stand at file offset `at`.
std::vector<uint8_t> Picture(const std::vector<uint8_t>& bmp, uint32_t at);
// The version number the file header and the auxiliary header hold.
uint8_t DwgVersionNumber(const DwgSave& save);

// A section framed by its sentinels: size, data and CRC between them.
std::vector<uint8_t> FramedSection(const uint8_t* sentinel, const std::vector<uint8_t>& data);

extern const uint8_t kHeaderSentinel[16];
extern const uint8_t kClassesSentinel[16];

}  // namespace zr
