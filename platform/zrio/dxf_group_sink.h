// Where the groups of a save go: DXF text, or the records a DWG save
// encodes (which take the values as they are, without text in between).
#pragma once
#include "platform/zrio/win32.h"
#include <stdint.h>

#include <string>

namespace zr {

class GroupSink {
 public:
  virtual ~GroupSink() = default;
  virtual void str(int code, const char* ascii) = 0;
  virtual void text(int code, const std::string& utf8) = 0;
  virtual void integer(int code, long long value) = 0;
  virtual void real(int code, double value) = 0;
  virtual void handle(int code, uint64_t value) = 0;
};

// ASCII DXF: a value a line, text outside ASCII as \U+XXXX escapes.
class DxfTextSink : public GroupSink {
 public:
  explicit DxfTextSink(std::string* out) : m_out(out) {}

  void str(int code, const char* ascii) override;
  void text(int code, const std::string& utf8) override;
  void integer(int code, long long value) override;
  void real(int code, double value) override;
  void handle(int code, uint64_t value) override;

 private:
  std::string* m_out;
};

}  // namespace zr
