// Reading a drawing file's bytes, and comparing paths.
#pragma once
#include "platform/zrio/win32.h"
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

namespace zr {

// A drawing file open for reading, closed when it goes. A DWG file is read
// whole, for the DWG reader; a DXF file is handed to the DXF reader, which
// reads it a piece at a time as it parses.
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
  bool read(size_t size, std::vector<char>* data);
  void close();

  HANDLE m_handle;
};

// Upper-case copy of an ANSI path, for comparing paths without case.
std::string UpperPath(const char* path);

}  // namespace zr
