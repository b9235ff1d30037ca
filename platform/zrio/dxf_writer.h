// Writes a Database as an ASCII DXF file of version R12, R14, 2000 or 2004.
#pragma once
#include "platform/zrio/win32.h"
#include <string>

#include "platform/base/file_replace.h"
#include "platform/zrio/dxf_group_sink.h"
#include "platform/zrio/dxf_model.h"
#include "platform/zrio/dxf_save_plan.h"

namespace zr {

// Version codes of the save call.
enum DxfSaveVersion { kSaveR12 = 5, kSaveR14 = 7, kSave2000 = 8, kSave2004 = 9 };

// One of the version codes above.
bool IsDxfSaveVersion(int version);

// The DXF text of the drawing, less what `limits` leaves out; false for an
// unknown version code.
bool WriteDxf(const Database& db, int version, std::string* out,
              const SaveLimits& limits = SaveLimits());

// The groups of that text (version one of the codes above), less what
// `limits` leaves out: every section but the header to `body`, then the
// header to `header`.
void WriteDxfGroups(const Database& db, int version, const SaveLimits& limits, GroupSink& body,
                    GroupSink& header);

// Writes the file to a temporary file beside `path` and renames it over
// `path` only when every byte was written. An unknown version code writes
// nothing (ReplaceFileCannotWrite).
ReplaceFileResult WriteDxfFile(const Database& db, const char* path, int version,
                               const SaveLimits& limits = SaveLimits());

}  // namespace zr
