// The readers of what solids and proxy entities carry: the edges read from
// ACIS data where the SAT the drawing maker wrote puts them (the coded SAT
// of an R2000 file, the SAB of an R2013 file), and mutated ACIS text, ACIS
// binary, proxy graphics and drawings of tables, dimensions, dynamic
// blocks, multileader blocks and images read and drawn within bounds, also
// under AddressSanitizer.
#include "tests/support/gtest.h"

#include <string.h>

#include <cmath>
#include <string>

#include "platform/zrio/acis_edges.h"
#include "platform/zrio/box_sink.h"
#include "platform/zrio/derived_graphics.h"
#include "platform/zrio/dwg_reader.h"
#include "platform/zrio/dxf_reader.h"
#include "platform/zrio/gdi_sink.h"
#include "platform/zrio/image_files.h"
#include "platform/zrio/image_raster.h"
#include "platform/zrio/raster_image.h"
#include "platform/zrio/proxy_graphics.h"
#include "platform/zrio/zrio.h"
#include "tests/support/mutation_harness.h"
#include "tests/support/test_files.h"

namespace {

const double kPi = 3.14159265358979323846;

bool Load(const std::string& name, zr::Database* db) {
  std::string bytes;
  if (!testfiles::ReadFileBytes(testfiles::ToWinePath(std::string(ZRIO_INK_DRAWINGS) + "/" + name), bytes))
    return false;
  return zr::ReadDxf(bytes.c_str(), bytes.size(), *db, zr::LoadControl()) == zr::LoadResult::Ok;
}

const zr::Entity* FirstOfType(const zr::Database& db, const char* type) {
  for (const zr::Entity& e : db.blocks[size_t(db.modelBlock)].entities)
    if (e.extra && e.extra->typeName == type) return &e;
  return nullptr;
}

// The point (x, y, z) of acis_sat.py's sample body, moved as its transform
// moves it: turned by `turn` degrees about z, then shifted.
zr::Vec3 Placed(double x, double y, double z, double turn, const zr::Vec3& move) {
  double a = turn * kPi / 180;
  return zr::Vec3(x * std::cos(a) - y * std::sin(a) + move.x, x * std::sin(a) + y * std::cos(a) + move.y,
                  z + move.z);
}

bool HasSegmentEnd(const zr::EdgeCurves& edges, const zr::Vec3& p) {
  for (const zr::Vec3& q : edges.segments)
    if ((q - p).length() < 1e-9) return true;
  return false;
}

// The edges of the sample body: twelve box edges, a circle, arcs both ways
// round and a quarter ellipse, and a spline, turned by 30 degrees.
void ExpectSampleEdges(const zr::EdgeCurves& edges, const zr::Vec3& move) {
  EXPECT_EQ(24u, edges.segments.size());
  EXPECT_TRUE(HasSegmentEnd(edges, Placed(20, 10, 5, 30, move)));
  EXPECT_TRUE(HasSegmentEnd(edges, Placed(0, 10, 0, 30, move)));
  ASSERT_EQ(4u, edges.arcs.size());
  // The circle, the quarter ellipse and the arcs from 0 to 90 and from 180
  // to 270 degrees (the second's edge runs it backwards), by their middles.
  struct Middle {
    double sweep, ratio;
    zr::Vec3 at;
  };
  const Middle middles[] = {
      {2 * kPi, 1, Placed(40, 5, 0, 30, move)},
      {kPi / 2, 0.5, Placed(10 + 8 * std::cos(kPi / 4), 25 + 4 * std::sin(kPi / 4), 0, 30, move)},
      {kPi / 2, 1, Placed(35 + 6 * std::cos(kPi / 4), 20 + 6 * std::sin(kPi / 4), 0, 30, move)},
      {kPi / 2, 1, Placed(35 + 6 * std::cos(1.25 * kPi), 20 + 6 * std::sin(1.25 * kPi), 0, 30, move)}};
  for (const Middle& m : middles) {
    bool found = false;
    for (const zr::EdgeArc& arc : edges.arcs) {
      // A whole circle is matched at its start.
      double t = m.sweep > 6 ? arc.t0 : (arc.t0 + arc.t1) / 2;
      zr::Vec3 at = arc.center + arc.u * std::cos(t) + arc.v * std::sin(t);
      found = found || (std::fabs(arc.t1 - arc.t0 - m.sweep) < 1e-9 &&
                        std::fabs(arc.v.length() / arc.u.length() - m.ratio) < 1e-9 && (at - m.at).length() < 1e-9);
    }
    EXPECT_TRUE(found) << "arc through " << m.at.x << ", " << m.at.y;
  }
  ASSERT_EQ(1u, edges.splines.size());
  EXPECT_EQ(3, edges.splines[0].degree);
  ASSERT_EQ(4u, edges.splines[0].points.size());
  EXPECT_NEAR(0, (edges.splines[0].points[3] - Placed(30, 40, 0, 30, move)).length(), 1e-9);
}

std::string Hex(const std::string& hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes += char(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

// The box of what the edges of mutated ACIS data draw must be finite.
std::string CheckEdges(const zr::AcisFile& file, bool& decoded) {
  zr::EdgeCurves edges;
  decoded = zr::AcisEdges(file, &edges);
  zr::BoxSink box;
  zr::DrawEdgeCurves(edges, zr::Transform(), zr::DrawStyle(), box);
  if (decoded && !box.box().valid()) return "edges without extents";
  return std::isfinite(box.box().lo.x + box.box().hi.y + box.box().hi.z) || !box.box().valid()
             ? std::string() : "edges not finite";
}

// A picture of two by two pixels, whatever the file.
HBITMAP SmallPicture(const char*) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = 2;
  info.bmiHeader.biHeight = -2;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bits) memset(bits, 0x80, 16);
  return section;
}

}  // namespace

TEST(AcisEdges, WhereTheSatPutsThem) {
  zr::Database sat, sab;
  ASSERT_TRUE(Load("acis_sat.dxf", &sat));
  ASSERT_TRUE(Load("acis_sab.dxf", &sab));
  for (const zr::Database* db : {&sat, &sab}) {
    const zr::Entity* solid = FirstOfType(*db, "3DSOLID");
    ASSERT_TRUE(solid && solid->extra->derived);
    ExpectSampleEdges(solid->extra->derived->edges, db == &sat ? zr::Vec3() : zr::Vec3(60, 0, 0));
    const zr::Entity* region = FirstOfType(*db, "REGION");
    ASSERT_TRUE(region && region->extra->derived);
    EXPECT_EQ(24u, region->extra->derived->edges.segments.size());
  }
}

// The SAT of ACIS 4.0 (R2000 files) writes a record's attribute pointer
// alone, where 7.0 follows it with "-1 $-1".
TEST(AcisEdges, OfAnOlderVersion) {
  zr::Database db;
  ASSERT_TRUE(Load("acis_sat.dxf", &db));
  std::string text;
  for (const zr::RawGroup& g : FirstOfType(db, "3DSOLID")->extra->raw)
    if (g.code == 1) text += zr::DecodeSatLine(g.value) + "\n";
  ASSERT_EQ(0u, text.find("700 "));
  text.replace(0, 3, "400");
  for (size_t at = text.find("$-1 -1 $-1 "); at != std::string::npos; at = text.find("$-1 -1 $-1 ", at))
    text.erase(at + 4, 7);
  zr::AcisFile file;
  ASSERT_TRUE(zr::ReadSatText(text, &file));
  EXPECT_EQ(400, file.version);
  zr::EdgeCurves edges;
  ASSERT_TRUE(zr::AcisEdges(file, &edges));
  ExpectSampleEdges(edges, zr::Vec3());
}

// The solid of a real drawing has the same edges read from the SAT text of
// its 2000 version as from the SAB bytes of its 2007 version (both as the
// DWG worker gives LibreDWG's data), to a millionth of a drawing unit.
TEST(AcisEdges, SatAndSabOfARealDrawingAgree) {
  zr::EdgeCurves versions[2];
  const char* names[2] = {"example_2000.dwg", "example_2007.dwg"};
  for (int i = 0; i < 2; ++i) {
    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(testfiles::ToWinePath(std::string(ZRIO_DWG_FIXTURES) + "/" + names[i]), bytes));
    zr::Database db;
    ASSERT_EQ(zr::DwgReadResult::Ok, zr::ReadDwg(bytes.data(), bytes.size(), false, db, zr::LoadControl()));
    const zr::Entity* solid = FirstOfType(db, "3DSOLID");
    ASSERT_TRUE(solid && solid->extra->derived) << names[i];
    versions[i] = solid->extra->derived->edges;
  }
  ASSERT_GE(versions[0].segments.size(), 6u);
  ASSERT_EQ(versions[0].segments.size(), versions[1].segments.size());
  for (size_t i = 0; i + 1 < versions[0].segments.size(); i += 2) {
    const zr::Vec3 &a = versions[0].segments[i], &b = versions[0].segments[i + 1];
    bool found = false;
    for (size_t k = 0; k + 1 < versions[1].segments.size() && !found; k += 2) {
      const zr::Vec3 &c = versions[1].segments[k], &d = versions[1].segments[k + 1];
      found = ((a - c).length() < 1e-6 && (b - d).length() < 1e-6) ||
              ((a - d).length() < 1e-6 && (b - c).length() < 1e-6);
    }
    EXPECT_TRUE(found) << "edge from " << a.x << ", " << a.y << " to " << b.x << ", " << b.y;
  }
}

TEST(AcisEdges, DamagedDataIsReadWithinBounds) {
  zr::Database db;
  ASSERT_TRUE(Load("acis_sat.dxf", &db));
  std::string text;
  for (const zr::RawGroup& g : FirstOfType(db, "3DSOLID")->extra->raw)
    if (g.code == 1) text += zr::DecodeSatLine(g.value) + "\n";
  codectest::ExpectCasesKeepTheContract(text, [](const std::string& bytes, bool& decoded) {
    zr::AcisFile file;
    zr::ReadSatText(bytes, &file);
    return CheckEdges(file, decoded);
  }, "SAT text", 3301, 600, 20000);

  zr::Database binary;
  ASSERT_TRUE(Load("acis_sab.dxf", &binary));
  std::string sab;
  for (const auto& section : binary.otherSections)
    for (const zr::RawGroup& g : section.second)
      if (section.first == "ACDSDATA" && g.code == 310) sab += Hex(g.value);
  codectest::ExpectCasesKeepTheContract(sab, [](const std::string& bytes, bool& decoded) {
    zr::AcisFile file;
    zr::ReadSabBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &file);
    return CheckEdges(file, decoded);
  }, "SAB bytes", 3302, 600, 20000);
}

// The graphics of every command kind, the LWPOLYLINE's bit stream and the
// clip boundaries among them.
TEST(ProxyGraphics, DamagedGraphicsAreReadWithinBounds) {
  struct Case {
    const char *file, *type;
    uint32_t seed;
    int cases;
  };
  for (const Case& c : {Case{"proxy.dxf", "ACAD_PROXY_ENTITY", 3303, 1500},
                        Case{"proxy_lwpolylines.dxf", "ACME_WIDGET", 3304, 600},
                        Case{"proxy_clips.dxf", "ACME_WIDGET", 3305, 600}}) {
    zr::Database db;
    ASSERT_TRUE(Load(c.file, &db));
    const zr::Entity* proxy = FirstOfType(db, c.type);
    ASSERT_TRUE(proxy && proxy->extra->derived) << c.file;
    const std::vector<uint8_t>& graphics = proxy->extra->derived->proxy;
    std::string valid(graphics.begin(), graphics.end());
    codectest::ExpectCasesKeepTheContract(valid, [&db](const std::string& bytes, bool& decoded) {
      zr::BoxSink box;
      zr::DrawProxyGraphics(std::vector<uint8_t>(bytes.begin(), bytes.end()), db, zr::Transform(),
                            zr::DrawStyle(), box);
      decoded = box.box().valid();
      bool finite = std::isfinite(box.box().lo.x + box.box().hi.y);
      return !decoded || finite ? std::string() : "extents not finite";
    }, c.file, c.seed, c.cases, 20000);
  }
}

TEST(EntityGraphics, DamagedDrawingsOfTheseKindsReadAndDraw) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(64, 48, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  uint32_t seed = 3310;
  // The images' pictures come from a decoder of the test's own.
  DWG_SetImageDecoder(SmallPicture);
  zr::ImageFiles pictures;
  pictures.setDrawing(testfiles::ToWinePath(std::string(ZRIO_INK_DRAWINGS) + "/images.dxf"));
  zr::WalkOptions withPictures;
  withPictures.images = &pictures;
  for (const char* name : {"table_cells", "dimensions_without_blocks", "dynamic_block", "multileader_block",
                           "images", "proxy", "acis_sab", "mline_styles", "proxy_clips", "acis_trimmed"}) {
    std::string valid;
    ASSERT_TRUE(testfiles::ReadFileBytes(testfiles::ToWinePath(std::string(ZRIO_INK_DRAWINGS) + "/" + name + ".dxf"),
                                         valid));
    codectest::ExpectCasesKeepTheContract(valid, [dc, &withPictures](const std::string& bytes, bool& decoded) {
      zr::Database db;
      decoded = zr::ReadDxf(bytes.c_str(), bytes.size(), db, zr::LoadControl()) == zr::LoadResult::Ok;
      if (!decoded) return std::string();
      const std::vector<zr::Entity>& model = db.blocks[size_t(db.modelBlock)].entities;
      zr::BoxSink box;
      zr::EntityWalker(db, box, zr::WalkOptions()).walkList(model, nullptr);
      const zr::Box3& b = box.box();
      double size = b.valid() ? std::max(b.hi.x - b.lo.x, b.hi.y - b.lo.y) : 0;
      double scale = size > 0 && std::isfinite(size) ? 60 / size : 1;
      zr::Transform view = zr::Transform::scaling(scale, scale, scale) *
                           zr::Transform::translation(b.valid() && std::isfinite(size) ? b.lo * -1.0 : zr::Vec3());
      zr::GdiSink sink(dc, true, view, 64, 48, zr::RenderOptions());
      zr::EntityWalker(db, sink, withPictures).walkList(model, nullptr);
      return std::string();
    }, name, seed++, 150, 4000);
  }
  DWG_SetImageDecoder(nullptr);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

// Pictures are found at their stored paths, relative to the drawing, by
// their names beside it, then by their names in the search folders.
TEST(ImageFiles, FoundWhereTheDrawingLooks) {
  DWG_SetImageDecoder(SmallPicture);
  std::string ink = testfiles::ToWinePath(ZRIO_INK_DRAWINGS);
  zr::ImageFiles beside, elsewhere;
  beside.setDrawing(ink + "\\images.dxf");
  EXPECT_TRUE(beside.find("picture.png"));
  EXPECT_TRUE(beside.find("C:\\no such folder\\picture.png"));
  EXPECT_FALSE(beside.find("no_such_picture.png"));
  elsewhere.setDrawing("C:\\no such folder\\drawing.dxf");
  EXPECT_FALSE(elsewhere.find("pictures\\picture.png"));
  DWG_SetSearchDirectories(("C:\\nothing;" + ink).c_str());
  elsewhere.setDrawing("C:\\no such folder\\drawing.dxf");
  EXPECT_TRUE(elsewhere.find("pictures\\picture.png"));
  DWG_SetSearchDirectories("");
  DWG_SetImageDecoder(nullptr);
  EXPECT_FALSE(zr::ImageFiles().find(ink + "\\picture.png"));
}

// A picture of 2 x 2 pixels over 4 x 4 output pixels: each pixel on the
// output pixels whose centres it covers, nothing outside a clip (or inside
// an inverted one), and its fade towards the background.
TEST(ImageRaster, PixelsWhereTheirCentresFall) {
  zr::RasterImage picture;
  picture.width = picture.height = 2;
  picture.pixels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF808080};  // top row first
  zr::ImageRun run;
  run.image = &picture;
  run.origin = zr::Vec3(-0.5, 0.5);  // output pixel centres at (0..3, 1..4)
  run.u = zr::Vec3(4, 0);
  run.v = zr::Vec3(0, 4);
  zr::OutputGrid grid;
  grid.width = grid.height = 4;
  grid.background = RGB(255, 255, 255);
  zr::OutputPixels out;
  ASSERT_TRUE(zr::ResampleImage(run, grid, 0, 4, &out));
  ASSERT_EQ(4, out.width);
  ASSERT_EQ(4, out.height);
  auto at = [&](int c, int r) { return out.pixels[size_t(r - out.top) * size_t(out.width) + size_t(c - out.left)]; };
  EXPECT_EQ(0xFFFF0000u, at(0, 0));
  EXPECT_EQ(0xFF00FF00u, at(3, 1));
  EXPECT_EQ(0xFF0000FFu, at(1, 3));
  EXPECT_EQ(0xFF808080u, at(2, 2));
  // The left half shown; then all but it.
  run.clip = {zr::Vec3(0, 0), zr::Vec3(0.5, 0), zr::Vec3(0.5, 1), zr::Vec3(0, 1)};
  ASSERT_TRUE(zr::ResampleImage(run, grid, 0, 4, &out));
  EXPECT_EQ(0xFFFF0000u, at(1, 0));
  EXPECT_EQ(0u, at(2, 0));
  run.clipInverted = true;
  ASSERT_TRUE(zr::ResampleImage(run, grid, 0, 4, &out));
  EXPECT_EQ(0u, at(1, 0));
  EXPECT_EQ(0xFF00FF00u, at(2, 0));
  run.clip.clear();
  run.fade = 100;
  ASSERT_TRUE(zr::ResampleImage(run, grid, 0, 4, &out));
  EXPECT_EQ(0xFFFFFFFFu, at(0, 0));
}
