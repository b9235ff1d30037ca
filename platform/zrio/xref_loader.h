// External references. When a drawing opens, each of its xref blocks is
// filled with the model space of the drawing it names, read again from its
// file: found at the stored path (absolute, or relative to the folder of the
// drawing that refers to it), else by its file name in that folder, else in
// the search folders (search_paths.h). The referenced drawing's layers, line
// types and blocks join the drawing's tables named "xref|name" (its layers
// "0" and "Defpoints" are the drawing's own), so that its entities keep
// their colours, line types and layer states, and the block's base point is
// the referenced drawing's insertion base. Xrefs inside xrefs are followed
// with their own names as prefixes, except overlays: an overlay shows only
// in the drawing that overlays it. A drawing met again while it is being
// loaded (one that refers to itself, directly or through others) is not
// loaded again, and a drawing referred to twice is read once. The images of
// a referenced drawing look for their files beside it first
// (DerivedGraphics::imageFolder).
#pragma once
#include "platform/zrio/win32.h"

#include <string>
#include <vector>

#include "platform/zrio/dxf_model.h"
#include "platform/zrio/dxf_reader.h"

namespace zr {

// What loading added to a drawing beyond what its file held: the sizes of
// its tables as read, and the xref blocks filled, with their contents and
// base points as read.
struct XrefAdditions {
  struct Filled {
    int32_t block;
    Vec3 base;
    std::vector<Entity> entities;
  };
  size_t layers = 0, linetypes = 0, blocks = 0;
  std::vector<Filled> filled;
};

// Loads the external references of `db`, which was read from `path` (ANSI),
// and keeps what it added in db.xrefs. References that cannot be found or
// read are left empty and named in `problems`, one a line (ANSI), and in the
// debug log. False when the abort query stopped it.
bool LoadXrefs(Database& db, const std::string& path, bool thumbnail, const LoadControl& control,
               std::string* problems);

// While it lives, the drawing holds only what its file held, for a save to
// write the references as references.
class XrefsSetAside {
 public:
  explicit XrefsSetAside(Database* db);
  ~XrefsSetAside();
  XrefsSetAside(const XrefsSetAside&) = delete;
  XrefsSetAside& operator=(const XrefsSetAside&) = delete;

 private:
  Database* m_db;
  std::vector<Layer> m_layers;
  std::vector<LineType> m_linetypes;
  std::vector<Block> m_blocks;
};

}  // namespace zr
