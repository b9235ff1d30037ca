#include "bench/thumbnail_setup.h"

#include <stdio.h>
#include <stdlib.h>

#include "core/appsw.h"
#include "core/file_types.h"
#include "drawing/library/dwg_cache.h"
#include "drawing/library/image_lib.h"
#include "drawing/library/lib_index_tree.h"
#include "drawing/library/save_lib_thread.h"
#include "drawing/thumbnails/task_manage_thread.h"
#include "graphics/dib.h"
#include "graphics/kbmp.h"

double BenchSeconds()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

void StartThumbnailBench(const char* cacheFolder)
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    BenchSeconds();
    CreateDirectoryA(cacheFolder, nullptr);
    CreateLibIndexTree(cacheFolder, false, true);
    CreateDwgCache(true);
    AppSW.mode = APPMODE_BROWSE;
    DrawingFileType.Build(false);
}

bool WriteThumbnailLibrary(const std::string& folder, const char* namePattern, int count, int width, int height,
                           double* added)
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
    const double start = BenchSeconds();
    for (int i = 0; i < count; ++i) {
        char name[MAX_PATH];
        wsprintfA(name, namePattern, i);
        cache->AddImage((folder + "\\" + name).c_str(), &thumbnail, width, height);
    }
    if (added)
        *added = BenchSeconds() - start;
    cache->Save(true, width, height);
    return WaitForLibraryWriter();
}

bool WaitForLibraryWriter()
{
    TImageLib* library = GetDwgCache() ? GetDwgCache()->GetLibrary() : nullptr;
    return library && library->GetWriter() && library->GetWriter()->WaitUntilIdle(600000);
}

double TouchFreshMemory(size_t bytes)
{
    const double start = BenchSeconds();
    char* block = static_cast<char*>(malloc(bytes));
    if (!block)
        return 0;
    for (size_t i = 0; i < bytes; i += 4096)
        block[i] = 1;
    const double seconds = BenchSeconds() - start;
    free(block);
    return seconds;
}

void StopTaskThread(TTaskManageThread& thread)
{
    AppSW.toQuit = 1;
    thread.Stop(60000);
}

void EndThumbnailBench()
{
    WaitForLibraryWriter();
    DeleteDwgCache();
    DeleteLibIndexTree();
}
