#include "drawing/draw_thread/paper_pixels.h"

#include <algorithm>

namespace {

// A premultiplied channel over white: what the pixel leaves uncovered is
// the paper's.
BYTE OnWhite(uint32_t channel, uint32_t alpha)
{
    return (BYTE)std::min<uint32_t>(255, channel + 255 - alpha);
}

}  // namespace

bool LayOnPaper(const uint32_t* pixels, int width, int height, const CPixelTurn& turn, CPaperPixels* paper)
{
    if (pixels == NULL || width <= 0 || height <= 0)
        return false;
    paper->width = turn.columnsDown ? height : width;
    paper->height = turn.columnsDown ? width : height;
    size_t stride = ((size_t)paper->width * 3 + 3) & ~(size_t)3;
    paper->bits.assign(stride * (size_t)paper->height, 255);
    paper->shown.clear();
    paper->allShown = true;
    for (int row = 0; row < paper->height; ++row) {
        BYTE* out = &paper->bits[stride * (size_t)row];
        int runStart = -1;
        for (int column = 0; column <= paper->width; ++column) {
            uint32_t alpha = 0;
            if (column < paper->width) {
                int along = turn.columnsDown ? row : column;
                int across = turn.columnsDown ? column : row;
                int sourceColumn = turn.columnsBack ? width - 1 - along : along;
                int sourceRow = turn.rowsBack ? height - 1 - across : across;
                uint32_t p = pixels[(size_t)sourceRow * (size_t)width + (size_t)sourceColumn];
                alpha = p >> 24;
                out[3 * column] = OnWhite(p & 255, alpha);
                out[3 * column + 1] = OnWhite((p >> 8) & 255, alpha);
                out[3 * column + 2] = OnWhite((p >> 16) & 255, alpha);
            }
            if (alpha != 0 && runStart < 0) {
                runStart = column;
            } else if (alpha == 0 && runStart >= 0) {
                RECT run = {runStart, row, column, row + 1};
                paper->shown.push_back(run);
                runStart = -1;
            }
            if (alpha == 0 && column < paper->width)
                paper->allShown = false;
        }
    }
    return true;
}
