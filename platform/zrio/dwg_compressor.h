// The LZ77 compression of DWG 2004 pages: literal runs and copies of
// earlier bytes, in the format's opcodes, ended by 0x11 0x00 0x00.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace zr {

// The compressed form of `size` bytes (at least four).
std::vector<uint8_t> CompressDwgPage(const uint8_t* data, size_t size);

}  // namespace zr
