#include "platform/zrio/win32.h"
#include "platform/zrio/page_buffer.h"

#include <string.h>

#include <algorithm>
#include <new>

namespace zr {

PageBuffer::~PageBuffer() {
  if (m_data) VirtualFree(m_data, 0, MEM_RELEASE);
}

PageBuffer::PageBuffer(PageBuffer&& other) noexcept
    : m_data(other.m_data), m_size(other.m_size), m_capacity(other.m_capacity) {
  other.m_data = nullptr;
  other.m_size = other.m_capacity = 0;
}

PageBuffer& PageBuffer::operator=(PageBuffer&& other) noexcept {
  if (this != &other) {
    if (m_data) VirtualFree(m_data, 0, MEM_RELEASE);
    m_data = other.m_data;
    m_size = other.m_size;
    m_capacity = other.m_capacity;
    other.m_data = nullptr;
    other.m_size = other.m_capacity = 0;
  }
  return *this;
}

void PageBuffer::reserve(size_t bytes) {
  if (bytes <= m_capacity) return;
  char* pages =
      static_cast<char*>(VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!pages) throw std::bad_alloc();
  if (m_size) memcpy(pages, m_data, m_size);
  if (m_data) VirtualFree(m_data, 0, MEM_RELEASE);
  m_data = pages;
  m_capacity = bytes;
}

void PageBuffer::resize(size_t bytes) {
  if (bytes > m_capacity) reserve(std::max(bytes, m_capacity * 2));
  m_size = bytes;
}

void PageBuffer::append(const char* bytes, size_t count) {
  size_t at = m_size;
  resize(m_size + count);
  if (count) memcpy(m_data + at, bytes, count);
}

}  // namespace zr
