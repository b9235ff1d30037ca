// The file around a DWG save's objects: the file header with its section
// locators, the header variables and classes sections, the objects, the
// object map, the second header, the free space, template and auxiliary
// header sections and the preview picture.
#pragma once
#include <stdint.h>

#include <vector>

#include "platform/zrio/dwg_save.h"

namespace zr {

struct DwgFileParts {
  std::vector<uint8_t> header, classes;  // framed sections
  std::vector<uint8_t> thumbnail;        // a BMP without its file header, or nothing
};

std::vector<uint8_t> AssembleDwgFile(const DwgSave& save, const DwgFileParts& parts);

// A section framed by its sentinels: size, data and CRC between them.
std::vector<uint8_t> FramedSection(const uint8_t* sentinel, const std::vector<uint8_t>& data);

extern const uint8_t kHeaderSentinel[16];
extern const uint8_t kClassesSentinel[16];

}  // namespace zr
