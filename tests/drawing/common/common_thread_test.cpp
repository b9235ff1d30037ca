#include "tests/support/gtest.h"

#include "core/appsw.h"
#include "drawing/common/common_thread.h"

namespace {

const UINT kTestMessage = WM_APP + 7;

// A worker that posts one message to its notify window when told to, then
// waits for the next request or the stop request.
class PostingWorker : public CDrawCommonThread {
public:
    PostingWorker() : request(CreateEventA(NULL, FALSE, FALSE, NULL)), posted(CreateEventA(NULL, FALSE, FALSE, NULL)) {}
    ~PostingWorker()
    {
        CloseHandle(request);
        CloseHandle(posted);
    }

    DWORD Run() override
    {
        while (WaitForSingleObject(request, 5000) == WAIT_OBJECT_0 && !m_stopRequest) {
            PostNotify(GetNotifyWnd(), kTestMessage, 1, 2);
            SetEvent(posted);
        }
        return 0;
    }

    bool PostOnce()
    {
        SetEvent(request);
        return WaitForSingleObject(posted, 5000) == WAIT_OBJECT_0;
    }

    void Stop()
    {
        m_stopRequest = 1;
        SetEvent(request);
        WaitForSingleObject(GetThreadHandle(), 5000);
    }

    HANDLE request;
    HANDLE posted;
};

// Spins until the worker thread is inside its body (idle cleared).
bool WaitUntilRunning(CDrawCommonThread& worker)
{
    for (int i = 0; i < 500 && worker.m_idle; ++i)
        Sleep(10);
    return !worker.m_idle;
}

class WorkerThreadTest : public testing::Test {
protected:
    void SetUp() override
    {
        AppSW.mode = APPMODE_BROWSE;
        window = CreateWindowA("STATIC", "notify", 0, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        ASSERT_NE(nullptr, window);
    }
    void TearDown() override
    {
        if (IsWindow(window))
            DestroyWindow(window);
        AppSW.mode = APPMODE_QUITTING;
    }

    bool MessageArrived()
    {
        MSG message;
        return PeekMessageA(&message, window, kTestMessage, kTestMessage, PM_REMOVE) != 0;
    }

    HWND window = NULL;
};

}  // namespace

TEST_F(WorkerThreadTest, PostsToItsWindowWhileTheProgramRuns)
{
    PostingWorker worker;
    worker.SetNotifyWnd(window);
    ASSERT_TRUE(worker.Create());
    ASSERT_TRUE(worker.PostOnce());
    EXPECT_TRUE(MessageArrived());
    worker.Stop();
}

TEST_F(WorkerThreadTest, DropsMessagesWhenQuittingOrSilencedOrTheWindowIsGone)
{
    PostingWorker worker;
    worker.SetNotifyWnd(window);
    ASSERT_TRUE(worker.Create());

    AppSW.mode = APPMODE_QUITTING;
    ASSERT_TRUE(worker.PostOnce());
    EXPECT_FALSE(MessageArrived());

    AppSW.mode = APPMODE_VIEW;
    worker.m_notifyEnabled = 0;
    ASSERT_TRUE(worker.PostOnce());
    EXPECT_FALSE(MessageArrived());

    worker.m_notifyEnabled = 1;
    DestroyWindow(window);
    ASSERT_TRUE(worker.PostOnce());
    // The worker keeps running after the window went away.
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(worker.GetThreadHandle(), 0));
    worker.Stop();
}

TEST_F(WorkerThreadTest, IdleFollowsSuspendAndResume)
{
    PostingWorker worker;
    EXPECT_EQ(1, worker.m_idle);
    ASSERT_TRUE(worker.Create());
    ASSERT_TRUE(WaitUntilRunning(worker));

    worker.Suspend();
    EXPECT_EQ(1, worker.m_idle);
    worker.Resume();
    EXPECT_EQ(0, worker.m_idle);

    worker.Suspend();
    worker.Suspend();
    worker.Resume();
    EXPECT_EQ(1, worker.m_idle);
    worker.Resume();
    EXPECT_EQ(0, worker.m_idle);

    // A resume of a running thread changes nothing.
    EXPECT_EQ(0u, worker.Resume());
    EXPECT_EQ(0, worker.m_idle);
    worker.Stop();
}

TEST_F(WorkerThreadTest, IdleAndSignalledAfterRunReturns)
{
    PostingWorker worker;
    ASSERT_TRUE(worker.Create());
    ASSERT_TRUE(WaitUntilRunning(worker));
    worker.Stop();
    EXPECT_TRUE(worker.HasEnded());
    EXPECT_EQ(1, worker.m_idle);
}
