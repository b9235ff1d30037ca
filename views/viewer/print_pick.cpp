#include "views/viewer/print_pick.h"

#include <stdlib.h>

#include "graphics/gdi_device.h"
#include "views/common/rubber_band.h"
#include "views/common/view_cursors.h"

namespace {

const int kTolerance = 4;
const int kMinimumGap = 4;
const COLORREF kShadeColour = RGB(50, 180, 50);
const int kShadeStrength = 70;
const int kBracketWidth = 4;
const int kBracketLength = 10;

bool Near(LONG value, LONG edge)
{
    return labs(value - edge) <= kTolerance;
}

// Along one column of the rectangle (its left or right edge): the corner at
// the top, the edge between, the corner at the bottom.
int HandleOnColumn(const RECT& rect, LONG y, int topCorner, int edge, int bottomCorner)
{
    if (y < rect.top - kTolerance)
        return kHandleNone;
    if (y <= rect.top + kTolerance)
        return topCorner;
    if (y < rect.bottom - kTolerance)
        return edge;
    if (y <= rect.bottom + kTolerance)
        return bottomCorner;
    return kHandleNone;
}

LONG Clamp(LONG value, LONG low, LONG high)
{
    return value < low ? low : (value > high ? high : value);
}

void MoveEdges(RECT& rect, int handle, POINT point, const RECT& client)
{
    bool left = handle == kHandleBottomLeft || handle == kHandleTopLeft || handle == kHandleLeft;
    bool right = handle == kHandleBottomRight || handle == kHandleTopRight || handle == kHandleRight;
    bool top = handle == kHandleTopLeft || handle == kHandleTop || handle == kHandleTopRight;
    bool bottom = handle == kHandleBottomLeft || handle == kHandleBottom || handle == kHandleBottomRight;
    if (left && point.x < rect.right - kMinimumGap)
        rect.left = Clamp(point.x, client.left, client.right);
    if (right && point.x > rect.left + kMinimumGap)
        rect.right = Clamp(point.x, client.left, client.right);
    if (top && point.y < rect.bottom - kMinimumGap)
        rect.top = Clamp(point.y, client.top, client.bottom);
    if (bottom && point.y > rect.top + kMinimumGap)
        rect.bottom = Clamp(point.y, client.top, client.bottom);
}

void Bracket(HDC dc, HBRUSH brush, LONG x, LONG y, int dx, int dy)
{
    RECT across = {x, y, x + dx * kBracketLength, y + dy * kBracketWidth};
    RECT down = {x, y, x + dx * kBracketWidth, y + dy * kBracketLength};
    RECT bars[2] = {NormalisedRect(across), NormalisedRect(down)};
    for (const RECT& bar : bars)
        FillRect(dc, &bar, brush);
}

}  // namespace

bool HasArea(const RECT& rect)
{
    return rect.left != rect.right && rect.top != rect.bottom;
}

int PrintHandleAt(const RECT& rect, POINT point)
{
    if (Near(point.x, rect.left))
        return HandleOnColumn(rect, point.y, kHandleTopLeft, kHandleLeft, kHandleBottomLeft);
    if (Near(point.x, rect.right))
        return HandleOnColumn(rect, point.y, kHandleTopRight, kHandleRight, kHandleBottomRight);
    bool betweenColumns = point.x > rect.left && point.x < rect.right;
    if (betweenColumns && Near(point.y, rect.top))
        return kHandleTop;
    if (betweenColumns && Near(point.y, rect.bottom))
        return kHandleBottom;
    if (betweenColumns && point.y > rect.top && point.y < rect.bottom)
        return kHandleInside;
    return kHandleNone;
}

int PrintHandleCursor(int handle)
{
    switch (handle) {
        case kHandleTopLeft:
        case kHandleBottomRight:
            return kCursorPrintTopLeft;
        case kHandleBottomLeft:
        case kHandleTopRight:
            return kCursorPrintBottomLeft;
        case kHandleLeft:
        case kHandleRight:
            return kCursorPrintLeftRight;
        case kHandleTop:
        case kHandleBottom:
            return kCursorPrintTopBottom;
        case kHandleInside:
            return kCursorPrintMove;
        default:
            return kCursorPrintNoHandle;
    }
}

void MovePrintHandle(RECT& rect, int handle, POINT point, POINT anchor, const RECT& client)
{
    if (handle != kHandleInside) {
        MoveEdges(rect, handle, point, client);
        return;
    }
    LONG dx = point.x - anchor.x;
    LONG dy = point.y - anchor.y;
    RECT moved = {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
    bool inside = moved.left >= client.left && moved.right <= client.right && moved.top >= client.top &&
                  moved.bottom <= client.bottom;
    if (inside)
        rect = moved;
}

void PaintPrintPickOverlay(HDC target, const CGDIDevice& picture, const RECT& pick)
{
    CGDIDevice overlay;
    if (!overlay.CopyFrom(picture)) {
        picture.Paint(target);
        return;
    }
    int width = overlay.m_nWidth;
    int height = overlay.m_nHeight;
    RECT r = NormalisedRect(pick);
    overlay.BlendRect(0, 0, r.left - 1, height - 1, kShadeColour, kShadeStrength, false, 0);
    overlay.BlendRect(r.right + 1, 0, width - 1, height - 1, kShadeColour, kShadeStrength, false, 0);
    overlay.BlendRect(r.left, 0, r.right, r.top - 1, kShadeColour, kShadeStrength, false, 0);
    overlay.BlendRect(r.left, r.bottom + 1, r.right, height - 1, kShadeColour, kShadeStrength, false, 0);

    HDC dc = overlay.m_hDC;
    int formerMode = SetROP2(dc, R2_XORPEN);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    HGDIOBJ formerPen = SelectObject(dc, pen);
    HGDIOBJ formerBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right + 1, r.bottom + 1);
    SelectObject(dc, formerBrush);
    SelectObject(dc, formerPen);
    DeleteObject(pen);
    SetROP2(dc, formerMode);

    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    Bracket(dc, red, r.left, r.top, 1, 1);
    Bracket(dc, red, r.right + 1, r.top, -1, 1);
    Bracket(dc, red, r.left, r.bottom + 1, 1, -1);
    Bracket(dc, red, r.right + 1, r.bottom + 1, -1, -1);
    DeleteObject(red);
    overlay.Paint(target);
}
