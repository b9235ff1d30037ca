#include "graphics/averaged_stretch.h"

#include <stdlib.h>

#include <new>

#include "graphics/dib_format.h"

namespace {

// The column sums hold at most 255 x the source height.
const int kMostSourceRows = 0xFFFFFFFFu / 255;

int PixelIndex(const BYTE* row, int depth, int x)
{
    if (depth == 8)
        return row[x];
    if (depth == 4)
        return (x & 1) ? (row[x / 2] & 0x0f) : (row[x / 2] >> 4);
    return (row[x / 8] >> (7 - (x & 7))) & 1;
}

BYTE FiveBitsToEight(unsigned value)
{
    return static_cast<BYTE>((value << 3) | (value >> 2));
}

// sums[k] += pixels[k] x weight.
void AddWeighted(const BYTE* pixels, size_t count, uint32_t weight, uint32_t* sums)
{
    for (size_t k = 0; k < count; ++k)
        sums[k] += pixels[k] * weight;
}

}  // namespace

// ---------------------------------------------------------------------------

KAreaReducer::KAreaReducer()
    : m_started(false),
      m_sourceWidth(0),
      m_sourceHeight(0),
      m_width(0),
      m_height(0),
      m_rowsAdded(0),
      m_targetRow(0),
      m_targetRowEnd(0),
      m_stride(0)
{
}

bool KAreaReducer::Begin(int sourceWidth, int sourceHeight, int width, int height)
{
    m_started = false;
    if (width < 1 || height < 1 || width > sourceWidth || height > sourceHeight ||
        (width == sourceWidth && height == sourceHeight) || sourceHeight > kMostSourceRows)
        return false;
    m_sourceWidth = sourceWidth;
    m_sourceHeight = sourceHeight;
    m_width = width;
    m_height = height;
    m_rowsAdded = 0;
    m_targetRow = 0;
    m_targetRowEnd = sourceHeight;
    m_stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    try {
        m_columns.resize(static_cast<size_t>(sourceWidth));
        for (int i = 0; i < sourceWidth; ++i) {
            const int64_t start = static_cast<int64_t>(i) * width;
            const int target = static_cast<int>(start / sourceWidth);
            const int64_t boundary = static_cast<int64_t>(target + 1) * sourceWidth;
            const int64_t length = start + width <= boundary ? width : boundary - start;
            m_columns[static_cast<size_t>(i)] = ColumnShare{target, static_cast<uint32_t>(length)};
        }
        m_columnSums.assign(static_cast<size_t>(sourceWidth) * 3, 0);
        m_rowSums.assign(static_cast<size_t>(width) * 3, 0);
        m_out.assign(m_stride * static_cast<size_t>(height), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_started = true;
    return true;
}

void KAreaReducer::AddRow(const BYTE* pixels)
{
    if (!m_started || m_rowsAdded >= m_sourceHeight)
        return;
    // A target row is never shorter than a source row, so a source row
    // falls on one target row or on the end of one and the start of the
    // next.
    const int64_t rowStart = static_cast<int64_t>(m_rowsAdded) * m_height;
    const int64_t rowEnd = rowStart + m_height;
    const size_t values = m_columnSums.size();
    if (rowEnd <= m_targetRowEnd) {
        AddWeighted(pixels, values, static_cast<uint32_t>(m_height), m_columnSums.data());
        if (rowEnd == m_targetRowEnd)
            FinishTargetRow();
    } else {
        const uint32_t first = static_cast<uint32_t>(m_targetRowEnd - rowStart);
        AddWeighted(pixels, values, first, m_columnSums.data());
        FinishTargetRow();
        AddWeighted(pixels, values, static_cast<uint32_t>(m_height) - first, m_columnSums.data());
    }
    ++m_rowsAdded;
}

void KAreaReducer::FinishTargetRow()
{
    m_rowSums.assign(m_rowSums.size(), 0);
    const uint32_t* sums = m_columnSums.data();
    for (const ColumnShare& share : m_columns) {
        uint64_t* target = &m_rowSums[3 * static_cast<size_t>(share.target)];
        const uint32_t rest = static_cast<uint32_t>(m_width) - share.first;
        for (int c = 0; c < 3; ++c) {
            target[c] += static_cast<uint64_t>(sums[c]) * share.first;
            if (rest)
                target[3 + c] += static_cast<uint64_t>(sums[c]) * rest;
        }
        sums += 3;
    }
    const uint64_t total = static_cast<uint64_t>(m_sourceWidth) * static_cast<uint64_t>(m_sourceHeight);
    BYTE* out = m_out.data() + m_stride * static_cast<size_t>(m_targetRow);
    for (size_t k = 0; k < m_rowSums.size(); ++k)
        out[k] = static_cast<BYTE>((m_rowSums[k] + total / 2) / total);
    m_columnSums.assign(m_columnSums.size(), 0);
    ++m_targetRow;
    m_targetRowEnd += m_sourceHeight;
}

bool KAreaReducer::Finish(bool topDown, KReducedDib& reduced)
{
    if (!IsComplete())
        return false;
    BITMAPINFOHEADER& header = reduced.info.bmiHeader;
    header = MakeInfoHeader(m_width, topDown ? -m_height : m_height, 24);
    header.biSizeImage = static_cast<DWORD>(m_out.size());
    reduced.bits.swap(m_out);
    m_out.clear();
    m_started = false;
    return true;
}

// ---------------------------------------------------------------------------

bool KDibRowReader::Open(const BITMAPINFO* info)
{
    if (!info)
        return false;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biCompression != BI_RGB || header.biPlanes != 1 ||
        header.biWidth <= 0 || header.biHeight == 0)
        return false;
    const int depth = header.biBitCount;
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
        return false;
    m_bitsPerPixel = depth;
    m_width = header.biWidth;
    m_topDown = header.biHeight < 0;
    m_rows = m_topDown ? -header.biHeight : header.biHeight;
    m_stride = (static_cast<size_t>(depth) * static_cast<size_t>(m_width) + 31) / 32 * 4;
    if (depth <= 8) {
        const int most = 1 << depth;
        const int used = header.biClrUsed > 0 && header.biClrUsed < static_cast<DWORD>(most)
                             ? static_cast<int>(header.biClrUsed)
                             : most;
        const RGBQUAD* palette =
            reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(info) + header.biSize);
        for (int i = 0; i < 256; ++i) {
            const RGBQUAD colour = i < used ? palette[i] : RGBQUAD{0, 0, 0, 0};
            m_palette[i][0] = colour.rgbBlue;
            m_palette[i][1] = colour.rgbGreen;
            m_palette[i][2] = colour.rgbRed;
        }
    }
    try {
        m_expanded.resize(depth == 24 ? 0 : static_cast<size_t>(m_width) * 3);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

const BYTE* KDibRowReader::Expand(const BYTE* row, int left, int count)
{
    if (m_bitsPerPixel == 24)
        return row + static_cast<size_t>(left) * 3;
    BYTE* out = m_expanded.data();
    const int end = left + count;
    if (m_bitsPerPixel == 32) {
        for (int x = left; x < end; ++x, out += 3) {
            const BYTE* pixel = row + static_cast<size_t>(x) * 4;
            out[0] = pixel[0];
            out[1] = pixel[1];
            out[2] = pixel[2];
        }
    } else if (m_bitsPerPixel == 16) {
        for (int x = left; x < end; ++x, out += 3) {
            const unsigned value = row[2 * x] | (row[2 * x + 1] << 8);
            out[0] = FiveBitsToEight(value & 31);
            out[1] = FiveBitsToEight((value >> 5) & 31);
            out[2] = FiveBitsToEight((value >> 10) & 31);
        }
    } else if (m_bitsPerPixel == 8) {
        for (int x = left; x < end; ++x, out += 3) {
            const BYTE* colour = m_palette[row[x]];
            out[0] = colour[0];
            out[1] = colour[1];
            out[2] = colour[2];
        }
    } else {
        for (int x = left; x < end; ++x, out += 3) {
            const BYTE* colour = m_palette[PixelIndex(row, m_bitsPerPixel, x)];
            out[0] = colour[0];
            out[1] = colour[1];
            out[2] = colour[2];
        }
    }
    return m_expanded.data();
}

// ---------------------------------------------------------------------------

bool ReduceDibByArea(const BITMAPINFO* info, const void* bits, int sourceX, int sourceY, int sourceWidth,
                     int sourceHeight, int width, int height, KReducedDib& reduced)
{
    KDibRowReader reader;
    if (!bits || !reader.Open(info))
        return false;
    if (sourceX < 0 || sourceY < 0 || sourceWidth > reader.GetWidth() - sourceX ||
        sourceHeight > reader.GetRows() - sourceY)
        return false;
    KAreaReducer reducer;
    if (!reducer.Begin(sourceWidth, sourceHeight, width, height))
        return false;
    // StretchDIBits counts the source's y from the picture's bottom row,
    // whichever way its rows are stored.
    const int firstRow = reader.IsTopDown() ? reader.GetRows() - sourceY - sourceHeight : sourceY;
    const BYTE* row = static_cast<const BYTE*>(bits) + reader.GetStride() * static_cast<size_t>(firstRow);
    for (int j = 0; j < sourceHeight; ++j, row += reader.GetStride())
        reducer.AddRow(reader.Expand(row, sourceX, sourceWidth));
    return reducer.Finish(reader.IsTopDown(), reduced);
}

int StretchDibAveraged(HDC dc, int x, int y, int width, int height, int sourceX, int sourceY, int sourceWidth,
                       int sourceHeight, const void* bits, const BITMAPINFO* info)
{
    KReducedDib reduced;
    if (!ReduceDibByArea(info, bits, sourceX, sourceY, sourceWidth, sourceHeight, width, height, reduced))
        return StretchDIBits(dc, x, y, width, height, sourceX, sourceY, sourceWidth, sourceHeight, bits, info,
                             DIB_RGB_COLORS, SRCCOPY);
    return StretchDIBits(dc, x, y, width, height, 0, 0, width, height, reduced.bits.data(), &reduced.info,
                         DIB_RGB_COLORS, SRCCOPY);
}
