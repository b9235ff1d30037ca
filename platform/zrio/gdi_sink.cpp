#include "platform/zrio/win32.h"
#include "platform/zrio/gdi_sink.h"

#include <cmath>

#include "platform/zrio/image_raster.h"

namespace zr {

GdiSink::GdiSink(HDC dc, bool flipY, const Transform& worldToDevice, int width, int height,
                 const RenderOptions& options)
    : ScreenSink(worldToDevice, width, height, options), m_dc(dc), m_flipY(flipY) {
  m_oldPen = SelectObject(m_dc, GetStockObject(BLACK_PEN));
  m_oldBrush = SelectObject(m_dc, GetStockObject(BLACK_BRUSH));
  m_oldFont = GetCurrentObject(m_dc, OBJ_FONT);
  m_oldBkMode = SetBkMode(m_dc, TRANSPARENT);
  m_oldFillMode = SetPolyFillMode(m_dc, ALTERNATE);
  m_oldAlign = SetTextAlign(m_dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
  m_oldTextColor = GetTextColor(m_dc);
}

GdiSink::~GdiSink() {
  SelectObject(m_dc, m_oldPen);
  SelectObject(m_dc, m_oldBrush);
  SelectObject(m_dc, m_oldFont);
  SetBkMode(m_dc, m_oldBkMode);
  SetPolyFillMode(m_dc, m_oldFillMode);
  SetTextAlign(m_dc, m_oldAlign);
  SetTextColor(m_dc, m_oldTextColor);
  for (auto& p : m_pens) DeleteObject(p.second);
  for (auto& b : m_brushes) DeleteObject(b.second);
  for (auto& f : m_fonts) DeleteObject(f.second);
}

LONG GdiSink::deviceY(double y) const {
  return LONG(std::lround(m_flipY ? m_height - y : y));
}

void GdiSink::setStyle(COLORREF color, int width, int) {
  m_color = color;
  uint64_t key = (uint64_t(width) << 32) | color;
  auto it = m_pens.find(key);
  HPEN pen;
  if (it == m_pens.end()) {
    pen = CreatePen(PS_SOLID, width, color);
    m_pens[key] = pen;
  } else {
    pen = it->second;
  }
  SelectObject(m_dc, pen);
  auto b = m_brushes.find(color);
  HBRUSH brush;
  if (b == m_brushes.end()) {
    brush = CreateSolidBrush(color);
    m_brushes[color] = brush;
  } else {
    brush = b->second;
  }
  SelectObject(m_dc, brush);
  SetTextColor(m_dc, color);
}

void GdiSink::emitPolyline(const double* xy, size_t count) {
  m_points.resize(count);
  for (size_t i = 0; i < count; ++i) {
    m_points[i].x = LONG(std::lround(xy[2 * i]));
    m_points[i].y = deviceY(xy[2 * i + 1]);
  }
  if (count == 2 && m_points[0].x == m_points[1].x && m_points[0].y == m_points[1].y) {
    SetPixelV(m_dc, m_points[0].x, m_points[0].y, m_color);
    return;
  }
  Polyline(m_dc, m_points.data(), int(count));
}

void GdiSink::emitPolygons(const double* xy, const int* counts, int loops) {
  size_t total = 0;
  for (int i = 0; i < loops; ++i) total += size_t(counts[i]);
  m_points.resize(total);
  for (size_t i = 0; i < total; ++i) {
    m_points[i].x = LONG(std::lround(xy[2 * i]));
    m_points[i].y = deviceY(xy[2 * i + 1]);
  }
  std::vector<INT> polyCounts(counts, counts + loops);
  PolyPolygon(m_dc, m_points.data(), polyCounts.data(), loops);
}

void GdiSink::beginClip(const double* xy, int count) {
  m_savedStates.push_back(SaveDC(m_dc));
  m_points.resize(size_t(count));
  for (int i = 0; i < count; ++i) {
    m_points[size_t(i)].x = LONG(std::lround(xy[2 * i]));
    m_points[size_t(i)].y = deviceY(xy[2 * i + 1]);
  }
  // Clip regions are in device units: map the logical points first.
  LPtoDP(m_dc, m_points.data(), count);
  HRGN region = CreatePolygonRgn(m_points.data(), count, ALTERNATE);
  ExtSelectClipRgn(m_dc, region, RGN_AND);
  DeleteObject(region);
}

void GdiSink::endClip() {
  if (m_savedStates.empty()) return;
  if (m_savedStates.back()) RestoreDC(m_dc, m_savedStates.back());
  m_savedStates.pop_back();
}

void GdiSink::emitPixels(const OutputPixels& p) {
  HBITMAP dib = PixelSection(p);
  if (!dib) return;
  HDC source = CreateCompatibleDC(m_dc);
  HGDIOBJ old = source ? SelectObject(source, dib) : nullptr;
  // The blend goes in device pixels: a DC mapped with y upwards has its
  // rectangle mapped first.
  POINT corners[2] = {{p.left, p.top}, {p.left + p.width, p.top + p.height}};
  int saved = 0;
  if (!m_flipY) {
    corners[0].y = m_height - p.top;
    corners[1].y = m_height - p.top - p.height;
    LPtoDP(m_dc, corners, 2);
    saved = SaveDC(m_dc);
    SetMapMode(m_dc, MM_TEXT);
    SetWindowOrgEx(m_dc, 0, 0, nullptr);
    SetViewportOrgEx(m_dc, 0, 0, nullptr);
  }
  LONG x = std::min(corners[0].x, corners[1].x), y = std::min(corners[0].y, corners[1].y);
  LONG w = std::abs(corners[1].x - corners[0].x), h = std::abs(corners[1].y - corners[0].y);
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  if (source && w > 0 && h > 0) GdiAlphaBlend(m_dc, x, y, w, h, source, 0, 0, p.width, p.height, blend);
  if (saved) RestoreDC(m_dc, saved);
  if (source) {
    SelectObject(source, old);
    DeleteDC(source);
  }
  DeleteObject(dib);
}

HFONT GdiSink::font(double height, double angle, LONG charWidth, int look) {
  long h = std::lround(height * 4);
  long a = std::lround(angle * 1800 / kPi);
  uint64_t key = (uint64_t(h & 0xFFFFFF) << 40) | (uint64_t(a & 0xFFFF) << 20) |
                 (uint64_t(charWidth & 0x3FFFF) << 2) | uint64_t(look & 3);
  auto it = m_fonts.find(key);
  if (it != m_fonts.end()) return it->second;
  HFONT f = CreateTextFont(height, angle, charWidth, look & 1, look & 2);
  m_fonts[key] = f;
  return f;
}

// The glyphs of the stand-in face are stretched to the measured advance, piece
// by piece, and each character starts where the layout placed it, so that the
// text fills exactly the box that extents and hit tests use.
void GdiSink::emitText(const DeviceText& t) {
  double c = std::cos(t.angle), s = std::sin(t.angle);
  int look = (t.bold ? 1 : 0) | (t.italic ? 2 : 0);
  for (const TextPiece& piece : TextPieces(t)) {
    const WCHAR* text = reinterpret_cast<const WCHAR*>(t.text.c_str()) + piece.first;
    SelectObject(m_dc, font(t.height, t.angle, 0, look));
    LONG charWidth = FittedCharWidth(m_dc, text, int(piece.count), piece.advance);
    if (charWidth) SelectObject(m_dc, font(t.height, t.angle, charWidth, look));
    ExtTextOutW(m_dc, int(std::lround(t.x + c * piece.offset)), int(deviceY(t.y + s * piece.offset)), 0,
                nullptr, text, UINT(piece.count), piece.steps.data());
  }
}

}  // namespace zr
