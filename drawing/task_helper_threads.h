// Helper threads that work beside a thumbnail thread on a state they share
// with it. The state lives as long as the last of its users, so a helper
// that outlives its owner's bounded wait touches nothing freed.
#pragma once
#include <windows.h>

#include <memory>
#include <new>
#include <vector>

// The lock and the condition of a shared state, and its end.
struct THelperState {
    THelperState()
    {
        InitializeCriticalSection(&lock);
        InitializeConditionVariable(&changed);
    }
    ~THelperState() { DeleteCriticalSection(&lock); }
    THelperState(const THelperState&) = delete;
    THelperState& operator=(const THelperState&) = delete;

    CRITICAL_SECTION lock;
    CONDITION_VARIABLE changed;
    bool quit = false;
};

template <class State>
struct THelperStart {
    std::shared_ptr<State> state;
    void (*run)(State&);
};

template <class State>
DWORD WINAPI RunHelperThread(void* parameter)
{
    THelperStart<State>* start = static_cast<THelperStart<State>*>(parameter);
    const std::shared_ptr<State> state = start->state;
    void (*run)(State&) = start->run;
    delete start;
    run(*state);
    return 0;
}

// Starts up to `count` threads running `run` on the state; the handles of
// those that started.
template <class State>
std::vector<HANDLE> StartHelperThreads(int count, const std::shared_ptr<State>& state, void (*run)(State&))
{
    std::vector<HANDLE> threads;
    for (int i = 0; i < count; ++i) {
        THelperStart<State>* start = new (std::nothrow) THelperStart<State>{state, run};
        if (!start)
            break;
        HANDLE thread = CreateThread(nullptr, 0, RunHelperThread<State>, start, 0, nullptr);
        if (!thread) {
            delete start;
            break;
        }
        threads.push_back(thread);
    }
    return threads;
}

// Tells the helpers to end (after `letGo`, under the lock), waits for them
// at most timeoutMs and closes their handles.
template <class State, class LetGo>
void EndHelperThreads(State& state, std::vector<HANDLE>& threads, DWORD timeoutMs, LetGo letGo)
{
    EnterCriticalSection(&state.lock);
    state.quit = true;
    letGo();
    WakeAllConditionVariable(&state.changed);
    LeaveCriticalSection(&state.lock);
    if (!threads.empty())
        WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, timeoutMs);
    for (HANDLE thread : threads)
        CloseHandle(thread);
    threads.clear();
}
