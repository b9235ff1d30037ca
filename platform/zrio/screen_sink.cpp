#include "platform/zrio/win32.h"
#include "platform/zrio/screen_sink.h"

#include <algorithm>
#include <cmath>

#include "platform/zrio/aci_palette.h"
#include "platform/zrio/box_sink.h"
#include "platform/zrio/image_raster.h"

namespace zr {

namespace {

const double kClipMargin = 64;
// Images are resampled this many output rows at a time.
const int kImageBandRows = 256;
const double kCoordinateLimit = 4194304;  // keeps GDI coordinates sane

double Clamp(double v) { return std::max(-kCoordinateLimit, std::min(kCoordinateLimit, v)); }

bool IsLight(COLORREF c) {
  return 0.299 * GetRValue(c) + 0.587 * GetGValue(c) + 0.114 * GetBValue(c) >= 128;
}

// Liang-Barsky: clips the segment to the box; false when nothing is left.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, double lo_x, double lo_y,
                 double hi_x, double hi_y) {
  double t0 = 0, t1 = 1, dx = x1 - x0, dy = y1 - y0;
  double p[4] = {-dx, dx, -dy, dy};
  double q[4] = {x0 - lo_x, hi_x - x0, y0 - lo_y, hi_y - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    double r = q[i] / p[i];
    if (p[i] < 0) {
      if (r > t1) return false;
      if (r > t0) t0 = r;
    } else {
      if (r < t0) return false;
      if (r < t1) t1 = r;
    }
  }
  double nx0 = x0 + t0 * dx, ny0 = y0 + t0 * dy;
  x1 = x0 + t1 * dx;
  y1 = y0 + t1 * dy;
  x0 = nx0;
  y0 = ny0;
  return true;
}

}  // namespace

HFONT CreateTextFont(double height, double angle, LONG charWidth, bool bold, bool italic) {
  LOGFONTW lf = {};
  // A drawing's text height is the height of its capitals: those of the
  // stand-in face are 0.69 of its em.
  double em = height / 0.69;
  lf.lfHeight = -LONG(std::lround(std::min(em, 30000.0)));
  lf.lfWidth = std::min(charWidth, LONG(30000));
  lf.lfEscapement = lf.lfOrientation = LONG(std::lround(angle * 1800 / kPi));
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = italic;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = ANTIALIASED_QUALITY;
  static const WCHAR kFace[] = {'S', 'i', 'm', 'S', 'u', 'n', 0};
  memcpy(lf.lfFaceName, kFace, sizeof(kFace));
  return CreateFontIndirectW(&lf);
}

LONG FittedCharWidth(HDC dc, const WCHAR* text, int count, double advance) {
  SIZE natural = {0, 0};
  TEXTMETRICW metrics = {};
  if (!GetTextExtentPoint32W(dc, text, count, &natural) || !GetTextMetricsW(dc, &metrics) ||
      natural.cx <= 0 || metrics.tmAveCharWidth <= 0)
    return 0;
  double width = metrics.tmAveCharWidth * advance / natural.cx;
  if (std::fabs(width - metrics.tmAveCharWidth) < 0.5) return 0;
  return LONG(std::lround(std::max(1.0, std::min(width, 30000.0))));
}

std::vector<TextPiece> TextPieces(const DeviceText& t) {
  std::vector<bool> wide;
  std::vector<double> advances = DisplayAdvances(t.text, &wide);
  double total = 0;
  for (double a : advances) total += a;
  double scale = total > 0 ? t.advance / total : 0;
  std::vector<TextPiece> pieces;
  double at = 0;
  long placed = 0;
  for (size_t i = 0; i < advances.size(); ++i) {
    if (pieces.empty() || wide[i] != wide[i - 1]) {
      pieces.emplace_back();
      pieces.back().first = i;
      pieces.back().offset = int(placed);
    }
    at += advances[i] * scale;
    long next = std::lround(at);
    TextPiece& piece = pieces.back();
    piece.steps.push_back(INT(next - placed));
    piece.advance += int(next - placed);
    ++piece.count;
    placed = next;
  }
  return pieces;
}

void TextOutlines(const DeviceText& t, std::vector<double>* xy, std::vector<int>* counts) {
  const double kDesign = 100;
  if (!(t.height > 0) || t.text.empty()) return;
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return;
  DeviceText design = t;
  design.height = kDesign;
  design.advance = t.advance * kDesign / t.height;
  HFONT natural = CreateTextFont(kDesign, 0, 0, t.bold, t.italic);
  HGDIOBJ old = SelectObject(dc, natural);
  SetTextAlign(dc, TA_BASELINE | TA_LEFT);
  SetBkMode(dc, TRANSPARENT);
  BeginPath(dc);
  for (const TextPiece& piece : TextPieces(design)) {
    const WCHAR* text = reinterpret_cast<const WCHAR*>(t.text.c_str()) + piece.first;
    SelectObject(dc, natural);
    LONG charWidth = FittedCharWidth(dc, text, int(piece.count), piece.advance);
    HFONT fitted = charWidth ? CreateTextFont(kDesign, 0, charWidth, t.bold, t.italic) : nullptr;
    if (fitted) SelectObject(dc, fitted);
    ExtTextOutW(dc, piece.offset, 0, 0, nullptr, text, UINT(piece.count), piece.steps.data());
    SelectObject(dc, natural);
    if (fitted) DeleteObject(fitted);
  }
  EndPath(dc);
  FlattenPath(dc);
  int n = GetPath(dc, nullptr, nullptr, 0);
  if (n > 0) {
    std::vector<POINT> pts(static_cast<size_t>(n));
    std::vector<BYTE> types(static_cast<size_t>(n));
    n = GetPath(dc, pts.data(), types.data(), n);
    double s = t.height / kDesign, c = std::cos(t.angle), sn = std::sin(t.angle);
    int current = 0;
    for (int i = 0; i < n; ++i) {
      if ((types[size_t(i)] & ~PT_CLOSEFIGURE) == PT_MOVETO && current > 0) {
        counts->push_back(current);
        current = 0;
      }
      double lx = pts[size_t(i)].x * s, ly = -pts[size_t(i)].y * s;
      xy->push_back(t.x + lx * c - ly * sn);
      xy->push_back(t.y + lx * sn + ly * c);
      ++current;
    }
    if (current > 0) counts->push_back(current);
  }
  SelectObject(dc, old);
  DeleteObject(natural);
  DeleteDC(dc);
}

ScreenSink::ScreenSink(const Transform& worldToDevice, int width, int height,
                       const RenderOptions& options)
    : m_width(width), m_height(height), m_toDevice(worldToDevice), m_options(options) {
  m_scale = std::sqrt(worldToDevice.m[0][0] * worldToDevice.m[0][0] +
                     worldToDevice.m[1][0] * worldToDevice.m[1][0] +
                     worldToDevice.m[2][0] * worldToDevice.m[2][0]);
  if (!(m_scale > 0)) m_scale = 1;
  m_tolerance = 0.35 / m_scale;
}

bool ScreenSink::wantsBox(const Box3& box) {
  if (!box.valid()) return true;
  Box3 d = box.transformed(m_toDevice);
  if (d.hi.x < m_clipLo[0] || d.lo.x > m_clipHi[0] || d.hi.y < m_clipLo[1] || d.lo.y > m_clipHi[1])
    return false;
  return !(d.hi.x < -2 || d.lo.x > m_width + 2 || d.hi.y < -2 || d.lo.y > m_height + 2);
}

void ScreenSink::pushClip(const Vec3* corners, int count) {
  std::vector<double> xy;
  Box3 box;
  for (int i = 0; i < count; ++i) {
    Vec3 d = m_toDevice.apply(corners[i]);
    xy.push_back(Clamp(d.x));
    xy.push_back(Clamp(d.y));
    box.add(d);
  }
  m_outerClips.push_back({m_clipLo[0], m_clipLo[1], m_clipHi[0], m_clipHi[1]});
  m_clipLo[0] = std::max(m_clipLo[0], box.lo.x);
  m_clipLo[1] = std::max(m_clipLo[1], box.lo.y);
  m_clipHi[0] = std::min(m_clipHi[0], box.hi.x);
  m_clipHi[1] = std::min(m_clipHi[1], box.hi.y);
  beginClip(xy.data(), count);
  m_lastColor = CLR_INVALID;  // the device state may have been saved
}

void ScreenSink::popClip() {
  if (m_outerClips.empty()) return;
  endClip();
  m_clipLo[0] = m_outerClips.back()[0];
  m_clipLo[1] = m_outerClips.back()[1];
  m_clipHi[0] = m_outerClips.back()[2];
  m_clipHi[1] = m_outerClips.back()[3];
  m_outerClips.pop_back();
  m_lastColor = CLR_INVALID;
}

bool ScreenSink::cancelled() { return m_options.cancel && m_options.cancel->load(); }

bool ScreenSink::selected(const DrawStyle& style) const {
  return !m_options.only || style.top == m_options.only;
}

COLORREF ScreenSink::resolveColor(const DrawStyle& style) const {
  if (style.background) return m_options.background;
  COLORREF contrast = IsLight(m_options.background) ? RGB(0, 0, 0) : RGB(255, 255, 255);
  COLORREF c;
  if (style.trueColor >= 0)
    c = RGB((style.trueColor >> 16) & 255, (style.trueColor >> 8) & 255, style.trueColor & 255);
  else if (style.aci == 7 || style.aci < 1 || style.aci > 255)
    c = contrast;  // 7 is the foreground colour; so is an index outside the palette
  else
    c = zrio::AciColor(style.aci);
  if (c == m_options.background) c = contrast;
  if (m_options.colorMode == 1) {
    int g = int(0.299 * GetRValue(c) + 0.587 * GetGValue(c) + 0.114 * GetBValue(c));
    c = RGB(g, g, g);
    if (c == m_options.background) c = contrast;
  } else if (m_options.colorMode == 2) {
    c = contrast;
  }
  return c;
}

void ScreenSink::applyStyle(const DrawStyle& style) {
  COLORREF color;
  int width = 0;
  bool fromPen = !style.background && style.trueColor < 0 && style.aci >= 0 && size_t(style.aci) < m_options.pens.size();
  if (fromPen) {
    const PenSetPen& pen = m_options.pens[size_t(style.aci)];
    DrawStyle penStyle = style;
    penStyle.aci = int16_t(pen.colorIndex);
    color = resolveColor(penStyle);
    width = pen.width;
  } else {
    color = resolveColor(style);
    int lw = style.lineweight;
    if (m_options.dpi > 0 && lw > 0) width = int(std::lround(lw / 100.0 * m_options.dpi / 25.4));
  }
  if (m_options.highlight) width = std::max(width, 3);
  if (color == m_lastColor && width == m_lastWidth) return;
  m_lastColor = color;
  m_lastWidth = width;
  setStyle(color, width, style.trueColor >= 0 ? -1 : style.aci);
}

void ScreenSink::polyline(const Vec3* pts, size_t count, bool closed, const DrawStyle& style) {
  if (!selected(style) || count == 0) return;
  m_xy.resize(count * 2);
  for (size_t i = 0; i < count; ++i) {
    Vec3 d = m_toDevice.apply(pts[i]);
    m_xy[2 * i] = d.x;
    m_xy[2 * i + 1] = d.y;
  }
  applyStyle(style);
  if (style.linetype && count > 1 && emitDashed(m_xy, closed && count > 2, *style.linetype)) return;
  emitClipped(m_xy, closed && count > 2);
}

bool ScreenSink::emitDashed(const std::vector<double>& xy, bool closed, const LineType& type) {
  double unit = m_options.ltscale * m_scale;  // pixels per pattern unit
  double period = type.length * unit;
  size_t n = xy.size() / 2, segments = closed ? n : n - 1;
  double total = 0;
  for (size_t i = 0; i < segments; ++i) {
    size_t j = (i + 1) % n;
    total += std::hypot(xy[2 * j] - xy[2 * i], xy[2 * j + 1] - xy[2 * i + 1]);
  }
  // Patterns finer than a few pixels, or too many repeats, look continuous.
  if (!(period >= 4) || total / period > 20000) return false;
  size_t element = 0;
  double left = std::fabs(type.dashes[0]) * unit;
  auto drawing = [&]() { return type.dashes[element] >= 0; };
  m_dash.clear();
  for (size_t i = 0; i < segments; ++i) {
    size_t j = (i + 1) % n;
    double x0 = xy[2 * i], y0 = xy[2 * i + 1], x1 = xy[2 * j], y1 = xy[2 * j + 1];
    double length = std::hypot(x1 - x0, y1 - y0), at = 0;
    if (drawing() && m_dash.empty()) m_dash = {x0, y0};
    while (length - at > left) {
      at += left;
      double px = x0 + (x1 - x0) * at / length, py = y0 + (y1 - y0) * at / length;
      if (drawing()) {
        m_dash.push_back(px);
        m_dash.push_back(py);
        if (type.dashes[element] == 0) m_dash.push_back(px + 0.5), m_dash.push_back(py);
        emitClipped(m_dash, false);
        m_dash.clear();
      }
      element = (element + 1) % type.dashes.size();
      left = std::fabs(type.dashes[element]) * unit;
      if (drawing()) m_dash = {px, py};
    }
    left -= length - at;
    if (drawing()) {
      m_dash.push_back(x1);
      m_dash.push_back(y1);
    }
  }
  if (m_dash.size() >= 4) emitClipped(m_dash, false);
  return true;
}

void ScreenSink::emitClipped(const std::vector<double>& xy, bool closed) {
  size_t n = xy.size() / 2;
  const double loX = -kClipMargin, loY = -kClipMargin;
  const double hiX = m_width + kClipMargin, hiY = m_height + kClipMargin;
  bool inside = true;
  for (size_t i = 0; i < n && inside; ++i)
    inside = xy[2 * i] >= loX && xy[2 * i] <= hiX && xy[2 * i + 1] >= loY && xy[2 * i + 1] <= hiY;
  if (inside) {
    if (n == 1) {
      m_run.assign(xy.begin(), xy.end());
      m_run.push_back(xy[0] + 0.5);
      m_run.push_back(xy[1]);
      emitPolyline(m_run.data(), 2);
      return;
    }
    if (!closed) {
      emitPolyline(xy.data(), n);
      return;
    }
    m_run.assign(xy.begin(), xy.end());
    m_run.push_back(xy[0]);
    m_run.push_back(xy[1]);
    emitPolyline(m_run.data(), n + 1);
    return;
  }
  size_t segments = closed ? n : n - 1;
  m_run.clear();
  for (size_t i = 0; i < segments; ++i) {
    size_t j = (i + 1) % n;
    double x0 = xy[2 * i], y0 = xy[2 * i + 1], x1 = xy[2 * j], y1 = xy[2 * j + 1];
    bool startInside = x0 >= loX && x0 <= hiX && y0 >= loY && y0 <= hiY;
    if (!ClipSegment(x0, y0, x1, y1, loX, loY, hiX, hiY)) {
      if (m_run.size() >= 4) emitPolyline(m_run.data(), m_run.size() / 2);
      m_run.clear();
      continue;
    }
    if (!startInside || m_run.empty()) {
      if (m_run.size() >= 4) emitPolyline(m_run.data(), m_run.size() / 2);
      m_run.assign({x0, y0});
    }
    m_run.push_back(x1);
    m_run.push_back(y1);
    bool endInside = xy[2 * j] >= loX && xy[2 * j] <= hiX && xy[2 * j + 1] >= loY && xy[2 * j + 1] <= hiY;
    if (!endInside) {
      emitPolyline(m_run.data(), m_run.size() / 2);
      m_run.clear();
    }
  }
  if (m_run.size() >= 4) emitPolyline(m_run.data(), m_run.size() / 2);
}

void ScreenSink::fill(const Vec3* pts, const int* counts, int loops, const DrawStyle& style) {
  if (!selected(style)) return;
  size_t total = 0;
  for (int i = 0; i < loops; ++i) total += size_t(std::max(counts[i], 0));
  if (!m_options.fillOn || m_options.highlight) {
    size_t at = 0;
    for (int i = 0; i < loops; ++i) {
      polyline(pts + at, size_t(std::max(counts[i], 0)), true, style);
      at += size_t(std::max(counts[i], 0));
    }
    return;
  }
  m_xy.resize(total * 2);
  Box3 box;
  for (size_t i = 0; i < total; ++i) {
    Vec3 d = m_toDevice.apply(pts[i]);
    m_xy[2 * i] = Clamp(d.x);
    m_xy[2 * i + 1] = Clamp(d.y);
    box.add(d);
  }
  if (box.hi.x < 0 || box.lo.x > m_width || box.hi.y < 0 || box.lo.y > m_height) return;
  applyStyle(style);
  emitPolygons(m_xy.data(), counts, loops);
}

void ScreenSink::drawPointSymbol(double x, double y) {
  int mode = m_options.pdmode;
  double size = m_options.pdsize;
  double px = size > 0 ? size * m_scale : (size < 0 ? -size / 100.0 * m_height : 0.05 * m_height);
  double r = std::max(1.0, px / 2);
  auto segment = [&](double x0, double y0, double x1, double y1) {
    double p[4] = {x0, y0, x1, y1};
    emitPolyline(p, 2);
  };
  switch (mode & 7) {
    case 0: segment(x, y, x + 0.5, y); break;
    case 1: break;
    case 2: segment(x - r, y, x + r, y); segment(x, y - r, x, y + r); break;
    case 3: segment(x - r, y - r, x + r, y + r); segment(x - r, y + r, x + r, y - r); break;
    case 4: segment(x, y, x, y + r); break;
    default: segment(x, y, x + 0.5, y);
  }
  if (mode & 32) {
    std::vector<double> c;
    for (int i = 0; i <= 24; ++i) {
      c.push_back(x + r * std::cos(i * kPi / 12));
      c.push_back(y + r * std::sin(i * kPi / 12));
    }
    emitPolyline(c.data(), c.size() / 2);
  }
  if (mode & 64) {
    double sq[10] = {x - r, y - r, x + r, y - r, x + r, y + r, x - r, y + r, x - r, y - r};
    emitPolyline(sq, 5);
  }
}

void ScreenSink::point(const Vec3& p, const DrawStyle& style) {
  if (!selected(style)) return;
  Vec3 d = m_toDevice.apply(p);
  if (d.x < -kClipMargin || d.x > m_width + kClipMargin || d.y < -kClipMargin ||
      d.y > m_height + kClipMargin)
    return;
  applyStyle(style);
  drawPointSymbol(d.x, d.y);
}

void ScreenSink::text(const TextRun& run, const DrawStyle& style) {
  if (!selected(style)) return;
  Vec3 o = m_toDevice.apply(run.origin);
  Vec3 xa = m_toDevice.applyVector(run.xAxis), ya = m_toDevice.applyVector(run.yAxis);
  double xl = std::hypot(xa.x, xa.y), yl = std::hypot(ya.x, ya.y);
  if (yl < 1.5 || xl <= 0) return;  // too small to read
  if (m_options.quickMode || yl > 20000) {
    Vec3 corners[4];
    TextRunCorners(run, corners);
    polyline(corners, 4, true, style);
    return;
  }
  double reach = yl * 2 + xl * run.advance;
  if (o.x < -reach || o.x > m_width + reach || o.y < -reach || o.y > m_height + reach) return;
  applyStyle(style);
  DeviceText t;
  t.text = TextForDisplay(run.text);
  t.bold = run.bold;
  t.italic = run.italic;
  t.height = yl;
  t.advance = xl * run.advance;
  double ux = xa.x / xl, uy = xa.y / xl, vx = ya.x / yl, vy = ya.y / yl;
  double dx = -t.advance * run.halign / 2.0;
  double dy = BaselineOffset(run.valign) * yl;
  double x = o.x + ux * dx + vx * dy, y = o.y + uy * dx + vy * dy;
  double cross = xa.x * ya.y - xa.y * ya.x;
  if (cross > 0.99 * xl * yl) {  // upright: the font draws it
    t.angle = std::atan2(xa.y, xa.x);
    t.x = x;
    t.y = y;
    emitText(t);
    return;
  }
  // Mirrored or slanted: the glyphs' outlines, mapped along both axes.
  std::vector<double> xy;
  std::vector<int> counts;
  TextOutlines(t, &xy, &counts);
  for (size_t i = 0; i + 1 < xy.size(); i += 2) {
    double lx = xy[i], ly = xy[i + 1];
    xy[i] = x + ux * lx + vx * ly;
    xy[i + 1] = y + uy * lx + vy * ly;
  }
  if (!counts.empty()) emitPolygons(xy.data(), counts.data(), int(counts.size()));
}

void ScreenSink::image(const ImageRun& run, const DrawStyle& style) {
  if (!selected(style) || m_options.highlight || !run.image) return;
  OutputGrid grid;
  grid.toOutput = m_toDevice;
  grid.width = m_width;
  grid.height = m_height;
  grid.background = m_options.background;
  grid.colorMode = m_options.colorMode;
  int top = 0, bottom = 0;
  if (!ImageRows(run, grid, &top, &bottom)) return;
  OutputPixels band;
  for (int from = top; from < bottom && !cancelled(); from += kImageBandRows)
    if (ResampleImage(run, grid, from, std::min(bottom, from + kImageBandRows), &band)) emitPixels(band);
}

void ScreenSink::infiniteLine(const Vec3& start, const Vec3& direction, bool bothWays,
                              const DrawStyle& style) {
  if (!selected(style)) return;
  Vec3 s = m_toDevice.apply(start), d = m_toDevice.applyVector(direction);
  double len = std::hypot(d.x, d.y);
  if (len <= 0) return;
  double reach = (std::fabs(s.x) + std::fabs(s.y) + m_width + m_height) * 4 / len;
  double t0 = bothWays ? -reach : 0;
  m_xy = {s.x + d.x * t0, s.y + d.y * t0, s.x + d.x * reach, s.y + d.y * reach};
  applyStyle(style);
  emitClipped(m_xy, false);
}

}  // namespace zr
