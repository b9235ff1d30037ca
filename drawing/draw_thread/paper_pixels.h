// Pixels with their opacity, made ready for a printer, which takes opaque
// pixels only: each pixel laid on the white paper, the block turned and
// mirrored into the device's own column and row order, and the runs of
// pixels that show at all kept, so that a clip keeps the clear ones (and the
// ink under them) as they were.
#pragma once
#include <windows.h>

#include <stdint.h>

#include <vector>

// How the picture's columns and rows run on the device.
struct CPixelTurn {
    bool columnsDown = false;  // its columns follow the device's y, its rows the device's x
    bool columnsBack = false;  // its columns run towards smaller device coordinates
    bool rowsBack = false;     // its rows do
};

struct CPaperPixels {
    int width = 0;  // in the device's order
    int height = 0;
    std::vector<BYTE> bits;   // 24-bit, the top row first, each row padded to 4 bytes
    std::vector<RECT> shown;  // runs of pixels that show, each one row high, in pixels
    bool allShown = true;     // every pixel shows: no clip is needed
};

// Lays a block of premultiplied 0xAARRGGBB pixels (the top row first) on
// white paper; false when it is empty.
bool LayOnPaper(const uint32_t* pixels, int width, int height, const CPixelTurn& turn, CPaperPixels* paper);
