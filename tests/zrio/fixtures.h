// Test files of the drawing library tests and ezdxf's answers about them.
#pragma once
#include "platform/zrio/win32.h"
#include <memory>
#include <string>
#include <vector>

#include "platform/zrio/zrio.h"

namespace Json {
class Value;
}

namespace zriotest {

// The versions a DXF save offers: the save call's code and a name for files.
struct SaveVersion {
  short code;
  const char* name;
};
extern const SaveVersion kSaveVersions[4];

// Win32 path of a file in the fixture folder.
std::string FixturePath(const std::string& name);
// Win32 path of a file in the folder of saved drawings (created on demand).
std::string SavedPath(const std::string& name);
// Names (without ".dxf") of the drawings with answers.
std::vector<std::string> DrawingNames();

struct Answers {
  double minX = 0, minY = 0, maxX = 0, maxY = 0, tolerance = 0;
  struct LayerAnswer {
    std::string name;
    int color;
    bool on, frozen;
  };
  std::vector<LayerAnswer> layers;
  std::vector<std::string> layouts;
  int blocks = 0;
  std::vector<std::pair<int, std::string>> properties;
  std::string version;
};
bool ReadAnswers(const std::string& name, Answers* answers);
// Parses a JSON file (Win32 path).
bool ReadJsonFile(const std::string& path, Json::Value* root);

// A drawing opened from the fixture folder; null when the open failed.
struct DrawingDeleter {
  void operator()(CDrawing* d) const { CDrawing::DeleteDrawing(d); }
};
using DrawingPtr = std::unique_ptr<CDrawing, DrawingDeleter>;
DrawingPtr OpenFixture(const std::string& file, short* status = nullptr);
// Saves the drawing as DXF in the version, as the file of that name in the
// folder of saved drawings, and opens the copy; null when either fails.
DrawingPtr SaveAndReopen(CDrawing& drawing, const SaveVersion& version, const std::string& name);

}  // namespace zriotest
