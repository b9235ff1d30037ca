#include "graphics/dib_export.h"

#include <cstdlib>
#include <cstring>

#include "graphics/dib.h"
#include "graphics/dib_format.h"

bool CopyPictureInto(const CDib* given, const CDib* own, CDib& target)
{
    const CDib* source = given ? given : own;
    if (!source)
        return false;
    HGLOBAL copy = CopyGlobalHandle(source->GetHandle());
    return copy && target.Attach(copy);
}

bool CopyPackedDibInto(const void* packedDib, DWORD size, CDib& target)
{
    if (!DibFitsIn(packedDib, size) || !DibIsInfoHeader(packedDib) ||
        static_cast<const BITMAPINFOHEADER*>(packedDib)->biCompression != BI_RGB)
        return false;
    HGLOBAL copy = CopyToGlobalHandle(packedDib, size);
    return copy && target.Attach(copy);
}

std::vector<BYTE> TopDownRows(const CDib& picture)
{
    std::vector<BYTE> rows;
    HGLOBAL handle = picture.GetHandle();
    const void* dib = handle ? GlobalLock(handle) : nullptr;
    if (!dib)
        return rows;
    const int bits = DibBitCount(dib);
    if (bits == 8 || bits == 24) {
        const int width = DibWidth(dib);
        const int height = std::abs(DibHeight(dib));
        const bool bottomUp = DibHeight(dib) > 0;
        const size_t rowBytes = static_cast<size_t>(width) * (bits / 8);
        const DWORD stride = DibAlignedImageSize(width, 1, bits);
        const BYTE* bits0 = DibBits(dib);
        rows.resize(rowBytes * height);
        for (int y = 0; y < height; ++y) {
            const int stored = bottomUp ? height - 1 - y : y;
            memcpy(&rows[rowBytes * y], bits0 + static_cast<size_t>(stride) * stored, rowBytes);
        }
    }
    GlobalUnlock(handle);
    return rows;
}
