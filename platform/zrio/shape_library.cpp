#include "platform/zrio/win32.h"
#include "platform/zrio/shape_library.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/zrio/library_globals.h"
#include "platform/zrio/text_styles.h"

namespace zr {

namespace {

const DWORD kMaxShapeFileSize = 16 << 20;
const double kMaxSlantDegrees = 85;

bool ReadSmallFile(const std::string& path, std::vector<uint8_t>* bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD high = 0, size = GetFileSize(file, &high), done = 0;
  bool ok = size != INVALID_FILE_SIZE && high == 0 && size <= kMaxShapeFileSize;
  if (ok) {
    bytes->resize(size);
    ok = size == 0 || (ReadFile(file, bytes->data(), size, &done, nullptr) && done == size);
  }
  CloseHandle(file);
  return ok;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string WithSeparator(const std::string& folder) {
  if (folder.empty() || folder.back() == '\\' || folder.back() == '/') return folder;
  return folder + "\\";
}

// The places a file named `stored` is looked for, in order.
std::vector<std::string> Candidates(const std::string& stored, const std::string& drawingPath,
                                    const std::vector<std::string>& searchFolders) {
  std::string file = stored;
  size_t name = file.find_last_of("\\/:");
  std::string bare = name == std::string::npos ? file : file.substr(name + 1);
  if (bare.find('.') == std::string::npos) {
    file += ".shx";
    bare += ".shx";
  }
  std::vector<std::string> places = {file, FolderOf(drawingPath) + bare};
  for (const std::string& folder : searchFolders)
    if (!folder.empty()) places.push_back(WithSeparator(folder) + bare);
  return places;
}

// The shape number a group holds: digits only, within the 16 bits shape
// numbers have.
bool ShapeNumber(const std::string& text, uint16_t* number) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  long value = atol(text.c_str());
  if (value > 0xFFFF) return false;
  *number = uint16_t(value);
  return true;
}

// Gives a numbered SHAPE's groups the name its style's file has for it.
void NameShape(const ShapeLibrary& library, RawGroups* raw) {
  RawGroups::iterator name = raw->end(), style = raw->end();
  for (RawGroups::iterator g = raw->begin(); g != raw->end(); ++g) {
    if (g->code == 2) name = g;
    if (g->code == 7) style = g;
  }
  uint16_t number = 0;
  if (name == raw->end() || style == raw->end() || !ShapeNumber(name->value, &number)) return;
  std::string styleName = UpperName(style->value);
  for (const LoadedShapeFile& loaded : library.files) {
    if (loaded.styleName != styleName) continue;
    const ShapeDefinition* shape = loaded.file.find(number);
    if (!shape) return;
    name->value = shape->name;
    raw->erase(style);
    return;
  }
}

double Number(const RawGroups& raw, int code, double fallback) {
  for (const RawGroup& g : raw)
    if (g.code == code) {
      double v = atof(g.value.c_str());
      return std::isfinite(v) ? v : fallback;
    }
  return fallback;
}

}  // namespace

std::shared_ptr<const ShapeLibrary> LoadShapeLibrary(const Database& db, const std::string& drawingPath,
                                                     const std::vector<std::string>& searchFolders) {
  std::shared_ptr<ShapeLibrary> library(new ShapeLibrary);
  for (const TextStyleRecord& style : TextStyleRecords(db)) {
    if (!(style.flags & 1) || style.font.empty()) continue;
    for (const std::string& place : Candidates(Utf8ToAnsi(style.font), drawingPath, searchFolders)) {
      std::vector<uint8_t> bytes;
      ShapeFile file;
      if (!ReadSmallFile(place, &bytes) || !ReadShapeFile(bytes.data(), bytes.size(), &file)) continue;
      library->files.push_back(LoadedShapeFile{UpperName(style.name), std::move(file)});
      break;
    }
  }
  return library;
}

void NameNumberedShapes(const ShapeLibrary& library, Database* db) {
  if (library.files.empty()) return;
  for (Block& block : db->blocks)
    for (Entity& e : block.entities)
      if (e.kind == EntityKind::Unknown && e.extra && e.extra->typeName == "SHAPE")
        NameShape(library, &e.extra->raw);
}

bool ShapeEntityStrokes(const ShapeLibrary& library, const RawGroups& raw,
                        std::vector<std::vector<Vec3>>* strokes) {
  std::string name;
  for (const RawGroup& g : raw)
    if (g.code == 2) name = UpperName(g.value);
  for (const LoadedShapeFile& loaded : library.files) {
    const ShapeFile& file = loaded.file;
    const ShapeDefinition* shape = file.findByName(name);
    if (!shape) continue;
    size_t first = strokes->size();
    ShapeStrokes(file, shape->number, strokes);
    // One vector unit is `size` drawing units.
    Vec3 at(Number(raw, 10, 0), Number(raw, 20, 0), Number(raw, 30, 0));
    double size = Number(raw, 40, 1), widthFactor = Number(raw, 41, 1);
    if (widthFactor == 0) widthFactor = 1;
    double rotation = Number(raw, 50, 0) * kPi / 180;
    double slantDegrees = std::max(-kMaxSlantDegrees, std::min(kMaxSlantDegrees, Number(raw, 51, 0)));
    double slant = std::tan(slantDegrees * kPi / 180);
    double c = std::cos(rotation), s = std::sin(rotation);
    for (size_t k = first; k < strokes->size(); ++k)
      for (Vec3& p : (*strokes)[k]) {
        double x = (p.x + p.y * slant) * size * widthFactor, y = p.y * size;
        p = Vec3(at.x + x * c - y * s, at.y + x * s + y * c, at.z);
      }
    return true;
  }
  return false;
}

}  // namespace zr
