#include "platform/zrio/win32.h"
#include "platform/zrio/gdi_sink.h"

#include <cmath>

#include "platform/zrio/image_raster.h"

namespace zr {

GdiSink::GdiSink(HDC dc, bool flipY, const Transform& worldToDevice, int width, int height,
                 const RenderOptions& options)
    : ScreenSink(worldToDevice, width, height, options), dc_(dc), flipY_(flipY) {
  oldPen_ = SelectObject(dc_, GetStockObject(BLACK_PEN));
  oldBrush_ = SelectObject(dc_, GetStockObject(BLACK_BRUSH));
  oldFont_ = GetCurrentObject(dc_, OBJ_FONT);
  oldBkMode_ = SetBkMode(dc_, TRANSPARENT);
  oldFillMode_ = SetPolyFillMode(dc_, ALTERNATE);
  oldAlign_ = SetTextAlign(dc_, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
  oldTextColor_ = GetTextColor(dc_);
}

GdiSink::~GdiSink() {
  SelectObject(dc_, oldPen_);
  SelectObject(dc_, oldBrush_);
  SelectObject(dc_, oldFont_);
  SetBkMode(dc_, oldBkMode_);
  SetPolyFillMode(dc_, oldFillMode_);
  SetTextAlign(dc_, oldAlign_);
  SetTextColor(dc_, oldTextColor_);
  for (auto& p : pens_) DeleteObject(p.second);
  for (auto& b : brushes_) DeleteObject(b.second);
  for (auto& f : fonts_) DeleteObject(f.second);
}

LONG GdiSink::deviceY(double y) const {
  return LONG(std::lround(flipY_ ? height_ - y : y));
}

void GdiSink::setStyle(COLORREF color, int width, int) {
  color_ = color;
  uint64_t key = (uint64_t(width) << 32) | color;
  auto it = pens_.find(key);
  HPEN pen;
  if (it == pens_.end()) {
    pen = CreatePen(PS_SOLID, width, color);
    pens_[key] = pen;
  } else {
    pen = it->second;
  }
  SelectObject(dc_, pen);
  auto b = brushes_.find(color);
  HBRUSH brush;
  if (b == brushes_.end()) {
    brush = CreateSolidBrush(color);
    brushes_[color] = brush;
  } else {
    brush = b->second;
  }
  SelectObject(dc_, brush);
  SetTextColor(dc_, color);
}

void GdiSink::emitPolyline(const double* xy, size_t count) {
  points_.resize(count);
  for (size_t i = 0; i < count; ++i) {
    points_[i].x = LONG(std::lround(xy[2 * i]));
    points_[i].y = deviceY(xy[2 * i + 1]);
  }
  if (count == 2 && points_[0].x == points_[1].x && points_[0].y == points_[1].y) {
    SetPixelV(dc_, points_[0].x, points_[0].y, color_);
    return;
  }
  Polyline(dc_, points_.data(), int(count));
}

void GdiSink::emitPolygons(const double* xy, const int* counts, int loops) {
  size_t total = 0;
  for (int i = 0; i < loops; ++i) total += size_t(counts[i]);
  points_.resize(total);
  for (size_t i = 0; i < total; ++i) {
    points_[i].x = LONG(std::lround(xy[2 * i]));
    points_[i].y = deviceY(xy[2 * i + 1]);
  }
  std::vector<INT> polyCounts(counts, counts + loops);
  PolyPolygon(dc_, points_.data(), polyCounts.data(), loops);
}

void GdiSink::beginClip(const double* xy, int count) {
  savedStates_.push_back(SaveDC(dc_));
  points_.resize(size_t(count));
  for (int i = 0; i < count; ++i) {
    points_[size_t(i)].x = LONG(std::lround(xy[2 * i]));
    points_[size_t(i)].y = deviceY(xy[2 * i + 1]);
  }
  // Clip regions are in device units: map the logical points first.
  LPtoDP(dc_, points_.data(), count);
  HRGN region = CreatePolygonRgn(points_.data(), count, ALTERNATE);
  ExtSelectClipRgn(dc_, region, RGN_AND);
  DeleteObject(region);
}

void GdiSink::endClip() {
  if (savedStates_.empty()) return;
  if (savedStates_.back()) RestoreDC(dc_, savedStates_.back());
  savedStates_.pop_back();
}

void GdiSink::emitPixels(const OutputPixels& p) {
  HBITMAP dib = PixelSection(p);
  if (!dib) return;
  HDC source = CreateCompatibleDC(dc_);
  HGDIOBJ old = source ? SelectObject(source, dib) : nullptr;
  // The blend goes in device pixels: a DC mapped with y upwards has its
  // rectangle mapped first.
  POINT corners[2] = {{p.left, p.top}, {p.left + p.width, p.top + p.height}};
  int saved = 0;
  if (!flipY_) {
    corners[0].y = height_ - p.top;
    corners[1].y = height_ - p.top - p.height;
    LPtoDP(dc_, corners, 2);
    saved = SaveDC(dc_);
    SetMapMode(dc_, MM_TEXT);
    SetWindowOrgEx(dc_, 0, 0, nullptr);
    SetViewportOrgEx(dc_, 0, 0, nullptr);
  }
  LONG x = std::min(corners[0].x, corners[1].x), y = std::min(corners[0].y, corners[1].y);
  LONG w = std::abs(corners[1].x - corners[0].x), h = std::abs(corners[1].y - corners[0].y);
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  if (source && w > 0 && h > 0) GdiAlphaBlend(dc_, x, y, w, h, source, 0, 0, p.width, p.height, blend);
  if (saved) RestoreDC(dc_, saved);
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
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  HFONT f = CreateTextFont(height, angle, charWidth, look & 1, look & 2);
  fonts_[key] = f;
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
    SelectObject(dc_, font(t.height, t.angle, 0, look));
    LONG charWidth = FittedCharWidth(dc_, text, int(piece.count), piece.advance);
    if (charWidth) SelectObject(dc_, font(t.height, t.angle, charWidth, look));
    ExtTextOutW(dc_, int(std::lround(t.x + c * piece.offset)), int(deviceY(t.y + s * piece.offset)), 0,
                nullptr, text, UINT(piece.count), piece.steps.data());
  }
}

}  // namespace zr
