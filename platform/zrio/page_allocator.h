// An allocator for large buffers that live a short while, such as the bytes
// of a piece of a file being parsed: pages of their own from the system,
// given back to it when freed. From the heap they would leave holes among
// the drawing's own objects that the process keeps after the read.
#pragma once
#include "platform/zrio/win32.h"
#include <stddef.h>

#include <new>

namespace zr {

template <typename T>
struct PageAllocator {
  using value_type = T;

  PageAllocator() = default;
  template <typename U>
  PageAllocator(const PageAllocator<U>&) {}

  T* allocate(size_t n) {
    void* pages = VirtualAlloc(nullptr, n * sizeof(T), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!pages) throw std::bad_alloc();
    return static_cast<T*>(pages);
  }
  void deallocate(T* pages, size_t) { VirtualFree(pages, 0, MEM_RELEASE); }
};

template <typename T, typename U>
bool operator==(const PageAllocator<T>&, const PageAllocator<U>&) {
  return true;
}
template <typename T, typename U>
bool operator!=(const PageAllocator<T>&, const PageAllocator<U>&) {
  return false;
}

}  // namespace zr
