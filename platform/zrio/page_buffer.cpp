#include "platform/zrio/win32.h"
#include "platform/zrio/page_buffer.h"

#include <string.h>

#include <algorithm>
#include <new>

namespace zr {

PageBuffer::~PageBuffer() {
  if (data_) VirtualFree(data_, 0, MEM_RELEASE);
}

PageBuffer::PageBuffer(PageBuffer&& other) noexcept
    : data_(other.data_), size_(other.size_), capacity_(other.capacity_) {
  other.data_ = nullptr;
  other.size_ = other.capacity_ = 0;
}

PageBuffer& PageBuffer::operator=(PageBuffer&& other) noexcept {
  if (this != &other) {
    if (data_) VirtualFree(data_, 0, MEM_RELEASE);
    data_ = other.data_;
    size_ = other.size_;
    capacity_ = other.capacity_;
    other.data_ = nullptr;
    other.size_ = other.capacity_ = 0;
  }
  return *this;
}

void PageBuffer::reserve(size_t bytes) {
  if (bytes <= capacity_) return;
  char* pages =
      static_cast<char*>(VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!pages) throw std::bad_alloc();
  if (size_) memcpy(pages, data_, size_);
  if (data_) VirtualFree(data_, 0, MEM_RELEASE);
  data_ = pages;
  capacity_ = bytes;
}

void PageBuffer::resize(size_t bytes) {
  if (bytes > capacity_) reserve(std::max(bytes, capacity_ * 2));
  size_ = bytes;
}

void PageBuffer::append(const char* bytes, size_t count) {
  size_t at = size_;
  resize(size_ + count);
  if (count) memcpy(data_ + at, bytes, count);
}

}  // namespace zr
