// Damaged copies of real DWG files through the whole DWG road (LibreDWG in
// its worker, the DXF text, the DXF reader, drawing): open() gives a failure
// status or a drawing that draws; nothing crashes or hangs. Each case costs
// a process, so there are few; seeded, and bounded in time.
#include "tests/support/gtest.h"

#include <algorithm>
#include <chrono>
#include <string>

#include "platform/zrio/dwg_reader.h"
#include "tests/support/mutation_cases.h"
#include "tests/support/test_files.h"
#include "platform/zrio/zrio.h"

namespace {

uint32_t g_state = 20261210;
size_t Below(size_t n) {
  g_state = g_state * 1664525u + 1013904223u;
  return n ? (g_state >> 8) % n : 0;
}

std::string Mutate(std::string s) {
  switch (Below(4)) {
    case 0:  // truncated
      s.resize(Below(s.size()));
      break;
    case 1:  // bytes changed anywhere
      for (size_t n = 1 + Below(32); n > 0; --n) s[Below(s.size())] = char(Below(256));
      break;
    case 2:  // bytes changed in the file header and section map
      for (size_t n = 1 + Below(8); n > 0; --n) s[6 + Below(std::min<size_t>(s.size() - 6, 0x200))] = char(Below(256));
      break;
    default: {  // a chunk zeroed
      size_t from = Below(s.size());
      size_t length = std::min(s.size() - from, 1 + Below(4096));
      s.replace(from, length, length, '\0');
    }
  }
  return s;
}

}  // namespace

TEST(DwgMutation, DamagedDwgFilesFailOrDraw) {
  std::vector<std::string> bases;
  for (const char* name : {"sample_2000.dwg", "example_2004.dwg", "example_2018.dwg", "example_r14.dwg"}) {
    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(testfiles::ToWinePath(std::string(ZRIO_DWG_FIXTURES) + "/" + name), bytes));
    bases.push_back(bytes);
  }
  zr::SetDwgReaderBounds(20000, 0);
  std::string path = testfiles::MakeScratchFolder("dwg_mutation") + "\\case.dwg";
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(64, 48, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const int oneOff = testrun::OneOffMutationCases();
  const auto budget = std::chrono::seconds(oneOff ? 24 * 3600 : 100);
  auto start = std::chrono::steady_clock::now();
  int cases = 0, opened = 0;
  const int total = oneOff ? oneOff : 16;
  for (; cases < total; ++cases) {
    if (std::chrono::steady_clock::now() - start > budget) break;
    ASSERT_TRUE(testfiles::WriteFileBytes(path, Mutate(bases[size_t(cases) % bases.size()])));
    // Thumbnail drawings, one case after another, as the thumbnail thread opens them.
    CDrawing* d = CDrawing::CreateDrawing(CDRAWING_SERVER_THUMBNAIL);
    short status = d->open(path.c_str(), nullptr);
    EXPECT_EQ(status == 0, d->isLoaded());
    if (status == 0) {
      ++opened;
      d->setViewSize(64, 48);
      d->zoomExtents(0, 0, 1.0);
      d->draw(dc);
      d->setLayout(d->getLayoutCount() - 1);
      d->draw(dc);
    }
    CDrawing::DeleteDrawing(d);
  }
  zr::SetDwgReaderBounds(0, 0);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  EXPECT_GE(cases, std::min(total, 8));
  printf("%d damaged DWG files, %d opened\n", cases, opened);
}
