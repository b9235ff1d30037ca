// Saving DWG: the bit codes and the CRC against the format's known values,
// and drawings written as DWG beside their DXF twin (the same save in DXF
// form) for LibreDWG and ezdxf to compare
// (check_dwg_written.py), then opened again by ourselves and drawn.
#include "tests/support/gtest.h"

#include <string.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/zrio/drawing_state.h"
#include "platform/zrio/dwg_bit_writer.h"
#include "platform/zrio/dwg_preview.h"
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

// Writes the drawing as DWG and as its DXF twin of the same version (less
// what a DWG save leaves out); the failure text when the DWG writer refused it.
std::string WriteWithTwin(const zr::Database& db, const std::string& name, int version) {
  std::string failure;
  if (!zr::WriteDwgFile(db, WrittenPath(name + ".dwg").c_str(), version, &failure))
    return failure.empty() ? "refused" : failure;
  EXPECT_EQ(ReplaceFileDone,
            zr::WriteDxfFile(db, WrittenPath(name + ".dxf").c_str(), version, zr::DwgSaveLimits()));
  return "";
}

// Each version written, with the prefix of its files' names.
const std::pair<int, const char*> kVersions[] = {
    {zr::kSave2000, ""}, {zr::kSaveR14, "r14_"}, {zr::kSave2004, "2004_"}};

// The drawing in every version; the failures, by version.
std::string WriteEveryVersion(const zr::Database& db, const std::string& name) {
  std::string failures;
  for (const auto& version : kVersions) {
    std::string failure = WriteWithTwin(db, version.second + name, version.first);
    if (!failure.empty()) failures += std::to_string(version.first) + ": " + failure + "; ";
  }
  return failures;
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
    EXPECT_EQ("", WriteEveryVersion(*d->state()->db, name));
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

// Every fixture, DXF and DWG, and the drawings of every kind are written in
// every version.
TEST(DwgWrite, FixturesWithTheirTwins) {
  struct Source { const char* folder; const char* pattern; };
  const Source sources[] = {{ZRIO_FIXTURES, "*.dxf"}, {ZRIO_KIND_DRAWINGS, "*.dxf"},
                            {ZRIO_DXF_FIXTURES, "*.dxf"}, {ZRIO_DWG_FIXTURES, "*.dwg"}};
  for (const Source& s : sources) {
    std::string folder = testfiles::ToWinePath(s.folder);
    std::vector<std::string> files = FilesIn(folder, s.pattern);
    EXPECT_FALSE(files.empty()) << folder;
    for (const std::string& file : files) {
      SCOPED_TRACE(file);
      DrawingPtr d = OpenPath(folder + "\\" + file);
      ASSERT_TRUE(d);
      std::string stem = file.substr(0, file.size() - 4);
      EXPECT_EQ("", WriteEveryVersion(*d->state()->db, "other_" + stem));
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

// The drawing's own save writes DWG 2004, 2000 and R14 (not R12); what it
// wrote opens again through LibreDWG and draws the same
// pixels. (The drawings hold no polylines with vertices, no meshes and no
// attribute definitions: LibreDWG's conversion leaves out a polyline's last
// vertex, meshes and an attribute definition's text, in AutoCAD's files too.)
TEST(DwgWrite, SavedDrawingOpensAgainAndDrawsTheSame) {
  DWG_SetBackgroundColor(RGB(255, 255, 255));
  for (const char* name : {"curves_R2018_bin.dxf", "hatch.dxf", "mtext.dxf", "viewport.dxf",
                           "dashed.dxf", "render.dxf"}) {
    SCOPED_TRACE(name);
    DrawingPtr source = OpenFixture(name);
    ASSERT_TRUE(source);
    std::vector<COLORREF> want = Picture(*source, std::string(name) + ".png");
    for (short version : {zr::kSave2004, zr::kSave2000, zr::kSaveR14}) {
      SCOPED_TRACE(version);
      std::string saved = std::string("saved_") + std::to_string(version) + "_" + name + ".dwg";
      ASSERT_TRUE(source->save(WrittenPath(saved).c_str(), 1, version, 0)) << source->getSaveError();
      DrawingPtr again = OpenPath(WrittenPath(saved));
      ASSERT_TRUE(again);
      EXPECT_EQ(source->getLayerCount(), again->getLayerCount());
      EXPECT_EQ(source->getLayoutCount(), again->getLayoutCount());
      std::vector<COLORREF> got = Picture(*again, saved + ".png");
      size_t differing = 0;
      for (size_t i = 0; i < want.size(); ++i) differing += want[i] != got[i];
      EXPECT_EQ(0u, differing);
    }
    std::string refused = WrittenPath(std::string("refused_") + name + ".dwg");
    DeleteFileA(refused.c_str());
    EXPECT_FALSE(source->save(refused.c_str(), 1, zr::kSaveR12, 0));
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
    EXPECT_EQ("", WriteEveryVersion(*d->state()->db, std::string("unusual_") + drawing.first));
  }
}

// What cannot be written fails the save with its reason in the program's
// language, and nothing is written: a kind 2000 holds but the writer does
// not encode (the express tools' text along an arc), a shape whose shape
// file is not there.
TEST(DwgWrite, RefusedSavesSayWhyAndWriteNothing) {
  const std::pair<std::string, const char*> drawings[] = {
      {Entities("  0\nARCALIGNEDTEXT\n  8\n0\n  1\nabc\n 10\n0.0\n 20\n0.0\n 40\n5.0\n"),
       "不能写成 DWG 文件: 不能保存的实体类型 ARCALIGNEDTEXT"},
      {Entities("  0\nSHAPE\n  8\n0\n  2\nBOX\n 10\n0.0\n 20\n0.0\n 40\n1.0\n"),
       "不能写成 DWG 文件: 找不到形的形文件 BOX"}};
  std::string folder = testfiles::MakeScratchFolder("dwg_refused");
  for (const auto& drawing : drawings) {
    SCOPED_TRACE(drawing.second);
    std::string source = folder + "\\drawing.dxf", target = folder + "\\drawing.dwg";
    ASSERT_TRUE(testfiles::WriteFileBytes(source, "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n"
                                                  "  0\nENDSEC\n" + drawing.first));
    DrawingPtr d = OpenPath(source);
    ASSERT_TRUE(d);
    EXPECT_FALSE(d->save(target.c_str(), 1, zr::kSave2000, 0));
    EXPECT_STREQ(drawing.second, d->getSaveError());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(target.c_str()));
  }
}

// The preview picture a drawing holds is written in every version, where
// our own preview reader finds it (and LibreDWG, in check_dwg_written.py).
TEST(DwgWrite, PreviewPictureIsWritten) {
  // A 4 x 2 picture of 24-bit pixels, rows of 12 bytes.
  std::vector<uint8_t> dib = {40, 0, 0, 0, 4, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0};
  dib.resize(40, 0);
  for (int i = 0; i < 24; ++i) dib.push_back(uint8_t(i * 10));
  std::string hex;
  for (uint8_t b : dib) {
    char digits[3];
    snprintf(digits, sizeof digits, "%02X", b);
    hex += digits;
  }
  std::string text = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  0\nENDSEC\n" +
                     Entities("  0\nLINE\n  8\n0\n 10\n0.0\n 20\n0.0\n 11\n1.0\n 21\n1.0\n");
  text.insert(text.size() - std::string("  0\nEOF\n").size(),
              "  0\nSECTION\n  2\nTHUMBNAILIMAGE\n 90\n" + std::to_string(dib.size()) + "\n310\n" + hex +
                  "\n  0\nENDSEC\n");
  std::string source = testfiles::MakeScratchFolder("dwg_preview") + "\\thumbnail.dxf";
  ASSERT_TRUE(testfiles::WriteFileBytes(source, text));
  DrawingPtr d = OpenPath(source);
  ASSERT_TRUE(d);
  ASSERT_EQ(dib, d->state()->db->thumbnail);
  EXPECT_EQ("", WriteEveryVersion(*d->state()->db, "unusual_thumbnail"));
  std::vector<uint8_t> want;
  ASSERT_TRUE(zr::BmpFromDib(dib.data(), dib.size(), &want));
  for (const auto& version : kVersions) {
    SCOPED_TRACE(version.first);
    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(WrittenPath(std::string(version.second) + "unusual_thumbnail.dwg"), bytes));
    std::vector<uint8_t> got;
    EXPECT_TRUE(zr::ExtractPreviewBmp(bytes.data(), bytes.size(), &got));
    EXPECT_EQ(want, got);
  }
}
