// The smooth reduction of pictures: thumbnails and reduced raster views.
// Wine's HALFTONE stretch picks one source pixel for each target pixel, so
// a fine pattern (a one-pixel checker, hatching, a scanned drawing) comes
// out black, white or moire. Here every target pixel is the mean of the
// source pixels it covers, each weighted by how much of it is covered.
#pragma once
#include <vector>

#include <windows.h>
#include <stdint.h>

// A 24-bit picture made by the reduction, ready for StretchDIBits.
struct KReducedDib {
    BITMAPINFO info;
    std::vector<BYTE> bits;

    size_t GetStride() const { return (static_cast<size_t>(info.bmiHeader.biWidth) * 3 + 3) / 4 * 4; }
};

// Averages a picture down one source row at a time, so that a decoder can
// hand its rows over as it makes them and the whole picture never exists.
// Integer sums only: the rows are first summed down each source column
// (weighted only where a source row falls on two target rows), and each
// finished target row is then summed across.
class KAreaReducer {
public:
    KAreaReducer();

    // Starts a reduction of sourceWidth x sourceHeight pixels to width x
    // height. False when it is not one (a side that is empty or grows, or
    // both sides kept), when the source is too large for the sums, or when
    // memory runs out.
    bool Begin(int sourceWidth, int sourceHeight, int width, int height);
    // The next source row: sourceWidth pixels of blue, green, red. Rows
    // past the last are ignored.
    void AddRow(const BYTE* pixels);
    bool IsComplete() const { return m_started && m_rowsAdded == m_sourceHeight; }
    // The reduced picture once every row was added, its rows in the order
    // they were added: topDown says whether that was from the top. False
    // before then.
    bool Finish(bool topDown, KReducedDib& reduced);

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

private:
    // Where a source column falls: on a common scale a source pixel is
    // `width` long and a target pixel `sourceWidth`; the source column
    // gives `first` of its length to target column `target` and the rest
    // to the next one.
    struct ColumnShare {
        int target;
        uint32_t first;
    };
    void FinishTargetRow();

    bool m_started;
    int m_sourceWidth, m_sourceHeight, m_width, m_height;
    int m_rowsAdded;
    // The target row being filled, and where it ends on the common scale
    // of the rows (a source row is m_height long, a target row
    // m_sourceHeight).
    int m_targetRow;
    int64_t m_targetRowEnd;
    std::vector<ColumnShare> m_columns;
    // The weighted sums down each source column (blue, green, red) of the
    // target row being filled.
    std::vector<uint32_t> m_columnSums;
    std::vector<uint64_t> m_rowSums;
    size_t m_stride;
    std::vector<BYTE> m_out;
};

// The stored rows of a DIB of 1, 4, 8 (palette), 16 (5-5-5), 24 or 32 bits
// a pixel (BI_RGB) as blue, green, red bytes.
class KDibRowReader {
public:
    // False for a DIB of another kind; `info` is read here only.
    bool Open(const BITMAPINFO* info);
    // Pixels left .. left + count - 1 of a stored row: the row itself for a
    // 24-bit DIB, else expanded into the reader's own buffer (valid until
    // the next call).
    const BYTE* Expand(const BYTE* row, int left, int count);

    int GetWidth() const { return m_width; }
    int GetRows() const { return m_rows; }
    bool IsTopDown() const { return m_topDown; }
    size_t GetStride() const { return m_stride; }

private:
    int m_bitsPerPixel = 0;
    int m_width = 0;
    int m_rows = 0;
    bool m_topDown = false;
    size_t m_stride = 0;
    // Blue, green, red of every palette index (black past the palette).
    BYTE m_palette[256][3] = {};
    std::vector<BYTE> m_expanded;
};

// The source rectangle (sourceX, sourceY, sourceWidth, sourceHeight, in the
// DIB's own coordinates as StretchDIBits takes them: y from the bottom row)
// averaged down to width x height. The rows keep the source's order
// (bottom-up or top-down).
// False, with `reduced` untouched, when the rectangle is not a reduction
// (an empty one, or one that grows in either direction), lies outside the
// DIB, when the DIB is compressed or of an unusual depth, or when memory
// runs out. Handles 1, 4, 8 (palette), 16 (5-5-5), 24 and 32 bits per pixel.
bool ReduceDibByArea(const BITMAPINFO* info, const void* bits, int sourceX, int sourceY, int sourceWidth,
                     int sourceHeight, int width, int height, KReducedDib& reduced);

// StretchDIBits (DIB_RGB_COLORS, SRCCOPY) for the HALFTONE mode: a
// reduction is averaged by ReduceDibByArea and copied; anything it cannot
// average is stretched by the device context's own stretch mode. Returns
// the number of rows drawn, as StretchDIBits does.
int StretchDibAveraged(HDC dc, int x, int y, int width, int height, int sourceX, int sourceY, int sourceWidth,
                       int sourceHeight, const void* bits, const BITMAPINFO* info);
