#include "graphics/averaged_stretch.h"

#include <stdint.h>
#include <stdlib.h>

#include <new>

namespace {

// Where the pixels of a DIB are and how to read them.
struct SourceFormat {
    int bitsPerPixel = 0;
    int width = 0;
    int rows = 0;
    bool topDown = false;
    size_t stride = 0;
    const RGBQUAD* palette = nullptr;
    int paletteSize = 0;
};

bool ReadFormat(const BITMAPINFO* info, SourceFormat& format)
{
    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biCompression != BI_RGB || header.biPlanes != 1 ||
        header.biWidth <= 0 || header.biHeight == 0)
        return false;
    const int depth = header.biBitCount;
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
        return false;
    format.bitsPerPixel = depth;
    format.width = header.biWidth;
    format.topDown = header.biHeight < 0;
    format.rows = format.topDown ? -header.biHeight : header.biHeight;
    format.stride = (static_cast<size_t>(depth) * static_cast<size_t>(format.width) + 31) / 32 * 4;
    if (depth <= 8) {
        const int most = 1 << depth;
        format.paletteSize = header.biClrUsed > 0 && header.biClrUsed < static_cast<DWORD>(most)
                                 ? static_cast<int>(header.biClrUsed)
                                 : most;
        format.palette = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(info) + header.biSize);
    }
    return true;
}

int PixelIndex(const BYTE* row, int depth, int x)
{
    if (depth == 8)
        return row[x];
    if (depth == 4)
        return (x & 1) ? (row[x / 2] & 0x0f) : (row[x / 2] >> 4);
    return (row[x / 8] >> (7 - (x & 7))) & 1;
}

// Pixels left .. left + count - 1 of a stored row as blue, green, red
// bytes: the row itself for 24-bit DIBs, else written into `scratch`.
const BYTE* ExpandRow(const SourceFormat& format, const BYTE* row, int left, int count, BYTE* scratch)
{
    if (format.bitsPerPixel == 24)
        return row + static_cast<size_t>(left) * 3;
    BYTE* out = scratch;
    for (int x = left; x < left + count; ++x, out += 3) {
        if (format.bitsPerPixel == 32) {
            const BYTE* pixel = row + static_cast<size_t>(x) * 4;
            out[0] = pixel[0];
            out[1] = pixel[1];
            out[2] = pixel[2];
        } else if (format.bitsPerPixel == 16) {
            const unsigned value = row[2 * x] | (row[2 * x + 1] << 8);
            const unsigned blue = value & 31, green = (value >> 5) & 31, red = (value >> 10) & 31;
            out[0] = static_cast<BYTE>((blue << 3) | (blue >> 2));
            out[1] = static_cast<BYTE>((green << 3) | (green >> 2));
            out[2] = static_cast<BYTE>((red << 3) | (red >> 2));
        } else {
            const int index = PixelIndex(row, format.bitsPerPixel, x);
            const RGBQUAD black = {0, 0, 0, 0};
            const RGBQUAD& colour = index < format.paletteSize ? format.palette[index] : black;
            out[0] = colour.rgbBlue;
            out[1] = colour.rgbGreen;
            out[2] = colour.rgbRed;
        }
    }
    return scratch;
}

// How one source pixel (column or row) falls on the smaller target. On a
// common scale a source pixel is `targetCount` long and a target pixel
// `sourceCount` long; the source pixel gives `first` of its length to
// target pixel `target` and the rest to the next one.
struct Share {
    int target;
    uint32_t first;
};

std::vector<Share> Shares(int sourceCount, int targetCount)
{
    std::vector<Share> shares(static_cast<size_t>(sourceCount));
    for (int i = 0; i < sourceCount; ++i) {
        const int64_t start = static_cast<int64_t>(i) * targetCount;
        const int target = static_cast<int>(start / sourceCount);
        const int64_t boundary = static_cast<int64_t>(target + 1) * sourceCount;
        const int64_t length = start + targetCount <= boundary ? targetCount : boundary - start;
        shares[static_cast<size_t>(i)] = Share{target, static_cast<uint32_t>(length)};
    }
    return shares;
}

// The weighted sums of one expanded row over the target columns.
void SumRow(const BYTE* pixels, const std::vector<Share>& columns, uint32_t targetWidth, uint32_t* sums)
{
    for (const Share& share : columns) {
        uint32_t* first = sums + 3 * share.target;
        const uint32_t rest = targetWidth - share.first;
        for (int c = 0; c < 3; ++c) {
            first[c] += pixels[c] * share.first;
            if (rest)
                first[3 + c] += pixels[c] * rest;
        }
        pixels += 3;
    }
}

// The source rectangle's rows are the stored rows firstRow onwards.
void Reduce(const SourceFormat& format, const BYTE* bits, int sourceX, int firstRow, int sourceWidth,
            int sourceHeight, int width, int height, KReducedDib& reduced)
{
    const std::vector<Share> columns = Shares(sourceWidth, width);
    const std::vector<Share> rows = Shares(sourceHeight, height);
    const size_t values = static_cast<size_t>(width) * 3;
    std::vector<BYTE> scratch(static_cast<size_t>(sourceWidth) * 3);
    std::vector<uint32_t> sums(values);
    // The target row being filled, and the one after it.
    std::vector<uint64_t> current(values), next(values);
    const size_t stride = (values + 3) / 4 * 4;
    std::vector<BYTE> out(stride * static_cast<size_t>(height));
    const uint64_t total = static_cast<uint64_t>(sourceWidth) * static_cast<uint64_t>(sourceHeight);

    int filling = 0;
    auto finishRow = [&]() {
        BYTE* target = out.data() + stride * static_cast<size_t>(filling);
        for (size_t k = 0; k < values; ++k)
            target[k] = static_cast<BYTE>((current[k] + total / 2) / total);
        current.swap(next);
        next.assign(values, 0);
    };
    for (int j = 0; j < sourceHeight; ++j) {
        const Share& share = rows[static_cast<size_t>(j)];
        if (share.target != filling) {
            finishRow();
            filling = share.target;
        }
        const BYTE* row = bits + format.stride * static_cast<size_t>(firstRow + j);
        sums.assign(values, 0);
        SumRow(ExpandRow(format, row, sourceX, sourceWidth, scratch.data()), columns, static_cast<uint32_t>(width),
               sums.data());
        const uint64_t rest = static_cast<uint64_t>(height) - share.first;
        for (size_t k = 0; k < values; ++k) {
            current[k] += static_cast<uint64_t>(sums[k]) * share.first;
            if (rest)
                next[k] += static_cast<uint64_t>(sums[k]) * rest;
        }
    }
    finishRow();

    BITMAPINFOHEADER& header = reduced.info.bmiHeader;
    header = BITMAPINFOHEADER{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = format.topDown ? -height : height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(out.size());
    reduced.bits.swap(out);
}

}  // namespace

bool ReduceDibByArea(const BITMAPINFO* info, const void* bits, int sourceX, int sourceY, int sourceWidth,
                     int sourceHeight, int width, int height, KReducedDib& reduced)
{
    SourceFormat format;
    if (!info || !bits || !ReadFormat(info, format))
        return false;
    if (width < 1 || height < 1 || width > sourceWidth || height > sourceHeight ||
        (width == sourceWidth && height == sourceHeight))
        return false;
    if (sourceX < 0 || sourceY < 0 || sourceWidth > format.width - sourceX || sourceHeight > format.rows - sourceY)
        return false;
    // StretchDIBits counts the source's y from the picture's bottom row,
    // whichever way its rows are stored.
    const int firstRow = format.topDown ? format.rows - sourceY - sourceHeight : sourceY;
    KReducedDib made;
    try {
        Reduce(format, static_cast<const BYTE*>(bits), sourceX, firstRow, sourceWidth, sourceHeight, width, height,
               made);
    } catch (const std::bad_alloc&) {
        return false;
    }
    reduced.info = made.info;
    reduced.bits.swap(made.bits);
    return true;
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
