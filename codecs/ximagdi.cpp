// CxImage and GDI: bitmaps made from the image, images read from bitmaps,
// and drawing the image stretched onto a device context.
#include "codecs/ximage.h"

#include <string.h>

HBITMAP CxImage::MakeBitmap(HDC dc)
{
    if (!dib)
        return NULL;
    if (dc)
        return CreateDIBitmap(dc, &header, CBM_INIT, info.firstRow, (BITMAPINFO*)dib,
                              DIB_RGB_COLORS);
    HDC memory = CreateCompatibleDC(NULL);
    if (!memory)
        return NULL;
    void* bits = NULL;
    HBITMAP section = CreateDIBSection(memory, (BITMAPINFO*)dib, DIB_RGB_COLORS, &bits, NULL, 0);
    if (section && bits)
        memcpy(bits, info.firstRow, header.biSizeImage);
    DeleteDC(memory);
    return section;
}

bool CxImage::CreateFromHBITMAP(HBITMAP bitmap, HPALETTE palette)
{
    if (!Destroy() || !bitmap)
        return false;
    BITMAP described;
    if (!GetObjectA(bitmap, sizeof(described), &described))
        return Fail("CreateFromHBITMAP: not a bitmap");
    if (!Create(described.bmWidth, described.bmHeight, described.bmBitsPixel,
                CXIMAGE_FORMAT_UNKNOWN))
        return false;
    HDC screen = GetDC(NULL);
    HPALETTE previous = NULL;
    if (palette) {
        previous = SelectPalette(screen, palette, FALSE);
        RealizePalette(screen);
    }
    int rows = GetDIBits(screen, bitmap, 0, GetHeight(), info.firstRow, (BITMAPINFO*)dib,
                         DIB_RGB_COLORS);
    if (palette)
        SelectPalette(screen, previous, FALSE);
    ReleaseDC(NULL, screen);
    if (rows == 0)
        return Fail("GetDIBits failed");
    // GetDIBits may fill the header's image size and colour fields: keep
    // the block's header in step with the image's own.
    memcpy(dib, &header, sizeof(header));
    info.nearestValid = 0;
    return true;
}

int CxImage::Stretch(HDC dc, int x, int y, int width, int height, DWORD rop)
{
    if (!dib || !dc)
        return 0;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, x, y, width, height, 0, 0, GetWidth(), GetHeight(), info.firstRow,
                  (BITMAPINFO*)dib, DIB_RGB_COLORS, rop);
    return 1;
}
