#include "tests/zrio/model_dump.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <map>

#include "platform/zrio/dxf_groups.h"

namespace zriotest {

namespace {

class Dumper {
 public:
  explicit Dumper(bool numbersByValue) : m_numbersByValue(numbersByValue) {}

  std::string text;

  void line(const std::string& indent, const char* format, ...)
      __attribute__((format(printf, 3, 4))) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    text += indent + buffer + "\n";
  }
  void field(const std::string& indent, const char* name, const std::string& value) {
    text += indent + name + "=" + value + "\n";
  }
  void point(const std::string& indent, const char* name, const zr::Vec3& p) {
    line(indent, "%s=%.17g,%.17g,%.17g", name, p.x, p.y, p.z);
  }
  void points(const std::string& indent, const char* name, const std::vector<zr::Vec3>& ps) {
    line(indent, "%s: %zu", name, ps.size());
    for (const zr::Vec3& p : ps) point(indent + " ", "", p);
  }
  void numbers(const std::string& indent, const char* name, const std::vector<double>& ns) {
    std::string s;
    char buffer[32];
    for (double n : ns) {
      snprintf(buffer, sizeof buffer, " %.17g", n);
      s += buffer;
    }
    field(indent, name, s);
  }
  template <typename T>
  void integers(const std::string& indent, const char* name, const std::vector<T>& ns) {
    std::string s;
    for (T n : ns) s += " " + std::to_string(n);
    field(indent, name, s);
  }
  void groups(const std::string& indent, const char* name, const zr::RawGroups& gs) {
    line(indent, "%s: %zu", name, gs.size());
    for (const zr::RawGroup& g : gs) line(indent + " ", "%d %s", g.code, value(g).c_str());
  }

  void entity(const std::string& indent, const zr::Entity& e) {
    line(indent,
         "entity kind=%d paper=%d color=%d lineweight=%d true=%d layer=%d linetype=%d flags=%u "
         "handle=%llx",
         int(e.kind), int(e.paperSpace), e.color, e.lineweight, e.trueColor, e.layer, e.linetype,
         e.flags, (unsigned long long)e.handle);
    std::string in = indent + " ";
    points(in, "pts", e.pts);
    numbers(in, "nums", e.nums);
    field(in, "text", e.text);
    if (!e.extra) return;
    const zr::EntityExtra& x = *e.extra;
    field(in, "type", x.typeName);
    point(in, "extrusion", x.extrusion);
    groups(in, "raw", x.raw);
    numbers(in, "startWidths", x.startWidths);
    numbers(in, "endWidths", x.endWidths);
    line(in, "loops: %zu", x.loops.size());
    for (const std::vector<zr::Vec3>& loop : x.loops) points(in + " ", "loop", loop);
    integers(in, "faces", x.faces);
    points(in, "fitPoints", x.fitPoints);
    line(in, "mesh=%d,%d", x.meshM, x.meshN);
    field(in, "style", x.styleName);
    field(in, "tag", x.tag);
    integers(in, "frozenLayers", x.frozenLayers);
    integers(in, "vertexHandles", x.vertexHandles);
    line(in, "seqend=%llx invisible=%d derived=%d", (unsigned long long)x.seqendHandle,
         int(x.invisible), int(x.derived != nullptr));
    line(in, "children: %zu", x.children.size());
    for (const zr::Entity& child : x.children) entity(in + " ", child);
  }

 private:
  std::string value(const zr::RawGroup& g) const {
    if (!m_numbersByValue) return g.value;
    char buffer[40];
    switch (zr::TypeOfGroup(g.code)) {
      case zr::GroupType::Double:
        snprintf(buffer, sizeof buffer, "%.17g", strtod(g.value.c_str(), nullptr));
        return buffer;
      case zr::GroupType::Int16:
      case zr::GroupType::Int32:
      case zr::GroupType::Int64:
      case zr::GroupType::Bool:
        snprintf(buffer, sizeof buffer, "%lld", strtoll(g.value.c_str(), nullptr, 10));
        return buffer;
      default:
        return g.value;
    }
  }

  bool m_numbersByValue;
};

template <typename Index>
std::string SortedIndex(const Index& index) {
  std::map<std::string, long> sorted(index.begin(), index.end());
  std::string s;
  for (const auto& entry : sorted) s += " " + entry.first + ":" + std::to_string(entry.second);
  return s;
}

}  // namespace

Reading ReadBytes(const std::string& bytes, unsigned threads, size_t pieceBytes) {
  Reading reading;
  reading.db.reset(new zr::Database);
  zr::LoadControl control;
  control.pieces.threads = threads;
  control.pieces.pieceBytes = pieceBytes;
  reading.result = zr::ReadDxf(bytes.data(), bytes.size(), *reading.db, control);
  return reading;
}

Reading ReadFileAt(const std::string& path, unsigned threads, size_t pieceBytes) {
  Reading reading;
  reading.db.reset(new zr::Database);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return reading;
  zr::LoadControl control;
  control.pieces.threads = threads;
  control.pieces.pieceBytes = pieceBytes;
  reading.result = zr::ReadDxfFile(file, *reading.db, control);
  CloseHandle(file);
  return reading;
}

std::string DumpModel(const zr::Database& db, bool numbersByValue) {
  Dumper d(numbersByValue);
  d.line("", "acadver=%s codepage=%d utf8=%d", db.acadver.c_str(), db.codePage, int(db.utf8));
  d.point("", "extMin", db.extMin);
  d.point("", "extMax", db.extMax);
  d.line("", "hasExtents=%d", int(db.hasExtents));
  d.point("", "limMin", db.limMin);
  d.point("", "limMax", db.limMax);
  d.line("", "pdmode=%d pdsize=%.17g lunits=%d luprec=%d insunits=%d ltscale=%.17g days=%.17g",
         db.pdmode, db.pdsize, db.lunits, db.luprec, db.insunits, db.ltscale, db.editingDays);
  d.line("", "header: %zu", db.header.size());
  for (const auto& variable : db.header) d.groups(" ", variable.first.c_str(), variable.second);
  d.line("", "layers: %zu table=%llx", db.layers.size(), (unsigned long long)db.layerTableHandle);
  for (const zr::Layer& l : db.layers) {
    d.line(" ", "layer %s color=%d on=%d frozen=%d locked=%d lw=%d true=%d linetype=%s/%d",
           l.name.c_str(), l.color, int(l.on), int(l.frozen), int(l.locked), l.lineweight,
           l.trueColor, l.linetype.c_str(), l.linetypeIndex);
    d.groups("  ", "raw", l.raw);
  }
  d.field("", "layerIndex", SortedIndex(db.layerIndex));
  d.line("", "tables: %zu", db.otherTables.size());
  for (const zr::RawTable& t : db.otherTables) d.groups(" ", t.name.c_str(), t.groups);
  d.line("", "linetypes: %zu", db.linetypes.size());
  for (const zr::LineType& t : db.linetypes) {
    d.line(" ", "linetype %s length=%.17g", t.name.c_str(), t.length);
    d.numbers("  ", "dashes", t.dashes);
  }
  d.field("", "linetypeIndex", SortedIndex(db.linetypeIndex));
  d.line("", "blocks: %zu model=%d paper=%d", db.blocks.size(), db.modelBlock, db.paperBlock);
  for (const zr::Block& b : db.blocks) {
    d.line(" ", "block %s flags=%d layer=%d record=%llx begin=%llx end=%llx xref=%s entities=%zu",
           b.name.c_str(), b.flags, b.layer, (unsigned long long)b.recordHandle,
           (unsigned long long)b.beginHandle, (unsigned long long)b.endHandle, b.xrefPath.c_str(),
           b.entities.size());
    d.point("  ", "base", b.base);
    d.groups("  ", "raw", b.raw);
    for (const zr::Entity& e : b.entities) d.entity("  ", e);
  }
  d.field("", "blockIndex", SortedIndex(db.blockIndex));
  d.line("", "layouts: %zu", db.layouts.size());
  for (const zr::Layout& l : db.layouts) {
    d.line(" ", "layout %s tab=%d record=%llx block=%d handle=%llx", l.name.c_str(), l.tabOrder,
           (unsigned long long)l.blockRecord, l.block, (unsigned long long)l.handle);
    d.point("  ", "limMin", l.limMin);
    d.point("  ", "limMax", l.limMax);
  }
  for (const zr::Property& p : db.properties) d.line("", "property %d %s", p.id, p.text.c_str());
  d.groups("", "objects", db.objects);
  for (const auto& section : db.otherSections) d.groups("", section.first.c_str(), section.second);
  d.integers("", "thumbnail", db.thumbnail);
  return d.text;
}

}  // namespace zriotest
