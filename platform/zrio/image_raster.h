// An image's pixels resampled onto an output's grid of pixels: each output
// pixel whose centre lies in the part of the image shown takes the colour
// of the picture's pixel under that centre, with the image's brightness,
// contrast and fade and the output's colour mode applied; the others stay
// clear (alpha 0).
#pragma once
#include "platform/zrio/win32.h"
#include <stdint.h>

#include <vector>

#include "platform/zrio/entity_walker.h"

namespace zr {

// Output pixel (column c, row r counted from the top) has its centre at
// (c, height - r) in output coordinates, y upwards.
struct OutputGrid {
  Transform toOutput;  // world to output coordinates
  int width = 0, height = 0;
  COLORREF background = RGB(0, 0, 0);  // what a fade goes towards
  int colorMode = 0;                   // 0 colour, 1 grey, 2 black and white
};

struct OutputPixels {
  int left = 0, top = 0;  // column and row of the first pixel
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // premultiplied 0xAARRGGBB, the top row first
};

// The rows [top, bottom) of the output the image covers (clamped to the
// output); false when it covers none, or lies edge on.
bool ImageRows(const ImageRun& run, const OutputGrid& grid, int* top, int* bottom);

// The pixels of rows [top, bottom) the image covers; false when none.
bool ResampleImage(const ImageRun& run, const OutputGrid& grid, int top, int bottom, OutputPixels* out);

// A new top-down 32-bit DIB section holding the pixels; null when it cannot
// be made. The caller deletes it.
HBITMAP PixelSection(const OutputPixels& pixels);

}  // namespace zr
