#include "platform/zrio/win32.h"
#include "platform/zrio/dxf_run_workers.h"

#include <chrono>

namespace zr {

namespace {

// How often a wait for a worker asks whether to stop.
const std::chrono::milliseconds kAbortPoll(10);

}  // namespace

DxfRunWorkers::DxfRunWorkers(unsigned threads) {
  for (unsigned i = 0; i < threads; ++i) {
    HANDLE thread = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
    if (!thread) break;  // fewer workers: the calling thread parses the rest
    threads_.push_back(thread);
  }
}

DxfRunWorkers::~DxfRunWorkers() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    stopping_ = true;
    for (const std::shared_ptr<RunJob>& job : waiting_) markDone(*job);
    waiting_.clear();
  }
  added_.notify_all();
  for (HANDLE thread : threads_) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
}

DWORD WINAPI DxfRunWorkers::ThreadMain(void* workers) {
  static_cast<DxfRunWorkers*>(workers)->work();
  return 0;
}

void DxfRunWorkers::work() {
  while (true) {
    std::shared_ptr<RunJob> job;
    {
      std::unique_lock<std::mutex> hold(lock_);
      added_.wait(hold, [this]() { return stopping_ || !waiting_.empty(); });
      if (stopping_) return;
      job = std::move(waiting_.front());
      waiting_.pop_front();
      if (job->state != RunJob::State::Waiting) continue;
      job->state = RunJob::State::Parsing;
    }
    parse(*job);
  }
}

void DxfRunWorkers::parse(RunJob& job) {
  job.run.parse(job.piece, job.piece.start, job.context, job.cancelled);
  {
    std::lock_guard<std::mutex> hold(lock_);
    markDone(job);
  }
  done_.notify_all();
}

void DxfRunWorkers::markDone(RunJob& job) {
  job.state = RunJob::State::Done;
  job.done.store(true, std::memory_order_release);
}

void DxfRunWorkers::add(const std::vector<std::shared_ptr<RunJob>>& jobs) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    waiting_.insert(waiting_.end(), jobs.begin(), jobs.end());
  }
  added_.notify_all();
}

bool DxfRunWorkers::finish(RunJob& job, const std::function<bool()>& aborted) {
  if (job.done.load(std::memory_order_acquire)) return true;
  std::unique_lock<std::mutex> hold(lock_);
  if (job.state == RunJob::State::Waiting) {
    job.state = RunJob::State::Parsing;
    hold.unlock();
    parse(job);
    return true;
  }
  auto poll = std::chrono::steady_clock::now() + kAbortPoll;
  while (job.state != RunJob::State::Done) {
    done_.wait_until(hold, poll);
    if (job.state == RunJob::State::Done || std::chrono::steady_clock::now() < poll) continue;
    poll = std::chrono::steady_clock::now() + kAbortPoll;
    if (!aborted) continue;
    hold.unlock();
    bool stop = aborted();
    hold.lock();
    if (stop) return false;
  }
  return true;
}

void DxfRunWorkers::settle(RunJob& job, bool stop) {
  if (stop) job.cancelled = true;
  std::unique_lock<std::mutex> hold(lock_);
  if (job.state == RunJob::State::Waiting) markDone(job);
  done_.wait(hold, [&job]() { return job.state == RunJob::State::Done; });
}

void DxfRunWorkers::dropWaiting() {
  std::lock_guard<std::mutex> hold(lock_);
  for (const std::shared_ptr<RunJob>& job : waiting_) markDone(*job);
  waiting_.clear();
}

}  // namespace zr
