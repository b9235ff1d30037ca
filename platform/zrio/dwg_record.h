// One record of the DXF text a DWG save is made from, read by group code:
// the DWG writer encodes each record of that text as one DWG object, so a
// DWG save keeps exactly what a DXF save of the same version keeps.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

#include "platform/zrio/dxf_save_plan.h"
#include "platform/zrio/geometry.h"

namespace zr {

// The groups of DXF text ("code\nvalue\n" pairs); false when it is not that.
bool ParseDxfGroups(const std::string& text, RawGroups* groups);

class RecordView {
 public:
  explicit RecordView(const RawRecord& record) : r_(record) {}

  const std::string& type() const { return r_.type; }
  const RawGroups& groups() const { return r_.groups; }
  // The first group of a code outside brace groups, after the subclass
  // marker `after` when one is given.
  const RawGroup* find(int code, const char* after = nullptr) const;
  bool has(int code) const { return find(code) != nullptr; }
  std::string text(int code, const char* fallback = "") const;
  double real(int code, double fallback = 0) const;
  long long integer(int code, long long fallback = 0) const;
  uint64_t handle(int code, const char* after = nullptr) const;
  Vec3 point(int code, const Vec3& fallback = Vec3()) const;
  // Handles listed inside a brace group ("{ACAD_REACTORS").
  std::vector<uint64_t> braceHandles(const char* name) const;

 private:
  const RawRecord& r_;
};

double RealValue(const std::string& value);
long long IntegerValue(const std::string& value);

}  // namespace zr
