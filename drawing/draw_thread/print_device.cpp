#include "drawing/draw_thread/print_device.h"

#include <math.h>

#include <algorithm>
#include <vector>

#include "graphics/dib.h"
#include "platform/zrui/print_pen_set.h"
#include "platform/zrui/zrui.h"

namespace {

const double kHalfPi = 1.5707963267948966;
const double kWidthTolerance = 1e-8;
// Logical points this far apart give the DC's scale to a part in ten
// thousand.
const int kScaleProbe = 10000;

// A DC's mapping of logical points to device pixels.
struct CDeviceMapping {
    double originX, originY;  // where the logical origin lies
    double xX, xY;            // device step of one logical unit along x
    double yX, yY;            // and along y

    void Apply(double x, double y, double* deviceX, double* deviceY) const
    {
        *deviceX = originX + x * xX + y * yX;
        *deviceY = originY + x * xY + y * yY;
    }
};

bool ReadDeviceMapping(HDC dc, CDeviceMapping* mapping)
{
    POINT probes[3] = {{0, 0}, {kScaleProbe, 0}, {0, kScaleProbe}};
    if (!LPtoDP(dc, probes, 3))
        return false;
    mapping->originX = probes[0].x;
    mapping->originY = probes[0].y;
    mapping->xX = (probes[1].x - probes[0].x) / (double)kScaleProbe;
    mapping->xY = (probes[1].y - probes[0].y) / (double)kScaleProbe;
    mapping->yX = (probes[2].x - probes[0].x) / (double)kScaleProbe;
    mapping->yY = (probes[2].y - probes[0].y) / (double)kScaleProbe;
    return true;
}

// The header of a top-down DIB.
BITMAPINFO TopDownInfo(int width, int height, WORD bitsPerPixel)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A bitmap's pixels as 32-bit values, the top row first.
bool ReadPixels(HBITMAP image, std::vector<uint32_t>* pixels, int* width, int* height)
{
    BITMAP size = {};
    if (image == NULL || GetObjectA(image, sizeof(size), &size) != sizeof(size) || size.bmWidth <= 0 ||
        size.bmHeight <= 0)
        return false;
    BITMAPINFO info = TopDownInfo(size.bmWidth, size.bmHeight, 32);
    pixels->resize((size_t)size.bmWidth * (size_t)size.bmHeight);
    HDC dc = CreateCompatibleDC(NULL);
    if (dc == NULL)
        return false;
    int rows = GetDIBits(dc, image, 0, size.bmHeight, pixels->data(), &info, DIB_RGB_COLORS);
    DeleteDC(dc);
    *width = size.bmWidth;
    *height = size.bmHeight;
    return rows == size.bmHeight;
}

// Narrows the DC's clip to the runs of the paper's pixels that show, laid
// over the device rectangle.
bool ClipToShownPixels(HDC dc, const CPaperPixels& paper, const RECT& place)
{
    int width = place.right - place.left;
    int height = place.bottom - place.top;
    std::vector<BYTE> data(sizeof(RGNDATAHEADER) + paper.shown.size() * sizeof(RECT));
    RGNDATA* region = (RGNDATA*)data.data();
    region->rdh.dwSize = sizeof(RGNDATAHEADER);
    region->rdh.iType = RDH_RECTANGLES;
    region->rdh.nCount = (DWORD)paper.shown.size();
    region->rdh.nRgnSize = (DWORD)(paper.shown.size() * sizeof(RECT));
    region->rdh.rcBound = place;
    RECT* runs = (RECT*)region->Buffer;
    for (size_t i = 0; i < paper.shown.size(); ++i) {
        const RECT& run = paper.shown[i];
        runs[i].left = place.left + MulDiv(run.left, width, paper.width);
        runs[i].right = place.left + MulDiv(run.right, width, paper.width);
        runs[i].top = place.top + MulDiv(run.top, height, paper.height);
        runs[i].bottom = place.top + MulDiv(run.bottom, height, paper.height);
    }
    HRGN shown = ExtCreateRegion(NULL, (DWORD)data.size(), region);
    if (shown == NULL)
        return false;
    HRGN current = CreateRectRgn(0, 0, 0, 0);
    if (current != NULL && GetClipRgn(dc, current) == 1)
        CombineRgn(shown, shown, current, RGN_AND);
    bool selected = SelectClipRgn(dc, shown) != ERROR;
    if (current != NULL)
        DeleteObject(current);
    DeleteObject(shown);
    return selected;
}

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

// Stretches the paper's pixels over the device rectangle, in device pixels.
void StretchOnDevice(HDC dc, const CPaperPixels& paper, const RECT& place)
{
    SetMapMode(dc, MM_TEXT);
    SetWindowOrgEx(dc, 0, 0, NULL);
    SetViewportOrgEx(dc, 0, 0, NULL);
    SetStretchBltMode(dc, COLORONCOLOR);
    BITMAPINFO info = TopDownInfo(paper.width, paper.height, 24);
    StretchDIBits(dc, place.left, place.top, place.right - place.left, place.bottom - place.top, 0, 0,
                  paper.width, paper.height, paper.bits.data(), &info, DIB_RGB_COLORS, SRCCOPY);
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
    m_colorMode = colourMode;
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

void CPrintDevice::MapPage(double x, double y, bool withShift, double* mappedX, double* mappedY) const
{
    double turnedX = x;
    double turnedY = y;
    switch (m_rotation) {
        case 1:
            turnedX = m_pageHeight - y;
            turnedY = x;
            break;
        case 2:
            turnedX = m_pageWidth - x;
            turnedY = m_pageHeight - y;
            break;
        case 3:
            turnedX = y;
            turnedY = m_pageWidth - x;
            break;
    }
    *mappedX = turnedX + m_xOffset;
    *mappedY = turnedY + m_yOffset + (withShift ? m_yShift : 0);
}

POINT CPrintDevice::MapPoint(double x, double y, bool withShift) const
{
    double mappedX = 0;
    double mappedY = 0;
    MapPage(x, y, withShift, &mappedX, &mappedY);
    POINT point;
    point.x = (LONG)mappedX;
    point.y = (LONG)mappedY;
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

bool CPrintDevice::PlaceOnDevice(double x, double y, int width, int height, CPixelTurn* turn,
                                 RECT* place) const
{
    CDeviceMapping mapping;
    if (!ReadDeviceMapping(m_dc, &mapping))
        return false;
    // The block's corners on the device: its top left (where its first
    // pixel lies), top right, bottom left and bottom right.
    const double page[4][2] = {{x, y + height}, {x + width, y + height}, {x, y}, {x + width, y}};
    double device[4][2];
    for (int i = 0; i < 4; ++i) {
        double logicalX = 0;
        double logicalY = 0;
        MapPage(page[i][0], page[i][1], true, &logicalX, &logicalY);
        mapping.Apply(logicalX, logicalY, &device[i][0], &device[i][1]);
    }
    double acrossX = device[1][0] - device[0][0];
    double acrossY = device[1][1] - device[0][1];
    turn->columnsDown = fabs(acrossY) > fabs(acrossX);
    turn->columnsBack = turn->columnsDown ? acrossY < 0 : acrossX < 0;
    turn->rowsBack = turn->columnsDown ? device[2][0] < device[0][0] : device[2][1] < device[0][1];
    double least[2] = {device[0][0], device[0][1]};
    double most[2] = {device[0][0], device[0][1]};
    for (int i = 1; i < 4; ++i)
        for (int axis = 0; axis < 2; ++axis) {
            least[axis] = std::min(least[axis], device[i][axis]);
            most[axis] = std::max(most[axis], device[i][axis]);
        }
    // Pixel edges round as the vectors' truncated points fall: a pixel
    // centred on page x = c covers the device column a line at c takes.
    place->left = (LONG)floor(least[0] + 0.5);
    place->top = (LONG)floor(least[1] + 0.5);
    place->right = (LONG)floor(most[0] + 0.5);
    place->bottom = (LONG)floor(most[1] + 0.5);
    return place->right > place->left && place->bottom > place->top;
}

bool CPrintDevice::Raster(double x, double y, int width, int height, HBITMAP image)
{
    std::vector<uint32_t> pixels;
    int columns = 0;
    int rows = 0;
    CPixelTurn turn;
    RECT place;
    CPaperPixels paper;
    if (width <= 0 || height <= 0 || !ReadPixels(image, &pixels, &columns, &rows) ||
        !PlaceOnDevice(x, y, width, height, &turn, &place) ||
        !LayOnPaper(pixels.data(), columns, rows, turn, &paper) || paper.shown.empty())
        return false;
    // In device pixels, within the clip the drawing set and the pixels
    // that show.
    int saved = SaveDC(m_dc);
    bool clipped = paper.allShown || ClipToShownPixels(m_dc, paper, place);
    if (clipped)
        StretchOnDevice(m_dc, paper, place);
    RestoreDC(m_dc, saved);
    return clipped;
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
    if (m_fillOff || first > last || first < 0 || points == NULL)
        return;
    std::vector<POINT> corners;
    corners.reserve(last - first + 1);
    for (int i = first; i <= last; ++i)
        corners.push_back(MapPoint(points[i].x, points[i].y, true));
    ::Polygon(m_dc, corners.data(), (int)corners.size());
}

void CPrintDevice::PolyPolygon(const DwgExportPoint* points, const int* counts, int polygonCount)
{
    if (m_fillOff || points == NULL || counts == NULL || polygonCount <= 0)
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
    if (m_colorMode == 1) {
        int grey = (int)(0.299 * GetRValue(colour) + 0.587 * GetGValue(colour) + 0.114 * GetBValue(colour));
        colour = RGB(grey, grey, grey);
    } else if (m_colorMode == 2) {
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
