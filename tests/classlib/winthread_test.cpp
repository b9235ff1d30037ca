// Threads: workers started with AfxBeginThread, user-interface threads of
// a class with their own loop, and exceptions that must not leave a thread.
#include "tests/support/gtest.h"
#include <stdexcept>
#include "platform/classlib/classlib.h"

namespace {

struct WorkerData {
    HANDLE done;
    LONG runs;
    CWinThread* seenThread;
};

UINT CountingWorker(LPVOID param)
{
    WorkerData* data = static_cast<WorkerData*>(param);
    InterlockedIncrement(&data->runs);
    data->seenThread = AfxGetThread();
    SetEvent(data->done);
    return 17;
}

UINT ThrowingWorker(LPVOID)
{
    throw std::runtime_error("worker failed");
}

TEST(WorkerThread, RunsTheFunctionAndEndsWithItsResult)
{
    WorkerData data = {CreateEventA(nullptr, TRUE, FALSE, nullptr), 0, nullptr};
    CWinThread* thread = AfxBeginThread(CountingWorker, &data, THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, thread);
    thread->m_bAutoDelete = FALSE;
    EXPECT_NE(0u, thread->m_nThreadID);
    EXPECT_EQ(THREAD_PRIORITY_BELOW_NORMAL, thread->GetThreadPriority());
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(data.done, 50));
    thread->ResumeThread();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread->m_hThread, 5000));
    DWORD code = 0;
    GetExitCodeThread(thread->m_hThread, &code);
    EXPECT_EQ(17u, code);
    EXPECT_EQ(1, data.runs);
    EXPECT_EQ(thread, data.seenThread);
    delete thread;
    CloseHandle(data.done);
}

TEST(WorkerThread, AutoDeletingThreadsNeedNoCare)
{
    WorkerData data = {CreateEventA(nullptr, TRUE, FALSE, nullptr), 0, nullptr};
    for (int i = 0; i < 20; ++i) {
        ResetEvent(data.done);
        ASSERT_NE(nullptr, AfxBeginThread(CountingWorker, &data));
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(data.done, 5000));
    }
    EXPECT_EQ(20, data.runs);
    CloseHandle(data.done);
}

TEST(WorkerThread, ExceptionEndsOnlyTheThread)
{
    CWinThread* thread = AfxBeginThread(ThrowingWorker, nullptr, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, thread);
    thread->m_bAutoDelete = FALSE;
    thread->ResumeThread();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread->m_hThread, 5000));
    DWORD code = 0;
    GetExitCodeThread(thread->m_hThread, &code);
    EXPECT_EQ((DWORD)-1, code);
    delete thread;
}

const UINT WM_TEST_WORK = WM_APP + 60;

class CTestUiThread : public CWinThread {
    DECLARE_DYNCREATE(CTestUiThread)
public:
    static HANDLE ready;
    static LONG workDone;

    BOOL InitInstance() override
    {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists from here
        SetEvent(ready);
        return TRUE;
    }
    int ExitInstance() override { return CWinThread::ExitInstance() + 100; }

protected:
    afx_msg void OnWork(WPARAM wParam, LPARAM)
    {
        InterlockedExchange(&workDone, (LONG)wParam);
        PostQuitMessage(5);
    }
    DECLARE_MESSAGE_MAP()
};

HANDLE CTestUiThread::ready = nullptr;
LONG CTestUiThread::workDone = 0;

IMPLEMENT_DYNCREATE(CTestUiThread, CWinThread)

BEGIN_MESSAGE_MAP(CTestUiThread, CWinThread)
    ON_THREAD_MESSAGE(WM_TEST_WORK, &CTestUiThread::OnWork)
END_MESSAGE_MAP()

TEST(UserInterfaceThread, RunsItsLoopAndHandlesThreadMessages)
{
    CTestUiThread::ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CWinThread* thread =
        AfxBeginThread(RUNTIME_CLASS(CTestUiThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, thread);
    thread->m_bAutoDelete = FALSE;
    thread->ResumeThread();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(CTestUiThread::ready, 5000));
    EXPECT_TRUE(thread->PostThreadMessage(WM_TEST_WORK, 9, 0));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread->m_hThread, 5000));
    DWORD code = 0;
    GetExitCodeThread(thread->m_hThread, &code);
    EXPECT_EQ(105u, code);
    EXPECT_EQ(9, CTestUiThread::workDone);
    delete thread;
    CloseHandle(CTestUiThread::ready);
}

TEST(UserInterfaceThread, ClassThatIsNoThreadIsRefused)
{
    EXPECT_EQ(nullptr, AfxBeginThread(RUNTIME_CLASS(CWnd)));
}

}  // namespace
