// Thousands of damaged DXF files and DWG headers: open() gives a failure
// status or a drawing that draws, also as an external reference of another;
// lppp() gives false or a BMP; nothing crashes or hangs; worker threads
// reading a damaged file in small pieces give what the calling thread
// gives alone. Seeded, and bounded in time.
#include "tests/support/gtest.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "platform/zrio/dwg_worker.h"
#include "tests/support/mutation_cases.h"
#include "tests/support/test_files.h"
#include "tests/zrio/dxf_mutations.h"
#include "tests/zrio/fixtures.h"
#include "tests/zrio/model_dump.h"

using namespace zriotest;

TEST(Mutation, DamagedFilesFailOrDrawWithoutHarm) {
  const char* const sources[] = {"basic_R2000_asc.dxf", "basic_R2018_bin.dxf", "basic_R12_asc.dxf",
                                 "basic_R12_bin.dxf",   "curves_R2013_asc.dxf", "preview_png.dwg",
                                 "preview_bmp.dwg",     "hatch.dxf",           "viewport.dxf",
                                 "dashed.dxf",          "preview_png.dwf",     "preview_bmp.dwf",
                                 "r12_viewport.dxf",    "r12_broken_viewports.dxf",
                                 "mtext.dxf",           "text_align.dxf"};
  std::vector<std::string> bases;
  for (const char* name : sources) {
    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(FixturePath(name), bytes)) << name;
    bases.push_back(bytes);
  }
  // DWG headers are mutated for their version and preview; the DWG reader
  // (a process an open) has its own mutation test.
  zr::SetDwgReaderLocation("", "/nonexistent/dwg-reader");
  std::string folder = testfiles::MakeScratchFolder("mutation");
  std::string path = folder + "\\case.dxf";
  // A drawing that refers to each damaged file, placed scaled and moved.
  std::string host = folder + "\\host.dxf";
  ASSERT_TRUE(testfiles::WriteFileBytes(
      host, "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nREF\n70\n4\n10\n0\n20\n0\n30\n0\n1\ncase.dxf\n"
            "0\nENDBLK\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nINSERT\n8\n0\n2\nREF\n10\n1\n20\n2\n"
            "30\n0\n41\n2\n0\nENDSEC\n0\nEOF\n"));
  Random r(20261209);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(64, 48, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const int oneOff = testrun::OneOffMutationCases();
  const int total = oneOff ? oneOff : 3000;
  const auto budget = std::chrono::seconds(oneOff ? 24 * 3600 : 90);
  auto start = std::chrono::steady_clock::now();
  int cases = 0, opened = 0, referenced = 0;
  for (; cases < total; ++cases) {
    if (std::chrono::steady_clock::now() - start > budget) break;
    const std::string& base = bases[size_t(cases) % bases.size()];
    ASSERT_TRUE(testfiles::WriteFileBytes(path, Mutate(base, r)));
    auto caseStart = std::chrono::steady_clock::now();
    CDrawing* d = CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW);
    short status = d->open(path.c_str(), nullptr);
    if (status == 0) {
      ++opened;
      EXPECT_TRUE(d->isLoaded());
      d->setViewSize(64, 48);
      d->zoomExtents(0, 0, 1.0);
      d->draw(dc);
      d->zoomIn(3);
      d->draw(dc);
      d->setLayout(d->getLayoutCount() - 1);
      d->draw(dc);
      EXPECT_EQ(0, d->open(host.c_str(), nullptr));
      if (!*d->getLoadProblems()) ++referenced;
      d->zoomExtents(0, 0, 1.0);
      d->draw(dc);
    } else {
      EXPECT_FALSE(d->isLoaded());
    }
    CDrawing::DeleteDrawing(d);
    unsigned char* buffer = nullptr;
    long length = 0;
    if (lppp(path.c_str(), &buffer, &length)) {
      EXPECT_GT(length, 14);
      EXPECT_EQ('B', buffer[0]);
      ppll(&buffer);
    }
    if (oneOff) {
      EXPECT_LT(std::chrono::steady_clock::now() - caseStart,
                std::chrono::milliseconds(testrun::kOneOffSlowCaseMs)) << "case " << cases;
    }
  }
  zr::SetDwgReaderLocation("", "");
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  EXPECT_GE(cases, std::min(total, 500));
  EXPECT_GT(opened, 0);
  EXPECT_GT(referenced, 0);
  printf("%d damaged files, %d opened, %d loaded as references\n", cases, opened, referenced);
}

// The real drawings other programs wrote, read and drawn whole, also under
// AddressSanitizer, within a bound far below a hang.
TEST(Mutation, DamagedFilesReadByWorkersAsByTheCallingThreadAlone) {
  const char* const sources[] = {"basic_R2000_asc.dxf", "basic_R2018_bin.dxf", "basic_R12_bin.dxf",
                                 "curves_R2013_asc.dxf", "curves_R2010_bin.dxf", "hatch.dxf",
                                 "r12_viewport_bin.dxf", "mtext.dxf", "kept_R2018.dxf"};
  std::vector<std::string> bases;
  for (const char* name : sources) {
    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(FixturePath(name), bytes)) << name;
    bases.push_back(bytes);
  }
  Random r(20261210);
  const int oneOff = testrun::OneOffMutationCases();
  const int total = oneOff ? oneOff : 1500;
  const auto budget = std::chrono::seconds(oneOff ? 24 * 3600 : 45);
  auto start = std::chrono::steady_clock::now();
  int cases = 0, read = 0;
  for (; cases < total && std::chrono::steady_clock::now() - start < budget; ++cases) {
    std::string damaged = Mutate(bases[size_t(cases) % bases.size()], r);
    size_t pieces = 64 + r.below(1500);
    Reading alone = ReadBytes(damaged, 1, 0);
    Reading shared = ReadBytes(damaged, 4, pieces);
    ASSERT_EQ(int(alone.result), int(shared.result)) << "case " << cases << ", pieces " << pieces;
    ASSERT_TRUE(DumpModel(*alone.db) == DumpModel(*shared.db)) << "case " << cases << ", pieces " << pieces;
    read += alone.result == zr::LoadResult::Ok;
  }
  EXPECT_GE(cases, std::min(total, 300));
  printf("%d damaged files read apart and alone, %d read\n", cases, read);
}

TEST(Mutation, RealDrawingsOpenAndDrawWithinTheBound) {
  std::string folder = testfiles::ToWinePath(ZRIO_DXF_FIXTURES);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(320, 240, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  int files = 0;
  for (const std::string& name : testfiles::FileNamesIn(folder)) {
    if (name.size() < 4 || name.compare(name.size() - 4, 4, ".dxf") != 0) continue;
    ++files;
    std::string path = folder + "\\" + name;
    auto start = std::chrono::steady_clock::now();
    CDrawing* d = CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW);
    EXPECT_EQ(0, d->open(path.c_str(), nullptr)) << name;
    d->setViewSize(320, 240);
    d->zoomExtents(0, 0, 1.0);
    d->draw(dc);
    CDrawing::DeleteDrawing(d);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30)) << name;
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  EXPECT_GE(files, 3);
}
