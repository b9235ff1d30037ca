// Reads a DXF file (ASCII or binary) into a Database.
#pragma once
#include "platform/zrio/win32.h"
#include <stddef.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/zrio/dxf_groups.h"
#include "platform/zrio/dxf_model.h"

namespace zr {

struct LoadControl {
  std::function<bool()> aborted;           // polled often; true abandons the load
  std::function<void(double)> progress;    // percent, 0 to 100
};

enum class LoadResult { Ok, Failed, Aborted };

// `data` must be followed by a zero byte at data[size].
LoadResult ReadDxf(const char* data, size_t size, Database& db, const LoadControl& control);

// Reads the entity whose "0 TYPE" group the reader has just returned, with
// its attached VERTEX/ATTRIB entities; leaves the reader before the next
// entity's "0" group. False when the data ended or was malformed.
bool ReadEntity(DxfGroupReader& reader, Database& db, Entity& entity);

// Text of a string group in UTF-8: decoded from the drawing's code page
// (or taken as UTF-8 for R2007 and later) with \U+XXXX escapes resolved.
std::string DecodeText(std::string_view raw, const Database& db);

// Version number of an $ACADVER/file version text ("AC1015" -> 1015), 0 when unknown.
int AcadVersionNumber(const std::string& acadver);

}  // namespace zr
