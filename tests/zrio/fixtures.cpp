#include "tests/zrio/fixtures.h"

#include "tests/support/test_files.h"

namespace zriotest {

std::string FixturePath(const std::string& name) {
  return testfiles::ToWinePath(std::string(ZRIO_FIXTURES) + "/" + name);
}

const SaveVersion kSaveVersions[4] = {{9, "2004"}, {8, "2000"}, {7, "R14"}, {5, "R12"}};

std::string SavedPath(const std::string& name) {
  std::string folder = testfiles::ToWinePath(ZRIO_SAVED);
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "\\" + name;
}

std::vector<std::string> DrawingNames() {
  std::string text;
  std::vector<std::string> names;
  if (!testfiles::ReadFileBytes(FixturePath("drawings.txt"), text)) return names;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    if (end > at) names.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return names;
}

DrawingPtr OpenFixture(const std::string& file, short* status) {
  DrawingPtr drawing(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
  short result = drawing->open(FixturePath(file).c_str(), nullptr);
  if (status) *status = result;
  if (result != 0) drawing.reset();
  return drawing;
}

DrawingPtr SaveAndReopen(CDrawing& drawing, const SaveVersion& version, const std::string& name) {
  std::string path = SavedPath(name);
  if (!drawing.save(path.c_str(), 2, version.code, 0)) return nullptr;
  DrawingPtr again(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
  if (again->open(path.c_str(), nullptr) != 0) again.reset();
  return again;
}

}  // namespace zriotest
