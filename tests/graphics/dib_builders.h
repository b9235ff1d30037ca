// Packed DIBs built in memory for the graphics tests.
#pragma once
#include <windows.h>
#include <cstdint>
#include <vector>

namespace dibtest {

// A bottom-up 24-bit packed DIB; pixels are 0x00RRGGBB, listed from the
// top row down, left to right.
std::vector<BYTE> MakeDib24(int width, int height, const std::vector<uint32_t>& topDownPixels);

// A bottom-up packed DIB of 1, 4 or 8 bits with the given colour table
// (0x00RRGGBB) and pixel indexes from the top row down.
std::vector<BYTE> MakeIndexedDib(int width, int height, int bits,
                                 const std::vector<uint32_t>& table,
                                 const std::vector<int>& topDownIndexes);

// The 0x00RRGGBB colour of pixel (x, y), y counted from the top, of a
// bottom-up packed DIB of 1, 4, 8 or 24 bits with an info header.
uint32_t PixelAt(const void* dib, int x, int y);

// A movable global block holding the bytes.
HGLOBAL ToGlobal(const std::vector<BYTE>& bytes);

// A picture with many colours: smooth gradients with a little noise.
std::vector<uint32_t> PhotoPixels(int width, int height);

}  // namespace dibtest
