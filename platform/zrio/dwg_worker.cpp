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
  std::unique_ptr<ChildProcess> spare[2];  // for view drawings, for thumbnails
  std::string node, folder;  // test overrides
};

Workers& State() {
  static Workers workers;
  return workers;
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

// A child that ended on its own (the reader failed to load) is no spare.
bool Alive(ChildProcess& child) {
  return child.running() && !child.Exited();
}

std::unique_ptr<ChildProcess> Start(const std::string& node, const std::string& folder, bool thumbnail) {
  std::unique_ptr<ChildProcess> child(new ChildProcess);
  // Liftoff alone: LibreDWG's code is compiled once, quickly, and never
  // again in the background of a process that reads one file. A worker for
  // view drawings compiles all of it while it waits, so that its read runs
  // at full speed; thumbnails, drawn one after the other, want workers that
  // start sooner and compile what a read needs as it goes.
  std::vector<std::string> argv = {node, "--liftoff-only"};
  if (!thumbnail) argv.push_back("--no-wasm-lazy-compilation");
  argv.push_back(folder + "/" + kScript);
  if (!child->Start(argv)) return nullptr;
  return child;
}

}  // namespace

std::unique_ptr<ChildProcess> TakeDwgWorker(bool thumbnail, std::string* problem) {
  Workers& w = State();
  std::lock_guard<std::mutex> hold(w.lock);
  std::string node = w.node.empty() ? "node" : w.node;
  std::string folder = w.folder.empty() ? FindReader() : w.folder;
  if (folder.empty() || !IsReader(folder)) {
    *problem = "the DWG reader (dwg-reader with its LibreDWG package) is not installed";
    w.spare[0].reset();
    w.spare[1].reset();
    return nullptr;
  }
  std::unique_ptr<ChildProcess>& spare = w.spare[thumbnail ? 1 : 0];
  std::unique_ptr<ChildProcess> worker;
  if (spare && Alive(*spare)) worker = std::move(spare);
  spare.reset();
  if (!worker) worker = Start(node, folder, thumbnail);
  if (!worker) {
    *problem = "Node.js (" + node + ") could not be started";
    return nullptr;
  }
  spare = Start(node, folder, thumbnail);
  return worker;
}

void ReleaseDwgWorkers() {
  Workers& w = State();
  std::lock_guard<std::mutex> hold(w.lock);
  w.spare[0].reset();
  w.spare[1].reset();
}

void SetDwgReaderLocation(const std::string& node, const std::string& folder) {
  Workers& w = State();
  std::lock_guard<std::mutex> hold(w.lock);
  w.node = node;
  w.folder = folder;
  w.spare[0].reset();
  w.spare[1].reset();
}

}  // namespace zr
