// The thumbnail task thread: makes the thumbnails of the folder shown in
// the file list, one task at a time (first from the fast sources, then by
// drawing or decoding the files), sends each to the list window and waits
// between folders.
//
// The file list drives it (all on the UI thread):
//   SetThumbSize, AddTask for each row, SetStartIndex (first row in view)
//   and StartFolder;
//   on WM_THUMB_DONE (posted; its lParam names a task that may be gone by
//   then): GetFinishedTask until it returns false;
//   while scrolling: SetStartIndex; to stop: CancelCurrent, then WaitIdle
//   (see CIEShellListCtrl::StopCurrentTask).
#pragma once
#include <windows.h>
#include <stdint.h>

#include <atomic>
#include <memory>

#include "drawing/common/common_thread.h"
#include "drawing/thumbnails/task_list.h"
#include "drawing/thumbnails/task_raster_pool.h"

class CDib;
class TTask;

class TTaskManageThread : public CDrawCommonThread {
public:
    TTaskManageThread();
    ~TTaskManageThread() override;

    DWORD Run() override;

    // Appends a task (the list owns it); its index, or -1.
    int AddTask(TTask* task);
    // The row from which the next task is searched (the first row in view).
    void SetStartIndex(int index);
    // The size of every thumbnail of the following batches.
    void SetThumbSize(int width, int height);
    // Takes the next finished thumbnail out of the list; false when none.
    bool GetFinishedTask(TTaskResult& out);
    // Starts a batch for the folder with the notices on: the cache turns to
    // it and the thread runs (it waits between batches). With regenerateAll
    // every thumbnail is made again, without the quick pass.
    void StartFolder(const char* folder, bool regenerateAll);
    // Empties the list and saves the folder's thumbnails.
    void EndFolder();

    // Stops the thumbnail being made; the batch goes on with the next.
    void SkipCurrentThumbnail() { OnCancel(); }

    static char AbortQuery(void* thread);

    // The row of the task being made, -1 when none. Valid on the UI
    // thread while the thread waits in one of its sent messages.
    int GetCurrentItem() const;

    TTaskList* GetTaskList() const { return m_tasks; }

protected:
    // Signalled while the thread waits between batches or has ended.
    HANDLE GetIdleEvent() const override { return m_idleEvent; }
    // Stops the thumbnail being made: the abort flag, which the drawing
    // library's abort query reads, and a break of a running draw. Also
    // wakes the thread when it waits between batches.
    void OnCancel() override;
    void OnStopRequested() override;

private:
    // One cycle of the loop; true when the batch ended in it.
    bool RunCycle();
    // Waits between batches until StartFolder, a stop request or quitting.
    void WaitForNextFolder();
    // Waits while the file list still has finished thumbnails to take.
    void WaitUntilTaken();
    void EndBatch(bool force);
    bool InBrowseMode() const;

    // The quick pass for one task: stored preview or cache; 0 on a miss.
    int PreviewTask(TTask& task);
    // The render phase for one task: drawing or decoding the file.
    void MakePicture(TTask& task);
    void StoreResult(TTask& task, int result, WPARAM reported);

    int RenderEmbeddedPreview(TTask& task);
    int RenderDrawingThumb(TTask& task, bool zoomExtents, CDib& bitmap);
    int RenderRasterThumb(TTask& task);
    TTaskRasterPool::Request RasterRequest(const TTask& task) const;
    // Has the pool decode the raster files of the tasks that come after
    // the one at `index` in the render order from `start`.
    void DecodeAhead(int start, int index);
    void DrawFailurePicture(TTask& task, int result);
    // Paints the stage text into the bitmap and sends it to the list.
    void ShowStage(CDib& bitmap, UINT textId);

    volatile BYTE m_abort;
    volatile BYTE m_regenerateAll;
    int m_context;
    TTaskList* m_tasks;
    TTask* m_currentTask;
    volatile LONG m_startIndex;
    BYTE m_renderPhase;
    // Width and height in one word, so that the thread never reads half of
    // a change; the thread's copy for the cycle is m_width, m_height.
    std::atomic<uint64_t> m_thumbSize;
    int m_width;
    int m_height;
    // StartFolder's request and the event that wakes the waiting thread.
    volatile BYTE m_startRequested;
    HANDLE m_wake;
    HANDLE m_idleEvent;
    std::unique_ptr<TTaskRasterPool> m_rasterPool;
};
