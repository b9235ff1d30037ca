#include "platform/zrio/win32.h"
#include "platform/zrio/dxf_writer.h"

#include <stdio.h>

#include <algorithm>
#include <set>

#include "platform/base/file_replace.h"
#include "platform/zrio/dxf_entity_writer.h"
#include "platform/zrio/dxf_object_writer.h"
#include "platform/zrio/dxf_save_plan.h"
#include "platform/zrio/dxf_table_writer.h"

namespace zr {

namespace {

// Header variables the writer makes from the drawing (or leaves out on
// purpose); every other variable read is written back.
bool MadeFromDrawing(const std::string& name) {
  static const char* const kNames[] = {
      "$ACADVER", "$DWGCODEPAGE", "$EXTMIN", "$EXTMAX", "$LIMMIN", "$LIMMAX", "$LUNITS",
      "$LUPREC", "$PDMODE", "$PDSIZE", "$LTSCALE", "$HANDSEED", "$HANDLING", "$INSUNITS",
      "$CUSTOMPROPERTYTAG", "$CUSTOMPROPERTY"};
  for (const char* known : kNames)
    if (name == known) return true;
  return false;
}

// Whether a version holds a group code in its header. R12 holds codes
// below 100 only (no handles, no later kinds of value); R14 adds the codes
// of R13 but not the boolean (290s), lineweight and plot style (370s to
// 390s) codes of 2000, and true colours and the other 400s come with 2004.
// 64-bit integers (160s) belong to later versions than these four.
bool HeaderCodeInVersion(int code, int version) {
  if (code > 0 && code < 100) return code != 5 || version != kSaveR12;
  if (version == kSaveR12 || (code >= 160 && code <= 169) || code >= 999) return false;
  if (code < 290 || (code >= 300 && code < 370)) return true;
  if (code < 400) return version != kSaveR14;
  return version == kSave2004;
}

class DocumentWriter {
 public:
  DocumentWriter(const Database& db, int version, const SaveLimits& limits, GroupSink& body,
                 GroupSink& header)
      : c_(db, version, limits), m_header(header), w_(&body, c_), m_tables(c_, w_),
        m_objects(c_, w_) {}

  void run() {
    plan();
    if (c_.modern) m_objects.writeClasses();
    m_tables.write();
    blocks();
    entities();
    if (c_.modern) {
      m_objects.writeObjects();
      otherSections();
      thumbnail();
    }
    w_.str(0, "EOF");
    // The header comes last, when every handle is known.
    EntityWriter header(&m_header, c_);
    writeHeader(header);
  }

 private:
  // Handles are claimed in this order: tables and their entries, blocks,
  // entities, objects; a handle used twice in the file goes to the first.
  void plan() {
    m_tables.plan();
    const std::vector<Block>& blocks = c_.db.blocks;
    c_.recordHandles.resize(blocks.size(), 0);
    for (const Block& b : blocks) {
      c_.beginHandles.push_back(c_.handles.claim(b.beginHandle));
      c_.endHandles.push_back(c_.handles.claim(b.endHandle));
    }
    for (const Block& b : blocks)
      for (const Entity& e : b.entities)
        if (EntityInVersion(e, c_.version, c_.downgrade)) c_.handles.claimEntity(e);
    if (c_.modern) m_objects.plan();
  }

  void section(const char* name) {
    w_.str(0, "SECTION");
    w_.str(2, name);
  }
  void endSection() { w_.str(0, "ENDSEC"); }

  void writeHeader(EntityWriter& w) {
    static const char* kVersions[10] = {0, 0, 0, 0, 0, "AC1009", 0, "AC1014", "AC1015", "AC1018"};
    const Database& db = c_.db;
    w.str(0, "SECTION");
    w.str(2, "HEADER");
    w.str(9, "$ACADVER");
    w.str(1, kVersions[c_.version]);
    w.str(9, "$DWGCODEPAGE");
    w.str(3, "ANSI_1252");
    Box3 ext;
    if (db.hasExtents) {
      ext.add(db.extMin);
      ext.add(db.extMax);
    }
    w.str(9, "$EXTMIN");
    w.point(10, ext.valid() ? ext.lo : Vec3());
    w.str(9, "$EXTMAX");
    w.point(10, ext.valid() ? ext.hi : Vec3());
    w.str(9, "$LIMMIN");
    w.point2(10, db.limMin);
    w.str(9, "$LIMMAX");
    w.point2(10, db.limMax);
    const std::pair<const char*, int> integers[] = {
        {"$LUNITS", db.lunits}, {"$LUPREC", db.luprec}, {"$PDMODE", db.pdmode}};
    for (const auto& variable : integers) {
      w.str(9, variable.first);
      w.integer(70, variable.second);
    }
    const std::pair<const char*, double> reals[] = {{"$PDSIZE", db.pdsize}, {"$LTSCALE", db.ltscale}};
    for (const auto& variable : reals) {
      w.str(9, variable.first);
      w.real(40, variable.second);
    }
    if (c_.modern) {
      w.str(9, "$HANDSEED");
      w.handle(5, c_.handles.next());
      w.str(9, "$INSUNITS");
      w.integer(70, db.insunits);
    }
    if (c_.version == kSave2004) {
      for (const Property& p : db.properties) {
        if (p.id != 17) continue;
        size_t eq = p.text.find('=');
        w.str(9, "$CUSTOMPROPERTYTAG");
        w.text(1, p.text.substr(0, eq));
        w.str(9, "$CUSTOMPROPERTY");
        w.text(1, eq == std::string::npos ? std::string() : p.text.substr(eq + 1));
      }
    }
    keptHeaderVariables(w);
    w.str(0, "ENDSEC");
  }

  // The file's other variables, each once, when the version holds all its
  // groups and its references name records the save writes.
  void keptHeaderVariables(EntityWriter& w) {
    std::set<std::string> written;
    for (const auto& variable : c_.db.header) {
      const std::string& name = variable.first;
      if (name.empty() || MadeFromDrawing(name) || !written.insert(name).second) continue;
      bool fits = !variable.second.empty();
      for (const RawGroup& g : variable.second)
        fits = fits && HeaderCodeInVersion(g.code, c_.version) &&
               (!IsHandleReference(g.code) || c_.handles.resolves(g.value));
      if (!fits) continue;
      w.text(9, name);
      for (const RawGroup& g : variable.second) w.keptGroup(g, true);
    }
  }

  void blocks() {
    section("BLOCKS");
    const Database& db = c_.db;
    for (size_t i = 0; i < db.blocks.size(); ++i) {
      const Block& b = db.blocks[i];
      bool isSpace = int32_t(i) == db.modelBlock || int32_t(i) == db.paperBlock;
      std::string name = c_.blockName(i);
      w_.str(0, "BLOCK");
      if (c_.modern) {
        w_.handle(5, c_.beginHandles[i]);
        w_.braces(b.raw, true);
        w_.handle(330, c_.recordHandles[i]);
        w_.str(100, "AcDbEntity");
      }
      if (int32_t(i) == db.paperBlock && c_.modern) w_.integer(67, 1);
      w_.text(8, layerName(b.layer));
      if (c_.modern) w_.str(100, "AcDbBlockBegin");
      w_.text(2, name);
      w_.integer(70, b.flags);
      w_.point(10, b.base);
      w_.text(3, name);
      w_.text(1, b.xrefPath);
      if (c_.modern) w_.keptData(b.raw, true);
      // The two layout spaces keep their entities in the ENTITIES section.
      if (!isSpace)
        for (const Entity& e : b.entities) w_.entity(e, db, c_.recordHandles[i]);
      w_.str(0, "ENDBLK");
      if (c_.modern) {
        w_.handle(5, c_.endHandles[i]);
        w_.handle(330, c_.recordHandles[i]);
        w_.str(100, "AcDbEntity");
      }
      if (int32_t(i) == db.paperBlock && c_.modern) w_.integer(67, 1);
      w_.text(8, layerName(b.layer));
      if (c_.modern) w_.str(100, "AcDbBlockEnd");
    }
    endSection();
  }

  std::string layerName(int32_t index) const {
    if (index >= 0 && size_t(index) < c_.db.layers.size()) return c_.db.layers[size_t(index)].name;
    return "0";
  }

  void entities() {
    const Database& db = c_.db;
    section("ENTITIES");
    if (db.modelBlock >= 0)
      for (const Entity& e : db.blocks[size_t(db.modelBlock)].entities)
        w_.entity(e, db, c_.recordHandles[size_t(db.modelBlock)]);
    if (db.paperBlock >= 0)
      for (const Entity& e : db.blocks[size_t(db.paperBlock)].entities)
        w_.entity(e, db, c_.recordHandles[size_t(db.paperBlock)], true);
    endSection();
  }

  // Sections this library does not know are tied to the file's version:
  // written back only when the version written is not an earlier one.
  void otherSections() {
    if (c_.downgrade) return;
    for (const auto& s : c_.db.otherSections) {
      if (s.first == "CLASSES" || s.first.empty()) continue;
      w_.str(0, "SECTION");
      w_.text(2, s.first);
      w_.keptData(s.second, true);
      endSection();
    }
  }

  // The preview picture read from the file (2000 and later hold one).
  void thumbnail() {
    const std::vector<uint8_t>& bytes = c_.db.thumbnail;
    if (bytes.empty() || c_.version == kSaveR14) return;
    section("THUMBNAILIMAGE");
    w_.integer(90, (long long)(bytes.size()));
    static const char digits[] = "0123456789ABCDEF";
    for (size_t at = 0; at < bytes.size(); at += 127) {
      std::string hex;
      for (size_t i = at; i < bytes.size() && i < at + 127; ++i) {
        hex += digits[bytes[i] >> 4];
        hex += digits[bytes[i] & 15];
      }
      w_.str(310, hex.c_str());
    }
    endSection();
  }

  SaveContext c_;
  GroupSink& m_header;
  EntityWriter w_;
  TableWriter m_tables;
  ObjectWriter m_objects;
};

}  // namespace

bool IsDxfSaveVersion(int version) {
  return version == kSaveR12 || version == kSaveR14 || version == kSave2000 || version == kSave2004;
}

void WriteDxfGroups(const Database& db, int version, const SaveLimits& limits, GroupSink& body,
                    GroupSink& header) {
  DocumentWriter(db, version, limits, body, header).run();
}

bool WriteDxf(const Database& db, int version, std::string* out, const SaveLimits& limits) {
  if (!IsDxfSaveVersion(version)) return false;
  std::string body;
  DxfTextSink header(out), rest(&body);
  out->clear();
  WriteDxfGroups(db, version, limits, rest, header);
  *out += body;
  return true;
}

ReplaceFileResult WriteDxfFile(const Database& db, const char* path, int version,
                               const SaveLimits& limits) {
  std::string text;
  if (!WriteDxf(db, version, &text, limits)) return ReplaceFileCannotWrite;
  CReplacingFile file;
  ReplaceFileResult opened = file.Open(path);
  if (opened != ReplaceFileDone) return opened;
  for (size_t at = 0; at < text.size();) {
    DWORD chunk = DWORD(std::min<size_t>(text.size() - at, 1 << 24));
    if (!file.Write(text.data() + at, chunk)) return ReplaceFileCannotWrite;
    at += chunk;
  }
  return file.Commit();
}

}  // namespace zr
