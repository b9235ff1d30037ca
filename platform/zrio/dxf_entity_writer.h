// Group output of the DXF writer and the entities of every kind, in the
// form of the version written (R12 gets simpler stand-ins for the kinds it
// does not have).
#pragma once
#include "platform/zrio/win32.h"
#include <stdint.h>

#include <string>

#include "platform/zrio/dxf_model.h"

namespace zr {

class EntityWriter {
 public:
  EntityWriter(std::string* out, int version);

  void str(int code, const char* value);
  void text(int code, const std::string& utf8);  // non-ASCII as \U+XXXX
  void integer(int code, long long value);
  void real(int code, double value);
  void handle(int code, uint64_t value);
  void point(int code, const Vec3& p);
  void point2(int code, const Vec3& p);

  // `owner` is the block record handle (modern versions); new handles come
  // from `nextHandle` for entities without one.
  void entity(const Entity& e, const Database& db, uint64_t owner, uint64_t& nextHandle,
              bool paperSpace = false);

 private:
  void common(const Entity& e, const char* type, const char* subclass, const Database& db,
              uint64_t owner, uint64_t& nextHandle, bool paperSpace);
  void extras(const Entity& e);
  void linetype(const Entity& e, const Database& db);
  void extrusion(const Entity& e);
  void r12Fallback(const Entity& e, const Database& db, uint64_t owner, uint64_t& nextHandle,
                   bool paperSpace);
  void lwPolyline(const Entity& e, const Database& db, uint64_t owner, uint64_t& nextHandle,
                  bool paperSpace);
  void polylineWithVertices(const Entity& e, const Database& db, uint64_t owner,
                            uint64_t& nextHandle, bool paperSpace);
  void textEntity(const Entity& e, const Database& db, uint64_t owner, uint64_t& nextHandle,
                  bool paperSpace);
  void hatch(const Entity& e);
  void unknown(const Entity& e, const Database& db, uint64_t owner, uint64_t& nextHandle,
               bool paperSpace);

  std::string* out_;
  int version_;
  bool modern_;
};

}  // namespace zr
