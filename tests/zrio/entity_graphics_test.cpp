// The readers of what solids and proxy entities carry: the edges read from
// ACIS data where the SAT the drawing maker wrote puts them (the coded SAT
// of an R2000 file, the SAB of an R2013 file), and mutated ACIS text, ACIS
// binary and proxy graphics read within bounds, also under
// AddressSanitizer.
#include "tests/support/gtest.h"

#include <cmath>
#include <string>

#include "platform/zrio/acis_edges.h"
#include "platform/zrio/box_sink.h"
#include "platform/zrio/derived_graphics.h"
#include "platform/zrio/dxf_reader.h"
#include "platform/zrio/proxy_graphics.h"
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

TEST(ProxyGraphics, DamagedGraphicsAreReadWithinBounds) {
  zr::Database db;
  ASSERT_TRUE(Load("proxy.dxf", &db));
  const zr::Entity* proxy = FirstOfType(db, "ACAD_PROXY_ENTITY");
  ASSERT_TRUE(proxy && proxy->extra->derived);
  const std::vector<uint8_t>& graphics = proxy->extra->derived->proxy;
  std::string valid(graphics.begin(), graphics.end());
  codectest::ExpectCasesKeepTheContract(valid, [&db](const std::string& bytes, bool& decoded) {
    zr::BoxSink box;
    zr::DrawProxyGraphics(std::vector<uint8_t>(bytes.begin(), bytes.end()), db, zr::Transform(),
                          zr::DrawStyle(), box);
    decoded = box.box().valid();
    return !decoded || std::isfinite(box.box().lo.x + box.box().hi.y) ? std::string() : "extents not finite";
  }, "proxy graphics", 3303, 1500, 20000);
}
