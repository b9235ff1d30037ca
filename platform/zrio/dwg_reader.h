// Reads a DWG or DWT file through a LibreDWG worker (see dwg_worker.h): the
// worker answers with the drawing as binary DXF, which the DXF reader takes.
#pragma once
#include "platform/zrio/win32.h"
#include <stddef.h>

#include "platform/zrio/dxf_model.h"
#include "platform/zrio/dxf_reader.h"

namespace zr {

enum class DwgReadResult {
  Ok,
  Failed,       // LibreDWG cannot read the file, or the worker failed
  Aborted,      // the abort query asked to stop
  Unavailable,  // Node.js or the reader is missing
};

// `data` holds the file's bytes; `thumbnail` for a drawing made for a
// thumbnail. Progress goes from 0 to 100 over the worker's read and the
// DXF read.
DwgReadResult ReadDwg(const char* data, size_t size, bool thumbnail, Database& db,
                      const LoadControl& control);

// True for a DWG file (2004 and later) whose header says its data or its
// summary is encrypted with a password. LibreDWG cannot read such a file
// with or without the password.
bool IsPasswordProtectedDwg(const char* data, size_t size);

// Test hook: the time a worker gets before it is stopped, and the largest
// answer taken, instead of the bounds that grow with the file's size; 0
// goes back to those.
void SetDwgReaderBounds(int timeoutMs, size_t answerBytes);

// Test hook: the worker answers with the drawing as DXF text, which holds
// the same groups and values as its binary DXF (true), or as binary DXF
// again (false).
void SetDwgAnswersAsText(bool text);

}  // namespace zr
