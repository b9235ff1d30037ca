// Reads a DXF file (ASCII or binary) into a Database.
#pragma once
#include "platform/zrio/win32.h"
#include <stddef.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/zrio/dxf_groups.h"
#include "platform/zrio/dxf_model.h"
#include "platform/zrio/dxf_piece_stream.h"

namespace zr {

// Both callbacks are called on the thread that reads, while it reads.
struct LoadControl {
  std::function<bool()> aborted;           // polled often; true abandons the load
  std::function<void(double)> progress;    // percent, 0 to 100
  PieceOptions pieces;                     // the threads that parse entities
};

enum class LoadResult { Ok, Failed, Aborted, Unreadable };

LoadResult ReadDxf(const char* data, size_t size, Database& db, const LoadControl& control);
// Reads an open file from its start; Unreadable when a read of it failed.
LoadResult ReadDxfFile(HANDLE file, Database& db, const LoadControl& control);

// Reads the entity whose "0 TYPE" group the reader has just returned, with
// its attached VERTEX/ATTRIB entities; leaves the reader before the next
// entity's "0" group. False when the data ended or was malformed.
// It may run on a worker thread with the database of an entity run: what
// it reads of `db` beyond the code page, the text format, the version and
// the names it looks up must be copied there too (RunContext).
bool ReadEntity(DxfGroupReader& reader, Database& db, Entity& entity);

// Text of a string group in UTF-8: decoded from the drawing's code page
// (or taken as UTF-8 for R2007 and later) with \U+XXXX escapes resolved.
std::string DecodeText(std::string_view raw, const Database& db);

// Version number of an $ACADVER/file version text ("AC1015" -> 1015), 0 when unknown.
int AcadVersionNumber(const std::string& acadver);

}  // namespace zr
