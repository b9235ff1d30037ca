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

// Writes the drawing as DWG 2000 and as its DXF 2000 twin; the failure text
// when the DWG writer refused it.
std::string WriteWithTwin(const zr::Database& db, const std::string& name) {
  std::string failure;
  if (!zr::WriteDwgFile(db, WrittenPath(name + ".dwg").c_str(), zr::kSave2000, &failure))
    return failure.empty() ? "refused" : failure;
  EXPECT_TRUE(zr::WriteDxfFile(db, WrittenPath(name + ".dxf").c_str(), zr::kSave2000));
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
    std::string failure = WriteWithTwin(*d->state()->db, name);
    EXPECT_EQ("", failure);
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

TEST(DwgWrite, OtherDrawings) {
  struct Source { const char* folder; const char* pattern; };
  const Source sources[] = {{ZRIO_FIXTURES, "*.dxf"}, {ZRIO_DXF_FIXTURES, "*.dxf"}, {ZRIO_DWG_FIXTURES, "*.dwg"}};
  for (const Source& s : sources) {
    std::string folder = testfiles::ToWinePath(s.folder);
    for (const std::string& file : FilesIn(folder, s.pattern)) {
      DrawingPtr d = OpenPath(folder + "\\" + file);
      if (!d) { printf("cannot open %s\n", file.c_str()); continue; }
      std::string name = "other_" + file.substr(0, file.size() - 4);
      std::string failure = WriteWithTwin(*d->state()->db, name);
      printf("%s: %s\n", file.c_str(), failure.c_str());
    }
  }
}
