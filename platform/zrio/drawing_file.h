// Reading a drawing file's bytes, and comparing paths.
#pragma once
#include "platform/zrio/win32.h"
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "platform/zrio/native_file.h"

namespace zr {

// A drawing file open for reading, closed when it goes. A DWG file is read
// whole, for the DWG reader; a DXF file is handed to the DXF reader, which
// reads it a piece at a time as it parses. The start and a DWG file are
// read through Linux's calls by the file's Unix name (native_file.h), or
// through Win32's when that does not open it; the DXF reader gets a Win32
// handle.
class DrawingFile {
 public:
  explicit DrawingFile(const char* path);
  ~DrawingFile();
  DrawingFile(const DrawingFile&) = delete;
  DrawingFile& operator=(const DrawingFile&) = delete;

  // Reads the start of the file, and a DWG file (the DWG family: DWG, DWT,
  // DWF) whole, into `data`, followed by one zero byte; false when it cannot
  // be read or is 2 GB or larger. A DWG file is closed once read.
  bool readKind(std::vector<char>* data, bool* dwg);
  // The handle, at the file's start, for ReadDxfFile; null when it is not there.
  HANDLE dxfHandle();

 private:
  bool size(long long* bytes);
  bool read(size_t size, std::vector<char>* data);
  void close();

  std::string m_path;
  NativeFile m_native;  // the file through Linux's calls, when its Unix name opens
  HANDLE m_handle;      // else through Win32's; and the DXF reader's
};

// Upper-case copy of an ANSI path, for comparing paths without case.
std::string UpperPath(const char* path);

}  // namespace zr
