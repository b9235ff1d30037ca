#include "platform/native/native_begin.h"
#include <dlfcn.h>
#include <errno.h>
#include <sys/wait.h>
#include <unistd.h>
#include "platform/native/native_end.h"

#include "platform/zrio/dwg_worker.h"

#include <mutex>
#include <vector>

namespace zr {

namespace {

const char kReaderFolder[] = "dwg-reader";
const char kScript[] = "read_dwg.mjs";
const char kPackage[] = "node_modules/@mlightcad/libredwg-web/package.json";
// Folders above the program's own that are searched for the reader.
const int kLevelsUp = 4;

struct Workers {
  std::mutex lock;
  std::unique_ptr<DwgWorker> kept[2];  // for view drawings, for thumbnails
  std::string node, folder;  // test overrides
  unsigned generation = 0;   // of the reader location, counted up at each change
};

// Never destroyed. Under Wine a destructor of a static runs after the
// process has been counted as ended, and the process is killed if it is
// still there a second later: no worker is ended and waited for then. A
// worker still kept when the process ends (the library was not
// uninitialised) ends by itself when its input closes with this process.
Workers& State() {
  static Workers* workers = new Workers;
  return *workers;
}

bool Exists(const std::string& path) { return access(path.c_str(), R_OK) == 0; }

bool IsReader(const std::string& folder) {
  return Exists(folder + "/" + kScript) && Exists(folder + "/" + kPackage);
}

// The reader folder nearest above the file of this module.
std::string FindReader() {
  Dl_info info;
  if (dladdr(reinterpret_cast<void*>(&FindReader), &info) == 0 || !info.dli_fname) return "";
  std::string folder = info.dli_fname;
  for (int level = 0; level <= kLevelsUp; ++level) {
    size_t slash = folder.rfind('/');
    if (slash == std::string::npos) break;
    folder.erase(slash);
    std::string candidate = folder + "/" + kReaderFolder;
    if (IsReader(candidate)) return candidate;
  }
  return "";
}

std::string NodeOf(const Workers& w) { return w.node.empty() ? "node" : w.node; }

// The reader's folder: the one set, else the nearest found above this module.
std::string ReaderFolderOf(const Workers& w) { return w.folder.empty() ? FindReader() : w.folder; }

// Starts a worker of the reader in `folder`; null when Node could not be
// started.
std::unique_ptr<DwgWorker> Start(const Workers& w, const std::string& folder, bool thumbnail) {
  std::unique_ptr<DwgWorker> worker(new DwgWorker);
  worker->thumbnail = thumbnail;
  worker->generation = w.generation;
  // --expose-gc: the worker collects a read's garbage while it waits for
  // the next file. The young generation is made large enough for all that
  // a drawing of a megabyte allocates while it is read: else a collection
  // in the middle of the read copies every object of the drawing read so
  // far, some milliseconds a collection. LibreDWG's code is compiled whole
  // when the worker starts, ahead of need, rather than a function at a time
  // as the first file's read meets it (which made that read some 150 ms
  // longer).
  std::vector<std::string> argv = {NodeOf(w),
                                   "--expose-gc",
                                   "--min-semi-space-size=32",
                                   "--max-semi-space-size=32",
                                   "--no-wasm-lazy-compilation",
                                   folder + "/" + kScript};
  if (!worker->process.Start(argv)) return nullptr;
  return worker;
}

}  // namespace

std::unique_ptr<DwgWorker> TakeDwgWorker(bool thumbnail, std::string* problem) {
  Workers& w = State();
  std::lock_guard<std::mutex> hold(w.lock);
  std::string folder = ReaderFolderOf(w);
  if (folder.empty() || !IsReader(folder)) {
    *problem = "the DWG reader (dwg-reader with its LibreDWG package) is not installed";
    w.kept[0].reset();
    w.kept[1].reset();
    return nullptr;
  }
  std::unique_ptr<DwgWorker> worker = std::move(w.kept[thumbnail ? 1 : 0]);
  if (!worker || !worker->process.Waiting()) worker = Start(w, folder, thumbnail);
  if (!worker) *problem = "Node.js (" + NodeOf(w) + ") could not be started";
  return worker;
}

void StartDwgWorkerAhead() {
  Workers& w = State();
  std::lock_guard<std::mutex> hold(w.lock);
  if (w.kept[0]) return;
  std::string folder = ReaderFolderOf(w);
  if (!folder.empty() && IsReader(folder)) w.kept[0] = Start(w, folder, false);
}

void GiveBackDwgWorker(std::unique_ptr<DwgWorker> worker, bool answered) {
  Workers& w = State();
  std::lock_guard<std::mutex> hold(w.lock);
  if (worker->generation != w.generation) return;
  std::unique_ptr<DwgWorker>& kept = w.kept[worker->thumbnail ? 1 : 0];
  if (kept) return;
  if (answered && worker->process.Waiting()) {
    ++worker->served;
    kept = std::move(worker);
    return;
  }
  bool thumbnail = worker->thumbnail;
  worker.reset();
  std::string folder = ReaderFolderOf(w);
  if (!folder.empty()) kept = Start(w, folder, thumbnail);
}

void ReleaseDwgWorkers() {
  Workers& w = State();
  std::lock_guard<std::mutex> hold(w.lock);
  w.kept[0].reset();
  w.kept[1].reset();
}

void SetDwgReaderLocation(const std::string& node, const std::string& folder) {
  Workers& w = State();
  std::lock_guard<std::mutex> hold(w.lock);
  w.node = node;
  w.folder = folder;
  ++w.generation;
  w.kept[0].reset();
  w.kept[1].reset();
}

}  // namespace zr
