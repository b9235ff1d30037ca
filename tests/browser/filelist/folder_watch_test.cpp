#include "tests/support/gtest.h"

#include <string>

#include <windows.h>
#include <commctrl.h>

#include "browser/filelist/folder_watch_thread.h"
#include "core/appsw.h"
#include "drawing/library/lib_file_names.h"
#include "drawing/library/save_lib_thread.h"
#include "platform/base/file_replace.h"
#include "tests/support/message_log.h"
#include "tests/support/test_files.h"

namespace {

// What the stand-in list answers: the folder it shows and its view.
std::string s_shownFolder;
DWORD s_view = LV_VIEW_ICON;

// A list window as the watcher sees it: it answers the folder question
// and the view question, and nothing else.
LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GET_CURRENT_FOLDER) {
        lstrcpynA(reinterpret_cast<char*>(wParam), s_shownFolder.c_str(), MAX_PATH);
        return 1;
    }
    if (message == LVM_GETVIEW)
        return s_view;
    return DefWindowProcA(window, message, wParam, lParam);
}

class FolderWatch : public testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = ListProc;
        windowClass.hInstance = GetModuleHandleA(NULL);
        windowClass.lpszClassName = "WatchedList";
        RegisterClassA(&windowClass);
        m_list = CreateWindowA("WatchedList", "", WS_OVERLAPPED, 0, 0, 100, 100, NULL, NULL,
                               GetModuleHandleA(NULL), NULL);
        ASSERT_TRUE(m_log.Attach(m_list));
        m_folder = testfiles::MakeScratchFolder("watch");
        s_shownFolder = m_folder;
        s_view = LV_VIEW_ICON;
        AppSW.mode = APPMODE_BROWSE;
        AppSW.toQuit = 0;
    }

    void TearDown() override
    {
        m_watch.StopAllThreads();
        DestroyWindow(m_list);
        AppSW.mode = APPMODE_QUITTING;
    }

    // Starts watching the shown folder; true once the watcher asked for it.
    bool StartWatching()
    {
        if (!m_watch.Start(m_list))
            return false;
        m_watch.Rearm();
        bool asked = m_log.WaitFor(WM_GET_CURRENT_FOLDER, 3000);
        testwin::PumpMessages(100);
        m_log.Clear();
        return asked;
    }

    bool NoticeArrives() { return m_log.WaitFor(WM_FOLDER_CONTENT_CHANGED, 3000); }

    std::string FilePath(const char* name) const { return m_folder + "\\" + name; }

    testwin::MessageLog m_log{{WM_GET_CURRENT_FOLDER, WM_FOLDER_CONTENT_CHANGED, WM_TIMER}};
    CFolderWatch m_watch;
    HWND m_list = NULL;
    std::string m_folder;
};

TEST_F(FolderWatch, CreatingRenamingAndDeletingFilesAreNoticed)
{
    ASSERT_TRUE(StartWatching());

    ASSERT_TRUE(testfiles::WriteFileBytes(FilePath("a.dxf"), "0\nEOF\n"));
    ASSERT_TRUE(NoticeArrives());
    EXPECT_EQ(1, m_log.Entries().back().lParam);

    testwin::PumpMessages(200);
    m_log.Clear();
    ASSERT_TRUE(MoveFileA(FilePath("a.dxf").c_str(), FilePath("图纸.dxf").c_str()));
    ASSERT_TRUE(NoticeArrives());

    testwin::PumpMessages(200);
    m_log.Clear();
    ASSERT_TRUE(DeleteFileA(FilePath("图纸.dxf").c_str()));
    ASSERT_TRUE(NoticeArrives());
}

TEST_F(FolderWatch, SizeChangesAreNoticedOnlyInReportView)
{
    ASSERT_TRUE(testfiles::WriteFileBytes(FilePath("b.dxf"), "0\n"));
    ASSERT_TRUE(StartWatching());
    ASSERT_TRUE(testfiles::WriteFileBytes(FilePath("b.dxf"), "0\nSECTION\n0\nEOF\n"));
    testwin::PumpMessages(500);
    EXPECT_EQ(0u, m_log.Count(WM_FOLDER_CONTENT_CHANGED));

    s_view = LV_VIEW_DETAILS;
    ASSERT_TRUE(StartWatching());
    ASSERT_TRUE(testfiles::WriteFileBytes(FilePath("b.dxf"), "0\nSECTION\n0\nENDSEC\n0\nEOF\n"));
    EXPECT_TRUE(NoticeArrives());
}

// The library writer's own files pass unnoticed while it writes; a file
// another program makes meanwhile is still noticed.
TEST_F(FolderWatch, TheCacheLibraryWriterStaysUnnoticedButNotWhatOthersMakeMeanwhile)
{
    ASSERT_TRUE(StartWatching());
    CString library;
    MakeFolderLibPath(m_folder.c_str(), false, library);
    LibWriting = 1;
    ASSERT_EQ(ReplaceFileDone, ReplaceFileWithBytes(library, "library", 7));
    testwin::PumpMessages(500);
    EXPECT_EQ(0u, m_log.Count(WM_FOLDER_CONTENT_CHANGED));

    ASSERT_EQ(ReplaceFileDone, ReplaceFileWithBytes(library, "library 2", 9));
    ASSERT_TRUE(testfiles::WriteFileBytes(FilePath("made meanwhile.dxf"), "0\n"));
    EXPECT_TRUE(NoticeArrives());
    LibWriting = 0;
}

// A folder that cannot be watched leaves the watcher waiting for the next
// folder; a new folder ends the watch of the old one.
TEST_F(FolderWatch, RearmingFollowsTheShownFolder)
{
    std::string old = m_folder;
    s_shownFolder = m_folder + "\\missing";
    ASSERT_TRUE(StartWatching());
    m_folder = testfiles::MakeScratchFolder("watch-other");
    s_shownFolder = m_folder;
    ASSERT_TRUE(StartWatching());

    ASSERT_TRUE(testfiles::WriteFileBytes(old + "\\old.dxf", "0\n"));
    testwin::PumpMessages(500);
    EXPECT_EQ(0u, m_log.Count(WM_FOLDER_CONTENT_CHANGED));
    ASSERT_TRUE(testfiles::WriteFileBytes(FilePath("new.dxf"), "0\n"));
    EXPECT_TRUE(NoticeArrives());
}

TEST_F(FolderWatch, StoppingEndsTheWatcherAndANewOneWatchesAgain)
{
    ASSERT_TRUE(StartWatching());
    HANDLE thread = NULL;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), m_watch.GetThreadHandle(), GetCurrentProcess(),
                                &thread, 0, FALSE, DUPLICATE_SAME_ACCESS));
    DWORD start = GetTickCount();
    m_watch.StopAllThreads();
    EXPECT_LT(GetTickCount() - start, 1500u);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 0));
    EXPECT_EQ(0, m_watch.GetWatchCount());
    CloseHandle(thread);

    ASSERT_TRUE(StartWatching());
    ASSERT_TRUE(testfiles::WriteFileBytes(FilePath("d.dxf"), "0\n"));
    EXPECT_TRUE(NoticeArrives());
}

// The stop comes while the watcher asks this thread for the folder: the
// stop answers it while waiting, so the watcher ends at once.
TEST_F(FolderWatch, StoppingWhileTheWatcherAsksForTheFolder)
{
    ASSERT_TRUE(StartWatching());
    DWORD start = GetTickCount();
    m_watch.Rearm();
    m_watch.StopAllThreads();
    EXPECT_LT(GetTickCount() - start, 1500u);
    EXPECT_EQ(1u, m_log.Count(WM_GET_CURRENT_FOLDER));
    EXPECT_EQ(0, m_watch.GetWatchCount());
}

TEST_F(FolderWatch, NoticesGatherIntoOneDelayedRefresh)
{
    ASSERT_TRUE(m_watch.Start(m_list));
    EXPECT_FALSE(m_watch.OnFolderChanged(1));
    EXPECT_FALSE(m_watch.OnFolderChanged(1));
    EXPECT_TRUE(m_watch.IsRefreshPending());
    // A notice from the tree rebuilds at once.
    EXPECT_TRUE(m_watch.OnFolderChanged(0));

    // The timer fires on the list window, once for the burst.
    ASSERT_TRUE(m_log.WaitFor(WM_TIMER, 5000));
    EXPECT_EQ(kFolderRefreshTimerId, m_log.Entries()[0].wParam);
    EXPECT_TRUE(m_watch.OnRefreshTimer());
    EXPECT_FALSE(m_watch.IsRefreshPending());
    testwin::PumpMessages(300);
    EXPECT_EQ(1u, m_log.Count(WM_TIMER));

    // A new folder drops the refresh still pending for the old one.
    EXPECT_FALSE(m_watch.OnFolderChanged(1));
    m_watch.Rearm();
    EXPECT_FALSE(m_watch.IsRefreshPending());
    testwin::PumpMessages(300);
    EXPECT_EQ(1u, m_log.Count(WM_TIMER));

    // In view mode the notices are ignored.
    AppSW.mode = APPMODE_VIEW;
    EXPECT_FALSE(m_watch.OnFolderChanged(0));
    EXPECT_FALSE(m_watch.OnFolderChanged(1));
    EXPECT_FALSE(m_watch.IsRefreshPending());
}

}  // namespace
