#include "drawing/image_block_supply.h"

#include <stdlib.h>

#include <deque>
#include <new>

namespace {

// Ready blocks kept at most, and the page step of the writes that make a
// block's memory present.
const size_t kMostReady = 256;
const size_t kPageBytes = 4096;
const DWORD kEndWaitMs = 10000;

}  // namespace

// The state the supply shares with its helpers; it lives as long as the
// last of them.
struct TImageBlockSupply::Shared {
    Shared()
    {
        InitializeCriticalSection(&lock);
        InitializeConditionVariable(&changed);
    }
    ~Shared()
    {
        FreeReady();
        DeleteCriticalSection(&lock);
    }
    void FreeReady()
    {
        for (BYTE* block : ready)
            free(block);
        ready.clear();
    }
    bool HasWork() const { return size > 0 && toMake > 0 && ready.size() + making < kMostReady; }

    CRITICAL_SECTION lock;
    CONDITION_VARIABLE changed;
    std::deque<BYTE*> ready;
    uint32_t size = 0;
    // Blocks still to make, and blocks the helpers are making now.
    int toMake = 0;
    size_t making = 0;
    bool quit = false;
};

namespace {

struct SupplyStart {
    std::shared_ptr<TImageBlockSupply::Shared> shared;
};

BYTE* NewTouchedBlock(uint32_t size)
{
    BYTE* block = static_cast<BYTE*>(malloc(size));
    if (!block)
        return nullptr;
    for (size_t at = 0; at < size; at += kPageBytes)
        block[at] = 0;
    block[size - 1] = 0;
    return block;
}

DWORD WINAPI RunSupplyHelper(void* parameter)
{
    std::shared_ptr<TImageBlockSupply::Shared> shared = static_cast<SupplyStart*>(parameter)->shared;
    delete static_cast<SupplyStart*>(parameter);
    EnterCriticalSection(&shared->lock);
    while (!shared->quit) {
        if (!shared->HasWork()) {
            SleepConditionVariableCS(&shared->changed, &shared->lock, INFINITE);
            continue;
        }
        const uint32_t size = shared->size;
        --shared->toMake;
        ++shared->making;
        LeaveCriticalSection(&shared->lock);
        BYTE* block = NewTouchedBlock(size);
        EnterCriticalSection(&shared->lock);
        --shared->making;
        if (block && size == shared->size && !shared->quit)
            shared->ready.push_back(block);
        else
            free(block);
    }
    LeaveCriticalSection(&shared->lock);
    return 0;
}

}  // namespace

TImageBlockSupply::TImageBlockSupply(int helpers) : m_shared(std::make_shared<Shared>())
{
    for (int i = 0; i < helpers; ++i) {
        SupplyStart* start = new (std::nothrow) SupplyStart{m_shared};
        if (!start)
            break;
        HANDLE thread = CreateThread(nullptr, 0, RunSupplyHelper, start, 0, nullptr);
        if (!thread) {
            delete start;
            break;
        }
        m_threads.push_back(thread);
    }
}

TImageBlockSupply::~TImageBlockSupply()
{
    EnterCriticalSection(&m_shared->lock);
    m_shared->quit = true;
    m_shared->FreeReady();
    WakeAllConditionVariable(&m_shared->changed);
    LeaveCriticalSection(&m_shared->lock);
    if (!m_threads.empty())
        WaitForMultipleObjects(static_cast<DWORD>(m_threads.size()), m_threads.data(), TRUE, kEndWaitMs);
    for (HANDLE thread : m_threads)
        CloseHandle(thread);
}

void TImageBlockSupply::Expect(uint32_t size, int count)
{
    if (m_threads.empty())
        return;
    EnterCriticalSection(&m_shared->lock);
    if (size != m_shared->size || count <= 0)
        m_shared->FreeReady();
    m_shared->size = count > 0 ? size : 0;
    m_shared->toMake = count > 0 ? count : 0;
    WakeAllConditionVariable(&m_shared->changed);
    LeaveCriticalSection(&m_shared->lock);
}

BYTE* TImageBlockSupply::Take(uint32_t size)
{
    BYTE* block = nullptr;
    EnterCriticalSection(&m_shared->lock);
    if (size == m_shared->size && !m_shared->ready.empty()) {
        block = m_shared->ready.front();
        m_shared->ready.pop_front();
        WakeAllConditionVariable(&m_shared->changed);
    }
    LeaveCriticalSection(&m_shared->lock);
    return block ? block : static_cast<BYTE*>(malloc(size));
}
