// Group output of the DXF writer and the entities of every kind, in the
// form of the version written (R12 gets simpler stand-ins for the kinds it
// does not have).
#pragma once
#include "platform/zrio/win32.h"
#include <stdint.h>

#include <string>

#include "platform/zrio/dxf_group_sink.h"
#include "platform/zrio/dxf_model.h"
#include "platform/zrio/dxf_save_plan.h"

namespace zr {

// The DXF type of an entity ("LINE", or an unknown entity's own).
const char* EntityTypeName(const Entity& e);

class EntityWriter {
 public:
  EntityWriter(GroupSink* out, SaveContext& context);

  void str(int code, const char* value) { m_out->str(code, value); }
  void text(int code, const std::string& utf8) { m_out->text(code, utf8); }
  void integer(int code, long long value) { m_out->integer(code, value); }
  void real(int code, double value) { m_out->real(code, value); }
  void handle(int code, uint64_t value) { m_out->handle(code, value); }
  void point(int code, const Vec3& p);
  void point2(int code, const Vec3& p);

  // Kept groups (raw values from the file with `raw`, else UTF-8), for
  // modern versions: a reference to a record the save does not write is
  // dropped, and so is a dictionary's entry (`dictionary`) that names no
  // object written; brace groups are
  // written by braces() only, and only while they still hold something.
  // R12 gets no brace groups and no references.
  void keptData(const RawGroups& groups, bool raw, bool dictionary = false,
                bool (*skip)(int code) = nullptr);
  void braces(const RawGroups& groups, bool raw);
  void keptGroup(const RawGroup& g, bool raw);

  // `owner` is the block record handle (modern versions); entities without
  // a handle get a new one.
  void entity(const Entity& e, const Database& db, uint64_t owner, bool paperSpace = false);

 private:
  void common(const Entity& e, const char* type, const char* subclass, const Database& db,
              uint64_t owner, bool paperSpace);
  // A VERTEX or SEQEND record of `e`, with its kept handle (modern versions).
  Entity partOf(const Entity& e, size_t part);
  void extras(const Entity& e);
  void linetype(const Entity& e, const Database& db);
  void extrusion(const Entity& e);
  void r12Fallback(const Entity& e, const Database& db, uint64_t owner, bool paperSpace);
  // A block reference standing for a dimension or table.
  void pictureReference(const Entity& e, const Database& db, uint64_t owner, bool paperSpace);
  void lwPolyline(const Entity& e, const Database& db, uint64_t owner, bool paperSpace);
  void polylineWithVertices(const Entity& e, const Database& db, uint64_t owner,
                            bool paperSpace);
  void textEntity(const Entity& e, const Database& db, uint64_t owner, bool paperSpace);
  void hatch(const Entity& e);
  void unknown(const Entity& e, const Database& db, uint64_t owner, bool paperSpace);

  bool dangling(const RawGroup& g) const;

  GroupSink* m_out;
  int m_version;
  bool m_modern;
  bool m_downgrade;  // the file is of a later version than the one written
  const Database& m_db;
  HandlePlan& m_handles;
  uint64_t m_written = 0;  // handle of the record `common` wrote last
};

}  // namespace zr
