#include "views/viewer/orbit_guide.h"

#include <math.h>

#include "views/common/view_cursors.h"

namespace {

// Pi as the single-precision value the orbit has always turned by.
const double kPi = (double)3.1415927410125732f;
const double kTwoPi = 2.0 * 3.14159265358979323846;

double Distance(POINT a, POINT b)
{
    int dx = a.x - b.x;
    int dy = a.y - b.y;
    return sqrt((double)(dx * dx + dy * dy));
}

void Circle(HDC dc, POINT centre, int radius)
{
    Ellipse(dc, centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius);
}

}  // namespace

OrbitGuide OrbitGuide::ForClient(int width, int height)
{
    OrbitGuide guide;
    guide.bigRadius = (int)(0.4 * (width < height ? width : height));
    guide.handleRadius = 10;
    guide.centre = {width / 2, height / 2};
    guide.top = {guide.centre.x, guide.centre.y - guide.bigRadius};
    guide.bottom = {guide.centre.x, guide.centre.y + guide.bigRadius};
    guide.left = {guide.centre.x - guide.bigRadius, guide.centre.y};
    guide.right = {guide.centre.x + guide.bigRadius, guide.centre.y};
    return guide;
}

unsigned short OrbitGuide::ModeAt(POINT point) const
{
    if (Distance(point, top) < handleRadius || Distance(point, bottom) < handleRadius)
        return kOrbitTurnHorizontal;
    if (Distance(point, left) < handleRadius || Distance(point, right) < handleRadius)
        return kOrbitTurnVertical;
    return Distance(point, centre) <= bigRadius ? kOrbitFree : kOrbitRoll;
}

int OrbitGuide::CursorAt(POINT point) const
{
    switch (ModeAt(point)) {
        case kOrbitTurnHorizontal:
            return kCursorTurnHorizontal;
        case kOrbitTurnVertical:
            return kCursorTurnVertical;
        case kOrbitFree:
            return kCursorFreeOrbit;
        default:
            return kCursorRoll;
    }
}

double OrbitGuide::RollAngle(POINT from, POINT to) const
{
    double a = atan2((double)(from.y - centre.y), (double)(from.x - centre.x));
    double b = atan2((double)(to.y - centre.y), (double)(to.x - centre.x));
    if (a > b)
        b += kTwoPi;
    return -(a - b);
}

double OrbitGuide::HorizontalTurn(POINT from, POINT to) const
{
    int span = bottom.y - top.y;
    return span != 0 ? -((double)(to.y - from.y) / span) * kPi : 0.0;
}

double OrbitGuide::VerticalTurn(POINT from, POINT to) const
{
    int span = right.x - left.x;
    return span != 0 ? -((double)(to.x - from.x) / span) * kPi : 0.0;
}

void OrbitGuide::Draw(HDC dc, COLORREF colour) const
{
    HPEN pen = CreatePen(PS_SOLID, 0, colour);
    HGDIOBJ formerPen = SelectObject(dc, pen);
    HGDIOBJ formerBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Circle(dc, centre, bigRadius);
    POINT handles[4] = {top, bottom, left, right};
    for (const POINT& handle : handles)
        Circle(dc, handle, handleRadius);
    SelectObject(dc, formerBrush);
    SelectObject(dc, formerPen);
    DeleteObject(pen);
}
