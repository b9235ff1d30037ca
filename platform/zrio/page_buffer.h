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

  char* data() { return m_data; }
  const char* data() const { return m_data; }
  size_t size() const { return m_size; }
  size_t capacity() const { return m_capacity; }
  // Room for `bytes` in all, keeping the bytes there; throws std::bad_alloc
  // when there is no memory for it.
  void reserve(size_t bytes);
  // The bytes past the old size are left as they are.
  void resize(size_t bytes);
  void append(const char* bytes, size_t count);

 private:
  char* m_data = nullptr;
  size_t m_size = 0;
  size_t m_capacity = 0;
};

}  // namespace zr
