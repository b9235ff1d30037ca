#include "graphics/kcanvas.h"

#include <new>

namespace {

const size_t kReservedPoints = 200;

BYTE AddWrapped(BYTE value, int add)
{
    return static_cast<BYTE>((value + add) & 0xFF);
}

}  // namespace

COLORREF ShadowEdgeColour(COLORREF colour)
{
    return RGB(AddWrapped(GetRValue(colour), 50), AddWrapped(GetGValue(colour), 50),
               AddWrapped(GetBValue(colour), 50));
}

bool ClipDeviceRect(RECT& rect, int width, int height)
{
    if (rect.right <= 0 || rect.bottom <= 0 || rect.left >= width || rect.top >= height)
        return false;
    if (rect.left < 0)
        rect.left = 0;
    if (rect.top < 0)
        rect.top = 0;
    if (rect.right > width)
        rect.right = width;
    if (rect.bottom > height)
        rect.bottom = height;
    return true;
}

KCanvas::KCanvas()
    : drawDone(0),
      noImageFrame(false),
      viewport(nullptr),
      left(0),
      top(0),
      width(0),
      height(0),
      colourStretch(false),
      m_points(nullptr),
      m_pointCapacity(0)
{
    ReservePoints(kReservedPoints);
}

KCanvas::~KCanvas()
{
    delete[] m_points;
}

bool KCanvas::ReservePoints(size_t count)
{
    if (count <= m_pointCapacity)
        return true;
    POINT* grown = new (std::nothrow) POINT[count];
    if (!grown)
        return false;
    for (size_t i = 0; i < m_pointCapacity; ++i)
        grown[i] = m_points[i];
    delete[] m_points;
    m_points = grown;
    m_pointCapacity = count;
    return true;
}

bool KCanvas::AppendDevicePoints(const KType::RPoint2D* points, uint32_t count, size_t used)
{
    if (!viewport || (count > 0 && !points) || !ReservePoints(used + count))
        return false;
    for (uint32_t i = 0; i < count; ++i)
        m_points[used + i] = viewport->ToDevice(points[i].x, points[i].y);
    return true;
}

POINT* KCanvas::ToDevicePoints(const KType::RPoint2D* points, uint32_t count, bool closeAgain)
{
    if (count == 0 || !AppendDevicePoints(points, count, 0))
        return nullptr;
    if (closeAgain) {
        if (!ReservePoints(static_cast<size_t>(count) + 1))
            return nullptr;
        m_points[count] = m_points[0];
    }
    return m_points;
}
