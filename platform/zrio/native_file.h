// A file open for reading through Linux's own calls, by its Unix name. A
// file's start and a DWG file whole are read this way: Win32's file calls
// each ask Wine's server, and the first call after the server has idled
// (while the user looked at the last drawing) costs some tenths of a
// millisecond.
//
// Native (Linux) calls only; the header uses nothing from <windows.h>.
#pragma once
#include <stddef.h>

#include <string>

namespace zr {

class NativeFile {
 public:
  explicit NativeFile(const std::string& unixPath);
  ~NativeFile();
  NativeFile(const NativeFile&) = delete;
  NativeFile& operator=(const NativeFile&) = delete;

  bool isOpen() const { return m_fd >= 0; }
  // The file's size in bytes; false when it cannot be told.
  bool size(long long* bytes) const;
  // Reads the file's first `size` bytes into `data`; false when it holds
  // fewer or cannot be read.
  bool readStart(size_t size, char* data) const;
  void close();

 private:
  int m_fd = -1;
};

}  // namespace zr
