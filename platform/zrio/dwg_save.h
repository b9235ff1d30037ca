// What one DWG save shares between its parts: the version written, the
// objects encoded so far, the handles of the tables' entries by name, the
// classes, and the first part of the drawing that could not be written.
#pragma once
#include <stdint.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace zr {

struct ShapeLibrary;

// DWG object type numbers.
enum DwgType : uint16_t {
  kDwgText = 1, kDwgAttrib = 2, kDwgAttDef = 3, kDwgBlock = 4, kDwgEndBlk = 5, kDwgSeqEnd = 6,
  kDwgInsert = 7, kDwgMInsert = 8, kDwgVertex2D = 0x0A, kDwgVertex3D = 0x0B,
  kDwgVertexMesh = 0x0C, kDwgVertexPFace = 0x0D, kDwgVertexPFaceFace = 0x0E,
  kDwgPolyline2D = 0x0F, kDwgPolyline3D = 0x10, kDwgArc = 0x11, kDwgCircle = 0x12,
  kDwgLine = 0x13, kDwgDimOrdinate = 0x14, kDwgDimLinear = 0x15, kDwgDimAligned = 0x16,
  kDwgDimAngular3Point = 0x17, kDwgDimAngular2Line = 0x18, kDwgDimRadius = 0x19, kDwgDimDiameter = 0x1A,
  kDwgPoint = 0x1B, kDwgFace3D = 0x1C, kDwgPolylinePFace = 0x1D,
  kDwgPolylineMesh = 0x1E, kDwgSolid = 0x1F, kDwgTrace = 0x20, kDwgShape = 0x21, kDwgViewport = 0x22,
  kDwgEllipse = 0x23, kDwgSpline = 0x24, kDwgRegion = 0x25, kDwgSolid3D = 0x26, kDwgBody = 0x27,
  kDwgRay = 0x28, kDwgXLine = 0x29, kDwgDictionary = 0x2A, kDwgOleFrame = 0x2B, kDwgMText = 0x2C,
  kDwgLeader = 0x2D, kDwgTolerance = 0x2E, kDwgMLine = 0x2F,
  kDwgBlockControl = 0x30, kDwgBlockHeader = 0x31, kDwgLayerControl = 0x32, kDwgLayer = 0x33,
  kDwgStyleControl = 0x34, kDwgStyle = 0x35, kDwgLtypeControl = 0x38, kDwgLtype = 0x39,
  kDwgViewControl = 0x3C, kDwgView = 0x3D, kDwgUcsControl = 0x3E, kDwgUcs = 0x3F,
  kDwgVportControl = 0x40, kDwgVport = 0x41, kDwgAppIdControl = 0x42, kDwgAppId = 0x43,
  kDwgDimStyleControl = 0x44, kDwgDimStyle = 0x45, kDwgVpEntHdrControl = 0x46,
  kDwgGroup = 0x48, kDwgMLineStyle = 0x49, kDwgOle2Frame = 0x4A, kDwgLwPolyline = 0x4D,
  kDwgHatch = 0x4E, kDwgXRecord = 0x4F, kDwgPlaceholder = 0x50, kDwgLayout = 0x52,
  kDwgProxyEntity = 0x1F2, kDwgProxyObject = 0x1F3
};

// The symbol tables, in the order of the header's control object handles.
enum DwgTable {
  kTableBlock, kTableLayer, kTableStyle, kTableLtype, kTableView, kTableUcs, kTableVport,
  kTableAppId, kTableDimStyle, kTableVpEntHdr, kTableCount
};

struct DwgClass {
  std::string dxfName, cppName, appName;
  uint16_t proxyFlags = 0;
  bool entity = false;
  uint32_t count = 0;  // objects of the class written
};

struct DwgSave {
  int version = 0;        // kSave2004, kSave2000 or kSaveR14
  uint16_t codePage = 30;  // the file's code page number (30 ANSI_1252, 39 ANSI_936)
  unsigned windowsCodePage = 1252;
  // The framed objects one after the other, and where each one starts.
  std::vector<uint8_t> objectData;
  std::vector<std::pair<uint64_t, uint32_t>> objectOffsets;  // handle, offset in objectData
  uint64_t controls[kTableCount] = {};
  std::map<std::string, uint64_t> names[kTableCount];  // upper-case name -> entry handle
  std::map<uint64_t, std::string> layerNames;           // handle -> name, as the table has it
  std::vector<DwgClass> classes;  // numbered from 500
  uint64_t modelSpace = 0, paperSpace = 0;
  uint64_t byLayer = 0, byBlock = 0, continuous = 0;
  uint64_t namedObjects = 0, groupDictionary = 0, mlineStyleDictionary = 0;
  uint64_t layoutDictionary = 0, plotSettingsDictionary = 0, plotStyleDictionary = 0;
  uint64_t materialDictionary = 0, colorDictionary = 0;
  std::vector<uint64_t> linetypeOrder;  // the line type table's listed entries
  uint64_t handSeed = 1;
  const ShapeLibrary* shapes = nullptr;  // the drawing's shape files, for its shapes' numbers
  std::string failure;  // the first part that could not be written, in the program's language

  bool since2000() const;
  bool since2004() const;
  // The file's code page for a Windows one (1252 when the format has no number for it).
  void useCodePage(int windowsCodePage);
  // Number of the class of a DXF object name, 0 when there is none.
  uint16_t classNumber(const std::string& dxfName) const;
  // The class of a kind the writer knows (IMAGE, WIPEOUT, ...), added when
  // not there yet; 0 for a kind without a known class.
  uint16_t knownClass(const std::string& dxfName);
  uint64_t named(DwgTable table, const std::string& name) const;
  // UTF-8 in the file's code page; characters the code page lacks become
  // \U+XXXX escapes, line breaks go (as in a DXF save).
  std::string encode(const std::string& utf8) const;
  void addObject(uint64_t handle, const std::vector<uint8_t>& framed);
  // `what` in the program's language, `name` a UTF-8 name from the drawing.
  void fail(const char* what, const std::string& name = std::string());
};

}  // namespace zr
