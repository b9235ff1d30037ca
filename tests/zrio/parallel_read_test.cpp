// The parse shared out among worker threads gives the very drawing the
// calling thread gives alone (one piece, nothing parsed ahead), whatever
// the pieces a file is cut into, from memory or from the file, also with
// two reads at once on two threads; and a binary DXF gives the
// drawing its ASCII twin gives, both written by ezdxf.
#include "tests/support/gtest.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/zrio/dxf_writer.h"
#include "tests/support/test_files.h"
#include "tests/zrio/fixtures.h"
#include "tests/zrio/model_dump.h"
#include "tests/zrio/render_support.h"

using namespace zriotest;

namespace {

// Where two dumps part, with the lines there.
std::string FirstDifference(const std::string& a, const std::string& b) {
  size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
  size_t line = a.rfind('\n', at == 0 ? 0 : at - 1);
  line = line == std::string::npos ? 0 : line + 1;
  return "\n  " + a.substr(line, a.find('\n', at) - line) + "\n  " +
         b.substr(line, b.find('\n', at) - line);
}

std::string WrittenBack(const Reading& reading) {
  std::string text;
  if (reading.result == zr::LoadResult::Ok) zr::WriteDxf(*reading.db, zr::kSave2004, &text);
  return text;
}

void ExpectSameDrawing(const Reading& expected, const Reading& actual, const std::string& how) {
  SCOPED_TRACE(how);
  EXPECT_EQ(int(expected.result), int(actual.result));
  std::string a = DumpModel(*expected.db), b = DumpModel(*actual.db);
  EXPECT_TRUE(a == b) << FirstDifference(a, b);
  EXPECT_TRUE(WrittenBack(expected) == WrittenBack(actual));
}

// The dump of a drawing without what differs between two saves of it: the
// save times and identifiers in the header, ezdxf's time stamps in the
// extended data.
std::string WithoutSaveStamps(zr::Database& db) {
  auto stamp = [](const std::pair<std::string, zr::RawGroups>& variable) {
    return variable.first.compare(0, 3, "$TD") == 0 ||
           variable.first.find("GUID") != std::string::npos;
  };
  db.header.erase(std::remove_if(db.header.begin(), db.header.end(), stamp), db.header.end());
  std::string dump = DumpModel(db, true), kept;
  for (size_t at = 0; at < dump.size();) {
    size_t end = dump.find('\n', at) + 1;
    std::string line = dump.substr(at, end - at);
    if (line.find(" @ 20") == std::string::npos) kept += line;
    at = end;
  }
  return kept;
}

std::vector<std::string> DxfFilesIn(const std::string& folder) {
  std::vector<std::string> paths;
  for (const std::string& name : testfiles::FileNamesIn(folder))
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".dxf") == 0)
      paths.push_back(folder + "/" + name);
  return paths;
}

}  // namespace

TEST(ParallelRead, EveryDrawingReadsAsByTheCallingThreadAlone) {
  std::vector<std::string> paths = DxfFilesIn(ZRIO_FIXTURES);
  std::vector<std::string> real = DxfFilesIn(ZRIO_DXF_FIXTURES);
  ASSERT_GE(paths.size(), 30u);
  ASSERT_GE(real.size(), 3u);
  paths.insert(paths.end(), real.begin(), real.end());
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(testfiles::ToWinePath(path), bytes));
    Reading alone = ReadBytes(bytes, 1, 0);
    // Pieces of a few hundred bytes put a seam between almost every two
    // entities; a few of a file's size, a few.
    for (size_t pieces : {size_t(400), size_t(37), size_t(5)}) {
      size_t size = std::max<size_t>(bytes.size() / pieces, 64);
      ExpectSameDrawing(alone, ReadBytes(bytes, 4, size),
                        "4 threads, pieces " + std::to_string(size));
    }
    ExpectSameDrawing(alone, ReadBytes(bytes, 1, 150), "1 thread, pieces 150");
    std::string file = testfiles::ToWinePath(path);
    ExpectSameDrawing(alone, ReadFileAt(file, 3, std::max<size_t>(bytes.size() / 50, 64)),
                      "file, 3 threads");
    ExpectSameDrawing(alone, ReadFileAt(file, 0, 0), "file, every thread");
  }
}

TEST(ParallelRead, TwoReadsAtOnceReadAsAlone) {
  std::string ascii, binary;
  ASSERT_TRUE(testfiles::ReadFileBytes(
      testfiles::ToWinePath(std::string(ZRIO_DXF_FIXTURES) + "/dxp_api-cw750-details.dxf"), ascii));
  ASSERT_TRUE(testfiles::ReadFileBytes(FixturePath("curves_R2018_bin.dxf"), binary));
  Reading asciiAlone = ReadBytes(ascii, 1, 0), binaryAlone = ReadBytes(binary, 1, 0);
  Reading asciiShared, binaryShared;
  Win32Thread first([&]() { asciiShared = ReadBytes(ascii, 8, 4096); });
  Win32Thread second([&]() { binaryShared = ReadBytes(binary, 8, 256); });
  ASSERT_TRUE(first.join());
  ASSERT_TRUE(second.join());
  ExpectSameDrawing(asciiAlone, asciiShared, "ASCII beside binary");
  ExpectSameDrawing(binaryAlone, binaryShared, "binary beside ASCII");
}

TEST(ParallelRead, BinaryDrawingsReadAsTheirAsciiTwins) {
  int twins = 0;
  for (const std::string& name : DrawingNames()) {
    if (name.size() < 4 || name.compare(name.size() - 4, 4, "_bin") != 0) continue;
    SCOPED_TRACE(name);
    std::string binary, ascii;
    ASSERT_TRUE(testfiles::ReadFileBytes(FixturePath(name + ".dxf"), binary));
    ASSERT_TRUE(
        testfiles::ReadFileBytes(FixturePath(name.substr(0, name.size() - 4) + "_asc.dxf"), ascii));
    Reading fromBinary = ReadBytes(binary, 0, std::max<size_t>(binary.size() / 20, 64));
    Reading fromAscii = ReadBytes(ascii, 0, 0);
    ASSERT_EQ(int(zr::LoadResult::Ok), int(fromBinary.result));
    ASSERT_EQ(int(zr::LoadResult::Ok), int(fromAscii.result));
    std::string a = WithoutSaveStamps(*fromAscii.db), b = WithoutSaveStamps(*fromBinary.db);
    EXPECT_TRUE(a == b) << FirstDifference(a, b);
    ++twins;
  }
  EXPECT_GE(twins, 10);
}
