// The file of a DWG 2004 save: its sections cut into pages (compressed,
// but for the summary and the preview), the section map and the page map
// that find them, and the file header whose data is encrypted by a fixed
// random sequence, repeated at the end of the file.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "platform/zrio/dwg_save.h"
#include "platform/zrio/dwg_sections.h"

namespace zr {

std::vector<uint8_t> AssembleDwg2004File(const DwgSave& save, const DwgFileParts& parts);

// The checksum of the pages (two running sums modulo 65521, seeded).
uint32_t DwgPageChecksum(uint32_t seed, const uint8_t* data, size_t size);

}  // namespace zr
