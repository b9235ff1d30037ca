// Times the file list in thumbnail view, from WM_SHOW_FOLDER's work
// (BrowseToPath) on, with a timer posted every 10 ms whose longest gap
// between two processed ticks says how long the UI thread was blocked while
// the thumbnails were made. The peers (ls -l, vipsthumbnail on the same
// files) are timed by run_bench.sh in the same run.
//
//   list_bench.exe revisit <folder> <cache folder> <count>
//       a folder of files whose thumbnails are in the folder's library (a
//       second visit): every row listed, and the last thumbnail
//   list_bench.exe photos <folder> <cache folder>
//       a folder of photos seen for the first time: the first screenful of
//       thumbnails shown, and all of them
#include "platform/classlib/classlib.h"

#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "bench/thumbnail_setup.h"
#include "browser/filelist/file_list_view.h"
#include "core/appsw.h"
#include "core/preference.h"
#include "drawing/common/draw_messages.h"
#include "drawing/thumbnails/task_manage_thread.h"
#include "graphics/kbmp.h"

namespace {

const UINT_PTR kTickTimer = 7;
const double kTimeLimit = 300;

// The list in a window of its own, with its task thread.
class CBenchList {
public:
    CBenchList()
    {
        m_thread.Create();
        m_frame.CreateEx(0, AfxRegisterWndClass(0), "bench", WS_POPUP | WS_VISIBLE, 0, 0, 1000, 700, nullptr,
                         nullptr);
        m_pane.GetList().SetTaskThread(&m_thread);
        m_pane.Create(&m_frame);
        m_pane.MoveWindow(0, 0, 1000, 700);
        List().SetViewType(VIEWTYPE_THUMBNAILS);
    }
    ~CBenchList()
    {
        List().StopCurrentTask();
        StopTaskThread(m_thread);
        m_pane.DestroyWindow();
        m_frame.DestroyWindow();
    }
    CIEShellListCtrl& List() { return m_pane.GetList(); }

private:
    TTaskManageThread m_thread;
    CWnd m_frame;
    CFileListView m_pane;
};

// The rows whose cells the list shows without scrolling. The cells are laid
// out row after row, so the search ends at the first one below the view:
// asking for the bounds of every row (each a label layout) would cost the
// benchmark itself seconds on a large folder.
std::vector<int> RowsInView(CIEShellListCtrl& list)
{
    CRect client;
    list.GetClientRect(&client);
    std::vector<int> rows;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        CRect cell;
        if (!list.GetItemRect(row, &cell, LVIR_BOUNDS))
            continue;
        if (cell.top >= client.bottom)
            break;
        if (cell.bottom > 0)
            rows.push_back(row);
    }
    return rows;
}

bool HaveThumbnails(CIEShellListCtrl& list, const std::vector<int>& rows)
{
    for (int row : rows) {
        CShellItemData* record = (CShellItemData*)list.GetItemExtData(row);
        if (!record || !record->pThumbnail)
            return false;
    }
    return true;
}

// Runs the list's messages until every row has its thumbnail; notes when the
// rows in view had theirs and the longest gap between two timer ticks.
struct Timeline {
    double listed = -1;
    double firstScreen = -1;
    double last = -1;
    double longestGap = 0;
    // The message whose handling took longest, and how long.
    UINT slowestMessage = 0;
    double slowestHandling = 0;
};

Timeline RunUntilDone(CIEShellListCtrl& list, double start)
{
    Timeline timeline;
    const std::vector<int> inView = RowsInView(list);
    const int rows = list.GetItemCount();
    SetTimer(list.m_hWnd, kTickTimer, 10, nullptr);
    double lastTick = BenchSeconds();
    while (list.GetDoneCount() < rows && BenchSeconds() - start < kTimeLimit) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_TIMER && message.wParam == kTickTimer) {
                const double now = BenchSeconds();
                timeline.longestGap = now - lastTick > timeline.longestGap ? now - lastTick : timeline.longestGap;
                lastTick = now;
                continue;
            }
            const double before = BenchSeconds();
            TranslateMessage(&message);
            DispatchMessageA(&message);
            if (BenchSeconds() - before > timeline.slowestHandling) {
                timeline.slowestHandling = BenchSeconds() - before;
                timeline.slowestMessage = message.message;
            }
            if (message.message == WM_THUMB_DONE && timeline.firstScreen < 0 && HaveThumbnails(list, inView))
                timeline.firstScreen = BenchSeconds() - start;
        }
    }
    timeline.last = BenchSeconds() - start;
    KillTimer(list.m_hWnd, kTickTimer);
    return timeline;
}

// The list shows the folder: its rows listed, then its thumbnails made.
Timeline ShowFolder(CIEShellListCtrl& list, const std::string& folder)
{
    const double start = BenchSeconds();
    list.BrowseToPath(folder.c_str());
    const double listed = BenchSeconds() - start;
    Timeline timeline = RunUntilDone(list, start);
    timeline.listed = listed;
    return timeline;
}

void PrintSlowest(const Timeline& timeline)
{
    printf("  longest handling of one message: 0x%04X, %.0f ms\n", timeline.slowestMessage,
           timeline.slowestHandling * 1000);
}

int Revisit(const std::string& folder, int count)
{
    const int width = Preference.ThumbWidth - 2 * Preference.ThumbBorder;
    const int height = Preference.ThumbHeight - 2 * Preference.ThumbBorder;
    if (!WriteThumbnailLibrary(folder, "file%05d.png", count, width, height)) {
        fprintf(stderr, "the thumbnail library was not written\n");
        return 1;
    }
    CBenchList bench;
    CIEShellListCtrl& list = bench.List();
    const Timeline timeline = ShowFolder(list, folder);
    const int rows = list.GetItemCount();
    printf("file list, second visit of %d files: listed in %.3f s (goal < 1 s), last thumbnail from the "
           "library at %.3f s (goal < 2 s), %d taken; UI thread blocked at most %.0f ms (goal < 100 ms)\n",
           rows, timeline.listed, timeline.last, list.GetDoneCount(), timeline.longestGap * 1000);
    PrintSlowest(timeline);
    size_t bytes = 0;
    for (int row = 0; row < rows; ++row) {
        CShellItemData* record = (CShellItemData*)list.GetItemExtData(row);
        bytes += record && record->pThumbnail ? record->pThumbnail->GetFileSize() : 0;
    }
    // The thumbnails are lent from the library file's mapping; copies of
    // them would cost at least the first touch of that much new memory.
    printf("  this machine: copies of the thumbnails' %.0f MB would take %.3f s in the first touch of new memory "
           "alone\n",
           bytes / 1e6, TouchFreshMemory(bytes));
    return list.GetDoneCount() == rows ? 0 : 1;
}

int Photos(const std::string& folder)
{
    CBenchList bench;
    CIEShellListCtrl& list = bench.List();
    const Timeline timeline = ShowFolder(list, folder);
    const int rows = list.GetItemCount();
    printf("file list, first visit of %d photos: listed in %.3f s, first screenful (%zu) of thumbnails at %.3f s "
           "(goal < 1 s), all at %.2f s; UI thread blocked at most %.0f ms (goal < 100 ms)\n",
           rows, timeline.listed, RowsInView(list).size(), timeline.firstScreen, timeline.last,
           timeline.longestGap * 1000);
    PrintSlowest(timeline);
    return list.GetDoneCount() == rows ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: list_bench revisit|photos <folder> <cache folder> [count]\n");
        return 2;
    }
    OleInitialize(nullptr);
    const std::string mode = argv[1];
    StartThumbnailBench(argv[3]);
    Preference.ThumbBorder = 5;
    int status = 2;
    if (mode == "revisit")
        status = Revisit(argv[2], argc > 4 ? atoi(argv[4]) : 10000);
    else if (mode == "photos")
        status = Photos(argv[2]);
    AppSW.toQuit = 1;
    EndThumbnailBench();
    return status;
}
