// Turns entities (with block references expanded) into drawing primitives
// in world coordinates, handed to a sink: the extents computation, the
// renderers and the hit test are sinks.
#pragma once
#include "platform/zrio/win32.h"
#include <stdint.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/zrio/dxf_model.h"

namespace zr {

struct DimensionArrow;
struct MLeaderShape;
struct MlineElement;

// Resolved appearance of one primitive.
struct DrawStyle {
  int16_t aci = 7;         // colour index (1..255 in a sound file), used when trueColor < 0
  int32_t trueColor = -1;  // 0x00RRGGBB
  int16_t lineweight = -3; // 1/100 mm, -3 default
  const LineType* linetype = nullptr;  // null: continuous
  const Entity* top = nullptr;  // the top-level entity being drawn
  bool background = false;      // drawn in the background colour (a wipeout)
};

// One line of text, placed in world coordinates.
struct TextRun {
  std::string text;  // UTF-8, formatting removed
  double advance = 0;  // width in lengths of xAxis (TextAdvance of the text)
  Vec3 origin;       // anchor point
  Vec3 xAxis;        // along the baseline, length = height x width factor
  Vec3 yAxis;        // up, length = height
  int halign = 0;    // 0 left, 1 centre, 2 right (of the anchor)
  int valign = 0;    // 0 baseline, 1 bottom, 2 middle, 3 top
  bool bold = false, italic = false;  // the face's look (MTEXT's inline fonts)
};

struct RasterImage;
class ImageFiles;

// A raster image placed in the drawing: the point s across and t up (both
// from 0 to 1 over the whole picture) is at origin + u s + v t.
struct ImageRun {
  const RasterImage* image = nullptr;
  Vec3 origin, u, v;
  std::vector<Vec3> clip;     // (s, t) corners of the part shown; empty: all of it
  bool clipInverted = false;  // the part outside the clip is shown instead
  bool transparent = false;   // the pixels' alpha counts
  int brightness = 50, contrast = 50, fade = 0;  // 0 to 100 each
};

class PrimitiveSink {
 public:
  virtual ~PrimitiveSink() = default;
  // Largest allowed distance between a curve and its chords, world units.
  virtual double chordTolerance() const = 0;
  // True when curves are wanted as ellipse arcs (exact extents).
  virtual bool wantsArcs() const { return false; }
  // False skips a top-level entity whose world box is outside what matters.
  virtual bool wantsBox(const Box3& box) { return true; }
  virtual bool cancelled() { return false; }

  virtual void polyline(const Vec3* pts, size_t count, bool closed, const DrawStyle& style) = 0;
  // Points c + u cos t + v sin t for t from t0 to t1 (only when wantsArcs).
  virtual void ellipseArc(const Vec3& c, const Vec3& u, const Vec3& v, double t0, double t1,
                          const DrawStyle& style) {}
  // Filled area of one or more closed loops (even-odd).
  virtual void fill(const Vec3* pts, const int* counts, int loops, const DrawStyle& style) = 0;
  virtual void point(const Vec3& p, const DrawStyle& style) = 0;
  virtual void text(const TextRun& run, const DrawStyle& style) = 0;
  // An infinite line (both ways) or a ray (one way).
  virtual void infiniteLine(const Vec3& start, const Vec3& direction, bool bothWays,
                            const DrawStyle& style) {}
  // The pixels of a raster image (sinks that draw no pixels skip them).
  virtual void image(const ImageRun& run, const DrawStyle& style) {}
  // What follows, until popClip, shows only inside the polygon (a
  // viewport of a paper layout, its corners in world coordinates).
  virtual void pushClip(const Vec3* corners, int count) {}
  virtual void popClip() {}
  // What an entity draws next (proxy graphics under a clip boundary) shows
  // only inside the polygon, until popEntityClip; clips nest. Sinks that
  // measure or hit-test take all of what is drawn.
  virtual void pushEntityClip(const Vec3* corners, int count) {}
  virtual void popEntityClip() {}
};

struct WalkOptions {
  bool respectLayers = true;  // skip entities on layers that are off or frozen
  bool showAttDefs = true;    // attribute definitions outside blocks
  ImageFiles* images = nullptr;  // pictures of IMAGE entities; null: their frames only
};

class EntityWalker {
 public:
  EntityWalker(const Database& db, PrimitiveSink& sink, const WalkOptions& options);

  // Walks one top-level entity.
  void walk(const Entity& e);
  // Walks every entity of a list, asking the sink about boxes when given.
  void walkList(const std::vector<Entity>& list, const std::vector<Box3>* boxes);
  // Boxes of the model space entities, used to cull inside viewports.
  void setModelBoxes(const std::vector<Box3>* boxes) { m_modelBoxes = boxes; }

 private:
  struct Context {
    Transform t;
    int32_t blockLayer = -1;  // layer of the enclosing INSERT (entities on "0" take it)
    int16_t blockColor = 7;
    int16_t blockLineweight = -3;
    int32_t blockTrueColor = -1;
    const LineType* blockLinetype = nullptr;
    int depth = 0;
  };

  void walkEntity(const Entity& e, const Context& ctx);
  bool resolve(const Entity& e, const Context& ctx, DrawStyle* style, int32_t* layer) const;
  bool frozenInViewport(int32_t layer) const;
  void ellipse(const Vec3& c, const Vec3& u, const Vec3& v, double t0, double t1,
               const DrawStyle& style);
  void polylinePath(const Entity& e, const Transform& t, bool closed, const DrawStyle& style);
  void widePolyline(const Entity& e, const Transform& t, bool closed, const DrawStyle& style);
  void polyface(const Entity& e, const Transform& t, const DrawStyle& style);
  void mesh(const Entity& e, const Transform& t, const DrawStyle& style);
  void spline(const Entity& e, const Transform& t, const DrawStyle& style);
  // Points of the cubic through the points into m_scratch (the points
  // themselves when there is none), for drawing under the transform.
  void curveThrough(const std::vector<Vec3>& points, const Vec3* startTangent, const Vec3* endTangent,
                    const Transform& t);
  // How many points a span of a spline of these control points takes,
  // drawn under the transform.
  int splinePointsPerSpan(const std::vector<Vec3>& control, int degree, const Transform& t) const;
  void leader(const Entity& e, const Transform& t, const Context& ctx, const DrawStyle& style, int32_t layer);
  // Kinds kept as raw groups that have a picture.
  void rawEntity(const Entity& e, const Context& ctx, const DrawStyle& style, int32_t layer);
  void loops(const std::vector<std::vector<Vec3>>& lines, const Transform& t, bool closed,
             const DrawStyle& style);
  // A dimension without a block, from its definition points.
  void dimension(const RawGroups& raw, bool arc, const Transform& t, const Context& ctx, const DrawStyle& style,
                 int32_t layer);
  // A dimension's or leader's arrowhead: its block, or the shape of its kind.
  void arrowhead(const DimensionArrow& arrow, const Transform& t, const Context& ctx, const DrawStyle& style,
                 int32_t layer);
  // An IMAGE's picture (when its file is found) and its frame.
  void image(const Entity& e, const Transform& t, const DrawStyle& style);
  void multileader(const Entity& e, const Transform& t, const Context& ctx, const DrawStyle& style,
                   int32_t layer);
  void multileaderBlock(const MLeaderShape& shape, const Transform& t, const Context& ctx,
                        const DrawStyle& style, int32_t layer);
  void tolerance(const Entity& e, const Transform& t, const DrawStyle& style);
  void mline(const Entity& e, const Context& ctx, const DrawStyle& style, int32_t layer);
  // The look of an element of an MLINE's style, drawn on the layer.
  DrawStyle mlineElementStyle(const MlineElement& element, const DrawStyle& own, int32_t layer) const;
  void insert(const Entity& e, const Context& ctx, const DrawStyle& style, int32_t layer);
  void table(const Entity& e, const Context& ctx, const DrawStyle& style, int32_t layer);
  // The entities of a block, but those whose handles are in `hidden` (sorted).
  void blockContents(int32_t block, const Transform& t, const Context& ctx, const DrawStyle& style,
                     int32_t layer, const std::vector<uint64_t>* hidden = nullptr);
  void textEntity(const Entity& e, const Transform& t, const DrawStyle& style);
  void mtextEntity(const Entity& e, const Transform& t, const DrawStyle& style);
  // An MTEXT of `text` at `at` along `direction`, `height` tall, wrapped at
  // `width` (0: one line a paragraph), placed by its attachment point.
  void placedMText(const std::string& text, const Vec3& at, const Vec3& direction, double height, double width,
                   uint32_t attachment, const Transform& t, const DrawStyle& style);
  // Width factor of an MTEXT's text style (1 when it has none).
  double styleWidthFactor(const Entity& e);
  void hatch(const Entity& e, const Transform& t, const DrawStyle& style);
  void quad(const Entity& e, const Transform& t, const DrawStyle& style);
  void viewport(const Entity& e, const Context& ctx, const DrawStyle& style);

  const Database& m_db;
  PrimitiveSink& m_sink;
  WalkOptions m_options;
  const Entity* m_top = nullptr;
  long m_budget = 0;
  const std::vector<Box3>* m_modelBoxes = nullptr;
  bool m_inViewport = false;  // entities left to visit for the current top-level entity
  const std::vector<int32_t>* m_viewportFrozen = nullptr;  // layers frozen in that viewport
  std::vector<int32_t> m_blockStack;
  std::unordered_map<std::string, double> m_styleWidths;  // upper-case style name -> width factor
  bool m_stylesRead = false;
  std::vector<Vec3> m_scratch;
};

// Number of chord segments for an arc of the given radius and sweep.
int ArcSegments(double radius, double sweep, double tolerance);

// The arc c + u cos t + v sin t, t from t0 to t1: as an ellipse arc when the
// sink wants arcs, else as chords within its tolerance.
void DrawEllipseArc(PrimitiveSink& sink, const Vec3& c, const Vec3& u, const Vec3& v, double t0,
                    double t1, const DrawStyle& style);

}  // namespace zr
