// The Node.js processes that read DWG files (dwg/read_dwg.mjs and the
// LibreDWG package beside it). A worker reads one file after another, each
// through a fresh instance of LibreDWG; one is kept for view drawings and one
// for thumbnails, so that an open waits neither for Node and LibreDWG to
// load nor for LibreDWG's code to be compiled again. The one for view
// drawings is started with the library; a worker that failed in any way is
// ended and a fresh one started in its place, ahead of need.
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

// A worker process and what it was started for.
struct DwgWorker {
  ChildProcess process;
  bool thumbnail = false;
  int served = 0;           // files it answered
  unsigned generation = 0;  // of the reader location it runs
};

// A worker for a thumbnail or a view drawing: the one kept for them when it
// still runs, else a new one (when another read holds that one, say); or
// null with the reason in `problem`.
std::unique_ptr<DwgWorker> TakeDwgWorker(bool thumbnail, std::string* problem);

// Starts the worker for view drawings ahead of the first file (at the
// library's start-up) unless one is kept: the first open then waits neither
// for Node and LibreDWG to load nor for LibreDWG's code to be compiled.
void StartDwgWorkerAhead();

// Gives back a worker after a file. One that `answered` with a drawing and
// still runs is kept for the next file of its kind (unless one is kept
// already); any other is ended and a fresh one started in its place.
void GiveBackDwgWorker(std::unique_ptr<DwgWorker> worker, bool answered);

// Ends the workers kept (at the library's shutdown, before the process
// ends). A worker still kept when the process ends is not waited for: it
// ends when its input closes.
void ReleaseDwgWorkers();

// Test hook: the Node program and the reader folder to use instead of the
// ones found; empty strings go back to those. Workers kept are ended.
void SetDwgReaderLocation(const std::string& node, const std::string& folder);

}  // namespace zr
