// Drawing primitives projected onto an output of pixels: projection,
// clipping, colours, lineweights, points and text placement. Subclasses put
// the result on a device context or an export device.
#pragma once
#include "platform/zrio/win32.h"

#include <array>
#include <atomic>
#include <string>
#include <vector>

#include "platform/zrio/entity_walker.h"
#include "platform/zrio/text_measure.h"

namespace zr {

struct OutputPixels;

// A pen of the print pen set: the colour index a drawing colour index prints
// in, and its width in output pixels.
struct PenSetPen {
  int colorIndex = 7;
  int width = 0;
};

struct RenderOptions {
  COLORREF background = RGB(0, 0, 0);
  int colorMode = 0;      // 0 colour, 1 grey, 2 black and white
  bool quickMode = false; // text as boxes
  bool fillOn = true;
  int pdmode = 0;
  double pdsize = 0;
  int dpi = 0;            // lineweights in pixels; 0 thin lines
  double ltscale = 1;     // line type pattern scale
  // By colour index: colour-indexed lines take colour and width from here
  // instead of their own colour and lineweight (empty: not used).
  std::vector<PenSetPen> pens;
  const Entity* only = nullptr;  // draw only this top-level entity
  bool highlight = false;        // draw `only` emphasised
  const std::atomic<bool>* cancel = nullptr;
};

// A line of text in output pixels (y upwards).
struct DeviceText {
  std::u16string text;
  double x = 0, y = 0;     // baseline start after alignment
  double angle = 0;        // radians, anticlockwise
  double height = 0;       // pixels
  double advance = 0;      // width the text takes along its baseline, pixels
  bool bold = false, italic = false;
};

class ScreenSink : public PrimitiveSink {
 public:
  ScreenSink(const Transform& worldToDevice, int width, int height, const RenderOptions& options);

  double chordTolerance() const override { return m_tolerance; }
  bool wantsBox(const Box3& box) override;
  bool cancelled() override;
  void polyline(const Vec3* pts, size_t count, bool closed, const DrawStyle& style) override;
  void fill(const Vec3* pts, const int* counts, int loops, const DrawStyle& style) override;
  void point(const Vec3& p, const DrawStyle& style) override;
  void text(const TextRun& run, const DrawStyle& style) override;
  void infiniteLine(const Vec3& start, const Vec3& direction, bool bothWays,
                    const DrawStyle& style) override;
  void image(const ImageRun& run, const DrawStyle& style) override;
  void pushClip(const Vec3* corners, int count) override;
  void popClip() override;
  void pushEntityClip(const Vec3* corners, int count) override { pushClip(corners, count); }
  void popEntityClip() override { popClip(); }

  COLORREF resolveColor(const DrawStyle& style) const;

 protected:
  virtual void setStyle(COLORREF color, int width, int colorIndex) = 0;
  // Points are x, y pairs in output pixels, y upwards.
  virtual void emitPolyline(const double* xy, size_t count) = 0;
  virtual void emitPolygons(const double* xy, const int* counts, int loops) = 0;
  virtual void emitText(const DeviceText& text) = 0;
  // Premultiplied pixels over what is drawn; pixel (c, r) centred at
  // (c, height - r).
  virtual void emitPixels(const OutputPixels& pixels) = 0;
  // Clip to a polygon (output pixels, y upwards) inside the clip before it,
  // if any, until endClip, which brings that one back.
  virtual void beginClip(const double* xy, int count) = 0;
  virtual void endClip() = 0;

  int m_width, m_height;

 private:
  bool selected(const DrawStyle& style) const;
  void applyStyle(const DrawStyle& style);
  void emitClipped(const std::vector<double>& xy, bool closed);
  // Emits the dashes of a line type along a polyline of output pixels.
  bool emitDashed(const std::vector<double>& xy, bool closed, const LineType& type);
  void drawPointSymbol(double x, double y);

  Transform m_toDevice;
  RenderOptions m_options;
  double m_tolerance;
  double m_scale;
  double m_clipLo[2] = {-1e300, -1e300}, m_clipHi[2] = {1e300, 1e300};  // device box of the clip
  std::vector<std::array<double, 4>> m_outerClips;  // the boxes of the clips it is inside
  COLORREF m_lastColor = CLR_INVALID;
  int m_lastWidth = -1;
  std::vector<double> m_xy;
  std::vector<double> m_run;
  std::vector<double> m_dash;
};

// Outline of a text as polygons (output pixels, y upwards), from the same
// font the device contexts use, fitted to the text's advance.
void TextOutlines(const DeviceText& text, std::vector<double>* xy, std::vector<int>* counts);

// A font for text of the given pixel height and angle; charWidth is its
// average character width in pixels, 0 for the face's own.
HFONT CreateTextFont(double height, double angle, LONG charWidth, bool bold = false, bool italic = false);

// The average character width that makes `count` characters, drawn in the
// font selected into the DC (one made with charWidth 0), `advance` pixels
// wide; 0 when the font's own width fits.
LONG FittedCharWidth(HDC dc, const WCHAR* text, int count, double advance);

// A stretch of a displayed text drawn with one font. Wide (CJK) characters
// and the others are fitted to their measured width apart, as the stand-in
// face's proportions between them differ from the measure's.
struct TextPiece {
  size_t first = 0, count = 0;  // UTF-16 units of the text
  int offset = 0;               // pixels from the text's origin along its baseline
  int advance = 0;              // pixels
  std::vector<INT> steps;       // from each character to the next (ExtTextOut's dx)
};

// The pieces of a text, each character placed where the measured layout has
// it (in whole pixels).
std::vector<TextPiece> TextPieces(const DeviceText& text);

}  // namespace zr
