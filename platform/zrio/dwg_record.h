// One record of the drawing's DXF form as a DWG save receives it from the
// DXF writer (the groups a DXF save of the same version writes, with their
// values as the writer has them): the DWG writer encodes each record as one
// DWG object, so a DWG save keeps exactly what a DXF save keeps.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

#include "platform/zrio/geometry.h"

namespace zr {

struct FormGroup {
  int code = 0;
  bool numeric = false;  // the value is `number` (integers and handles exactly), else `text`
  double number = 0;
  std::string text;      // UTF-8

  double real() const;
  long long integer() const;
  uint64_t handle() const;  // a hexadecimal text, or a number
  bool is(const char* value) const { return !numeric && text == value; }
};
using FormGroups = std::vector<FormGroup>;

struct FormRecord {
  std::string type;
  FormGroups groups;
};

// A record's own handle: its first 5 group (105 in a DIMSTYLE entry).
uint64_t FormHandle(const FormGroups& groups);
// A record's owner: the first 330 group outside brace groups, before its
// first subclass marker.
uint64_t FormOwner(const FormGroups& groups);

class RecordView {
 public:
  explicit RecordView(const FormRecord& record) : r_(record) {}

  const FormRecord& record() const { return r_; }
  const std::string& type() const { return r_.type; }
  const FormGroups& groups() const { return r_.groups; }
  // The first group of a code outside brace groups, after the subclass
  // marker `after` when one is given.
  const FormGroup* find(int code, const char* after = nullptr) const;
  bool has(int code) const { return find(code) != nullptr; }
  std::string text(int code, const char* fallback = "") const;
  double real(int code, double fallback = 0) const;
  long long integer(int code, long long fallback = 0) const;
  uint64_t handle(int code, const char* after = nullptr) const;
  Vec3 point(int code, const Vec3& fallback = Vec3()) const;
  // Handles listed inside a brace group ("{ACAD_REACTORS").
  std::vector<uint64_t> braceHandles(const char* name) const;
  // Every value of a code outside brace groups, in order.
  std::vector<double> reals(int code) const;

 private:
  const FormRecord& r_;
};

// The bytes of a binary group's hexadecimal text.
std::string HexBytes(const std::string& hex);

// The point whose x group is groups[*at], with the y and z groups that
// follow it; *at moves to its last group.
Vec3 GroupPoint(const FormGroups& groups, size_t* at);

}  // namespace zr
