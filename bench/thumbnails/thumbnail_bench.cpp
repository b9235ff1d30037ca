// Speed of the thumbnail task thread and the thumbnail library. Run it
// through bench/thumbnails/thumbnail_bench.sh, which makes the files and
// times the peer programs in the same run.
//
//   thumbnail_bench.exe photos <folder> <cache folder> [jpg|png]
//       first visit of a folder of photos: thumbnails per second
//   thumbnail_bench.exe one <file> <cache folder> <file kind> <repeats> [output.bmp]
//       one photo's thumbnail made on one thread: milliseconds
//   thumbnail_bench.exe library <folder> <cache folder> <count>
//       writes a library of <count> thumbnails (files made in <folder>)
//   thumbnail_bench.exe revisit <folder> <cache folder>
//       second visit of that folder: when each WM_THUMB_DONE arrives
//   thumbnail_bench.exe drawing <file> <cache folder> <repeats>
//       one DXF drawn as a thumbnail
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "bench/thumbnail_setup.h"
#include "core/file_types.h"
#include "drawing/common/draw_messages.h"
#include "drawing/library/lib_index_tree.h"
#include "drawing/thumbnails/raster_thumbnail.h"
#include "drawing/thumbnails/task.h"
#include "drawing/thumbnails/task_manage_thread.h"
#include "drawing/thumbnails/task_raster_pool.h"
#include "graphics/kbmp.h"
#include "platform/base/byte_reader.h"

namespace {

const int kWidth = 160;
const int kHeight = 120;

// The list window: takes each thumbnail and notes when it arrived.
struct Receiver {
    TTaskManageThread* thread = nullptr;
    double start = 0;
    std::vector<double> arrivals;
    // Kept, as the file list keeps them.
    std::vector<KBMP*> thumbnails;
    int failures = 0;
    bool finished = false;
};
Receiver g_receiver;

LRESULT CALLBACK ListProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_THUMB_DONE) {
        TTaskResult result;
        while (g_receiver.thread->GetFinishedTask(result)) {
            g_receiver.arrivals.push_back(BenchSeconds() - g_receiver.start);
            g_receiver.failures += result.result == TASK_RESULT_FAILED;
            g_receiver.thumbnails.push_back(result.thumbnail);
        }
        return 0;
    }
    if (message == WM_THUMBS_FINISHED) {
        g_receiver.finished = true;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::vector<std::string> ListFiles(const std::string& folder, const char* pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(data.cFileName);
    } while (FindNextFileA(search, &data));
    FindClose(search);
    return names;
}

// One batch over the files through a running task thread; seconds until
// WM_THUMBS_FINISHED.
double RunBatch(TTaskManageThread& thread, const std::string& folder, const std::vector<std::string>& names,
                int32_t kind, bool quick)
{
    g_receiver.arrivals.clear();
    g_receiver.failures = 0;
    g_receiver.finished = false;
    for (size_t i = 0; i < names.size(); ++i)
        thread.AddTask(new TTask((folder + "\\" + names[i]).c_str(), int32_t(i), quick, kind));
    thread.SetStartIndex(0);
    g_receiver.start = BenchSeconds();
    thread.StartFolder(folder.c_str(), !quick);
    MSG message;
    while (!g_receiver.finished && GetMessageA(&message, NULL, 0, 0)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return BenchSeconds() - g_receiver.start;
}

LONGLONG FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (LONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

int Photos(TTaskManageThread& thread, const std::string& folder, const std::string& extension)
{
    std::vector<std::string> names = ListFiles(folder, ("*." + extension).c_str());
    const double seconds =
        RunBatch(thread, folder, names, extension == "png" ? FILEKIND_PNG : FILEKIND_JPEG, false);
    printf("first visit: %zu photos in %.2f s, %.1f thumbnails/s (%d failed, %d helper threads)\n",
           names.size(), seconds, names.size() / seconds, g_receiver.failures, ThumbnailHelperCount());
    return g_receiver.failures == 0 ? 0 : 1;
}

// One photo's thumbnail made again and again on this thread alone; the
// last one is written to `output` as a .bmp file when it is given.
int OnePhoto(const std::string& path, int32_t kind, int repeats, const char* output)
{
    double best = 1e9, total = 0;
    BYTE* picture = nullptr;
    for (int i = 0; i < repeats; ++i) {
        free(picture);
        const double start = BenchSeconds();
        picture = MakeRasterThumbnail(path.c_str(), kind, kWidth, kHeight, false);
        const double seconds = BenchSeconds() - start;
        if (!picture) {
            printf("no thumbnail of %s\n", path.c_str());
            return 1;
        }
        best = seconds < best ? seconds : best;
        total += seconds;
    }
    printf("one thread: best %.1f ms, mean %.1f ms a thumbnail over %d\n", best * 1000,
           total * 1000 / repeats, repeats);
    bool written = true;
    if (output) {
        HANDLE file = CreateFileA(output, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        const DWORD size = GetU32LE(picture + 2);
        DWORD done = 0;
        written = file != INVALID_HANDLE_VALUE && WriteFile(file, picture, size, &done, NULL) && done == size;
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
    free(picture);
    return written ? 0 : 1;
}

int Library(const std::string& folder, int count)
{
    CreateDirectoryA(folder.c_str(), NULL);
    for (int i = 0; i < count; ++i) {
        char name[32];
        wsprintfA(name, "\\file%05d.bmp", i);
        HANDLE file = CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD written = 0;
        WriteFile(file, name, 8, &written, NULL);
        CloseHandle(file);
    }
    double added = 0;
    const double start = BenchSeconds();
    if (!WriteThumbnailLibrary(folder, "file%05d.bmp", count, kWidth, kHeight, &added))
        return 1;
    const double written = BenchSeconds();
    CString file;
    GetLibIndexTree()->FindLib(folder.c_str(), file);
    const LONGLONG size = FileSize(std::string(file));
    printf("library of %d thumbnails (%dx%d): added in %.3f s, written in %.3f s, %.0f bytes, %.0f bytes per "
           "thumbnail\n",
           count, kWidth, kHeight, added, written - start - added, double(size), double(size) / count);
    return size > 0 ? 0 : 1;
}

int Revisit(TTaskManageThread& thread, const std::string& folder)
{
    std::vector<std::string> names = ListFiles(folder, "*.bmp");
    const double seconds = RunBatch(thread, folder, names, FILEKIND_BMP, true);
    double last = 0;
    size_t bytes = 0;
    for (double arrival : g_receiver.arrivals)
        last = arrival > last ? arrival : last;
    for (KBMP* thumbnail : g_receiver.thumbnails)
        bytes += thumbnail ? thumbnail->GetFileSize() : 0;
    printf("second visit: %zu thumbnails (%.0f MB) from the library, last WM_THUMB_DONE %.3f s after the start "
           "(batch ended at %.3f s)\n",
           g_receiver.arrivals.size(), bytes / 1e6, last, seconds);
    printf("this machine: first touch of %.0f MB of new memory alone takes %.3f s\n", bytes / 1e6,
           TouchFreshMemory(bytes));
    return g_receiver.arrivals.size() == names.size() ? 0 : 1;
}

int Drawing(TTaskManageThread& thread, const std::string& path, int repeats)
{
    const size_t slash = path.rfind('\\');
    const std::string folder = path.substr(0, slash);
    const std::vector<std::string> names = {path.substr(slash + 1)};
    double best = 1e9, total = 0;
    for (int i = 0; i < repeats; ++i) {
        RunBatch(thread, folder, names, FILEKIND_DXF, false);
        if (g_receiver.arrivals.size() != 1 || g_receiver.failures) {
            printf("drawing thumbnail of %s failed (%zu results, %d failed)\n", names[0].c_str(),
                   g_receiver.arrivals.size(), g_receiver.failures);
            return 1;
        }
        best = g_receiver.arrivals[0] < best ? g_receiver.arrivals[0] : best;
        total += g_receiver.arrivals[0];
    }
    printf("drawing thumbnail of %s: best %.1f ms, mean %.1f ms over %d\n", names[0].c_str(), best * 1000,
           total * 1000 / repeats, repeats);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr,
                "usage: thumbnail_bench photos|one|library|revisit|drawing <path> <cache folder> [...]\n");
        return 2;
    }
    const std::string mode = argv[1];
    const std::string path = argv[2];
    StartThumbnailBench(argv[3]);

    int status = 2;
    if (mode == "one") {
        status = OnePhoto(path, argc > 4 ? atoi(argv[4]) : FILEKIND_JPEG, argc > 5 ? atoi(argv[5]) : 10,
                          argc > 6 ? argv[6] : nullptr);
    } else if (mode == "library") {
        status = Library(path, argc > 4 ? atoi(argv[4]) : 10000);
    } else {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = ListProcedure;
        windowClass.lpszClassName = "ThumbnailBenchList";
        RegisterClassA(&windowClass);
        HWND window = CreateWindowA("ThumbnailBenchList", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        TTaskManageThread thread;
        g_receiver.thread = &thread;
        thread.SetNotifyWnd(window);
        thread.SetThumbSize(kWidth, kHeight);
        thread.Create();
        if (mode == "photos")
            status = Photos(thread, path, argc > 4 ? argv[4] : "jpg");
        else if (mode == "revisit")
            status = Revisit(thread, path);
        else if (mode == "drawing")
            status = Drawing(thread, path, argc > 4 ? atoi(argv[4]) : 10);
        StopTaskThread(thread);
        DestroyWindow(window);
    }
    EndThumbnailBench();
    return status;
}
