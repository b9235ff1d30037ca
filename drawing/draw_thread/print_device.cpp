#include "drawing/draw_thread/print_device.h"

#include <math.h>

#include <vector>

#include "graphics/dib.h"
#include "platform/zrui/print_pen_set.h"
#include "platform/zrui/zrui.h"

namespace {

const double kHalfPi = 1.5707963267948966;
const double kWidthTolerance = 1e-8;

// Selects back what a created pen or brush replaced, and deletes it.
template <class Handle>
void PutBack(HDC dc, Handle& created, HGDIOBJ previous)
{
    if (created == NULL)
        return;
    SelectObject(dc, previous);
    DeleteObject(created);
    created = NULL;
}

}  // namespace

CPrintDevice::CPrintDevice(HDC dc, short colourMode, double xOffset, double yOffset, int rotation)
    : m_pageWidth(0.0),
      m_pageHeight(0.0),
      m_xOffset(xOffset),
      m_yOffset(yOffset),
      m_rotation(rotation),
      m_dc(dc),
      m_savedDC(0),
      m_colour(RGB(0, 0, 0)),
      m_penWidth(0),
      m_pen(NULL),
      m_previousPen(NULL),
      m_brush(NULL),
      m_previousBrush(NULL),
      m_mapMode(MM_TEXT),
      m_windowExtent(),
      m_windowOrigin(),
      m_yShift(0)
{
    colorMode = colourMode;
    m_windowExtent.cx = 1;
    m_windowExtent.cy = 1;
}

CPrintDevice::~CPrintDevice()
{
    RestorePen();
    RestoreBrush();
}

void CPrintDevice::SetDeviceState(int mapMode, int extentX, int extentY, int originX, int originY, int yShift)
{
    m_mapMode = mapMode;
    m_windowExtent.cx = extentX;
    m_windowExtent.cy = extentY;
    m_windowOrigin.x = originX;
    m_windowOrigin.y = originY;
    m_yShift = yShift;
}

POINT CPrintDevice::MapPoint(double x, double y, bool withShift) const
{
    double mappedX = x;
    double mappedY = y;
    switch (m_rotation) {
        case 1:
            mappedX = m_pageHeight - y;
            mappedY = x;
            break;
        case 2:
            mappedX = m_pageWidth - x;
            mappedY = m_pageHeight - y;
            break;
        case 3:
            mappedX = y;
            mappedY = m_pageWidth - x;
            break;
    }
    POINT point;
    point.x = (LONG)(mappedX + m_xOffset);
    point.y = (LONG)(mappedY + m_yOffset + (withShift ? m_yShift : 0));
    return point;
}

void CPrintDevice::SelectNewPen()
{
    m_pen = CreatePen(PS_SOLID, m_penWidth, m_colour);
    m_previousPen = SelectObject(m_dc, m_pen);
}

void CPrintDevice::SelectNewBrush()
{
    m_brush = CreateSolidBrush(m_colour);
    m_previousBrush = SelectObject(m_dc, m_brush);
}

void CPrintDevice::RestorePen()
{
    PutBack(m_dc, m_pen, m_previousPen);
}

void CPrintDevice::RestoreBrush()
{
    PutBack(m_dc, m_brush, m_previousBrush);
}

bool CPrintDevice::BeginDraw(int, int, int, double pageWidth, double pageHeight)
{
    m_colour = RGB(0, 0, 0);
    m_penWidth = 0;
    RestorePen();
    RestoreBrush();
    SelectNewPen();
    SelectNewBrush();
    m_pageWidth = pageWidth;
    m_pageHeight = pageHeight;
    return true;
}

bool CPrintDevice::EndDraw()
{
    RestorePen();
    RestoreBrush();
    return true;
}

void CPrintDevice::SetClip(int count, const DwgExportPoint* points)
{
    if (count < 3 || points == NULL)
        return;
    m_savedDC = SaveDC(m_dc);
    std::vector<POINT> corners(count);
    for (int i = 0; i < count; ++i)
        corners[i] = MapPoint(points[i].x, points[i].y, true);
    INT counts[1] = {count};
    BeginPath(m_dc);
    ::PolyPolygon(m_dc, corners.data(), counts, 1);
    EndPath(m_dc);
    SelectClipPath(m_dc, RGN_AND);
}

void CPrintDevice::ResetClip()
{
    // The pen and brush selected since the clip was set outlive the
    // restored state.
    HGDIOBJ pen = GetCurrentObject(m_dc, OBJ_PEN);
    HGDIOBJ brush = GetCurrentObject(m_dc, OBJ_BRUSH);
    RestoreDC(m_dc, m_savedDC);
    SelectObject(m_dc, pen);
    SelectObject(m_dc, brush);
}

void CPrintDevice::Pixel(double x, double y, double)
{
    POINT point = MapPoint(x, y, true);
    SetPixel(m_dc, point.x, point.y, m_colour);
}

void CPrintDevice::MoveTo(double x, double y, double)
{
    POINT point = MapPoint(x, y, true);
    MoveToEx(m_dc, point.x, point.y, NULL);
}

void CPrintDevice::LineTo(double x, double y, double)
{
    POINT point = MapPoint(x, y, true);
    ::LineTo(m_dc, point.x, point.y);
}

void CPrintDevice::Arc(double cx, double cy, double, double radius, double startAngle, double endAngle)
{
    POINT centre = MapPoint(cx, cy, true);
    double turn = kHalfPi * (m_rotation >= 1 && m_rotation <= 3 ? m_rotation : 0);
    double start = startAngle + turn;
    double end = endAngle + turn;
    ::Arc(m_dc, (int)(centre.x - radius), (int)(centre.y - radius), (int)(centre.x + radius),
          (int)(centre.y + radius), (int)(centre.x + radius * cos(start)),
          (int)(centre.y + radius * sin(start)), (int)(centre.x + radius * cos(end)),
          (int)(centre.y + radius * sin(end)));
}

void CPrintDevice::Polygon(int first, int last, const DwgExportPoint* points)
{
    if (fillOff || first > last || first < 0 || points == NULL)
        return;
    std::vector<POINT> corners;
    corners.reserve(last - first + 1);
    for (int i = first; i <= last; ++i)
        corners.push_back(MapPoint(points[i].x, points[i].y, true));
    ::Polygon(m_dc, corners.data(), (int)corners.size());
}

void CPrintDevice::PolyPolygon(const DwgExportPoint* points, const int* counts, int polygonCount)
{
    if (fillOff || points == NULL || counts == NULL || polygonCount <= 0)
        return;
    int total = 0;
    for (int i = 0; i < polygonCount; ++i) {
        if (counts[i] < 0)
            return;
        total += counts[i];
    }
    std::vector<POINT> corners(total);
    for (int i = 0; i < total; ++i)
        corners[i] = MapPoint(points[i].x, points[i].y, true);
    std::vector<INT> polygonSizes(counts, counts + polygonCount);
    ::PolyPolygon(m_dc, corners.data(), polygonSizes.data(), polygonCount);
}

void CPrintDevice::SetPenColor(COLORREF color, int penIndex)
{
    COLORREF colour = color;
    int width = m_penWidth;
    if (g_printPenSet.getUsePenWidth()) {
        // An index the pen set does not hold prints as the drawing asks.
        if (penIndex < 0 || penIndex >= ZrUI::PrintPenSet::kPenCount) {
            width = 0;
        } else {
            const ZrUI::PenWidthRecord& pen = g_printPenSet.getPenWidths()[penIndex];
            colour = ZrUI::GetColorIndex(pen.colorIndex, NULL);
            width = (int)pen.width;
        }
        int minimum = (int)g_printPenSet.GetMinWidth();
        if (width < minimum)
            width = minimum;
    }
    if (colour == RGB(255, 255, 255))
        colour = RGB(0, 0, 0);
    if (colorMode == 1) {
        int grey = (int)(0.299 * GetRValue(colour) + 0.587 * GetGValue(colour) + 0.114 * GetBValue(colour));
        colour = RGB(grey, grey, grey);
    } else if (colorMode == 2) {
        colour = RGB(0, 0, 0);
    }
    RestorePen();
    RestoreBrush();
    m_colour = colour;
    m_penWidth = width;
    SelectNewPen();
    SelectNewBrush();
}

void CPrintDevice::SetPenWidth(double width)
{
    if (g_printPenSet.getUsePenWidth() || fabs(width - m_penWidth) <= kWidthTolerance)
        return;
    RestorePen();
    m_penWidth = (int)width;
    SelectNewPen();
}

void CPrintDevice::DrawRaster(double x, double y, int imageWidth, int imageHeight, double, double,
                              HBITMAP image, int)
{
    CDib dib;
    CBitmap bitmap;
    bitmap.Attach(image);
    BOOL made = dib.CreateFromBitmap(&bitmap);
    bitmap.Detach();
    if (!made)
        return;
    if (m_rotation == 1)
        dib.Rotate90();
    else if (m_rotation == 2)
        dib.Rotate180();
    else if (m_rotation == 3)
        dib.Rotate270();

    POINT corner = MapPoint(x, y, false);
    int left = corner.x;
    int top = (int)(m_pageHeight - corner.y - imageHeight);
    if (m_rotation == 1) {
        left = corner.x - imageHeight;
        top = (int)(m_pageWidth - corner.y - imageWidth);
    } else if (m_rotation == 2) {
        left = corner.x - imageWidth;
        top = (int)(m_pageHeight - corner.y);
    } else if (m_rotation == 3) {
        top = (int)(m_pageWidth - corner.y);
    }

    // The raster goes down in the printer's own pixels, then the page
    // mapping comes back.
    SetWindowOrgEx(m_dc, m_windowOrigin.x, m_windowOrigin.y, NULL);
    SetWindowExtEx(m_dc, m_windowExtent.cx, m_windowExtent.cy, NULL);
    SetMapMode(m_dc, m_mapMode);
    CDC target;
    target.Attach(m_dc);
    dib.Draw(&target, left, top, SRCCOPY);
    target.Detach();

    SetMapMode(m_dc, MM_ANISOTROPIC);
    SetWindowExtEx(m_dc, m_windowExtent.cx, -m_windowExtent.cy, &m_windowExtent);
    bool sideways = m_rotation == 1 || m_rotation == 3;
    int originY = (int)(sideways ? m_pageWidth : m_pageHeight) + m_yShift;
    SetWindowOrgEx(m_dc, 0, originY, &m_windowOrigin);
}
