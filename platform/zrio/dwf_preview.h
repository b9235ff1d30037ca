// The thumbnail picture of a DWF 6 file: a "(DWF V06.00)" line followed by a
// ZIP package whose section descriptors name their thumbnail resources.
#pragma once
#include "platform/zrio/win32.h"
#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace zr {

// The first thumbnail of the package that can be read (PNG or BMP) as the
// bytes of a BMP file; false for older DWF files, which carry no package,
// and for packages without a readable thumbnail.
bool DwfPreview(const uint8_t* data, size_t size, std::vector<uint8_t>* bmp);

}  // namespace zr
