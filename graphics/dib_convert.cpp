#include "graphics/dib_convert.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "graphics/dib_format.h"
#include "graphics/octree_quantizer.h"

namespace {

// A BITMAPINFO with room for a full 256-entry table.
struct FullBitmapInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

// Copies up to count palette entries into the table; the rest stay black.
// keepFlags puts each entry's flags into the reserved byte.
void CopyPaletteEntries(HPALETTE palette, RGBQUAD* table, int count, bool keepFlags)
{
    PALETTEENTRY entries[256];
    memset(entries, 0, sizeof(entries));
    UINT got = GetPaletteEntries(palette, 0, static_cast<UINT>(count), entries);
    for (UINT i = 0; i < got && i < static_cast<UINT>(count); ++i) {
        table[i].rgbRed = entries[i].peRed;
        table[i].rgbGreen = entries[i].peGreen;
        table[i].rgbBlue = entries[i].peBlue;
        table[i].rgbReserved = keepFlags ? entries[i].peFlags : 0;
    }
}

void CopySourceEntries(const void* source, RGBQUAD* table, int count)
{
    for (int i = 0; i < count; ++i)
        table[i] = DibColorEntry(source, i);
}

void FillEightBitTable(RGBQUAD* table, const void* source, HPALETTE palette)
{
    if (palette) {
        CopyPaletteEntries(palette, table, 256, false);
        return;
    }
    if (DibBitCount(source) == 8) {
        CopySourceEntries(source, table, 256);
        return;
    }
    HPALETTE made = CreateOctreePalette(source, 236, 8);
    if (!made) {
        HDC screen = GetDC(nullptr);
        made = CreateHalftonePalette(screen);
        ReleaseDC(nullptr, screen);
    }
    if (!made)
        return;
    CopyPaletteEntries(made, table, 256, true);
    DeleteObject(made);
}

void FillFourBitTable(RGBQUAD* table, const void* source, HPALETTE palette)
{
    if (palette)
        CopyPaletteEntries(palette, table, 16, false);
    else if (DibBitCount(source) == 4)
        CopySourceEntries(source, table, 16);
    else
        CopyPaletteEntries(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), table, 16, true);
}

// Holds a memory device context with a bitmap selected for its life.
class SelectedBitmap {
public:
    explicit SelectedBitmap(HBITMAP bitmap)
        : m_dc(CreateCompatibleDC(nullptr)), m_old(nullptr)
    {
        if (m_dc)
            m_old = SelectObject(m_dc, bitmap);
    }
    ~SelectedBitmap()
    {
        if (m_dc) {
            SelectObject(m_dc, m_old);
            DeleteDC(m_dc);
        }
    }
    HDC dc() const { return m_dc; }

private:
    SelectedBitmap(const SelectedBitmap&) = delete;
    SelectedBitmap& operator=(const SelectedBitmap&) = delete;
    HDC m_dc;
    HGDIOBJ m_old;
};

}  // namespace

HBITMAP CreateDibSection(const void* packedDib)
{
    if (!packedDib)
        return nullptr;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP section = CreateDIBSection(screen, static_cast<const BITMAPINFO*>(packedDib),
                                       DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!section)
        return nullptr;
    if (!bits) {
        DeleteObject(section);
        return nullptr;
    }
    DWORD aligned = DibAlignedImageSize(DibWidth(packedDib), DibHeight(packedDib),
                                        DibBitCount(packedDib));
    memcpy(bits, DibBits(packedDib), std::min(aligned, DibImageSize(packedDib)));
    GdiFlush();
    return section;
}

HGLOBAL DdbToDib(HBITMAP section)
{
    DIBSECTION description;
    memset(&description, 0, sizeof(description));
    if (!section || GetObjectA(section, sizeof(description), &description) != sizeof(description))
        return nullptr;

    FullBitmapInfo info;
    memset(&info, 0, sizeof(info));
    BITMAPINFOHEADER& header = info.header;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = description.dsBm.bmWidth;
    header.biHeight = description.dsBm.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = description.dsBmih.biBitCount;
    // Bit-field masks have no place in the packed layout used here.
    header.biCompression = description.dsBmih.biCompression == BI_BITFIELDS
                               ? BI_RGB : description.dsBmih.biCompression;
    header.biXPelsPerMeter = description.dsBmih.biXPelsPerMeter;
    header.biYPelsPerMeter = description.dsBmih.biYPelsPerMeter;
    header.biClrImportant = description.dsBmih.biClrImportant;
    int colors = static_cast<int>(description.dsBmih.biClrUsed);
    if (colors == 0 && header.biBitCount <= 8)
        colors = 1 << header.biBitCount;
    if (header.biBitCount > 8)
        colors = 0;
    colors = std::min(colors, 256);
    header.biClrUsed = static_cast<DWORD>(colors);
    header.biSizeImage = DibAlignedImageSize(header.biWidth, header.biHeight, header.biBitCount);
    if (header.biSizeImage == 0)
        return nullptr;

    DWORD tableSize = static_cast<DWORD>(colors) * sizeof(RGBQUAD);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT,
                                header.biSize + tableSize + header.biSizeImage);
    if (!block)
        return nullptr;
    BYTE* dib = static_cast<BYTE*>(GlobalLock(block));
    if (!dib) {
        GlobalFree(block);
        return nullptr;
    }
    BYTE* bits = dib + header.biSize + tableSize;
    FullBitmapInfo query = info;
    HDC screen = GetDC(nullptr);
    int lines = GetDIBits(screen, section, 0, static_cast<UINT>(header.biHeight), bits,
                          reinterpret_cast<BITMAPINFO*>(&query), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (lines == 0) {
        GlobalUnlock(block);
        GlobalFree(block);
        return nullptr;
    }
    if (colors > 0) {
        SelectedBitmap selected(section);
        if (selected.dc())
            GetDIBColorTable(selected.dc(), 0, static_cast<UINT>(colors), info.colors);
    }
    memcpy(dib, &info, header.biSize + tableSize);
    GlobalUnlock(block);
    return block;
}

void FillDibColorTable(BITMAPINFO* newHeader, const void* source, HPALETTE palette)
{
    RGBQUAD* table = newHeader->bmiColors;
    const int bits = newHeader->bmiHeader.biBitCount;
    if (bits <= 8)
        memset(table, 0, sizeof(RGBQUAD) << bits);
    switch (newHeader->bmiHeader.biBitCount) {
    case 1:
        table[0] = RGBQUAD{0, 0, 0, 0};
        table[1] = RGBQUAD{255, 255, 255, 0};
        break;
    case 4:
        FillFourBitTable(table, source, palette);
        break;
    case 8:
        FillEightBitTable(table, source, palette);
        break;
    default:
        break;
    }
}

HGLOBAL ConvertDib(const void* source, int bits, HPALETTE palette)
{
    if (!source)
        return nullptr;
    FullBitmapInfo info;
    memset(&info, 0, sizeof(info));
    BITMAPINFOHEADER& header = info.header;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = DibWidth(source);
    header.biHeight = DibHeight(source);
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(DibRaisedBitCount(bits));
    FillDibColorTable(reinterpret_cast<BITMAPINFO*>(&info), source, palette);

    HBITMAP sourceSection = CreateDibSection(source);
    if (!sourceSection)
        return nullptr;
    void* newBits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP newSection = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info),
                                          DIB_RGB_COLORS, &newBits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!newSection || !newBits) {
        if (newSection)
            DeleteObject(newSection);
        DeleteObject(sourceSection);
        return nullptr;
    }
    {
        SelectedBitmap from(sourceSection);
        SelectedBitmap to(newSection);
        if (from.dc() && to.dc())
            BitBlt(to.dc(), 0, 0, header.biWidth, std::abs(header.biHeight), from.dc(), 0, 0,
                   SRCCOPY);
    }
    GdiFlush();

    header.biSizeImage = DibAlignedImageSize(header.biWidth, header.biHeight, header.biBitCount);
    DWORD tableSize = DibPaletteSize(&header);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT,
                                header.biSize + tableSize + header.biSizeImage);
    BYTE* dib = block ? static_cast<BYTE*>(GlobalLock(block)) : nullptr;
    if (dib) {
        memcpy(dib, &info, header.biSize + tableSize);
        memcpy(dib + header.biSize + tableSize, newBits, header.biSizeImage);
        GlobalUnlock(block);
    } else if (block) {
        GlobalFree(block);
        block = nullptr;
    }
    DeleteObject(newSection);
    DeleteObject(sourceSection);
    return block;
}
