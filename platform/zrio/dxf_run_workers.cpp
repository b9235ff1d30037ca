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
    m_threads.push_back(thread);
  }
}

DxfRunWorkers::~DxfRunWorkers() {
  {
    std::lock_guard<std::mutex> hold(m_lock);
    m_stopping = true;
    for (const std::shared_ptr<RunJob>& job : m_waiting) markDone(*job);
    m_waiting.clear();
  }
  m_added.notify_all();
  for (HANDLE thread : m_threads) {
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
      std::unique_lock<std::mutex> hold(m_lock);
      m_added.wait(hold, [this]() { return m_stopping || !m_waiting.empty(); });
      if (m_stopping) return;
      job = std::move(m_waiting.front());
      m_waiting.pop_front();
      if (job->state != RunJob::State::Waiting) continue;
      job->state = RunJob::State::Parsing;
    }
    parse(*job);
  }
}

void DxfRunWorkers::parse(RunJob& job) {
  job.run.parse(job.piece, job.piece.start, job.context, job.cancelled);
  {
    std::lock_guard<std::mutex> hold(m_lock);
    markDone(job);
  }
  m_done.notify_all();
}

void DxfRunWorkers::markDone(RunJob& job) {
  job.state = RunJob::State::Done;
  job.done.store(true, std::memory_order_release);
}

void DxfRunWorkers::add(const std::vector<std::shared_ptr<RunJob>>& jobs) {
  {
    std::lock_guard<std::mutex> hold(m_lock);
    m_waiting.insert(m_waiting.end(), jobs.begin(), jobs.end());
  }
  m_added.notify_all();
}

bool DxfRunWorkers::finish(RunJob& job, const std::function<bool()>& aborted) {
  if (job.done.load(std::memory_order_acquire)) return true;
  std::unique_lock<std::mutex> hold(m_lock);
  if (job.state == RunJob::State::Waiting) {
    job.state = RunJob::State::Parsing;
    hold.unlock();
    parse(job);
    return true;
  }
  auto poll = std::chrono::steady_clock::now() + kAbortPoll;
  while (job.state != RunJob::State::Done) {
    m_done.wait_until(hold, poll);
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
  std::unique_lock<std::mutex> hold(m_lock);
  if (job.state == RunJob::State::Waiting) markDone(job);
  m_done.wait(hold, [&job]() { return job.state == RunJob::State::Done; });
}

void DxfRunWorkers::dropWaiting() {
  std::lock_guard<std::mutex> hold(m_lock);
  for (const std::shared_ptr<RunJob>& job : m_waiting) markDone(*job);
  m_waiting.clear();
}

}  // namespace zr
