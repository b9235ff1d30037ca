#include "drawing/thumbnails/task_manage_thread.h"

#include <new>

#include "core/appsw.h"
#include "core/file_types.h"
#include "core/file_utils.h"
#include "core/preference.h"
#include "drawing/common/draw_messages.h"
#include "drawing/library/dwg_cache.h"
#include "drawing/thumbnails/raster_thumbnail.h"
#include "drawing/thumbnails/task.h"
#include "graphics/dib.h"
#include "graphics/kbmp.h"
#include "platform/zrapp/zrapp.h"
#include "platform/zrio/zrio.h"

namespace {

// How long the thread waits at a time, so that it sees a stop request or a
// vanished list window even when nobody wakes it.
const DWORD kWaitSliceMs = 1000;
const DWORD kTakenSliceMs = 100;
// The raster files decoded ahead: so many per helper, among the tasks that
// follow the present one this closely in the render order.
const int kAheadPerHelper = 2;
const int kAheadWindow = 64;

}  // namespace

TTaskManageThread::TTaskManageThread()
    : m_abort(0),
      m_regenerateAll(0),
      m_context(zrapp::create()),
      m_tasks(new TTaskList),
      m_currentTask(nullptr),
      m_startIndex(-1),
      m_renderPhase(0),
      m_thumbSize(0),
      m_width(0),
      m_height(0),
      m_startRequested(0),
      m_wake(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      m_idleEvent(CreateEventA(nullptr, TRUE, TRUE, nullptr)),
      m_rasterPool(new TTaskRasterPool(ThumbnailHelperCount()))
{
    SetNotifyEnabled(false);
    DWG_SetFileAboutFunc_2(AbortQuery, this);
}

TTaskManageThread::~TTaskManageThread()
{
    DWG_SetFileAboutFunc_2(nullptr, nullptr);
    delete m_tasks;
    if (m_context)
        zrapp::release(m_context);
    if (m_wake)
        CloseHandle(m_wake);
    if (m_idleEvent)
        CloseHandle(m_idleEvent);
}

int TTaskManageThread::AddTask(TTask* task)
{
    return m_tasks->Add(task);
}

void TTaskManageThread::SetStartIndex(int index)
{
    InterlockedExchange(&m_startIndex, index);
}

void TTaskManageThread::SetThumbSize(int width, int height)
{
    m_thumbSize = (static_cast<uint64_t>(static_cast<uint32_t>(width)) << 32) | static_cast<uint32_t>(height);
}

bool TTaskManageThread::GetFinishedTask(TTaskResult& out)
{
    return m_tasks->TakeFinished(out);
}

void TTaskManageThread::StartFolder(const char* folder, bool regenerateAll)
{
    SetNotifyEnabled(true);
    m_regenerateAll = regenerateAll ? 1 : 0;
    if (TDwgCache* cache = GetDwgCache()) {
        cache->SetFolder(folder);
        cache->ClearList();
    }
    SetCurrent(true);
    ResetEvent(m_idleEvent);
    m_startRequested = 1;
    SetEvent(m_wake);
    Resume();
}

void TTaskManageThread::EndFolder()
{
    m_rasterPool->Clear();
    m_tasks->RemoveAll();
    if (TDwgCache* cache = GetDwgCache())
        cache->Save(true, m_width, m_height);
    m_renderPhase = 0;
}

void TTaskManageThread::OnCancel()
{
    m_abort = 1;
    zrapp::callBreak(m_context);
    SetEvent(m_wake);
}

int TTaskManageThread::GetCurrentItem() const
{
    TTask* task = m_currentTask;
    return task ? task->itemValue : -1;
}

char TTaskManageThread::AbortQuery(void* thread)
{
    return static_cast<TTaskManageThread*>(thread)->m_abort;
}

void TTaskManageThread::OnStopRequested()
{
    SetEvent(m_wake);
}

bool TTaskManageThread::InBrowseMode() const
{
    return AppSW.mode == APPMODE_BROWSE;
}

// The thread starts idle: the first batch is the first folder's, so that a
// list that starts a folder at once never sees an empty batch end first.
DWORD TTaskManageThread::Run()
{
    m_renderPhase = 0;
    WaitForNextFolder();
    while (!IsStopRequested()) {
        m_abort = 0;
        if (TDwgCache* cache = GetDwgCache())
            cache->LoadIfPending();
        if (AppSW.toQuit)
            break;
        const uint64_t size = m_thumbSize;
        m_width = static_cast<int>(size >> 32);
        m_height = static_cast<int>(size & 0xFFFFFFFF);
        bool batchEnded = false;
        try {
            batchEnded = RunCycle();
        } catch (const std::bad_alloc&) {
            SetCurrent(false);
        }
        m_abort = 0;
        if (!InBrowseMode())
            SetCurrent(false);
        if (!IsCurrent() && !batchEnded) {
            EndBatch(true);
            batchEnded = true;
        }
        m_currentTask = nullptr;
        if (!batchEnded)
            continue;
        if (InBrowseMode())
            PostNotify(GetNotifyWnd(), WM_THUMBS_FINISHED, 0, 0);
        if (AppSW.toQuit)
            break;
        WaitForNextFolder();
    }
    if (TDwgCache* cache = GetDwgCache())
        cache->Save(true, m_width, m_height);
    SetEvent(m_idleEvent);
    return 0;
}

bool TTaskManageThread::RunCycle()
{
    const int start = m_startIndex;
    if (!m_regenerateAll && !m_renderPhase) {
        const int pending = m_tasks->FindNextPending(start);
        if (pending >= 0) {
            m_currentTask = m_tasks->GetAt(pending);
            PreviewTask(*m_currentTask);
            return false;
        }
    }
    m_renderPhase = 1;
    const int next = m_tasks->FindNextToRender(start);
    if (next < 0) {
        WaitUntilTaken();
        const bool force = m_regenerateAll != 0;
        EndBatch(force);
        m_regenerateAll = 0;
        return true;
    }
    m_currentTask = m_tasks->GetAt(next);
    if (IsCurrent()) {
        DecodeAhead(start, next);
        MakePicture(*m_currentTask);
    }
    return false;
}

void TTaskManageThread::DecodeAhead(int start, int index)
{
    if (m_rasterPool->GetHelperCount() == 0)
        return;
    // The present task first: a picture already on its way is kept.
    std::vector<TTask*> coming{m_tasks->GetAt(index)};
    m_tasks->CollectToRender(start, index, kAheadWindow, kAheadPerHelper * m_rasterPool->GetHelperCount(), coming);
    std::vector<TTaskRasterPool::Request> requests;
    for (TTask* task : coming) {
        if (IsRasterThumbnailKind(task->fileKind))
            requests.push_back(RasterRequest(*task));
    }
    m_rasterPool->Ahead(requests);
}

void TTaskManageThread::EndBatch(bool force)
{
    m_rasterPool->Clear();
    m_tasks->RemoveAll();
    m_currentTask = nullptr;
    if (TDwgCache* cache = GetDwgCache())
        cache->Save(force, m_width, m_height);
    m_renderPhase = 0;
}

void TTaskManageThread::WaitUntilTaken()
{
    while (IsNotifyEnabled() && IsCurrent() && InBrowseMode() && IsWindow(GetNotifyWnd()) && m_tasks->HasFinished())
        m_tasks->WaitForTaken(kTakenSliceMs);
}

// Between batches the thread is idle. It waits on its event instead of
// suspending itself, so that a StartFolder that comes before the wait
// begins is not lost.
void TTaskManageThread::WaitForNextFolder()
{
    SetIdle(true);
    SetEvent(m_idleEvent);
    while (!m_startRequested && !IsStopRequested() && !AppSW.toQuit)
        WaitForSingleObject(m_wake, kWaitSliceMs);
    ResetEvent(m_idleEvent);
    m_startRequested = 0;
    SetIdle(false);
}

void TTaskManageThread::StoreResult(TTask& task, int result, WPARAM reported)
{
    if (m_tasks->MarkDone(&task, result) && InBrowseMode())
        PostNotify(GetNotifyWnd(), WM_THUMB_DONE, reported, reinterpret_cast<LPARAM>(&task));
}

int TTaskManageThread::PreviewTask(TTask& task)
{
    task.PrepareThumbnail(m_width, m_height);
    int result = TASK_RESULT_NONE;
    if (IsDrawingKind(task.fileKind) && Preference.ReadBitmapFromDwg)
        result = RenderEmbeddedPreview(task);
    if (result == TASK_RESULT_NONE && task.LookupCache())
        result = TASK_RESULT_MADE;
    if (result == TASK_RESULT_NONE) {
        m_tasks->MarkToRender(&task);
        return TASK_RESULT_NONE;
    }
    if (IsCurrent())
        StoreResult(task, result, 0);
    return result;
}

void TTaskManageThread::MakePicture(TTask& task)
{
    if (!task.thumbnail)
        task.PrepareThumbnail(m_width, m_height);
    int result = TASK_RESULT_NONE;
    if (IsDrawingKind(task.fileKind)) {
        if (Preference.ReadBitmapFromDwg)
            result = RenderEmbeddedPreview(task);
        if (result == TASK_RESULT_NONE) {
            SetPaused(false);
            CDib bitmap;
            if (FileExists(task.path) && bitmap.Create(m_width, m_height, 24)) {
                result = RenderDrawingThumb(task, Preference.ZoomExtend != 0, bitmap);
                // A drawing stopped half way keeps its last stage picture.
                if (!task.thumbnail->data)
                    task.thumbnail->Attach(bitmap.CopyToBmpFile(), false);
            }
        }
    } else {
        result = RenderRasterThumb(task);
    }
    if (result == TASK_RESULT_NONE || result == TASK_RESULT_PASSWORD) {
        DrawFailurePicture(task, result);
        result = TASK_RESULT_FAILED;
    }
    SetPaused(false);
    if (IsCurrent() && !m_abort)
        StoreResult(task, result, result);
}
