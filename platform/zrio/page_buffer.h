// Bytes in pages of their own (see PageAllocator), not cleared when they
// grow: the bytes of a file are read into them.
#pragma once
#include "platform/zrio/win32.h"
#include <stddef.h>

namespace zr {

class PageBuffer {
 public:
  PageBuffer() = default;
  ~PageBuffer();
  PageBuffer(PageBuffer&& other) noexcept;
  PageBuffer& operator=(PageBuffer&& other) noexcept;
  PageBuffer(const PageBuffer&) = delete;
  PageBuffer& operator=(const PageBuffer&) = delete;

  char* data() { return data_; }
  const char* data() const { return data_; }
  size_t size() const { return size_; }
  size_t capacity() const { return capacity_; }
  // Room for `bytes` in all, keeping the bytes there; throws std::bad_alloc
  // when there is no memory for it.
  void reserve(size_t bytes);
  // The bytes past the old size are left as they are.
  void resize(size_t bytes);
  void append(const char* bytes, size_t count);

 private:
  char* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

}  // namespace zr
