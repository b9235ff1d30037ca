#include "tests/support/gtest.h"

#include <vector>

#include "core/appsw.h"
#include "drawing/common/common_thread.h"
#include "drawing/common/draw_messages.h"
#include "tests/support/message_log.h"

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
        while (WaitForSingleObject(request, 5000) == WAIT_OBJECT_0 && !IsStopRequested()) {
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

    HANDLE GetIdleEvent() const override { return posted; }
    void OnStopRequested() override { SetEvent(request); }

    HANDLE request;
    HANDLE posted;
};

// Spins until the worker thread is inside its body (idle cleared).
bool WaitUntilRunning(CDrawCommonThread& worker)
{
    for (int i = 0; i < 500 && worker.IsIdle(); ++i)
        Sleep(10);
    return !worker.IsIdle();
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
    EXPECT_TRUE(worker.Stop(5000));
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
    worker.SetNotifyEnabled(false);
    ASSERT_TRUE(worker.PostOnce());
    EXPECT_FALSE(MessageArrived());

    worker.SetNotifyEnabled(true);
    DestroyWindow(window);
    ASSERT_TRUE(worker.PostOnce());
    // The worker keeps running after the window went away.
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(worker.GetThreadHandle(), 0));
    EXPECT_TRUE(worker.Stop(5000));
}

TEST_F(WorkerThreadTest, IdleFollowsSuspendAndResume)
{
    PostingWorker worker;
    EXPECT_TRUE(worker.IsIdle());
    ASSERT_TRUE(worker.Create());
    ASSERT_TRUE(WaitUntilRunning(worker));

    worker.Suspend();
    EXPECT_TRUE(worker.IsIdle());
    worker.Resume();
    EXPECT_FALSE(worker.IsIdle());

    worker.Suspend();
    worker.Suspend();
    worker.Resume();
    EXPECT_TRUE(worker.IsIdle());
    worker.Resume();
    EXPECT_FALSE(worker.IsIdle());

    // A resume of a running thread changes nothing.
    EXPECT_EQ(0u, worker.Resume());
    EXPECT_FALSE(worker.IsIdle());
    EXPECT_TRUE(worker.Stop(5000));
}

TEST_F(WorkerThreadTest, IdleAndSignalledAfterRunReturns)
{
    PostingWorker worker;
    ASSERT_TRUE(worker.Create());
    ASSERT_TRUE(WaitUntilRunning(worker));
    EXPECT_TRUE(worker.Stop(5000));
    EXPECT_TRUE(worker.HasEnded());
    EXPECT_TRUE(worker.IsIdle());
}

namespace {

// A worker whose one piece of work posts a notice, then sends one to its
// window, then holds on until it is cancelled (or, stubborn, for ever).
class BusyWorker : public CDrawCommonThread {
public:
    explicit BusyWorker(bool stubborn)
        : m_stubborn(stubborn),
          m_idle(CreateEventA(NULL, TRUE, TRUE, NULL)),
          m_go(CreateEventA(NULL, FALSE, FALSE, NULL)),
          m_cancelled(CreateEventA(NULL, TRUE, FALSE, NULL)),
          m_sending(CreateEventA(NULL, TRUE, FALSE, NULL))
    {
    }
    ~BusyWorker()
    {
        for (HANDLE event : {m_idle, m_go, m_cancelled, m_sending})
            CloseHandle(event);
    }

    DWORD Run() override
    {
        while (WaitForSingleObject(m_go, 10000) == WAIT_OBJECT_0 && !IsStopRequested()) {
            // Taken first: a stop clears the notify window.
            HWND window = GetNotifyWnd();
            PostNotify(window, WM_DRAW_DONE, 1, 0);
            SetEvent(m_sending);
            SendMessageA(window, WM_DRAW_PROGRESS, 50, 0);
            WaitForSingleObject(m_cancelled, m_stubborn ? INFINITE : 10000);
            ResetEvent(m_cancelled);
            SetEvent(m_idle);
        }
        return 0;
    }

    // Starts the work and returns once the worker is about to send.
    bool Begin()
    {
        ResetEvent(m_idle);
        ResetEvent(m_sending);
        SetEvent(m_go);
        return WaitForSingleObject(m_sending, 5000) == WAIT_OBJECT_0;
    }

protected:
    HANDLE GetIdleEvent() const override { return m_idle; }
    void OnCancel() override
    {
        if (!m_stubborn)
            SetEvent(m_cancelled);
    }
    void OnStopRequested() override { SetEvent(m_go); }

private:
    bool m_stubborn;
    HANDLE m_idle;
    HANDLE m_go;
    HANDLE m_cancelled;
    HANDLE m_sending;
};

class WorkerControlTest : public testing::Test {
protected:
    void SetUp() override
    {
        AppSW.mode = APPMODE_BROWSE;
        m_window = m_log.CreateRecorder();
        ASSERT_NE(nullptr, m_window);
    }
    void TearDown() override { AppSW.mode = APPMODE_QUITTING; }

    void Start(BusyWorker& worker)
    {
        worker.SetNotifyWnd(m_window);
        ASSERT_TRUE(worker.Create());
        ASSERT_TRUE(worker.Begin());
    }
    // The send was answered; the posted notice was thrown away unhandled.
    void ExpectSendAnsweredAndPostDropped()
    {
        EXPECT_EQ(std::vector<UINT>{WM_DRAW_PROGRESS}, m_log.Messages());
        MSG message;
        EXPECT_FALSE(PeekMessageA(&message, m_window, WM_THUMB_FIRST, WM_THUMB_LAST, PM_NOREMOVE));
    }

    testwin::MessageLog m_log{{WM_DRAW_DONE, WM_DRAW_PROGRESS}};
    HWND m_window = NULL;
};

}  // namespace

TEST_F(WorkerControlTest, ACancelledWorkerIsWaitedForWhileItsSendIsAnswered)
{
    BusyWorker worker(false);
    Start(worker);
    worker.CancelCurrent();
    EXPECT_TRUE(worker.WaitIdle(10000, m_window));
    ExpectSendAnsweredAndPostDropped();
    // The notices are on again after the wait: the next post arrives.
    ASSERT_TRUE(worker.Begin());
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, m_window, WM_DRAW_DONE, WM_DRAW_DONE, PM_NOREMOVE));
    worker.CancelCurrent();
    EXPECT_TRUE(worker.WaitIdle(10000, m_window));
    EXPECT_TRUE(worker.Stop(5000));
}

TEST_F(WorkerControlTest, AWorkerBlockedInASendStopsAndItsPostedNoticesAreDropped)
{
    BusyWorker worker(false);
    Start(worker);
    EXPECT_TRUE(worker.Stop(5000));
    EXPECT_TRUE(worker.HasEnded());
    ExpectSendAnsweredAndPostDropped();
}

TEST_F(WorkerControlTest, AWorkerThatHoldsOnEndsTheWaitAtItsBoundAndIsEndedByStop)
{
    BusyWorker worker(true);
    Start(worker);
    worker.CancelCurrent();
    EXPECT_FALSE(worker.WaitIdle(200, m_window));
    EXPECT_FALSE(worker.Stop(200));
    EXPECT_TRUE(worker.HasEnded());
    ExpectSendAnsweredAndPostDropped();
}
