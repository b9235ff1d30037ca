#include "graphics/bitmap_paint.h"

BOOL PaintBitmap(HDC target, HBITMAP bitmap, const RECT* destination, const RECT* source,
                 HPALETTE palette)
{
    HDC memory = CreateCompatibleDC(target);
    if (!memory)
        return FALSE;
    HPALETTE oldTargetPalette = nullptr;
    HPALETTE oldMemoryPalette = nullptr;
    if (palette) {
        oldTargetPalette = SelectPalette(target, palette, TRUE);
        oldMemoryPalette = SelectPalette(memory, palette, TRUE);
        RealizePalette(target);
    }
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    int oldMode = SetStretchBltMode(target, COLORONCOLOR);

    const int destWidth = destination->right - destination->left;
    const int destHeight = destination->bottom - destination->top;
    const int sourceWidth = source->right - source->left;
    const int sourceHeight = source->bottom - source->top;
    BOOL done;
    if (destWidth == sourceWidth && destHeight == sourceHeight)
        done = BitBlt(target, destination->left, destination->top, destWidth, destHeight, memory,
                      source->left, source->top, SRCCOPY);
    else
        done = StretchBlt(target, destination->left, destination->top, destWidth, destHeight,
                          memory, source->left, source->top, sourceWidth, sourceHeight, SRCCOPY);

    SetStretchBltMode(target, oldMode);
    SelectObject(memory, oldBitmap);
    if (palette) {
        SelectPalette(memory, oldMemoryPalette, TRUE);
        SelectPalette(target, oldTargetPalette, TRUE);
    }
    DeleteDC(memory);
    return done;
}

namespace {

// A memory device context with a bitmap of its own selected.
struct MemorySurface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;

    bool Make(HDC reference, HBITMAP surface)
    {
        dc = CreateCompatibleDC(reference);
        bitmap = surface;
        if (!dc || !bitmap)
            return false;
        old = SelectObject(dc, bitmap);
        return true;
    }
    ~MemorySurface()
    {
        if (dc) {
            if (old)
                SelectObject(dc, old);
            DeleteDC(dc);
        }
        if (bitmap)
            DeleteObject(bitmap);
    }
};

}  // namespace

void DrawTransparentBitmap(HDC target, HBITMAP bitmap, int x, int y, COLORREF transparentColour)
{
    BITMAP description;
    if (!GetObjectA(bitmap, sizeof(description), &description))
        return;
    HDC picture = CreateCompatibleDC(target);
    if (!picture)
        return;
    HGDIOBJ oldPicture = SelectObject(picture, bitmap);
    SetMapMode(picture, GetMapMode(target));
    POINT size = {description.bmWidth, description.bmHeight};
    DPtoLP(picture, &size, 1);
    const int w = size.x;
    const int h = size.y;

    MemorySurface mask, inverse, background, opaque;
    if (mask.Make(target, CreateBitmap(w, h, 1, 1, nullptr)) &&
        inverse.Make(target, CreateBitmap(w, h, 1, 1, nullptr)) &&
        background.Make(target, CreateCompatibleBitmap(target, w, h)) &&
        opaque.Make(target, CreateCompatibleBitmap(target, w, h))) {
        // The mask is white where the picture has the transparent colour.
        COLORREF oldColour = SetBkColor(picture, transparentColour);
        BitBlt(mask.dc, 0, 0, w, h, picture, 0, 0, SRCCOPY);
        SetBkColor(picture, oldColour);
        BitBlt(inverse.dc, 0, 0, w, h, mask.dc, 0, 0, NOTSRCCOPY);

        // The background where the picture is transparent, the picture (a
        // copy, the caller's bitmap stays as it is) where it is not.
        BitBlt(background.dc, 0, 0, w, h, target, x, y, SRCCOPY);
        BitBlt(background.dc, 0, 0, w, h, mask.dc, 0, 0, SRCAND);
        BitBlt(opaque.dc, 0, 0, w, h, picture, 0, 0, SRCCOPY);
        BitBlt(opaque.dc, 0, 0, w, h, inverse.dc, 0, 0, SRCAND);
        BitBlt(background.dc, 0, 0, w, h, opaque.dc, 0, 0, SRCPAINT);
        BitBlt(target, x, y, w, h, background.dc, 0, 0, SRCCOPY);
    }
    SelectObject(picture, oldPicture);
    DeleteDC(picture);
}
