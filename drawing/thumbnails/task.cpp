#include "drawing/thumbnails/task.h"

#include <new>

#include "drawing/library/dwg_cache.h"
#include "graphics/dib.h"
#include "graphics/kbmp.h"

TTask::TTask() : TTask(nullptr, -1, true, 0)
{
}

TTask::TTask(const char* filePath, int32_t item, bool quickTask, int32_t kind)
    : workingBitmap(nullptr),
      fileKind(kind),
      path(filePath),
      itemValue(item),
      done(0),
      quick(quickTask ? 1 : 0),
      taken(0),
      result(TASK_RESULT_NONE),
      thumbnail(nullptr)
{
}

TTask::~TTask()
{
    delete workingBitmap;
    delete thumbnail;
}

void TTask::PrepareThumbnail(int width, int height)
{
    if (thumbnail)
        thumbnail->Free();
    else
        thumbnail = new KBMP;
    thumbnail->boxWidth = width;
    thumbnail->boxHeight = height;
}

CDC* TTask::BeginDraw(CDC* reference, int bitsPerPixel)
{
    if (!thumbnail)
        return nullptr;
    return BeginDrawSized(reference, thumbnail->boxWidth, thumbnail->boxHeight, bitsPerPixel);
}

CDC* TTask::BeginDrawSized(CDC* reference, int width, int height, int bitsPerPixel)
{
    delete workingBitmap;
    workingBitmap = new CDib;
    if (!workingBitmap->Create(width, height, bitsPerPixel))
        return nullptr;
    return workingBitmap->BeginMemDC(reference);
}

void TTask::EndDraw()
{
    if (!workingBitmap)
        return;
    if (workingBitmap->EndMemDC() && thumbnail)
        thumbnail->Attach(workingBitmap->CopyToBmpFile(), false);
    delete workingBitmap;
    workingBitmap = nullptr;
}

bool TTask::LookupCache()
{
    TDwgCache* cache = GetDwgCache();
    return cache && thumbnail && cache->Lookup(path, thumbnail);
}
