#include "views/common/rubber_band.h"

void DrawRubberBand(HWND window, POINT start, POINT end)
{
    HDC dc = GetDC(window);
    if (dc == NULL)
        return;
    int formerMode = SetROP2(dc, R2_XORPEN);
    HPEN pen = CreatePen(PS_SOLID, 0, RGB(255, 255, 255));
    HGDIOBJ formerPen = SelectObject(dc, pen);
    POINT outline[5] = {start, {start.x, end.y}, end, {end.x, start.y}, start};
    Polyline(dc, outline, 5);
    SelectObject(dc, formerPen);
    DeleteObject(pen);
    SetROP2(dc, formerMode);
    ReleaseDC(window, dc);
}

RECT NormalisedRect(const RECT& rect)
{
    RECT r = rect;
    if (r.left > r.right) {
        LONG swap = r.left;
        r.left = r.right;
        r.right = swap;
    }
    if (r.top > r.bottom) {
        LONG swap = r.top;
        r.top = r.bottom;
        r.bottom = swap;
    }
    return r;
}
