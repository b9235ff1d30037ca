#include "tests/support/gtest.h"

#include "drawing/draw_thread.h"

TEST(DrawThreadRequests, OpenFileReplacesThePendingRequestAndCancelsTheLoad)
{
    TDwgDrawThread thread;
    thread.OpenFile(1, "Z:\\a.dxf", 50, 50, false);
    EXPECT_EQ(DCMD_OPEN, thread.GetPendingCommand());
    thread.m_cancel = 0;
    thread.OpenFile(0, "Z:\\b.dwg", 0, 0, true);
    EXPECT_EQ(DCMD_OPEN_EXTENTS, thread.GetPendingCommand());
    EXPECT_EQ(1, thread.m_cancel);
    EXPECT_EQ(0, thread.m_current);
    EXPECT_STREQ("Z:\\b.dwg", thread.GetFilePath());
    EXPECT_EQ(0, thread.GetFileKind());
    // The request signalled the loop's event.
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread.GetEventHandle(), 0));
}

TEST(DrawThreadRequests, WakeWithNothingLoadedOnlyRunsOpenAndClose)
{
    TDwgDrawThread thread;
    thread.Wake(false);
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(thread.GetEventHandle(), 0));
    thread.Wake(true);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread.GetEventHandle(), 0));
}

TEST(DrawThreadRequests, StopRequestEndsTheLoop)
{
    TDwgDrawThread thread;
    ASSERT_TRUE(thread.Create());
    thread.m_stopRequest = 1;
    thread.Wake(true);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread.GetThreadHandle(), 5000));
}
