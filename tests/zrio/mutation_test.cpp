// Thousands of damaged DXF files and DWG headers: open() gives a failure
// status or a drawing that draws, also as an external reference of another;
// lppp() gives false or a BMP; nothing crashes or hangs. Seeded, and
// bounded in time.
#include "tests/support/gtest.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "platform/zrio/dwg_worker.h"
#include "tests/support/mutation_cases.h"
#include "tests/support/test_files.h"
#include "tests/zrio/fixtures.h"

using namespace zriotest;

namespace {

class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed) {}
  uint32_t next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }
  size_t below(size_t n) { return n ? next() % n : 0; }

 private:
  uint32_t state_;
};

const char* const kValues[] = {"1e308", "-1e308", "nan", "inf", "", "-1", "99999999999",
                               "SECTION", "ENDSEC", "EOF", "0", "  0", "BLOCK", "INSERT",
                               "ENTITIES", "VERTEX", "SEQEND", "100000"};

std::string Mutate(const std::string& base, Random& r) {
  std::string s = base;
  switch (r.below(6)) {
    case 0:  // truncated
      s.resize(r.below(s.size()));
      break;
    case 1:  // random bytes changed
      for (size_t n = 1 + r.below(16); n > 0 && !s.empty(); --n) s[r.below(s.size())] = char(r.next());
      break;
    case 2: {  // a line replaced with a troublesome value
      for (size_t n = 1 + r.below(6); n > 0; --n) {
        size_t at = s.find('\n', r.below(s.size()));
        if (at == std::string::npos) break;
        size_t end = s.find('\n', at + 1);
        if (end == std::string::npos) break;
        s.replace(at + 1, end - at - 1, kValues[r.below(sizeof(kValues) / sizeof(kValues[0]))]);
      }
      break;
    }
    case 3: {  // a chunk repeated elsewhere
      size_t from = r.below(s.size()), length = r.below(4000);
      std::string chunk = s.substr(from, length);
      s.insert(r.below(s.size()), chunk);
      break;
    }
    case 4: {  // a chunk removed
      size_t from = r.below(s.size());
      s.erase(from, r.below(2000));
      break;
    }
    default:  // bytes of a binary header overwritten with large numbers
      for (size_t n = 1 + r.below(8); n > 0 && s.size() > 4; --n) {
        size_t at = r.below(s.size() - 4);
        s[at] = char(0xFF);
        s[at + 1] = char(0xFF);
        s[at + 2] = char(r.next());
        s[at + 3] = char(0x7F);
      }
  }
  return s;
}

}  // namespace

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
