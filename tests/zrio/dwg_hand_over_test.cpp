// The DWG worker hands a drawing over as binary DXF; asked for DXF text
// instead, it writes the same groups and values as text. Both readings of
// every DWG fixture make the same model, to the texts the model keeps of
// its numbers.
#include "tests/support/gtest.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/zrio/dwg_reader.h"
#include "tests/support/test_files.h"
#include "tests/zrio/model_dump.h"

namespace {

std::vector<std::string> DwgFixtures() {
  std::vector<std::string> paths;
  std::string folder = testfiles::ToWinePath(ZRIO_DWG_FIXTURES);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*.dwg").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return paths;
  do paths.push_back(folder + "\\" + found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  return paths;
}

// The dump of the model read from the DWG file's bytes; empty when the read failed.
std::string DumpOfDwg(const std::string& bytes, bool asText) {
  zr::SetDwgAnswersAsText(asText);
  zr::Database db;
  zr::DwgReadResult result = zr::ReadDwg(bytes.data(), bytes.size(), false, db, zr::LoadControl());
  zr::SetDwgAnswersAsText(false);
  return result == zr::DwgReadResult::Ok ? zriotest::DumpModel(db) : std::string();
}

TEST(DwgHandOver, BinaryDxfMakesTheModelTheTextMakes) {
  std::vector<std::string> paths = DwgFixtures();
  ASSERT_GE(paths.size(), 10u);
  for (const std::string& path : paths) {
    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(path, bytes)) << path;
    std::string binary = DumpOfDwg(bytes, false), text = DumpOfDwg(bytes, true);
    ASSERT_FALSE(binary.empty()) << path;
    EXPECT_TRUE(binary == text) << path << ": the first difference is at byte "
                                << std::mismatch(binary.begin(), binary.end(), text.begin(), text.end()).first -
                                       binary.begin();
  }
}

}  // namespace
