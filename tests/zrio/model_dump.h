// Every field of a drawing read into memory, as text: two readings of a
// file compare by their dumps.
#pragma once
#include "platform/zrio/win32.h"
#include <stddef.h>

#include <memory>
#include <string>

#include "platform/zrio/dxf_model.h"
#include "platform/zrio/dxf_reader.h"

namespace zriotest {

// What a read of a file's bytes gave: the result and what it left in the
// drawing (also when it failed).
struct Reading {
  zr::LoadResult result = zr::LoadResult::Failed;
  std::unique_ptr<zr::Database> db;
};

// Read from memory by `threads` threads (0: as many as the machine has) in
// pieces of `pieceBytes` (0: as the reader chooses them).
Reading ReadBytes(const std::string& bytes, unsigned threads, size_t pieceBytes);
// Read from a file (a Win32 path) in the same way.
Reading ReadFileAt(const std::string& path, unsigned threads, size_t pieceBytes);

// `numbersByValue`: the kept groups of numeric codes as the numbers they
// hold rather than as written (a binary file holds no text for them).
std::string DumpModel(const zr::Database& db, bool numbersByValue = false);

}  // namespace zriotest
