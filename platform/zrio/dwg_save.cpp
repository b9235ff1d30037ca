#include "platform/zrio/win32.h"
#include "platform/zrio/dwg_save.h"

#include <stdio.h>

#include "platform/zrio/dxf_model.h"
#include "platform/zrio/dxf_writer.h"
#include "platform/zrio/library_globals.h"
#include "platform/zrio/utf8.h"

namespace zr {

namespace {

// The kinds that have no fixed type number and go through a class.
const DwgClass kKnownClasses[] = {
    {"ACDBDICTIONARYWDFLT", "AcDbDictionaryWithDefault", "ObjectDBX Classes", 0, false},
    {"DICTIONARYVAR", "AcDbDictionaryVar", "ObjectDBX Classes", 0, false},
    {"PLOTSETTINGS", "AcDbPlotSettings", "ObjectDBX Classes", 0, false},
    {"SORTENTSTABLE", "AcDbSortentsTable", "ObjectDBX Classes", 0, false},
    {"IDBUFFER", "AcDbIdBuffer", "ObjectDBX Classes", 0, false},
    {"SPATIAL_FILTER", "AcDbSpatialFilter", "ObjectDBX Classes", 0, false},
    {"SPATIAL_INDEX", "AcDbSpatialIndex", "ObjectDBX Classes", 0, false},
    {"LAYER_INDEX", "AcDbLayerIndex", "ObjectDBX Classes", 0, false},
    {"LAYER_FILTER", "AcDbLayerFilter", "ObjectDBX Classes", 0, false},
    {"LAYOUT", "AcDbLayout", "ObjectDBX Classes", 0, false},
    {"IMAGE", "AcDbRasterImage", "ISM", 127, true},
    {"IMAGEDEF", "AcDbRasterImageDef", "ISM", 0, false},
    {"IMAGEDEF_REACTOR", "AcDbRasterImageDefReactor", "ISM", 1, false},
    {"RASTERVARIABLES", "AcDbRasterVariables", "ISM", 0, false},
    {"WIPEOUT", "AcDbWipeout", "WipeOut|AutoCAD Express Tool|expresstools@autodesk.com", 127, true},
    {"WIPEOUTVARIABLES", "AcDbWipeoutVariables",
     "WipeOut|AutoCAD Express Tool|expresstools@autodesk.com", 0, false},
    {"DIMASSOC", "AcDbDimAssoc",
     "AcDbDimAssoc|Product Desc:     AcDim ARX App For Dimension|Company:          Autodesk, "
     "Inc.|WEB Address:      www.autodesk.com",
     0, false},
};

// The format's numbers of the Windows code pages it names.
const std::pair<int, uint16_t> kCodePages[] = {
    {874, 37},  {932, 38},  {936, 39},  {949, 40},  {950, 41},  {1250, 28}, {1251, 29},
    {1252, 30}, {1253, 32}, {1254, 33}, {1255, 34}, {1256, 35}, {1257, 36}, {1258, 44}};

}  // namespace

bool DwgSave::since2000() const { return version == kSave2000 || version == kSave2004; }

bool DwgSave::since2004() const { return version == kSave2004; }

void DwgSave::useCodePage(int windows) {
  codePage = 30;
  windowsCodePage = 1252;
  for (const auto& known : kCodePages)
    if (known.first == windows) {
      codePage = known.second;
      windowsCodePage = unsigned(windows);
    }
}

uint64_t DwgSave::named(DwgTable table, const std::string& name) const {
  auto it = names[table].find(UpperName(name));
  return it == names[table].end() ? 0 : it->second;
}

uint16_t DwgSave::classNumber(const std::string& dxfName) const {
  for (size_t i = 0; i < classes.size(); ++i)
    if (classes[i].dxfName == dxfName) return uint16_t(500 + i);
  return 0;
}

uint16_t DwgSave::knownClass(const std::string& dxfName) {
  if (uint16_t number = classNumber(dxfName)) return number;
  for (const DwgClass& known : kKnownClasses)
    if (known.dxfName == dxfName) {
      classes.push_back(known);
      return uint16_t(500 + classes.size() - 1);
    }
  return 0;
}

// DXF text writes control characters as a caret and a letter ("^J"), and a
// caret as a caret and a space: DWG holds the characters themselves.
std::string DwgSave::encode(const std::string& utf8) const {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char c = utf8[i];
    if (c == '^' && i + 1 < utf8.size() && (utf8[i + 1] == ' ' || (utf8[i + 1] >= '@' && utf8[i + 1] <= '_'))) {
      out += utf8[i + 1] == ' ' ? '^' : char(utf8[i + 1] - '@');
      i += 2;
      continue;
    }
    if (uint8_t(c) < 0x80) {
      if (c != '\n' && c != '\r') out += c;
      ++i;
      continue;
    }
    char32_t cp = DecodeUtf8(utf8, &i);
    if (cp == kReplacementChar || cp > 0xFFFF) {
      out += '?';
      continue;
    }
    WCHAR wide = WCHAR(cp);
    char bytes[8];
    BOOL lost = FALSE;
    int n = WideCharToMultiByte(windowsCodePage, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes,
                                sizeof bytes, nullptr, &lost);
    if (n > 0 && !lost) {
      out.append(bytes, size_t(n));
    } else {
      char escape[16];
      snprintf(escape, sizeof escape, "\\U+%04X", unsigned(cp));
      out += escape;
    }
  }
  return out;
}

void DwgSave::addObject(uint64_t handle, const std::vector<uint8_t>& framed) {
  objectOffsets.push_back({handle, uint32_t(objectData.size())});
  objectData.insert(objectData.end(), framed.begin(), framed.end());
}

void DwgSave::fail(const char* what, const std::string& name) {
  if (!failure.empty()) return;
  failure = what;
  if (!name.empty()) failure += " " + Utf8ToAnsi(name);
}

}  // namespace zr
