#include "drawing/thumbnails/task_raster_pool.h"

#include <stdlib.h>

#include <memory>
#include <new>

#include "drawing/thumbnails/raster_thumbnail.h"

namespace {

const int kMostHelpers = 16;
// How often a wait for a helper looks at the caller's stop flag.
const DWORD kWaitSliceMs = 50;
// How long the pool's end waits for the helpers to finish their files.
const DWORD kEndWaitMs = 10000;

}  // namespace

int ThumbnailHelperCount()
{
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const int processors = static_cast<int>(system.dwNumberOfProcessors);
    return processors < kMostHelpers ? processors : kMostHelpers;
}

// ---------------------------------------------------------------------------
// The pool's jobs, and the state it shares with its helpers.

namespace {

struct RasterJob {
    TTaskRasterPool::Request request;
    enum State { kQueued, kDecoding, kDone } state = kQueued;
    // Made with malloc; owned by the job until taken. A job nobody wants
    // any more frees it when its helper lets go of it.
    BYTE* picture = nullptr;

    ~RasterJob() { free(picture); }
    bool Serves(const TTaskRasterPool::Request& other) const
    {
        return request.key == other.key && request.boxWidth == other.boxWidth &&
               request.boxHeight == other.boxHeight && request.fileKind == other.fileKind &&
               request.exifPreview == other.exifPreview && request.path == other.path;
    }
};

BYTE* MakeRequested(const TTaskRasterPool::Request& request)
{
    return MakeRasterThumbnail(request.path, request.fileKind, request.boxWidth, request.boxHeight,
                               request.exifPreview);
}

}  // namespace

// The jobs, under the lock the pool and its helpers share. It lives as long
// as the last of them, so a helper that outlives the pool's bounded wait
// touches nothing freed.
struct TTaskRasterPool::Shared {
    Shared()
    {
        InitializeCriticalSection(&lock);
        InitializeConditionVariable(&changed);
    }
    ~Shared() { DeleteCriticalSection(&lock); }
    Shared(const Shared&) = delete;
    Shared& operator=(const Shared&) = delete;

    size_t Find(const Request& request) const
    {
        for (size_t i = 0; i < jobs.size(); ++i)
            if (jobs[i]->Serves(request))
                return i;
        return jobs.size();
    }

    CRITICAL_SECTION lock;
    CONDITION_VARIABLE changed;
    bool quit = false;
    // Nearest first.
    std::vector<std::shared_ptr<RasterJob>> jobs;
};

namespace {

void RunHelper(TTaskRasterPool::Shared& shared)
{
    EnterCriticalSection(&shared.lock);
    while (!shared.quit) {
        std::shared_ptr<RasterJob> job;
        for (const std::shared_ptr<RasterJob>& queued : shared.jobs) {
            if (queued->state == RasterJob::kQueued) {
                job = queued;
                break;
            }
        }
        if (!job) {
            SleepConditionVariableCS(&shared.changed, &shared.lock, INFINITE);
            continue;
        }
        job->state = RasterJob::kDecoding;
        LeaveCriticalSection(&shared.lock);
        BYTE* picture = MakeRequested(job->request);
        EnterCriticalSection(&shared.lock);
        job->picture = picture;
        job->state = RasterJob::kDone;
        WakeAllConditionVariable(&shared.changed);
    }
    LeaveCriticalSection(&shared.lock);
}

// A helper's hold on the shared state.
using SharedHold = std::shared_ptr<TTaskRasterPool::Shared>;

// The thread takes over the hold it is given.
DWORD WINAPI HelperThread(void* parameter)
{
    std::unique_ptr<SharedHold> shared(static_cast<SharedHold*>(parameter));
    RunHelper(**shared);
    return 0;
}

// Up to `count` helpers on the shared state; the handles of those that
// started.
std::vector<HANDLE> StartHelpers(int count, const SharedHold& shared)
{
    std::vector<HANDLE> threads;
    for (int i = 0; i < count; ++i) {
        SharedHold* hold = new (std::nothrow) SharedHold(shared);
        if (!hold)
            break;
        HANDLE thread = CreateThread(nullptr, 0, HelperThread, hold, 0, nullptr);
        if (!thread) {
            delete hold;
            break;
        }
        threads.push_back(thread);
    }
    return threads;
}

}  // namespace

TTaskRasterPool::TTaskRasterPool(int helpers)
    : m_shared(std::make_shared<Shared>()), m_threads(StartHelpers(helpers, m_shared))
{
}

TTaskRasterPool::~TTaskRasterPool()
{
    EnterCriticalSection(&m_shared->lock);
    m_shared->quit = true;
    m_shared->jobs.clear();
    WakeAllConditionVariable(&m_shared->changed);
    LeaveCriticalSection(&m_shared->lock);
    if (!m_threads.empty())
        WaitForMultipleObjects(static_cast<DWORD>(m_threads.size()), m_threads.data(), TRUE, kEndWaitMs);
    for (HANDLE thread : m_threads)
        CloseHandle(thread);
}

void TTaskRasterPool::Ahead(const std::vector<Request>& requests)
{
    if (m_threads.empty())
        return;
    EnterCriticalSection(&m_shared->lock);
    std::vector<std::shared_ptr<RasterJob>> wanted;
    for (const Request& request : requests) {
        const size_t found = m_shared->Find(request);
        if (found < m_shared->jobs.size()) {
            wanted.push_back(m_shared->jobs[found]);
            m_shared->jobs.erase(m_shared->jobs.begin() + static_cast<std::ptrdiff_t>(found));
            continue;
        }
        std::shared_ptr<RasterJob> job(new (std::nothrow) RasterJob);
        if (!job)
            break;
        job->request = request;
        wanted.push_back(job);
    }
    m_shared->jobs.clear();
    m_shared->jobs.swap(wanted);
    WakeAllConditionVariable(&m_shared->changed);
    LeaveCriticalSection(&m_shared->lock);
}

BYTE* TTaskRasterPool::Make(const Request& request, const volatile BYTE& stop)
{
    EnterCriticalSection(&m_shared->lock);
    const size_t found = m_shared->Find(request);
    if (found == m_shared->jobs.size()) {
        LeaveCriticalSection(&m_shared->lock);
        return MakeRequested(request);
    }
    std::shared_ptr<RasterJob> job = m_shared->jobs[found];
    m_shared->jobs.erase(m_shared->jobs.begin() + static_cast<std::ptrdiff_t>(found));
    if (job->state == RasterJob::kQueued) {
        LeaveCriticalSection(&m_shared->lock);
        return MakeRequested(request);
    }
    while (job->state != RasterJob::kDone && !stop)
        SleepConditionVariableCS(&m_shared->changed, &m_shared->lock, kWaitSliceMs);
    BYTE* picture = nullptr;
    if (job->state == RasterJob::kDone)
        std::swap(picture, job->picture);
    LeaveCriticalSection(&m_shared->lock);
    return picture;
}

void TTaskRasterPool::Clear()
{
    EnterCriticalSection(&m_shared->lock);
    m_shared->jobs.clear();
    LeaveCriticalSection(&m_shared->lock);
}
