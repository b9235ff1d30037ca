#include "platform/zrio/win32.h"
#include "platform/zrio/derived_graphics.h"

#include <stdlib.h>

#include <map>
#include <memory>

#include "platform/zrio/acis_edges.h"
#include "platform/zrio/dxf_reader.h"
#include "platform/zrio/visibility_states.h"

namespace zr {

namespace {

typedef std::map<uint64_t, std::vector<uint8_t>> BytesByHandle;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Appends the bytes of a 310 group's hex digits, up to the first pair that
// is not one.
void AppendHex(const std::string& hex, std::vector<uint8_t>* bytes) {
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    int high = HexDigit(hex[i]), low = HexDigit(hex[i + 1]);
    if (high < 0 || low < 0) return;
    bytes->push_back(uint8_t(high * 16 + low));
  }
}

uint64_t HandleOf(const std::string& text) { return strtoull(text.c_str(), nullptr, 16); }

// The SAT text an entity holds in its modeler geometry part: a line a
// group 1, continued by the group 3 after it; R2000 to R2004 files (and
// some later ones) store it coded, line by line.
std::string SatTextOf(const RawGroups& raw) {
  std::vector<std::string> lines;
  bool inGeometry = false;
  for (const RawGroup& g : raw) {
    if (g.code == 100) inGeometry = g.value == "AcDbModelerGeometry";
    else if (inGeometry && g.code == 1) lines.push_back(g.value);
    else if (inGeometry && g.code == 3 && !lines.empty()) lines.back() += g.value;
  }
  if (lines.empty()) return std::string();
  size_t first = lines[0].find_first_not_of(' ');
  bool plain = first != std::string::npos && lines[0][first] >= '0' && lines[0][first] <= '9';
  std::string text;
  for (const std::string& line : lines) {
    text += plain ? line : DecodeSatLine(line);
    text += '\n';
  }
  return text;
}

// The SAB data of the ACDSDATA section's records, by the handle of the
// entity each belongs to.
BytesByHandle AsmDataOf(const Database& db) {
  BytesByHandle data;
  for (const auto& section : db.otherSections) {
    if (section.first != "ACDSDATA") continue;
    uint64_t handle = 0;
    bool inAsm = false;
    for (const RawGroup& g : section.second) {
      if (g.code == 0) {
        handle = 0;
        inAsm = false;
      } else if (g.code == 320) {
        handle = HandleOf(g.value);
      } else if (g.code == 2) {
        inAsm = g.value == "ASM_Data";
      } else if (g.code == 310 && inAsm && handle != 0) {
        AppendHex(g.value, &data[handle]);
      }
    }
  }
  return data;
}

// The proxy graphics of an entity: a byte count (group 92, or 160 in
// newer files) in its entity part or an ACAD_PROXY_ENTITY's own part,
// followed by the bytes in 310 groups.
void ProxyBytesOf(const RawGroups& raw, std::vector<uint8_t>* bytes) {
  std::string subclass;
  for (size_t i = 0; i + 1 < raw.size(); ++i) {
    if (raw[i].code == 100) subclass = raw[i].value;
    if ((raw[i].code != 92 && raw[i].code != 160) || raw[i + 1].code != 310 ||
        (subclass != "AcDbEntity" && subclass != "AcDbProxyEntity"))
      continue;
    long long count = atoll(raw[i].value.c_str());
    if (count <= 0) continue;
    for (size_t k = i + 1; k < raw.size() && raw[k].code == 310 && (long long)bytes->size() < count; ++k)
      AppendHex(raw[k].value, bytes);
    if ((long long)bytes->size() > count) bytes->resize(size_t(count));
    return;
  }
}

// The file names of the IMAGEDEF objects, by their handles.
std::map<uint64_t, std::string> ImageFilesOf(const Database& db) {
  std::map<uint64_t, std::string> files;
  const RawGroups& g = db.objects;
  for (size_t i = 0; i < g.size(); ++i) {
    if (g[i].code != 0 || g[i].value != "IMAGEDEF") continue;
    uint64_t handle = 0;
    std::string file;
    for (size_t k = i + 1; k < g.size() && g[k].code != 0; ++k) {
      if (g[k].code == 5) handle = HandleOf(g[k].value);
      else if (g[k].code == 1) file = DecodeText(g[k].value, db);
    }
    if (handle != 0 && !file.empty()) files[handle] = file;
  }
  return files;
}

uint64_t RawHandle(const RawGroups& raw, int code) {
  for (const RawGroup& g : raw)
    if (g.code == code) return HandleOf(g.value);
  return 0;
}

class Resolver {
 public:
  explicit Resolver(Database& db) : m_db(db) {}

  void run() {
    m_asmData = AsmDataOf(m_db);
    m_imageFiles = ImageFilesOf(m_db);
    m_mlineStyles = ReadMlineStyles(m_db);
    for (Block& block : m_db.blocks)
      for (Entity& e : block.entities)
        if (e.kind == EntityKind::Unknown && e.extra) resolveUnknown(e);
  }

 private:
  void resolveUnknown(Entity& e) {
    const std::string& type = e.extra->typeName;
    const RawGroups& raw = e.extra->raw;
    auto derived = std::make_shared<DerivedGraphics>();
    if (IsAcisKind(type)) acisEdges(e, &derived->edges);
    ProxyBytesOf(raw, &derived->proxy);
    if (type == "IMAGE") {
      auto file = m_imageFiles.find(RawHandle(raw, 340));
      if (file != m_imageFiles.end()) derived->imagePath = file->second;
    }
    if (type == "MLINE") derived->mlineStyle = StyleOfMline(m_mlineStyles, raw, m_db);
    if (!derived->edges.empty() || !derived->proxy.empty() || !derived->imagePath.empty() ||
        derived->mlineStyle)
      e.extra->derived = std::move(derived);
  }

  void acisEdges(const Entity& e, EdgeCurves* edges) {
    AcisFile file;
    std::string sat = SatTextOf(e.extra->raw);
    if (!sat.empty()) {
      ReadSatText(sat, &file);
    } else {
      auto sab = m_asmData.find(e.handle);
      if (sab != m_asmData.end()) ReadSabBytes(sab->second.data(), sab->second.size(), &file);
    }
    AcisEdges(file, edges);
  }

  Database& m_db;
  BytesByHandle m_asmData;
  std::map<uint64_t, std::string> m_imageFiles;
  MlineStyles m_mlineStyles;
};

}  // namespace

bool IsAcisKind(const std::string& type) {
  for (const char* kind : {"3DSOLID", "REGION", "BODY", "SURFACE", "EXTRUDEDSURFACE", "LOFTEDSURFACE",
                           "REVOLVEDSURFACE", "SWEPTSURFACE", "PLANESURFACE", "NURBSURFACE"})
    if (type == kind) return true;
  return false;
}

void ResolveDerivedGraphics(Database& db) {
  Resolver(db).run();
  ResolveVisibilityStates(db);
}

}  // namespace zr
