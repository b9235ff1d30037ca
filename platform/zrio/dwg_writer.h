// Writes a Database as a DWG file of version 2004 (AC1018), 2000 (AC1015)
// or R14 (AC1014).
// The DXF writer hands over the drawing's DXF form of the same version
// group by group, with the values as it has them (what a DXF save of it
// writes: the same handles, tables, blocks, entities and objects, less the
// objects of later kinds), and each record is encoded as its DWG object.
#pragma once
#include "platform/zrio/win32.h"
#include <stdint.h>

#include <string>
#include <vector>

#include "platform/zrio/dxf_model.h"
#include "platform/zrio/dxf_save_plan.h"

namespace zr {

// Whether the drawing's save offers DWG in the version code: 2004, 2000 and R14.
bool DwgVersionWritable(int version);

// What a DWG save leaves out of the drawing's DXF form of its version.
SaveLimits DwgSaveLimits();

// The file's bytes; false, with the part of the drawing that could not be
// written in `failure` (in the program's language), when the drawing holds
// something the writer cannot encode (nothing is then to be written).
bool WriteDwg(const Database& db, int version, std::vector<uint8_t>* out, std::string* failure);

// Writes to a temporary file beside `path`, renamed over it only when every
// byte was written.
bool WriteDwgFile(const Database& db, const char* path, int version, std::string* failure);

}  // namespace zr
