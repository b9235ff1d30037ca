// The Node.js processes that read DWG files (dwg/read_dwg.mjs and the
// LibreDWG package beside it). A worker reads one file and ends; one is
// kept started ahead of need, so that an open does not wait for Node and
// LibreDWG to load.
//
// The reader is the folder "dwg-reader" (read_dwg.mjs, dxf_text.mjs and
// node_modules/ with the package) that the build puts at the top of the
// build folder; it is looked for in the folder of the running program's
// module and the folders above it. Node is "node" found through PATH.
//
// Native (Linux) calls only; the header uses nothing from <windows.h>.
#pragma once
#include <memory>
#include <string>

#include "platform/zrio/child_process.h"

namespace zr {

// A started worker (for a thumbnail or a view drawing), or null with the
// reason in `problem`.
std::unique_ptr<ChildProcess> TakeDwgWorker(bool thumbnail, std::string* problem);

// Ends the workers kept ahead of need (at the library's shutdown).
void ReleaseDwgWorkers();

// Test hook: the Node program and the reader folder to use instead of the
// ones found; empty strings go back to those.
void SetDwgReaderLocation(const std::string& node, const std::string& folder);

}  // namespace zr
