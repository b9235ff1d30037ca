// Times the file list on a folder of many files whose thumbnails are in the
// folder's thumbnail library (a second visit): from WM_SHOW_FOLDER's work
// (BrowseToPath) to every row listed, and to the last thumbnail taken from
// the library. The peers (ls -l and vipsthumbnail on the same files) are
// timed by run_bench.sh in the same run.
//
//   list_bench.exe <folder> <cache folder> <count>
#include "platform/classlib/classlib.h"

#include <stdio.h>

#include <string>

#include "browser/filelist/file_list_view.h"
#include "core/appsw.h"
#include "core/file_types.h"
#include "core/preference.h"
#include "drawing/dwg_cache.h"
#include "drawing/image_lib.h"
#include "drawing/lib_index_tree.h"
#include "drawing/save_lib_thread.h"
#include "drawing/task_manage_thread.h"
#include "graphics/dib.h"
#include "graphics/kbmp.h"

namespace {

LARGE_INTEGER g_frequency;

double Seconds()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) / double(g_frequency.QuadPart);
}

void Pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// The files' thumbnails in the folder's library, as a first visit leaves
// them (run_bench.sh made the files).
bool FillLibrary(const std::string& folder, int count, int width, int height)
{
    CDib picture;
    picture.Create(width, height, 24);
    picture.Clear(RGB(200, 120, 40));
    KBMP thumbnail;
    thumbnail.Attach(picture.CopyToBmpFile(), false);
    TDwgCache* cache = GetDwgCache();
    cache->SetFolder(folder.c_str());
    cache->ClearList();
    cache->LoadIfPending();
    for (int i = 0; i < count; ++i) {
        char name[32];
        wsprintfA(name, "\\file%05d.png", i);
        std::string path = folder + name;
        cache->AddImage(path.c_str(), &thumbnail, width, height);
    }
    cache->Save(true, width, height);
    TImageLib* library = cache->GetLibrary();
    return library && library->GetWriter() && library->GetWriter()->WaitUntilIdle(600000);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: list_bench <folder> <cache folder> <count>\n");
        return 2;
    }
    setvbuf(stdout, nullptr, _IONBF, 0);
    QueryPerformanceFrequency(&g_frequency);
    OleInitialize(nullptr);
    const std::string folder = argv[1];
    const int count = atoi(argv[3]);
    CreateDirectoryA(argv[2], nullptr);
    CreateLibIndexTree(argv[2], false, true);
    CreateDwgCache(true);
    AppSW.mode = APPMODE_BROWSE;
    DrawingFileType.Build(false);
    Preference.ThumbBorder = 5;
    const int width = Preference.ThumbWidth - 2 * Preference.ThumbBorder;
    const int height = Preference.ThumbHeight - 2 * Preference.ThumbBorder;
    if (!FillLibrary(folder, count, width, height)) {
        fprintf(stderr, "the thumbnail library was not written\n");
        return 1;
    }

    TTaskManageThread thread;
    thread.Create();
    CWnd frame;
    frame.CreateEx(0, AfxRegisterWndClass(0), "bench", WS_POPUP | WS_VISIBLE, 0, 0, 1000, 700, nullptr, nullptr);
    CFileListView pane;
    pane.GetList().SetTaskThread(&thread);
    pane.Create(&frame);
    pane.MoveWindow(0, 0, 1000, 700);
    CIEShellListCtrl& list = pane.GetList();
    list.SetViewType(VIEWTYPE_THUMBNAILS);

    const double start = Seconds();
    list.BrowseToPath(folder.c_str());
    const double listed = Seconds();
    const int rows = list.GetItemCount();
    while (list.GetDoneCount() < rows && Seconds() - start < 120) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
    }
    const double last = Seconds();
    printf("file list, second visit of %d files: listed in %.3f s (goal < 1 s), last thumbnail from the "
           "library at %.3f s (goal < 2 s), %d taken\n",
           rows, listed - start, last - start, list.GetDoneCount());
    list.StopCurrentTask();
    AppSW.toQuit = 1;
    thread.m_stopRequest = 1;
    thread.Cancel();
    WaitForSingleObject(thread.GetThreadHandle(), 10000);
    pane.DestroyWindow();
    frame.DestroyWindow();
    return list.GetDoneCount() == rows ? 0 : 1;
}
