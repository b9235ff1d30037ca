#include "tests/support/gtest.h"

#include "browser/filelist/shell_list.h"
#include "core/appsw.h"
#include "drawing/task_manage_thread.h"

TEST(ShellList, StoppingAnIdleTaskThreadOnlySilencesIt)
{
    TTaskManageThread thread;
    AppSW.taskThread = &thread;
    CIEShellListCtrl list;
    DWORD start = GetTickCount();
    list.StopCurrentTask();
    EXPECT_LT(GetTickCount() - start, 100u);
    EXPECT_EQ(0, thread.m_notifyEnabled);
    EXPECT_EQ(1, thread.m_current);
    AppSW.taskThread = NULL;
}
