// Ink comparison with ezdxf's drawing add-on: each drawing is drawn by the
// library and by ezdxf (ink_compare.py) in the same view window and size,
// and each picture must cover the other's ink: lines and fills within 3
// pixels, texts by where they stand (the boxes of our texts are handed to
// the comparison). DWG files are drawn by ezdxf from LibreDWG's own DXF
// output of them. The pictures and where they miss each other are kept in
// the shots folder (NAME-pair.png: ours, ezdxf's, then red for ezdxf's ink
// we miss and blue for ours it has no ink near, over the texts' boxes in
// grey).
#include "tests/support/gtest.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "graphics/drawing_image_decoder.h"
#include "platform/zrio/box_sink.h"
#include "platform/zrio/drawing_state.h"
#include "platform/zrio/dxf_writer.h"
#include "platform/zrio/zrio.h"
#include "tests/support/test_files.h"
#include "tests/support/unix_tools.h"
#include "tests/zrio/fixtures.h"
#include "tests/zrio/render_support.h"

using namespace zriotest;

namespace {

const int kWidth = 800, kHeight = 600;

struct Ink {
  double theirsCovered = -1, oursCovered = -1;
};

// The boxes of the texts a drawing draws in its current view, in output
// pixels (y up): one line each, four corners (from the baseline's start,
// along it, then up by the height) and the height.
class TextBoxes : public zr::PrimitiveSink {
 public:
  explicit TextBoxes(const zr::Transform& toDevice) : m_toDevice(toDevice) {}
  const std::string& lines() const { return m_lines; }
  double chordTolerance() const override { return 1; }
  void polyline(const zr::Vec3*, size_t, bool, const zr::DrawStyle&) override {}
  void fill(const zr::Vec3*, const int*, int, const zr::DrawStyle&) override {}
  void point(const zr::Vec3&, const zr::DrawStyle&) override {}
  void text(const zr::TextRun& run, const zr::DrawStyle&) override {
    zr::Vec3 corners[4];
    zr::TextRunCorners(run, corners);
    zr::Vec3 up = m_toDevice.applyVector(run.yAxis);
    double height = std::hypot(up.x, up.y);
    if (height < 1.5) return;  // too small to be drawn
    char number[40];
    for (const zr::Vec3& c : corners) {
      zr::Vec3 d = m_toDevice.apply(c);
      snprintf(number, sizeof number, "%.2f %.2f ", d.x, d.y);
      m_lines += number;
    }
    snprintf(number, sizeof number, "%.2f\n", height);
    m_lines += number;
  }

 private:
  zr::Transform m_toDevice;
  std::string m_lines;
};

// Writes the boxes of the texts the drawing draws (Win32 path).
bool WriteTextBoxes(CDrawing* drawing, const std::string& path) {
  zr::DrawingState* state = drawing->state();
  TextBoxes sink(state->view.worldToDevice());
  zr::EntityWalker walker(*state->db, sink, state->drawOptions());
  walker.setModelBoxes(state->modelBoxes());
  walker.walkList(state->layoutEntities(), nullptr);
  return testfiles::WriteFileBytes(path, sink.lines());
}

// A part of a drawing to look at, in drawing coordinates; none: its extents.
struct Window {
  double left = 0, bottom = 0, right = 0, top = 0;
  bool given() const { return right > left && top > bottom; }
};

const char kEveryLayer[] = "--every-layer ";

// Draws `drawing` (Unix path) with the library and `reference` (a DXF file,
// Unix path) with ezdxf, and compares their ink. `options` go to
// ink_compare.py before the file; with kEveryLayer among them, ours too
// draws every layer on and thawed.
Ink Compare(const std::string& drawing, const std::string& reference, const std::string& shot,
            const std::string& options, const Window& part = Window()) {
  Ink ink;
  DrawingPtr d(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
  EXPECT_EQ(0, d->open(testfiles::ToWinePath(drawing).c_str(), nullptr)) << drawing;
  if (options.find(kEveryLayer) != std::string::npos) {
    for (int i = 0; i < d->getLayerCount(); ++i) {
      d->setLayerOn(i, true);
      d->setLayerFrozen(i, false);
    }
  }
  PixelSurface surface(kWidth, kHeight);
  DWG_SetBackgroundColor(RGB(255, 255, 255));
  d->setViewSize(kWidth, kHeight);
  d->zoomExtents(0, 0, 0.95);
  if (part.given()) {
    zr::Box3 box;
    box.add(zr::Vec3(part.left, part.bottom, 0));
    box.add(zr::Vec3(part.right, part.top, 0));
    d->state()->view.fit(box, 1.0);
  }
  d->draw(surface.dc());
  DWG_SetBackgroundColor(RGB(0, 0, 0));
  std::string folder = testfiles::ToWinePath(ZRIO_INK_SHOTS);
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string png = folder + "\\" + shot + ".png", boxes = folder + "\\" + shot + "-texts.txt";
  EXPECT_TRUE(surface.WritePng(png));
  EXPECT_TRUE(WriteTextBoxes(d.get(), boxes));
  // The window from the outer edges of the corner pixels (the view's y
  // runs up from the bottom row, kHeight - row).
  double lowLeft[3], highRight[3];
  d->clientToDrawing(-0.5, 0.5, lowLeft);
  d->clientToDrawing(kWidth - 0.5, kHeight + 0.5, highRight);
  char window[200];
  snprintf(window, sizeof window, " %.12g %.12g %.12g %.12g", lowLeft[0], lowLeft[1], highRight[0],
           highRight[1]);
  // ezdxf takes minutes over the larger drawings on a busy machine.
  std::string answer = folder + "\\" + shot + ".txt", output;
  EXPECT_EQ(0, codectest::RunUnixProgram("/usr/bin/python3 " ZRIO_SOURCE "/ink_compare.py " + options + "--texts " +
                                             codectest::UnixPath(boxes) + " " + reference + " " +
                                             codectest::UnixPath(png) + window + " > " +
                                             codectest::UnixPath(answer),
                                         600000));
  testfiles::ReadFileBytes(answer, output);
  EXPECT_EQ(2, sscanf(output.c_str(), "%lf %lf", &ink.theirsCovered, &ink.oursCovered)) << output;
  return ink;
}

void ExpectInk(const std::string& drawing, const std::string& reference, const std::string& shot,
               double theirs, double ours, const std::string& options = "", const Window& part = Window()) {
  SCOPED_TRACE(shot);
  Ink ink = Compare(drawing, reference, shot, options, part);
  EXPECT_GE(ink.theirsCovered, theirs) << "ezdxf's ink we miss: " << shot << "-pair.png";
  EXPECT_GE(ink.oursCovered, ours) << "our ink ezdxf has not: " << shot << "-pair.png";
}

std::string Drawn(const std::string& name) { return std::string(ZRIO_INK_DRAWINGS) + "/" + name + ".dxf"; }

void ExpectDrawing(const std::string& name, double theirs, double ours) {
  ExpectInk(Drawn(name), Drawn(name), name, theirs, ours);
}

}  // namespace

// Most of the details drawing's layers (its dimensions, hatches, fasteners)
// are off or frozen: it is drawn with every layer as well, against a twin
// whose three 3DSOLIDs (SAB data in the file's ACDSDATA section, which
// ezdxf does not draw) are the faces ezdxf's ACIS reader makes of them.
// ezdxf breaks its MTEXTs without a wrap width ("T.B.D OPENING SIZE") into
// two lines; ours keep to one, as a zero width says.
TEST(Ink, DxfFilesOfOtherPrograms) {
  for (const char* name : {"ezd_acad_table_simple", "ezd_hatches_2", "dxp_api-cw750-details"}) {
    std::string path = std::string(ZRIO_DXF_FIXTURES) + "/" + name + ".dxf";
    ExpectInk(path, path, name, 0.99, 0.99);
  }
  std::string details = std::string(ZRIO_DXF_FIXTURES) + "/dxp_api-cw750-details.dxf";
  ExpectInk(details, Drawn("dxp_api-cw750-details_solids_as_faces"), "dxp_api-cw750-details-every-layer", 0.99,
            0.99, kEveryLayer);
}

// LibreDWG's DXF writer marks layers off that its own reading has on (and
// so does ours): ezdxf draws every layer. LibreDWG cannot write
// example_2004.dwg as DXF: ezdxf draws the DWG worker's DXF text of it.
// Its DXF of example_r14.dwg leaves out the entities of kinds R14 does not
// know (an arc dimension, a table, a multileader, a wipeout): ezdxf draws
// its DXF of example_2000.dwg, the same drawing.
TEST(Ink, DwgFiles) {
  struct Case {
    const char* name;
    double theirs, ours;
    const char* reference;  // in the ink drawings' folder
  };
  for (const Case& c : {Case{"2004_HatchG", 0.99, 0.99, "2004_HatchG"}, Case{"2018_Text", 0.99, 0.99, "2018_Text"},
                        Case{"sample_2000", 0.99, 0.99, "sample_2000"}, Case{"sample_2018", 0.99, 0.99, "sample_2018"},
                        Case{"example_r14", 0.99, 0.99, "example_2000"}, Case{"example_2000", 0.99, 0.99, "example_2000"},
                        Case{"example_2004", 0.99, 0.99, "worker/example_2004"},
                        Case{"example_2007", 0.99, 0.99, "example_2007"}, Case{"example_2010", 0.99, 0.99, "example_2010"},
                        Case{"example_2013", 0.99, 0.99, "example_2013"}, Case{"example_2018", 0.99, 0.99, "example_2018"}}) {
    std::string drawing = std::string(ZRIO_DWG_FIXTURES) + "/" + c.name + ".dwg";
    std::string reference = std::string(ZRIO_INK_DRAWINGS) + "/" + c.reference + ".dxf";
    // The example drawings' extents are those of one insert scaled by
    // thousands (its lines cross the window); their other entities stand in
    // this part, but for a REGION left of it (ezdxf draws no REGION).
    Window part;
    if (std::string(c.name).compare(0, 8, "example_") == 0) part = Window{-3400, -3300, 12600, 8700};
    ExpectInk(drawing, reference, c.name, c.theirs, c.ours, "--layers-on ", part);
  }
}

// The comparison tells a drawing that leaves out an entity, draws
// polylines with widths as hairlines or texts at the wrong height from a
// faithful one: a text entity left out (one of the placement drawing's, on
// its own), the bands of the width drawing as lines and the placement
// drawing's texts 1.6 times as tall fall well below the thresholds.
TEST(Ink, MissingEntityHairlinesOrTallerTextsFallBelow) {
  Ink missing = Compare(Drawn("mtext_placement_less_one"), Drawn("mtext_placement"), "mtext_placement_less_one", "");
  EXPECT_LT(missing.theirsCovered, 0.97);
  EXPECT_GE(missing.oursCovered, 0.99);
  Ink hairlines = Compare(Drawn("polyline_hairlines"), Drawn("polyline_widths"), "polyline_hairlines", "");
  EXPECT_LT(hairlines.theirsCovered, 0.8);
  Ink taller = Compare(Drawn("mtext_placement_taller"), Drawn("mtext_placement"), "mtext_placement_taller", "");
  EXPECT_LT(taller.theirsCovered, 0.9);
  EXPECT_LT(taller.oursCovered, 0.9);
}

// Bands of constant and tapered width, straight and arc segments, meeting
// at their edges' crossings; a segment without width is a line (ezdxf
// draws nothing for it: its twin has the closing segment of one as a line).
TEST(Ink, PolylineWidths) {
  ExpectInk(Drawn("polyline_widths"), Drawn("polyline_widths_twin"), "polyline_widths", 0.99, 0.99);
}
// Splines from control points, from fit points (with and without end
// tangents), rational, and a spline leader with its arrowhead.
TEST(Ink, Splines) { ExpectDrawing("splines", 0.99, 0.99); }
// Inline fonts, heights, widths, slants, tracking, colours, stacks and
// under-, over- and strike-through lines of MTEXT within lines. ezdxf draws
// no tracking (\T: ours stand apart, past where its text ends: 2% of our
// ink) and turns "\S3^4;" into "3r".
TEST(Ink, MtextCodes) { ExpectDrawing("mtext_codes", 0.99, 0.97); }
// Each inline code of MTEXT at a line's start. ezdxf draws no tracking
// (\T: ours stand apart) and turns "\S+0.1^-0.2;" into one line of text
// (ours stacks it).
TEST(Ink, MtextPlacement) {
  ExpectDrawing("mtext_placement", 0.99, 0.99);
  ExpectDrawing("mtext_columns_2013", 0.99, 0.99);
}
// Text in mirrored inserts and text written backwards or upside down is
// drawn mirrored.
TEST(Ink, MirroredText) { ExpectDrawing("mirrored_text", 0.99, 0.99); }
// MLINE, polygon and polyface meshes, TRACE and a stand-alone ATTDEF's tag.
TEST(Ink, MlineMeshesTraceAttdef) { ExpectDrawing("mline_meshes", 0.99, 0.99); }
// MLINEs in their styles' looks: each element at its offset in its colour
// and linetype, fills, square, round and inner-arc caps and miters; as the
// DXF file holds them and as LibreDWG reads the DWG the library saves.
// ezdxf draws the start caps one MLINE suppresses (0.7% of its ink).
namespace {
// The colours of the drawing's multiline styles (fills and elements), in order.
std::string MlineStyleColours(CDrawing& drawing) {
  std::string colours;
  bool inStyle = false;
  for (const zr::RawGroup& group : drawing.state()->db->objects) {
    if (group.code == 0)
      inStyle = group.value == "MLINESTYLE";
    else if (inStyle && group.code == 62)
      colours += std::to_string(atoi(group.value.c_str())) + " ";
  }
  return colours;
}
}  // namespace

TEST(Ink, MlineStyles) {
  ExpectDrawing("mline_styles", 0.99, 0.99);
  std::string dwg = std::string(ZRIO_INK_SHOTS) + "/mline_styles.dwg";
  DrawingPtr d(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
  ASSERT_EQ(0, d->open(testfiles::ToWinePath(Drawn("mline_styles")).c_str(), nullptr));
  ASSERT_TRUE(d->save(testfiles::ToWinePath(dwg).c_str(), 1, zr::kSave2004, 0)) << d->getSaveError();
  ExpectInk(dwg, Drawn("mline_styles"), "mline_styles_dwg", 0.99, 0.99);
  DrawingPtr again(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
  ASSERT_EQ(0, again->open(testfiles::ToWinePath(dwg).c_str(), nullptr));
  EXPECT_EQ(MlineStyleColours(*d), MlineStyleColours(*again));
}
// A wipeout hides the lines under it.
TEST(Ink, WipeoutAndMesh) { ExpectDrawing("new_kinds", 0.99, 0.99); }

// SHAPE entities drawn from their shape file (beside the drawing): sizes,
// rotation, width factor and slant, octant, fractional and bulge arcs, a
// subshape between push and pop, a scale factor. ezdxf draws no SHAPE:
// the reference draws the lines and arcs the codes describe.
TEST(Ink, Shapes) { ExpectInk(Drawn("shapes"), Drawn("shapes_reference"), "shapes", 0.99, 0.99); }

// Feature control frames (an R2000 file): boxes, symbols, values and datum
// letters in their dimension style's text height, straight and turned.
// ezdxf draws no TOLERANCE: the reference draws the frames from the text
// height rules, and its texts.
TEST(Ink, Tolerances) {
  ExpectInk(Drawn("tolerances"), Drawn("tolerances_reference"), "tolerances", 0.99, 0.99);
}

// Leader lines with their arrowheads, landing and MTEXT content.
TEST(Ink, Multileader) { ExpectDrawing("multileader", 0.99, 0.99); }

// 3DSOLID and REGION bodies are drawn as the wireframes of their edges,
// read from SAT text (coded, as R2000 files store it) and from SAB bytes
// in an R2013 file's ACDSDATA section. ezdxf draws no ACIS data: each is
// compared with ezdxf's picture of its twin, which holds the edges the SAT
// was written from as lines, ellipses and splines.
TEST(Ink, AcisBodies) {
  for (const char* name : {"acis_sat", "acis_sab"})
    ExpectInk(Drawn(name), Drawn(std::string(name) + "_twin"), name, 0.99, 0.99);
}

// Spline edges are drawn over their parameter ranges only, whichever way
// round the edge and its curve run, beside a line and an arc of the same
// body; the twin draws those parts as polylines.
TEST(Ink, AcisTrimmedEdges) {
  ExpectInk(Drawn("acis_trimmed"), Drawn("acis_trimmed_twin"), "acis_trimmed", 0.99, 0.99);
}

// Proxy graphics: circles, arcs, polylines, a filled polygon, a mesh, a
// shell and texts, in colours and under a pushed transform, of an
// ACAD_PROXY_ENTITY and of an entity of an unknown class. ezdxf reads no
// ACAD_PROXY_ENTITY's graphics: its twin holds two entities of the other
// kind. ezdxf draws an arc through three points on the other side of its
// chord, not through its middle point: the twin gives that arc by its
// centre and sweep.
TEST(Ink, ProxyGraphics) { ExpectInk(Drawn("proxy"), Drawn("proxy_twin"), "proxy", 0.99, 0.99); }

// Helices (one turned to lie along the y axis) and an OLE frame. ezdxf
// draws neither: the twin holds each helix as the spline ezdxf made it
// from, and the frame as a rectangle.
TEST(Ink, HelixAndOleFrame) {
  ExpectInk(Drawn("helix_ole"), Drawn("helix_ole_twin"), "helix_ole", 0.99, 0.99);
}

// The LWPOLYLINE command (straight and arc segments, closed, with widths;
// its data counted and not) and clip boundaries: lines and a circle
// clipped by a pushed boundary, lines after it is popped. ezdxf draws each
// proxy LWPOLYLINE's points at the origin and draws no clips: the twins
// hold the polylines as entities and the clipped parts.
TEST(Ink, ProxyLwpolylinesAndClips) {
  for (const char* name : {"proxy_lwpolylines", "proxy_clips"})
    ExpectInk(Drawn(name), Drawn(std::string(name) + "_twin"), name, 0.99, 0.99);
}

// A table whose block is not in the file is drawn from its cells: grid,
// merged title cell, texts by their alignments and the style's heights and
// margins; ezdxf draws the block the original file has.
TEST(Ink, TableFromItsCells) {
  ExpectInk(Drawn("table_cells"), std::string(ZRIO_DXF_FIXTURES) + "/ezd_acad_table_simple.dxf",
            "table_cells", 0.99, 0.99);
}

// Multileaders with block content: the block placed, scaled and turned,
// with its attribute's text.
TEST(Ink, MultileaderBlock) { ExpectDrawing("multileader_block", 0.99, 0.99); }

// Linear, aligned, radius, diameter, angular, arc and ordinate dimensions,
// drawn from their blocks, and from their definition points when the file
// has no blocks for them: lines, arrowheads (here the style's tick block),
// radii out to their texts, the ordinate's jogged leader.
TEST(Ink, Dimensions) {
  ExpectDrawing("dimensions", 0.99, 0.99);
  ExpectInk(Drawn("dimensions_without_blocks"), Drawn("dimensions"), "dimensions_without_blocks", 0.99, 0.99);
}

// Inserts of a dynamic block that refer to its definition show one
// visibility state each (ezdxf shows every state: the twin holds each
// state as a plain block).
TEST(Ink, DynamicBlockVisibility) {
  ExpectInk(Drawn("dynamic_block"), Drawn("dynamic_block_twin"), "dynamic_block", 0.99, 0.99);
}

// Images: pixels placed by their vectors, clipped by a polygon, a
// rectangle, an inverted polygon; the file of one is missing (its frame
// only). ezdxf draws the frames: the twin fills each image's shown part
// (the picture has no white).
TEST(Ink, Images) {
  DWG_SetImageDecoder(DecodeDrawingImage);
  ExpectInk(Drawn("images"), Drawn("images_twin"), "images", 0.99, 0.99);
  DWG_SetImageDecoder(nullptr);
}

// The images' pixels where their vectors put them: the picture's quarters
// (written by make_ink_drawings.py) at the centres of their pixels, nothing
// inside an inverted clip or outside a polygon clip, nothing inside the
// frame of the image whose file is missing; the same on a DC mapped with y
// upwards; and frames only without a decoder.
TEST(ImagePixels, PlacedByTheirVectorsAndClipped) {
  struct Probe {
    double x, y, size, turn;  // the image's insertion point, pixel size and rotation
    double column, row;       // a point in pixels from the top left corner
    COLORREF color;
  };
  const COLORREF kWhite = RGB(255, 255, 255), kRed = RGB(220, 30, 30), kGreen = RGB(30, 160, 30),
                 kBlue = RGB(30, 30, 200), kYellow = RGB(150, 140, 20);
  const Probe probes[] = {{0, 0, 5, 0, 1.5, 1.5, kRed},        {0, 0, 5, 0, 6.5, 1.5, kGreen},
                          {0, 0, 5, 0, 1.5, 4.5, kBlue},       {0, 0, 5, 0, 6.5, 4.5, kYellow},
                          {60, 0, 4, 30, 1, 0.5, kRed},        {60, 0, 4, 30, 0.5, 5.5, kWhite},
                          {60, 50, 5, -20, 3.5, 2.5, kWhite},  {60, 50, 5, -20, 0.5, 5.5, kBlue},
                          {60, 50, 5, -20, 7.5, 0.5, kGreen},  {120, 0, 5, 0, 4, 3, kWhite}};
  DWG_SetImageDecoder(DecodeDrawingImage);
  DrawingPtr d(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
  ASSERT_EQ(0, d->open(testfiles::ToWinePath(Drawn("images")).c_str(), nullptr));
  PixelSurface surface(kWidth, kHeight);
  DWG_SetBackgroundColor(kWhite);
  d->setViewSize(kWidth, kHeight);
  d->zoomExtents(0, 0, 0.95);
  d->draw(surface.dc());
  // The same through drawToDC on a DC mapped with y upwards, as the raster
  // export maps its page.
  PixelSurface exported(kWidth, kHeight);
  PatBlt(exported.dc(), 0, 0, kWidth, kHeight, WHITENESS);  // the page is white before it draws
  SetMapMode(exported.dc(), MM_ANISOTROPIC);
  SetWindowExtEx(exported.dc(), 1, -1, nullptr);
  SetViewportExtEx(exported.dc(), 1, 1, nullptr);
  SetWindowOrgEx(exported.dc(), 0, kHeight, nullptr);
  d->drawToDC(exported.dc(), false);
  PixelSurface framesOnly(kWidth, kHeight);
  DWG_SetImageDecoder(nullptr);
  d->close();
  ASSERT_EQ(0, d->open(testfiles::ToWinePath(Drawn("images")).c_str(), nullptr));
  d->setViewSize(kWidth, kHeight);
  d->zoomExtents(0, 0, 0.95);
  d->draw(framesOnly.dc());
  DWG_SetBackgroundColor(RGB(0, 0, 0));
  double origin[3], right[3], up[3];
  d->clientToDrawing(0, 0, origin);
  d->clientToDrawing(1, 0, right);
  d->clientToDrawing(0, 1, up);
  const double kPixels = 6;  // the picture's height in pixels
  for (const Probe& p : probes) {
    double a = p.turn * 3.14159265358979 / 180, s = p.column, t = kPixels - p.row;
    double wx = p.x + p.size * (s * std::cos(a) - t * std::sin(a));
    double wy = p.y + p.size * (s * std::sin(a) + t * std::cos(a));
    int column = int(std::lround((wx - origin[0]) / (right[0] - origin[0])));
    int row = kHeight - int(std::lround((wy - origin[1]) / (up[1] - origin[1])));
    SCOPED_TRACE(testing::Message() << "probe at " << wx << ", " << wy);
    EXPECT_EQ(p.color, surface.at(column, row));
    EXPECT_EQ(p.color, exported.at(column, row));
    EXPECT_EQ(kWhite, framesOnly.at(column, row));
  }
}

// External references drawn with their inserts' transforms, against ezdxf's
// drawing of a copy with the references bound (ordinary blocks).
TEST(Ink, ExternalReferences) {
  std::string folder = ZRIO_XREF_DRAWINGS;
  ExpectInk(folder + "/transform_host.dxf", folder + "/transform_bound.dxf", "xrefs", 0.99, 0.99);
}
