// The in-memory drawing: header values, tables, blocks, entities, layouts and
// summary properties read from a DXF file, plus what was read but not
// interpreted (kept so that a save writes it back).
#pragma once
#include "platform/zrio/win32.h"
#include <stdint.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/zrio/geometry.h"

namespace zr {

struct RawGroup {
  int code;
  std::string value;
};
using RawGroups = std::vector<RawGroup>;

// Where the record that starts at `start` of `groups` ends: at the next
// group 0, or at the end.
size_t RecordEnd(const RawGroups& groups, size_t start);

// The groups of a record after its group 0: [from, to).
struct GroupRange {
  size_t from, to;
};

// The records of `type` among `groups` (the OBJECTS section as read), in
// their order.
std::vector<GroupRange> RecordsOfType(const RawGroups& groups, const char* type);

enum class EntityKind : uint8_t {
  Line, Point, Circle, Arc, Ellipse, LwPolyline, Polyline, Spline, Text, MText,
  Attrib, AttDef, Insert, Solid, Trace, Face3D, Hatch, Dimension, Leader, Ray,
  XLine, Viewport, Table, Unknown
};

// Polyline flags (group 70 of POLYLINE and LWPOLYLINE).
enum : uint32_t {
  kPolyClosed = 1, kPoly3D = 8, kPolyMesh = 16, kPolyMeshClosedN = 32, kPolyFace = 64
};

struct Entity;
struct DerivedGraphics;
struct ShapeLibrary;
struct XrefAdditions;  // xref_loader.h

// Kinds whose groups are all kept as read (and written back so): unknown
// entities, dimensions, leaders, viewports and tables.
inline bool KeptVerbatim(EntityKind kind) {
  return kind == EntityKind::Unknown || kind == EntityKind::Dimension ||
         kind == EntityKind::Leader || kind == EntityKind::Viewport ||
         kind == EntityKind::Table;
}

// Rarely needed parts of an entity, allocated only when present.
struct EntityExtra {
  std::string typeName;          // unknown entities: their DXF type
  Vec3 extrusion{0, 0, 1};
  RawGroups raw;                 // groups not interpreted
  std::vector<double> startWidths, endWidths;
  std::vector<Entity> children;  // ATTRIBs of an INSERT
  std::vector<std::vector<Vec3>> loops;  // HATCH boundaries (object coordinates)
  std::vector<int32_t> faces;    // polyface mesh: four 1-based indices a face
  std::vector<Vec3> fitPoints;   // SPLINE
  int32_t meshM = 0, meshN = 0;  // polygon mesh size
  std::string styleName;         // TEXT/MTEXT style, ATTRIB tag
  std::string tag;
  std::vector<int32_t> frozenLayers;  // VIEWPORT: layers frozen in it, sorted
  // Handles of the records that follow a POLYLINE (its VERTEX records:
  // points, then face records) or an INSERT, and of their SEQEND, as read.
  std::vector<uint64_t> vertexHandles;
  uint64_t seqendHandle = 0;
  bool invisible = false;  // group 60: kept, not drawn
  std::shared_ptr<const DerivedGraphics> derived;  // see derived_graphics.h
};

// One entity. The meaning of `pts` and `nums` depends on the kind:
//   LINE pts = start, end             POINT pts = position
//   CIRCLE pts = centre; nums = radius
//   ARC pts = centre; nums = radius, start and end angle (degrees)
//   ELLIPSE pts = centre, major axis; nums = ratio, start and end parameter
//   LWPOLYLINE/POLYLINE pts = vertices (z = elevation for 2D); nums = bulges
//   SPLINE pts = control points; nums = knots; flags = degree << 8 | flags
//   TEXT/ATTRIB/ATTDEF pts = insertion, alignment point;
//       nums = height, rotation, width factor; flags = halign | valign << 4
//       | (1 << 8 when the alignment point is used) | attribute flags << 12
//   MTEXT pts = insertion, x direction; nums = height, reference width,
//       rotation, line spacing factor; flags = attachment point
//   INSERT pts = insertion; nums = sx, sy, sz, rotation, columns, rows,
//       column spacing, row spacing; text = block name
//   SOLID/TRACE/3DFACE pts = four corners
//   HATCH flags = 1 for a solid fill; loops in extra
//   DIMENSION text = block name; LEADER pts = vertices
//   ACAD_TABLE text = name of the block that draws it; pts = insertion,
//       horizontal direction
//   RAY/XLINE pts = start, direction
//   VIEWPORT pts = centre (paper), view centre, view direction, target;
//       nums = width, height, view height, twist (degrees), status, id;
//       view height 0 when the view is unknown (only the frame is drawn)
struct Entity {
  EntityKind kind = EntityKind::Unknown;
  uint8_t paperSpace = 0;
  int16_t color = 256;      // 256 by layer, 0 by block
  int16_t lineweight = -1;  // 1/100 mm; -1 by layer, -2 by block, -3 default
  int32_t trueColor = -1;   // 0x00RRGGBB or -1
  int32_t layer = 0;        // index into Database::layers
  int16_t linetype = -1;    // index into Database::linetypes; -1 by layer, -2 by block
  uint32_t flags = 0;
  uint64_t handle = 0;
  std::vector<Vec3> pts;
  std::vector<double> nums;
  std::string text;  // UTF-8
  std::unique_ptr<EntityExtra> extra;

  EntityExtra& more() {
    if (!extra) extra.reset(new EntityExtra);
    return *extra;
  }
  Vec3 extrusion() const { return extra ? extra->extrusion : Vec3(0, 0, 1); }
  double num(size_t i, double fallback = 0) const { return i < nums.size() ? nums[i] : fallback; }
};

struct Layer {
  std::string name;  // UTF-8
  int16_t color = 7;  // always positive; `on` holds the sign
  bool on = true;
  bool frozen = false;
  bool locked = false;
  int16_t lineweight = -3;
  int32_t trueColor = -1;
  std::string linetype = "CONTINUOUS";
  int16_t linetypeIndex = -1;  // into Database::linetypes; -1 continuous
  RawGroups raw;
};

// A dash pattern: positive lengths are dashes, negative ones gaps, zeros
// dots; empty for continuous lines.
struct LineType {
  std::string name;  // UTF-8
  std::vector<double> dashes;
  double length = 0;
};

struct Block {
  std::string name;  // UTF-8
  Vec3 base;
  int16_t flags = 0;
  int32_t layer = 0;
  uint64_t recordHandle = 0;  // handle of its BLOCK_RECORD
  uint64_t beginHandle = 0, endHandle = 0;  // handles of its BLOCK and ENDBLK records
  std::string xrefPath;
  std::vector<Entity> entities;
  RawGroups raw;
};

struct Layout {
  std::string name;  // UTF-8
  int tabOrder = 0;
  Vec3 limMin, limMax;
  uint64_t blockRecord = 0;  // BLOCK_RECORD handle of its entities' block
  int32_t block = -1;        // index into Database::blocks, -1 when unknown
  uint64_t handle = 0;       // of its LAYOUT object, 0 when it had none
};

struct Property {
  int id;            // 1 title, 2 subject, 3 author, 4 keywords, 5 comments,
                     // 6 last saved by, 0 hyperlink base, 7 revision, 17 custom
                     // (CDrawing::enumProperties adds 8, the total editing time)
  std::string text;  // UTF-8; custom properties as "name=value"
};

// A table of the TABLES section that is not interpreted entry by entry.
struct RawTable {
  std::string name;
  RawGroups groups;  // everything between "0 TABLE" and "0 ENDTAB", exclusive
};

// The layer and line type names a drawing has when its entity runs begin
// to be parsed on worker threads. The database of such a run (its `known`
// set to these) gives them their indices, and names of its own the indices
// from firstOwnLayer and firstOwnLinetype on, which the section reader
// turns into the drawing's when it takes the run's entities.
struct KnownNames {
  std::unordered_map<std::string, int32_t> layers;  // upper-case name -> index
  std::unordered_map<std::string, int16_t> linetypes;
  int32_t firstOwnLayer = 1;  // above 0, the layer an entity has before its 8 group
  int16_t firstOwnLinetype = 0;
};

// One look-up of a name of a run's own: the layer or line type at `index`
// among the run's own.
struct NameUse {
  bool layer;
  int32_t index;
};

// Line types a drawing holds at most; names beyond them are drawn continuous.
const size_t kMostLinetypes = 32000;

struct Database {
  std::string acadver = "AC1009";
  int codePage = 1252;
  bool utf8 = false;  // R2007 and later store text as UTF-8
  Vec3 extMin, extMax;
  bool hasExtents = false;
  Vec3 limMin{0, 0}, limMax{12, 9};
  int pdmode = 0;
  double pdsize = 0;
  int lunits = 2, luprec = 4, insunits = 0;
  double ltscale = 1;
  double editingDays = -1;  // $TDINDWG, the total editing time; below 0 when not known
  std::vector<std::pair<std::string, RawGroups>> header;  // every variable, in order
  std::vector<Layer> layers;
  uint64_t layerTableHandle = 0;  // handle of the LAYER table itself
  std::unordered_map<std::string, int32_t> layerIndex;  // upper-case name -> index
  std::vector<RawTable> otherTables;
  std::vector<LineType> linetypes;
  std::unordered_map<std::string, int16_t> linetypeIndex;  // upper-case name -> index
  std::vector<Block> blocks;
  std::unordered_map<std::string, int32_t> blockIndex;  // upper-case name -> index
  std::vector<Layout> layouts;                         // model first, then by tab order
  std::vector<Property> properties;
  RawGroups objects;                 // the OBJECTS section as read
  std::vector<std::pair<std::string, RawGroups>> otherSections;  // CLASSES and unknown sections
  std::vector<uint8_t> thumbnail;    // THUMBNAILIMAGE bytes (a BMP without its file header)
  int32_t modelBlock = -1, paperBlock = -1;
  std::shared_ptr<XrefAdditions> xrefs;  // what loading external references added
  // The shape files its text styles name, as found when it was opened.
  std::shared_ptr<const ShapeLibrary> shapes;

  // Set in the database of an entity run (see KnownNames): the names it
  // finds there are not added, and every look-up of one of its own is kept
  // in nameUses, in order, for the drawing to add them as it takes the
  // run's entities. A line type index of its own that would pass the most
  // a drawing holds sets linetypesFull.
  const KnownNames* known = nullptr;
  std::vector<NameUse> nameUses;
  bool linetypesFull = false;

  int32_t findBlock(const std::string& name) const;
  int32_t findLayer(const std::string& name) const;
  int32_t addLayer(const std::string& name);
  int32_t addBlock(Block&& block);
  // Index of a line type by name, added (continuous) when not known yet;
  // -1 for BYLAYER, -2 for BYBLOCK.
  int16_t linetypeOf(const std::string& name);
};

// Angle (radians) of an ACAD_TABLE's horizontal direction in its plane; 0
// when the direction is not a unit vector in that plane (as in tables whose
// data LibreDWG misreads).
double TableRotation(const Entity& e);

// Upper-case copy of an ASCII/UTF-8 name (only ASCII letters change).
std::string UpperName(const std::string& name);

}  // namespace zr
