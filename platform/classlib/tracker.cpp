#include "platform/classlib/tracker.h"

HBRUSH AfxGetHalftoneBrush()
{
    static HBRUSH brush = [] {
        WORD pattern[8];
        for (int row = 0; row < 8; ++row)
            pattern[row] = (WORD)(0x5555 << (row & 1));
        HBITMAP bitmap = ::CreateBitmap(8, 8, 1, 1, pattern);
        HBRUSH halftone = ::CreatePatternBrush(bitmap);
        ::DeleteObject(bitmap);
        return halftone;
    }();
    return brush;
}

void AfxInvertTrackerFrame(HDC dc, const RECT& rect, int width)
{
    HGDIOBJ old = ::SelectObject(dc, AfxGetHalftoneBrush());
    int cx = rect.right - rect.left;
    int cy = rect.bottom - rect.top;
    if (cx <= 2 * width || cy <= 2 * width) {
        ::PatBlt(dc, rect.left, rect.top, cx, cy, PATINVERT);
    } else {
        ::PatBlt(dc, rect.left, rect.top, cx, width, PATINVERT);
        ::PatBlt(dc, rect.left, rect.bottom - width, cx, width, PATINVERT);
        ::PatBlt(dc, rect.left, rect.top + width, width, cy - 2 * width, PATINVERT);
        ::PatBlt(dc, rect.right - width, rect.top + width, width, cy - 2 * width, PATINVERT);
    }
    ::SelectObject(dc, old);
}
