// Saving DWG 2000: the bit codes and the CRC against the format's known
// values, and drawings written as DWG beside their DXF 2000 twin (the same
// save in DXF form) for LibreDWG and ezdxf to compare
// (check_dwg_written.py), then opened again by ourselves and drawn.
#include "tests/support/gtest.h"

#include <string.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/zrio/drawing_state.h"
#include "platform/zrio/dwg_bit_writer.h"
#include "platform/zrio/dwg_writer.h"
#include "platform/zrio/dxf_writer.h"
#include "tests/support/test_files.h"
#include "tests/zrio/fixtures.h"
#include "tests/zrio/render_support.h"

using namespace zriotest;

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<uint8_t> out;
  for (int v : values) out.push_back(uint8_t(v));
  return out;
}

std::string WrittenPath(const std::string& name) {
  std::string folder = testfiles::ToWinePath(ZRIO_DWG_WRITTEN);
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "\\" + name;
}

// Writes the drawing as DWG and as its DXF twin of the same version; the
// failure text when the DWG writer refused it.
std::string WriteWithTwin(const zr::Database& db, const std::string& name,
                          int version = zr::kSave2000) {
  std::string failure;
  if (!zr::WriteDwgFile(db, WrittenPath(name + ".dwg").c_str(), version, &failure))
    return failure.empty() ? "refused" : failure;
  EXPECT_EQ(ReplaceFileDone, zr::WriteDxfFile(db, WrittenPath(name + ".dxf").c_str(), version));
  return "";
}

}  // namespace

TEST(DwgBits, CodesAndCrcMatchTheFormatsValues) {
  const char* check = "123456789";
  EXPECT_EQ(0xBB3D, zr::DwgCrc16(reinterpret_cast<const uint8_t*>(check), 9, 0));
  zr::DwgBitWriter w;
  w.bs(0);      // 10
  w.bs(256);    // 11
  w.bs(5);      // 01 00000101
  w.bd(1.0);    // 01
  w.bd(0.0);    // 10
  w.bl(0);      // 10
  w.align();
  EXPECT_EQ(Bytes({0xB4, 0x15, 0xA0}), w.bytes());
  zr::DwgBitWriter mc;
  mc.mc(4610);   // the format description's example: 0x82 0x24
  mc.mc(112);    // 0xF0 0x00: a positive value whose top bit would read as the sign
  mc.mc(-1);     // 0x41
  EXPECT_EQ(Bytes({0x82, 0x24, 0xF0, 0x00, 0x41}), mc.bytes());
  zr::DwgBitWriter ms;
  ms.ms(4650033);  // 15 bits a little-endian word, the top bit for "more"
  EXPECT_EQ(Bytes({0x31, 0xF4, 0x8D, 0x00}), ms.bytes());
  zr::DwgBitWriter h;
  h.handle(zr::kHardPointer, 0x2F1);
  h.handle(zr::kSoftPointer, 0);
  EXPECT_EQ(Bytes({0x52, 0x02, 0xF1, 0x40}), h.bytes());
}

TEST(DwgWrite, TestDrawingsWithTheirTwins) {
  std::vector<std::string> names = DrawingNames();
  ASSERT_FALSE(names.empty());
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    DrawingPtr d = OpenFixture(name + ".dxf");
    ASSERT_TRUE(d);
    EXPECT_EQ("", WriteWithTwin(*d->state()->db, name));
    EXPECT_EQ("", WriteWithTwin(*d->state()->db, "r14_" + name, zr::kSaveR14));
  }
}

namespace {

std::vector<std::string> FilesIn(const std::string& folder, const char* pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.push_back(found.cFileName);
  while (FindNextFileA(h, &found));
  FindClose(h);
  return names;
}

DrawingPtr OpenPath(const std::string& path) {
  DrawingPtr d(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
  if (d->open(path.c_str(), nullptr) != CDrawing::kOpened) d.reset();
  return d;
}

}  // namespace

// Kinds the writer refuses rather than leave out: 3D solids, and the
// regions, wipeouts, tolerances and image definitions the DWG reader passes
// on, which it does not encode.
static bool RefusedKind(const std::string& failure) {
  return failure == "entity 3DSOLID" || failure == "entity REGION" || failure == "entity WIPEOUT" ||
         failure == "entity TOLERANCE" || failure == "object IMAGEDEF";
}

// Every fixture, DXF and DWG, is written unless it holds a kind the writer
// refuses; the one holding 3D solids is refused for them.
TEST(DwgWrite, FixturesWithTheirTwins) {
  struct Source { const char* folder; const char* pattern; };
  const Source sources[] = {{ZRIO_FIXTURES, "*.dxf"}, {ZRIO_DXF_FIXTURES, "*.dxf"}, {ZRIO_DWG_FIXTURES, "*.dwg"}};
  for (const Source& s : sources) {
    std::string folder = testfiles::ToWinePath(s.folder);
    std::vector<std::string> files = FilesIn(folder, s.pattern);
    EXPECT_FALSE(files.empty()) << folder;
    for (const std::string& file : files) {
      SCOPED_TRACE(file);
      DrawingPtr d = OpenPath(folder + "\\" + file);
      ASSERT_TRUE(d);
      std::string stem = file.substr(0, file.size() - 4);
      std::string written2000 = WriteWithTwin(*d->state()->db, "other_" + stem);
      std::string writtenR14 = WriteWithTwin(*d->state()->db, "r14_other_" + stem, zr::kSaveR14);
      if (file == "dxp_api-cw750-details.dxf")
        EXPECT_EQ("entity 3DSOLID", written2000);
      EXPECT_TRUE(written2000.empty() || RefusedKind(written2000)) << written2000;
      EXPECT_TRUE(writtenR14.empty() || RefusedKind(writtenR14)) << writtenR14;
      EXPECT_EQ(written2000.empty(), writtenR14.empty());
    }
  }
}

namespace {

// The pixels of a drawing's extents at 400 x 300, also kept as a PNG file.
std::vector<COLORREF> Picture(CDrawing& d, const std::string& png) {
  const int width = 400, height = 300;
  PixelSurface surface(width, height);
  d.setViewSize(width, height);
  d.zoomExtents(0, 0, 0.95);
  d.draw(surface.dc());
  std::vector<COLORREF> pixels;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels.push_back(surface.at(x, y));
  EXPECT_TRUE(surface.WritePng(WrittenPath(png)));
  return pixels;
}

}  // namespace

// The drawing's own save writes DWG 2000 (and no other DWG version); what it
// wrote opens again through LibreDWG and draws the same pixels. (The
// drawings hold no polylines with vertices, no meshes and no attribute
// definitions: LibreDWG's conversion leaves out a polyline's last vertex,
// meshes and an attribute definition's text, in AutoCAD's files too.)
TEST(DwgWrite, SavedDrawingOpensAgainAndDrawsTheSame) {
  DWG_SetBackgroundColor(RGB(255, 255, 255));
  for (const char* name : {"curves_R2018_bin.dxf", "hatch.dxf", "mtext.dxf", "viewport.dxf",
                           "dashed.dxf", "render.dxf"}) {
    SCOPED_TRACE(name);
    DrawingPtr source = OpenFixture(name);
    ASSERT_TRUE(source);
    std::string target = WrittenPath(std::string("saved_") + name + ".dwg");
    ASSERT_TRUE(source->save(target.c_str(), 1, zr::kSave2000, 0));
    DrawingPtr again = OpenPath(target);
    ASSERT_TRUE(again);
    EXPECT_EQ(source->getLayerCount(), again->getLayerCount());
    EXPECT_EQ(source->getLayoutCount(), again->getLayoutCount());
    std::vector<COLORREF> want = Picture(*source, std::string(name) + ".png");
    std::vector<COLORREF> got = Picture(*again, std::string(name) + ".dwg.png");
    size_t differing = 0;
    for (size_t i = 0; i < want.size(); ++i) differing += want[i] != got[i];
    EXPECT_EQ(0u, differing);
    std::string refused = WrittenPath(std::string("refused_") + name + ".dwg");
    for (short version : {zr::kSave2004, zr::kSaveR14, zr::kSaveR12})
      EXPECT_FALSE(source->save(refused.c_str(), 1, version, 0));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(refused.c_str()));
  }
  DWG_SetBackgroundColor(RGB(0, 0, 0));
}

namespace {

std::string Entities(const std::string& body) {
  return "  0\nSECTION\n  2\nENTITIES\n" + body + "  0\nENDSEC\n  0\nEOF\n";
}

std::string Lines(int count) {
  std::string body;
  char line[160];
  for (int i = 0; i < count; ++i) {
    snprintf(line, sizeof line, "  0\nLINE\n  8\n0\n 10\n%d.0\n 20\n%d.5\n 11\n%d.25\n 21\n%d.0\n", i % 1000,
             i / 1000, i % 1000 + 1, i / 1000 + 1);
    body += line;
  }
  return body;
}

}  // namespace

// An empty drawing, a block that inserts itself, layer names in code page
// 936 and 100,000 entities: each is written, and LibreDWG reads it back in
// check_dwg_written.py.
TEST(DwgWrite, UnusualDrawings) {
  const std::string chinese = "\xCD\xBC\xB2\xE3\xD2\xBB";  // a layer name in GBK
  const std::pair<const char*, std::string> drawings[] = {
      {"empty", Entities("")},
      {"self_insert",
       "  0\nSECTION\n  2\nBLOCKS\n  0\nBLOCK\n  2\nSELF\n 70\n0\n 10\n0.0\n 20\n0.0\n"
       "  0\nLINE\n  8\n0\n 10\n0.0\n 20\n0.0\n 11\n5.0\n 21\n5.0\n"
       "  0\nINSERT\n  8\n0\n  2\nSELF\n 10\n1.0\n 20\n1.0\n  0\nENDBLK\n  0\nENDSEC\n" +
           Entities("  0\nINSERT\n  8\n0\n  2\nSELF\n 10\n0.0\n 20\n0.0\n")},
      {"chinese_layers",
       "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  9\n$DWGCODEPAGE\n  3\nANSI_936\n"
       "  0\nENDSEC\n  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n  0\nLAYER\n  2\n" + chinese +
           "\n 70\n0\n 62\n3\n  6\nCONTINUOUS\n  0\nENDTAB\n  0\nENDSEC\n" +
           Entities("  0\nCIRCLE\n  8\n" + chinese + "\n 10\n1.0\n 20\n2.0\n 40\n3.0\n")},
      {"many_entities", Entities(Lines(100000))},
  };
  std::string folder = testfiles::MakeScratchFolder("dwg_unusual");
  for (const auto& drawing : drawings) {
    SCOPED_TRACE(drawing.first);
    std::string source = folder + "\\" + drawing.first + ".dxf";
    ASSERT_TRUE(testfiles::WriteFileBytes(source, drawing.second));
    DrawingPtr d = OpenPath(source);
    ASSERT_TRUE(d);
    EXPECT_EQ("", WriteWithTwin(*d->state()->db, std::string("unusual_") + drawing.first));
    EXPECT_EQ("", WriteWithTwin(*d->state()->db, std::string("r14_unusual_") + drawing.first, zr::kSaveR14));
  }
}
