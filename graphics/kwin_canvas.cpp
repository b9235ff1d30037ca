// The C library headers come before <windows.h>, whose min and max
// macros they cannot take.
#include <math.h>
#include <new>
#include <vector>
#include "graphics/kwin_canvas.h"

#include "graphics/averaged_stretch.h"

namespace {

const int kStatusReady = 0;
const int kStatusNoSurface = 1;
const int kStatusNoView = 4;
const COLORREF kPointMarkColour = 0xff0000;

int RoundToInt(double value)
{
    return static_cast<int>(nearbyint(value));
}

int ClampInt(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

}  // namespace

KWinCanvas::KWinCanvas()
    : m_bkColour(0xdcdcdc),
      m_status(kStatusReady),
      m_targetDC(nullptr),
      m_memDC(nullptr),
      m_bitmap(nullptr),
      m_oldBitmap(nullptr),
      m_allocWidth(0),
      m_allocHeight(0),
      m_oldPen(nullptr),
      m_oldBrush(nullptr),
      m_dirty(0)
{
    m_pen.lopnStyle = PS_SOLID;
    m_pen.lopnWidth.x = 1;
    m_pen.lopnWidth.y = 1;
    m_pen.lopnColor = 0xffffff;
    m_brush.lbStyle = BS_SOLID;
    m_brush.lbColor = 0xdcdcdc;
    m_brush.lbHatch = 4;
}

KWinCanvas::~KWinCanvas()
{
    EndDraw();
    FreeSurface();
}

void KWinCanvas::FreeSurface()
{
    if (m_memDC && m_oldBitmap)
        SelectObject(m_memDC, m_oldBitmap);
    if (m_bitmap)
        DeleteObject(m_bitmap);
    if (m_memDC)
        DeleteDC(m_memDC);
    m_memDC = nullptr;
    m_bitmap = nullptr;
    m_oldBitmap = nullptr;
    m_allocWidth = 0;
    m_allocHeight = 0;
}

bool KWinCanvas::EnsureMemDC()
{
    if (!m_memDC)
        m_memDC = CreateCompatibleDC(nullptr);
    return m_memDC != nullptr;
}

bool KWinCanvas::SelectNewBitmap(int bitmapWidth, int bitmapHeight)
{
    if (!EnsureMemDC())
        return false;
    HDC reference = m_targetDC ? m_targetDC : GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(reference, bitmapWidth > 0 ? bitmapWidth : 1,
                                            bitmapHeight > 0 ? bitmapHeight : 1);
    if (!m_targetDC)
        ReleaseDC(nullptr, reference);
    if (!bitmap)
        return false;
    HGDIOBJ previous = SelectObject(m_memDC, bitmap);
    if (!m_oldBitmap)
        m_oldBitmap = previous;
    else if (previous)
        DeleteObject(previous);
    m_bitmap = bitmap;
    m_allocWidth = bitmapWidth;
    m_allocHeight = bitmapHeight;
    m_dirty = 1;
    return true;
}

bool KWinCanvas::CreateSurface()
{
    EndDraw();
    FreeSurface();
    return SelectNewBitmap(width, height);
}

bool KWinCanvas::EnsureSurface()
{
    return m_bitmap ? true : CreateSurface();
}

bool KWinCanvas::SetSize(int newWidth, int newHeight)
{
    bool grew = newWidth > width || newHeight > height;
    width = newWidth;
    height = newHeight;
    if (m_allocWidth < newWidth || m_allocHeight < newHeight) {
        // Keep the larger extent of each side: the bitmap never shrinks.
        SelectNewBitmap(newWidth > m_allocWidth ? newWidth : m_allocWidth,
                        newHeight > m_allocHeight ? newHeight : m_allocHeight);
    }
    return grew;
}

void KWinCanvas::SetROP(int mode)
{
    if (m_memDC)
        SetROP2(m_memDC, mode == 1 ? R2_NOT : R2_COPYPEN);
}

void KWinCanvas::SelectNewPen()
{
    if (!m_memDC)
        return;
    HPEN pen = CreatePenIndirect(&m_pen);
    if (!pen)
        return;
    HGDIOBJ previous = SelectObject(m_memDC, pen);
    if (!m_oldPen)
        m_oldPen = previous;
    else if (previous)
        DeleteObject(previous);
}

void KWinCanvas::SelectNewBrush()
{
    if (!m_memDC)
        return;
    HBRUSH brush = CreateBrushIndirect(&m_brush);
    if (!brush)
        return;
    HGDIOBJ previous = SelectObject(m_memDC, brush);
    if (!m_oldBrush)
        m_oldBrush = previous;
    else if (previous)
        DeleteObject(previous);
}

void KWinCanvas::SetPenColor(COLORREF colour)
{
    if (colour == m_pen.lopnColor)
        return;
    m_pen.lopnColor = colour;
    SelectNewPen();
}

void KWinCanvas::SetBrushColor(COLORREF colour)
{
    if (colour == m_brush.lbColor)
        return;
    m_brush.lbColor = colour;
    SelectNewBrush();
}

void KWinCanvas::SetBkColor(COLORREF colour)
{
    m_bkColour = colour;
    if (m_memDC)
        ::SetBkColor(m_memDC, colour);
}

void KWinCanvas::SetPenWidth(int penWidth)
{
    if (penWidth == 0)
        penWidth = 1;
    if (penWidth == m_pen.lopnWidth.x)
        return;
    m_pen.lopnWidth.x = penWidth;
    m_pen.lopnWidth.y = penWidth;
    SelectNewPen();
}

void KWinCanvas::FillSolid(const RECT& rect, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    if (!brush)
        return;
    ::FillRect(m_memDC, &rect, brush);
    DeleteObject(brush);
}

void KWinCanvas::FillWholeSurface(COLORREF colour)
{
    RECT all = {0, 0, m_allocWidth, m_allocHeight};
    FillSolid(all, colour);
}

void KWinCanvas::Clear(COLORREF colour)
{
    if (EnsureSurface())
        FillWholeSurface(colour);
}

void KWinCanvas::Present()
{
    if (m_targetDC && m_memDC)
        BitBlt(m_targetDC, left, top, width, height, m_memDC, 0, 0, SRCCOPY);
    m_dirty = 0;
}

void KWinCanvas::BlitTo(HDC dc)
{
    if (!dc)
        return;
    if (m_memDC)
        BitBlt(dc, left, top, width, height, m_memDC, 0, 0, SRCCOPY);
    m_dirty = 0;
}

int KWinCanvas::BeginDraw(COLORREF background, bool clear)
{
    drawDone = 0;
    if (!viewport) {
        m_status = kStatusNoView;
        return m_status;
    }
    if (!EnsureSurface()) {
        m_status = kStatusNoSurface;
        return m_status;
    }
    SelectNewPen();
    SelectNewBrush();
    if (clear)
        FillWholeSurface(background);
    SetPolyFillMode(m_memDC, ALTERNATE);
    m_status = kStatusReady;
    return m_status;
}

int KWinCanvas::EndDraw()
{
    if (m_memDC && m_oldPen) {
        HGDIOBJ ours = SelectObject(m_memDC, m_oldPen);
        if (ours)
            DeleteObject(ours);
    }
    if (m_memDC && m_oldBrush) {
        HGDIOBJ ours = SelectObject(m_memDC, m_oldBrush);
        if (ours)
            DeleteObject(ours);
    }
    m_oldPen = nullptr;
    m_oldBrush = nullptr;
    m_dirty = 0;
    drawDone = 1;
    return m_status;
}

void KWinCanvas::DrawLine(const KType::RPoint2D& p1, const KType::RPoint2D& p2)
{
    if (!viewport)
        return;
    DrawLine(viewport->ToDevice(p1.x, p1.y), viewport->ToDevice(p2.x, p2.y));
}

void KWinCanvas::DrawLine(POINT p1, POINT p2)
{
    DrawLine(p1.x, p1.y, p2.x, p2.y);
}

void KWinCanvas::DrawLine(int x1, int y1, int x2, int y2)
{
    if (!m_memDC)
        return;
    MoveToEx(m_memDC, x1, y1, nullptr);
    ::LineTo(m_memDC, x2, y2);
}

void KWinCanvas::FillRect(COLORREF colour, const RECT& rect)
{
    if (!m_memDC)
        return;
    SetBrushColor(colour);
    ::FillRect(m_memDC, &rect, static_cast<HBRUSH>(GetCurrentObject(m_memDC, OBJ_BRUSH)));
}

void KWinCanvas::DrawPointMark(const KType::RPoint2D& point, int halfSize)
{
    if (!m_memDC || !viewport)
        return;
    POINT centre = viewport->ToDevice(point.x, point.y);
    RECT square = {centre.x - halfSize, centre.y - halfSize, centre.x + halfSize,
                   centre.y + halfSize};
    FillSolid(square, kPointMarkColour);
}

void KWinCanvas::SetPixel(float wx, float wy, COLORREF colour)
{
    if (!m_memDC || !viewport)
        return;
    POINT point = viewport->ToDevice(wx, wy);
    ::SetPixel(m_memDC, point.x, point.y, colour);
}

void KWinCanvas::MoveTo(const KType::RPoint2D& point)
{
    if (viewport)
        MoveTo(viewport->ToDevice(point.x, point.y));
}

void KWinCanvas::MoveTo(POINT point)
{
    if (m_memDC)
        MoveToEx(m_memDC, point.x, point.y, nullptr);
}

void KWinCanvas::LineTo(const KType::RPoint2D& point)
{
    if (viewport)
        LineTo(viewport->ToDevice(point.x, point.y));
}

void KWinCanvas::LineTo(POINT point)
{
    if (m_memDC)
        ::LineTo(m_memDC, point.x, point.y);
}

void KWinCanvas::DrawPoly(const KType::RPoint2D* points, uint32_t count, bool closed,
                          bool filled)
{
    if (!m_memDC)
        return;
    POINT* device = ToDevicePoints(points, count, closed && !filled);
    if (!device)
        return;
    if (filled)
        Polygon(m_memDC, device, static_cast<int>(count));
    else
        Polyline(m_memDC, device, static_cast<int>(closed ? count + 1 : count));
}

void KWinCanvas::DrawPoly(const KPointBuffer& points, bool closed, bool filled)
{
    DrawPoly(points.GetData(), points.GetCount(), closed, filled);
}

void KWinCanvas::DrawPolyPolygon(KPolylineList& polylines, uint32_t totalPoints)
{
    (void)totalPoints;  // the scratch array grows as the buffers are added
    if (!m_memDC || polylines.IsEmpty())
        return;
    INT* counts = new (std::nothrow) INT[polylines.GetCount()];
    if (!counts)
        return;
    int polygons = 0;
    size_t used = 0;
    for (KPointBuffer* buffer = polylines.First(); buffer; buffer = polylines.Next()) {
        // A buffer that cannot be converted adds no polygon.
        if (buffer->GetCount() == 0 ||
            !AppendDevicePoints(buffer->GetData(), buffer->GetCount(), used))
            continue;
        counts[polygons++] = static_cast<INT>(buffer->GetCount());
        used += buffer->GetCount();
    }
    if (polygons > 0)
        PolyPolygon(m_memDC, ScratchPoints(), counts, polygons);
    delete[] counts;
}

void KWinCanvas::DrawImageFrame(const RECT& rect, int offset, COLORREF colour)
{
    COLORREF edge = ShadowEdgeColour(colour);
    RECT rightShadow = {rect.right, rect.top + offset, rect.right + offset, rect.bottom + offset};
    RECT bottomShadow = {rect.left + offset, rect.bottom + 1, rect.right + 1,
                         rect.bottom + offset};
    if (offset > 0) {
        FillSolid(rightShadow, edge);
        FillSolid(bottomShadow, edge);
    }
    SetPenColor(colour);
    SetPenWidth(1);
    DrawLine(rect.left - 1, rect.top - 1, rect.right, rect.top - 1);
    DrawLine(rect.left - 1, rect.bottom + 1, rect.right, rect.bottom + 1);
    DrawLine(rect.left - 1, rect.top - 1, rect.left - 1, rect.bottom + 1);
    DrawLine(rect.right, rect.top - 1, rect.right, rect.bottom + 1);
}

bool KWinCanvas::DrawImage(const KType::RPoint2D& origin, int imageWidth, int imageHeight,
                           const void* pixels, const BITMAPINFO* header, bool frame,
                           int frameOffset, COLORREF frameColour, bool fastStretch)
{
    if (!m_memDC || !viewport || imageWidth < 1 || imageHeight < 1)
        return false;
    // One world unit is one image pixel; the image's lower-left corner
    // stands at origin.
    KWorldRect world = {origin.x, origin.y + imageHeight, origin.x + imageWidth, origin.y};
    RECT device = viewport->ToDeviceRect(world);
    if (!ClipDeviceRect(device, width, height))
        return false;
    if (frame && !(noImageFrame && pixels))
        DrawImageFrame(device, frameOffset, frameColour);
    if (!pixels || !header || device.right <= device.left || device.bottom <= device.top)
        return true;

    int bitsPerPixel = header->bmiHeader.biBitCount;
    int mode = HALFTONE;
    if (fastStretch)
        mode = (bitsPerPixel > 1 || colourStretch) ? COLORONCOLOR : BLACKONWHITE;
    SetStretchBltMode(m_memDC, mode);
    if (mode == HALFTONE)
        SetBrushOrgEx(m_memDC, 0, 0, nullptr);

    // The clipped device rectangle back in image pixels (rows bottom-up).
    int sourceLeft = ClampInt(RoundToInt(viewport->ToWorldX(device.left) - origin.x), 0,
                              imageWidth);
    int sourceRight = ClampInt(RoundToInt(viewport->ToWorldX(device.right) - origin.x), 0,
                               imageWidth);
    int sourceBottom = ClampInt(RoundToInt(viewport->ToWorldY(device.bottom) - origin.y), 0,
                                imageHeight);
    int sourceTop = ClampInt(RoundToInt(viewport->ToWorldY(device.top) - origin.y), 0,
                             imageHeight);
    if (sourceRight <= sourceLeft || sourceTop <= sourceBottom)
        return true;
    if (mode == HALFTONE)
        StretchDibAveraged(m_memDC, device.left, device.top, device.right - device.left,
                           device.bottom - device.top, sourceLeft, sourceBottom, sourceRight - sourceLeft,
                           sourceTop - sourceBottom, pixels, header);
    else
        StretchDIBits(m_memDC, device.left, device.top, device.right - device.left,
                      device.bottom - device.top, sourceLeft, sourceBottom, sourceRight - sourceLeft,
                      sourceTop - sourceBottom, pixels, header, DIB_RGB_COLORS, SRCCOPY);
    return true;
}

void KWinCanvas::FillRectShaded(COLORREF fill, const KWorldRect& rect, int shadowWidth,
                                COLORREF edgeColour)
{
    if (!m_memDC || !viewport)
        return;
    RECT device = viewport->ToDeviceRect(rect);
    if (shadowWidth > 0) {
        COLORREF edge = ShadowEdgeColour(edgeColour);
        RECT right = {device.right + 1, device.top + shadowWidth, device.right + shadowWidth + 1,
                      device.bottom + shadowWidth};
        RECT below = {device.left + shadowWidth, device.bottom + 1, device.right + 1,
                      device.bottom + shadowWidth};
        FillSolid(right, edge);
        FillSolid(below, edge);
    }
    FillRect(fill, device);
}

void KWinCanvas::DrawRect(const KWorldRect& rect, COLORREF colour, bool filled)
{
    if (!m_memDC || !viewport)
        return;
    SetPenColor(colour);
    RECT device = viewport->ToDeviceRect(rect);
    if (filled) {
        Rectangle(m_memDC, device.left, device.top, device.right, device.bottom);
        return;
    }
    SetBrushColor(colour);
    POINT outline[5] = {{device.left, device.top},
                        {device.right, device.top},
                        {device.right, device.bottom},
                        {device.left, device.bottom},
                        {device.left, device.top}};
    Polyline(m_memDC, outline, 5);
}

void KWinCanvas::DrawRubberBand(POINT p1, POINT p2)
{
    if (!m_memDC)
        return;
    SetROP(1);
    POINT outline[5] = {p1, {p2.x, p1.y}, p2, {p1.x, p2.y}, p1};
    Polyline(m_memDC, outline, 5);
    SetROP(0);
}
