// Worker threads that parse the entity runs of a DXF file's pieces while
// the section reader reads on the calling thread, which also parses a run
// itself when it needs one no worker has begun.
#pragma once
#include "platform/zrio/win32.h"
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/zrio/dxf_entity_run.h"

namespace zr {

// One piece's run to parse. The piece must stay until the job is settled.
struct RunJob {
  RunJob(const DxfPiece& piece, std::shared_ptr<const RunContext> context, ParsedEntities storage)
      : piece(piece),
        begin(piece.start),
        end(piece.start + piece.size),
        context(std::move(context)),
        run(std::move(storage)) {}
  // True when the run holds the entity whose "0" group starts there.
  bool covers(uint64_t offset) const { return offset >= begin && offset < end; }

  const DxfPiece& piece;
  const uint64_t begin, end;  // file offsets of the piece
  const std::shared_ptr<const RunContext> context;
  EntityRun run;
  std::atomic<bool> cancelled{false};
  enum class State { Waiting, Parsing, Done } state = State::Waiting;  // under the workers' lock
  std::atomic<bool> done{false};  // state is Done: the run may be read without the lock
};

class DxfRunWorkers {
 public:
  explicit DxfRunWorkers(unsigned threads);
  // Waits for the threads, which end after the jobs they are parsing.
  ~DxfRunWorkers();
  DxfRunWorkers(const DxfRunWorkers&) = delete;
  DxfRunWorkers& operator=(const DxfRunWorkers&) = delete;

  // Jobs are begun in the order they are added.
  void add(const std::vector<std::shared_ptr<RunJob>>& jobs);
  // Waits until the job's run is parsed, parsing it on this thread when no
  // worker has begun it, and asks `aborted` every few milliseconds while a
  // worker parses it; false when that said to stop.
  bool finish(RunJob& job, const std::function<bool()>& aborted);
  // Leaves the job's run as it is (empty when no worker had begun it),
  // stopping a worker that parses it when `stop` is set.
  void settle(RunJob& job, bool stop);
  // Jobs no worker has begun are left unparsed.
  void dropWaiting();

 private:
  static DWORD WINAPI ThreadMain(void* workers);
  void work();
  void parse(RunJob& job);

  void markDone(RunJob& job);

  std::mutex m_lock;
  std::condition_variable m_added;  // a job was added, or the threads are to stop
  std::condition_variable m_done;   // a job was parsed
  std::deque<std::shared_ptr<RunJob>> m_waiting;
  bool m_stopping = false;
  std::vector<HANDLE> m_threads;
};

}  // namespace zr
