// Packed DIBs built in memory for the graphics tests.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
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

namespace dibtest {

// The folder (Win32 path) where tests leave files for the outside readers
// of check_outputs.sh: <build>/tests/graphics/outputs/<program name>.
std::string ExportFolder();

// The folder of the files made by make_inputs.sh (Win32 path).
std::string InputFolder();

// Writes pixels (0x00RRGGBB, top row first) as raw red, green, blue bytes.
bool WriteRgbDump(const std::string& path, const std::vector<uint32_t>& pixels);

}  // namespace dibtest

class CDib;
class CGDIDevice;

namespace dibtest {

// Pixel (x, y from the top) of a picture or a memory device as 0x00RRGGBB.
uint32_t PixelOf(const CDib& dib, int x, int y);
uint32_t DevicePixel(const CGDIDevice& device, int x, int y);

}  // namespace dibtest
