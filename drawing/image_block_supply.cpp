#include "drawing/image_block_supply.h"

#include <stdlib.h>

#include <unordered_map>
#include <unordered_set>

#include "drawing/library_source.h"
#include "drawing/task_helper_threads.h"

namespace {

// Blocks read ahead and not yet taken, at most.
const size_t kMostReady = 256;
const DWORD kEndWaitMs = 10000;
// How long a look-up waits for the image a helper is reading, at most.
const DWORD kTakeWaitMs = 1000;

}  // namespace

// The state the supply shares with its helpers.
struct TImageBlockSupply::Shared : THelperState {
    ~Shared() { FreeReady(); }
    void FreeReady()
    {
        for (auto& entry : ready)
            free(entry.second);
        ready.clear();
    }
    bool HasWork() const { return next < spans.size() && ready.size() + reading.size() < kMostReady; }

    // Each Expect and Stop starts a new generation: a helper reopens the
    // file, and what it read for an earlier one is dropped.
    uint64_t generation = 0;
    CString path;
    std::shared_ptr<CLibrarySource> source;
    std::vector<Span> spans;
    std::unordered_map<uint64_t, size_t> spanAt;
    size_t next = 0;
    // The offsets the helpers are reading now.
    std::unordered_set<uint64_t> reading;
    // Handles the helpers hold on a library file.
    int openFiles = 0;
    // Read blocks by their offset in the file.
    std::unordered_map<uint64_t, BYTE*> ready;
};

namespace {

// The helper's own handle on the generation's file: the source's own file,
// or none.
HANDLE OpenSameFile(const CString& path, const std::shared_ptr<CLibrarySource>& source)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return INVALID_HANDLE_VALUE;
    if (!source || !source->IsSameFile(file)) {
        CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

BYTE* ReadBlock(HANDLE file, const TImageBlockSupply::Span& span)
{
    BYTE* block = static_cast<BYTE*>(malloc(span.size));
    if (!block)
        return nullptr;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(span.offset);
    DWORD read = 0;
    if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN) || !ReadFile(file, block, span.size, &read, nullptr) ||
        read != span.size) {
        free(block);
        return nullptr;
    }
    return block;
}

void RunSupplyHelper(TImageBlockSupply::Shared& shared)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    uint64_t fileGeneration = 0;
    EnterCriticalSection(&shared.lock);
    while (!shared.quit) {
        // The file of an earlier generation is let go at once, so that it
        // can be replaced or deleted.
        if (file != INVALID_HANDLE_VALUE && fileGeneration != shared.generation) {
            LeaveCriticalSection(&shared.lock);
            CloseHandle(file);
            file = INVALID_HANDLE_VALUE;
            EnterCriticalSection(&shared.lock);
            --shared.openFiles;
            WakeAllConditionVariable(&shared.changed);
            continue;
        }
        if (!shared.HasWork() || (fileGeneration == shared.generation && file == INVALID_HANDLE_VALUE)) {
            SleepConditionVariableCS(&shared.changed, &shared.lock, INFINITE);
            continue;
        }
        if (fileGeneration != shared.generation) {
            const CString path = shared.path;
            const std::shared_ptr<CLibrarySource> source = shared.source;
            fileGeneration = shared.generation;
            ++shared.openFiles;
            LeaveCriticalSection(&shared.lock);
            file = OpenSameFile(path, source);
            EnterCriticalSection(&shared.lock);
            if (file == INVALID_HANDLE_VALUE) {
                --shared.openFiles;
                WakeAllConditionVariable(&shared.changed);
            }
            continue;
        }
        const TImageBlockSupply::Span span = shared.spans[shared.next++];
        shared.reading.insert(span.offset);
        LeaveCriticalSection(&shared.lock);
        BYTE* block = ReadBlock(file, span);
        EnterCriticalSection(&shared.lock);
        shared.reading.erase(span.offset);
        if (block && fileGeneration == shared.generation && !shared.quit &&
            shared.ready.emplace(span.offset, block).second)
            block = nullptr;
        free(block);
        WakeAllConditionVariable(&shared.changed);
    }
    LeaveCriticalSection(&shared.lock);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        EnterCriticalSection(&shared.lock);
        --shared.openFiles;
        WakeAllConditionVariable(&shared.changed);
        LeaveCriticalSection(&shared.lock);
    }
}

}  // namespace

TImageBlockSupply::TImageBlockSupply(int helpers)
    : m_shared(std::make_shared<Shared>()), m_threads(StartHelperThreads(helpers, m_shared, RunSupplyHelper))
{
}

TImageBlockSupply::~TImageBlockSupply()
{
    EndHelperThreads(*m_shared, m_threads, kEndWaitMs, [this] { m_shared->FreeReady(); });
}

void TImageBlockSupply::Expect(const char* path, const std::shared_ptr<CLibrarySource>& source,
                               std::vector<Span> spans)
{
    if (m_threads.empty())
        return;
    std::unordered_map<uint64_t, size_t> spanAt;
    for (size_t i = 0; i < spans.size(); ++i)
        spanAt.emplace(spans[i].offset, i);
    EnterCriticalSection(&m_shared->lock);
    ++m_shared->generation;
    m_shared->FreeReady();
    m_shared->path = path;
    m_shared->source = source;
    m_shared->spans.swap(spans);
    m_shared->spanAt.swap(spanAt);
    m_shared->next = 0;
    WakeAllConditionVariable(&m_shared->changed);
    LeaveCriticalSection(&m_shared->lock);
}

void TImageBlockSupply::Stop()
{
    Expect("", nullptr, std::vector<Span>());
    // The helpers let go of the file before the library is written or
    // deleted.
    const ULONGLONG start = GetTickCount64();
    EnterCriticalSection(&m_shared->lock);
    while (m_shared->openFiles > 0 && GetTickCount64() - start < kEndWaitMs)
        SleepConditionVariableCS(&m_shared->changed, &m_shared->lock, kEndWaitMs);
    LeaveCriticalSection(&m_shared->lock);
}

BYTE* TImageBlockSupply::Take(uint64_t offset, uint32_t size)
{
    BYTE* block = nullptr;
    const ULONGLONG start = GetTickCount64();
    EnterCriticalSection(&m_shared->lock);
    const uint64_t generation = m_shared->generation;
    auto at = m_shared->spanAt.find(offset);
    if (at != m_shared->spanAt.end() && m_shared->spans[at->second].size == size) {
        const size_t index = at->second;
        // A helper reading this very image finishes it soon.
        while (m_shared->reading.count(offset) && generation == m_shared->generation &&
               GetTickCount64() - start < kTakeWaitMs)
            SleepConditionVariableCS(&m_shared->changed, &m_shared->lock, kTakeWaitMs);
        auto found = m_shared->ready.find(offset);
        if (found != m_shared->ready.end()) {
            block = found->second;
            m_shared->ready.erase(found);
        } else if (generation == m_shared->generation) {
            // The look-ups jumped (another first row in view, or round to
            // the top): the reading goes on after this image, and what was
            // read for the others is dropped.
            m_shared->FreeReady();
            m_shared->next = index + 1;
        }
        WakeAllConditionVariable(&m_shared->changed);
    }
    LeaveCriticalSection(&m_shared->lock);
    return block;
}
